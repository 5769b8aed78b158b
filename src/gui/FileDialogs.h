#pragma once

// File dialogs behind one interface, so that tests answer them.

#include <optional>

#include <QString>

class QWidget;

namespace tessaly {

class FileDialogs {
public:
    virtual ~FileDialogs() = default;
    virtual std::optional<QString> OpenFile(QWidget* parent, const QString& title, const QString& filter) = 0;
    virtual std::optional<QString> SaveFile(
        QWidget* parent, const QString& title, const QString& filter, const QString& defaultSuffix)
        = 0;
};

class QtFileDialogs final : public FileDialogs {
public:
    std::optional<QString> OpenFile(QWidget* parent, const QString& title, const QString& filter) override;
    std::optional<QString> SaveFile(
        QWidget* parent, const QString& title, const QString& filter, const QString& defaultSuffix) override;
};

} // namespace tessaly
