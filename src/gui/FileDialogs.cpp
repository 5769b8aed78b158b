#include "gui/FileDialogs.h"

#include <QFileDialog>

namespace tessaly {

std::optional<QString> QtFileDialogs::OpenFile(
    QWidget* parent, const QString& title, const QString& filter, const QString& start)
{
    const QString name = QFileDialog::getOpenFileName(parent, title, start, filter);
    return name.isEmpty() ? std::nullopt : std::optional<QString>(name);
}

std::optional<QString> QtFileDialogs::ChooseDirectory(QWidget* parent, const QString& title, const QString& start)
{
    const QString name = QFileDialog::getExistingDirectory(parent, title, start);
    return name.isEmpty() ? std::nullopt : std::optional<QString>(name);
}

std::optional<QString> QtFileDialogs::SaveFile(
    QWidget* parent, const QString& title, const QString& filter, const QString& defaultSuffix)
{
    QFileDialog dialog(parent, title, {}, filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(defaultSuffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return dialog.selectedFiles().front();
}

} // namespace tessaly
