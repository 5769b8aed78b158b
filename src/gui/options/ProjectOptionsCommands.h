#pragma once

// The project options: the owner, the site's directories and files, the
// defaults of new projects. Designs and the output need a root directory
// first and offer these options to set one.

#include "gui/host/CommandSet.h"

namespace tessaly {

// Opens the options on the tab with index page; true when confirmed.
bool OpenProjectOptions(ItemListHost& host, int page);
// True when the project has a root directory for its site, after offering
// to set one.
bool EnsureRootDirectory(ItemListHost& host);

class ProjectOptionsCommands final : public CommandSet {
    Q_OBJECT

public:
    explicit ProjectOptionsCommands(ItemListHost& host);

    void Contribute(MenuLayout& layout) override;

private:
    QAction* options_;
};

} // namespace tessaly
