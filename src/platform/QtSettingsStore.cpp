#include "platform/QtSettingsStore.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QStringList>

#include "core/text/Codepage.h"

namespace tessaly {

namespace {

QString FromSjis(std::string_view text)
{
    return QString::fromStdString(SjisToUtf8Lossy(text));
}

std::string ToSjis(const QString& text)
{
    // Settings hold what the program wrote; anything else becomes "?".
    ConversionResult converted = Utf8ToSjis(text.toStdString());
    return converted.ok ? std::move(converted.text) : std::string("?");
}

QString Name(std::string_view name)
{
    return QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
}

} // namespace

QtSettingsStore::QtSettingsStore(QString configDirectory)
    : base_(configDirectory.isEmpty() ? QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
                                      : std::move(configDirectory))
{
}

QtSettingsStore::Location QtSettingsStore::Locate(std::string_view key) const
{
    const QStringList parts = FromSjis(key).split(QLatin1Char('\\'), Qt::SkipEmptyParts);
    Location location;
    if (parts.size() < 2 || parts[0].compare(QLatin1String("Software"), Qt::CaseInsensitive) != 0) {
        return location;
    }
    location.organisationDirectory = base_ + QLatin1Char('/') + parts[1];
    if (parts.size() >= 3) {
        location.file = location.organisationDirectory + QLatin1Char('/') + parts[2] + QLatin1String(".conf");
        location.group = parts.mid(3).join(QLatin1Char('/'));
    }
    return location;
}

bool QtSettingsStore::KeyExists(std::string_view key) const
{
    const Location location = Locate(key);
    if (location.file.isEmpty()) {
        return !location.organisationDirectory.isEmpty() && HasSubkeys(key);
    }
    if (!QFileInfo::exists(location.file)) {
        return false;
    }
    if (location.group.isEmpty()) {
        return true;
    }
    QSettings settings(location.file, QSettings::IniFormat);
    settings.beginGroup(location.group);
    return !settings.allKeys().isEmpty();
}

bool QtSettingsStore::HasSubkeys(std::string_view key) const
{
    const Location location = Locate(key);
    if (location.file.isEmpty()) {
        return !location.organisationDirectory.isEmpty()
            && !QDir(location.organisationDirectory).entryList({QStringLiteral("*.conf")}, QDir::Files).isEmpty();
    }
    if (!QFileInfo::exists(location.file)) {
        return false;
    }
    QSettings settings(location.file, QSettings::IniFormat);
    settings.beginGroup(location.group);
    return !settings.childGroups().isEmpty();
}

QVariant QtSettingsStore::Value(std::string_view key, std::string_view name) const
{
    const Location location = Locate(key);
    if (location.file.isEmpty() || !QFileInfo::exists(location.file)) {
        return {};
    }
    QSettings settings(location.file, QSettings::IniFormat);
    settings.beginGroup(location.group);
    return settings.value(Name(name));
}

void QtSettingsStore::SetValue(std::string_view key, std::string_view name, const QVariant& value)
{
    const Location location = Locate(key);
    if (location.file.isEmpty()) {
        return;
    }
    QSettings settings(location.file, QSettings::IniFormat);
    settings.beginGroup(location.group);
    settings.setValue(Name(name), value);
}

std::optional<std::string> QtSettingsStore::ReadString(std::string_view key, std::string_view name) const
{
    const QVariant value = Value(key, name);
    if (!value.isValid()) {
        return std::nullopt;
    }
    return ToSjis(value.toString());
}

std::optional<int32_t> QtSettingsStore::ReadInteger(std::string_view key, std::string_view name) const
{
    bool ok = false;
    const int value = Value(key, name).toInt(&ok);
    return ok ? std::optional<int32_t>(value) : std::nullopt;
}

std::optional<SettingsBinary> QtSettingsStore::ReadBinary(std::string_view key, std::string_view name) const
{
    const QVariant value = Value(key, name);
    if (!value.isValid()) {
        return std::nullopt;
    }
    const QByteArray bytes = value.toByteArray();
    return SettingsBinary(bytes.begin(), bytes.end());
}

void QtSettingsStore::WriteString(std::string_view key, std::string_view name, std::string_view value)
{
    SetValue(key, name, FromSjis(value));
}

void QtSettingsStore::WriteInteger(std::string_view key, std::string_view name, int32_t value)
{
    SetValue(key, name, value);
}

void QtSettingsStore::WriteBinary(std::string_view key, std::string_view name, const SettingsBinary& value)
{
    SetValue(key, name, QByteArray(reinterpret_cast<const char*>(value.data()), static_cast<qsizetype>(value.size())));
}

void QtSettingsStore::DeleteKey(std::string_view key)
{
    const Location location = Locate(key);
    if (location.file.isEmpty()) {
        if (!location.organisationDirectory.isEmpty()) {
            // The maker's settings files go, and the folder with them when
            // nothing else is in it: what someone else put there stays.
            QDir directory(location.organisationDirectory);
            for (const QString& file : directory.entryList({QStringLiteral("*.conf")}, QDir::Files)) {
                directory.remove(file);
            }
            directory.rmdir(directory.absolutePath());
        }
        return;
    }
    if (location.group.isEmpty()) {
        QFile::remove(location.file);
        return;
    }
    QSettings settings(location.file, QSettings::IniFormat);
    settings.remove(location.group);
}

} // namespace tessaly
