#pragma once

// The links of a directory page to other resources: a two-column list
// (anchor, relative URL) with new, edit, erase, up and down.

#include <QWidget>

#include <string>
#include <vector>

#include "core/design/DirectoryLinks.h"

class QAction;
class QTreeWidget;
class QTreeWidgetItem;

namespace tessaly {

class FileDialogs;
class MessagePresenter;

class DirectoryLinkList final : public QWidget {
    Q_OBJECT

public:
    DirectoryLinkList(MessagePresenter& messages, FileDialogs& files, QWidget* parent = nullptr);

    // The directory the links are relative to (code page 932, trailing "/").
    void SetBaseDirectory(const std::string& directory) { baseDirectory_ = directory; }
    void SetLinks(const std::vector<DirectoryLink>& links);
    std::vector<DirectoryLink> Links() const;
    void Append(const DirectoryLink& link);
    // Appends the link as the only selected row, scrolled into view.
    void AppendSelected(const DirectoryLink& link);
    QTreeWidget* List() const { return list_; }

    void NewLink();
    void EditLink();
    void EraseLinks();
    void MoveLink(int step);

private:
    QAction* Command(const char* name, const QString& caption, const QKeySequence& shortcut, void (DirectoryLinkList::*run)());
    QTreeWidgetItem* AddRow(const DirectoryLink& link);
    void UpdateButtons();

    MessagePresenter& messages_;
    FileDialogs& files_;
    std::string baseDirectory_;
    QTreeWidget* list_;
    QAction* new_;
    QAction* edit_;
    QAction* erase_;
    QAction* up_;
    QAction* down_;
};

} // namespace tessaly
