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
class QLabel;
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
    // The addresses a replacement would change, shown before it runs.
    using Preview = std::function<DomainReplacePreview(const DomainReplaceSettings&)>;

    TForm_ReplaceDomain(
        MessagePresenter& messages, Replace replace, Domains domains, Preview preview, QWidget* parent = nullptr);

    void Button1Click();

private:
    void FillDomains();
    void ShowPreview();
    DomainReplaceSettings Settings() const;

    MessagePresenter& messages_;
    Replace replace_;
    Domains domains_;
    Preview preview_;
    QLineEdit* find_;
    QLineEdit* replaceWith_;
    QListWidget* lists_;
    QCheckBox* caseCheck_;
    QCheckBox* partsCheck_;
    QListWidget* previewList_;
    QLabel* previewCount_;
};

} // namespace tessaly
