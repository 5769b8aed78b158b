#pragma once

// The settings store on QSettings: a key path "\Software\Org\App\Sub\..."
// lives in the INI file Org/App.conf below the configuration directory
// (where QSettings(org, app) keeps it on Linux), in the group Sub/...

#include <QString>

#include "core/settings/SettingsStore.h"

namespace tessaly {

class QtSettingsStore final : public SettingsStore {
public:
    // configDirectory: the user's configuration directory by default.
    explicit QtSettingsStore(QString configDirectory = {});

    bool KeyExists(std::string_view key) const override;
    std::optional<std::string> ReadString(std::string_view key, std::string_view name) const override;
    std::optional<int32_t> ReadInteger(std::string_view key, std::string_view name) const override;
    std::optional<SettingsBinary> ReadBinary(std::string_view key, std::string_view name) const override;
    void WriteString(std::string_view key, std::string_view name, std::string_view value) override;
    void WriteInteger(std::string_view key, std::string_view name, int32_t value) override;
    void WriteBinary(std::string_view key, std::string_view name, const SettingsBinary& value) override;
    void DeleteKey(std::string_view key) override;
    bool HasSubkeys(std::string_view key) const override;

private:
    struct Location {
        QString organisationDirectory; // empty when the path names no organisation
        QString file; // empty when the path names no application
        QString group; // "Sub/..." or empty
    };
    Location Locate(std::string_view key) const;
    QVariant Value(std::string_view key, std::string_view name) const;
    void SetValue(std::string_view key, std::string_view name, const QVariant& value);

    QString base_;
};

} // namespace tessaly
