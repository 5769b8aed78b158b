#pragma once

// File dialogs behind one interface, so that tests answer them.

#include <optional>

#include <QString>

class QWidget;

namespace tessaly {

class FileDialogs {
public:
    virtual ~FileDialogs() = default;
    // start: the folder the dialog opens in (empty: the dialog's own choice).
    virtual std::optional<QString> OpenFile(
        QWidget* parent, const QString& title, const QString& filter, const QString& start = {})
        = 0;
    virtual std::optional<QString> SaveFile(
        QWidget* parent, const QString& title, const QString& filter, const QString& defaultSuffix)
        = 0;
    virtual std::optional<QString> ChooseDirectory(QWidget* parent, const QString& title, const QString& start) = 0;
};

class QtFileDialogs final : public FileDialogs {
public:
    std::optional<QString> OpenFile(
        QWidget* parent, const QString& title, const QString& filter, const QString& start = {}) override;
    std::optional<QString> SaveFile(
        QWidget* parent, const QString& title, const QString& filter, const QString& defaultSuffix) override;
    std::optional<QString> ChooseDirectory(QWidget* parent, const QString& title, const QString& start) override;
};

} // namespace tessaly
