#include "FileDialogs.h"

#include <QFileDialog>

namespace tessaly {

std::optional<QString> QtFileDialogs::OpenFile(QWidget* parent, const QString& title, const QString& filter)
{
    const QString name = QFileDialog::getOpenFileName(parent, title, {}, filter);
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
