#pragma once

// The domain replace tool: the host part of every page and banner address
// of the collection, found and replaced. The dialog stays open for further
// runs.

#include <QDialog>

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "core/tools/DomainReplace.h"

class QCheckBox;
class QLineEdit;
class QListWidget;

namespace tessaly {

class MessagePresenter;

class TForm_ReplaceDomain final : public QDialog {
    Q_OBJECT

public:
    // Replaces in the collection and returns how many addresses changed.
    using Replace = std::function<std::size_t(const DomainReplaceSettings&)>;
    // The registered domains as the collection has them now.
    using Domains = std::function<std::vector<std::string>()>;

    TForm_ReplaceDomain(MessagePresenter& messages, Replace replace, Domains domains, QWidget* parent = nullptr);

    void Button1Click();

private:
    void FillDomains();

    MessagePresenter& messages_;
    Replace replace_;
    Domains domains_;
    QLineEdit* find_;
    QLineEdit* replaceWith_;
    QListWidget* lists_;
    QCheckBox* caseCheck_;
    QCheckBox* partsCheck_;
};

} // namespace tessaly
