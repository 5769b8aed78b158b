#pragma once

// The editor of one link of a directory page: its anchor text and the
// resource it leads to, relative to the directory the page lies in.

#include <QDialog>

#include "core/design/DirectoryLinks.h"

class QLineEdit;

namespace tessaly {

class FileDialogs;
class MessagePresenter;

class TForm_ResSelect final : public QDialog {
    Q_OBJECT

public:
    // baseDirectory: code page 932, with a trailing "/".
    TForm_ResSelect(MessagePresenter& messages, FileDialogs& files, const std::string& baseDirectory,
        QWidget* parent = nullptr);

    void SetLink(const DirectoryLink& link);
    // The trimmed anchor and resource.
    DirectoryLink Link() const;

    void Button1Click();
    void ChooseFile();
    void ChooseDirectory();

private:
    // The resource resolved against the base directory, as a file name.
    QString ResolvedResource() const;
    void SetResource(const QString& chosen, bool directory);

    MessagePresenter& messages_;
    FileDialogs& files_;
    std::string baseDirectory_;
    QLineEdit* anchor_;
    QLineEdit* resource_;
    QLineEdit* base_;
};

} // namespace tessaly
