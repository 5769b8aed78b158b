#pragma once

// Where the program keeps its settings: keys named by "\"-separated paths
// (compared without regard to ASCII case), each holding named string,
// integer and binary values. The desktop program stores them with QSettings;
// tests and the command-line tool use the in-memory store.

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace tessaly {

using SettingsBinary = std::vector<uint8_t>;

class SettingsStore {
public:
    virtual ~SettingsStore() = default;

    virtual bool KeyExists(std::string_view key) const = 0;
    // Strings are code page 932 text.
    virtual std::optional<std::string> ReadString(std::string_view key, std::string_view name) const = 0;
    virtual std::optional<int32_t> ReadInteger(std::string_view key, std::string_view name) const = 0;
    virtual std::optional<SettingsBinary> ReadBinary(std::string_view key, std::string_view name) const = 0;

    virtual void WriteString(std::string_view key, std::string_view name, std::string_view value) = 0;
    virtual void WriteInteger(std::string_view key, std::string_view name, int32_t value) = 0;
    virtual void WriteBinary(std::string_view key, std::string_view name, const SettingsBinary& value) = 0;

    // Removes the key with its values and every key below it.
    virtual void DeleteKey(std::string_view key) = 0;
    // True when some key lies below key.
    virtual bool HasSubkeys(std::string_view key) const = 0;
};

class MemorySettingsStore final : public SettingsStore {
public:
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
    using Value = std::variant<std::string, int32_t, SettingsBinary>;
    using Values = std::map<std::string, Value>;

    template <typename T> std::optional<T> Read(std::string_view key, std::string_view name) const;

    std::map<std::string, Values> keys_;
};

// The key of the owner defaults for new projects.
inline constexpr std::string_view kOwnerDefaultsKey = "\\Software\\BrindleSoft Works\\Tessaly\\Author";

} // namespace tessaly
