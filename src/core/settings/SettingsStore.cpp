#include "core/settings/SettingsStore.h"

#include "core/text/Collation.h"

namespace tessaly {

namespace {

// Keys compare without regard to ASCII case and to surrounding "\".
std::string NormalKey(std::string_view key)
{
    while (!key.empty() && key.front() == '\\') {
        key.remove_prefix(1);
    }
    while (!key.empty() && key.back() == '\\') {
        key.remove_suffix(1);
    }
    return AsciiLower(key);
}

} // namespace

template <typename T> std::optional<T> MemorySettingsStore::Read(std::string_view key, std::string_view name) const
{
    const auto values = keys_.find(NormalKey(key));
    if (values == keys_.end()) {
        return std::nullopt;
    }
    const auto value = values->second.find(AsciiLower(name));
    if (value == values->second.end() || !std::holds_alternative<T>(value->second)) {
        return std::nullopt;
    }
    return std::get<T>(value->second);
}

bool MemorySettingsStore::KeyExists(std::string_view key) const
{
    // A key that only has keys below it exists as well.
    return keys_.contains(NormalKey(key)) || HasSubkeys(key);
}

bool MemorySettingsStore::HasSubkeys(std::string_view key) const
{
    const std::string below = NormalKey(key) + "\\";
    const auto next = keys_.upper_bound(below);
    return next != keys_.end() && next->first.starts_with(below);
}

std::optional<std::string> MemorySettingsStore::ReadString(std::string_view key, std::string_view name) const
{
    return Read<std::string>(key, name);
}

std::optional<int32_t> MemorySettingsStore::ReadInteger(std::string_view key, std::string_view name) const
{
    return Read<int32_t>(key, name);
}

std::optional<SettingsBinary> MemorySettingsStore::ReadBinary(std::string_view key, std::string_view name) const
{
    return Read<SettingsBinary>(key, name);
}

void MemorySettingsStore::WriteString(std::string_view key, std::string_view name, std::string_view value)
{
    keys_[NormalKey(key)][AsciiLower(name)] = std::string(value);
}

void MemorySettingsStore::WriteInteger(std::string_view key, std::string_view name, int32_t value)
{
    keys_[NormalKey(key)][AsciiLower(name)] = value;
}

void MemorySettingsStore::WriteBinary(std::string_view key, std::string_view name, const SettingsBinary& value)
{
    keys_[NormalKey(key)][AsciiLower(name)] = value;
}

void MemorySettingsStore::DeleteKey(std::string_view key)
{
    const std::string normal = NormalKey(key);
    const std::string below = normal + "\\";
    for (auto it = keys_.begin(); it != keys_.end();) {
        if (it->first == normal || it->first.starts_with(below)) {
            it = keys_.erase(it);
        } else {
            ++it;
        }
    }
}

} // namespace tessaly
