#include "core/text/Paths.h"

#include <system_error>
#include <vector>

#include "core/text/Codepage.h"
#include "core/text/Sjis.h"
#include "core/util/Messages.h"

namespace tessaly {

namespace {

constexpr std::string_view kFileNameForbidden = "\\/:;*?\"<>|";

std::string ForwardSlashes(std::string_view path)
{
    return sjis::ReplaceAll(path, "\\", "/");
}

bool IsAbsolutePosix(std::string_view path)
{
    return !path.empty() && path.front() == '/';
}

bool IsDrivePath(std::string_view path)
{
    return path.size() >= 3 && path[1] == ':' && (path[2] == '\\' || path[2] == '/');
}

// Directory components of a path ending in "/", without empty ones.
std::vector<std::string_view> DirectoryComponents(std::string_view directory)
{
    std::vector<std::string_view> components;
    for (const std::string_view part : sjis::Split(directory, '/')) {
        if (!part.empty()) {
            components.push_back(part);
        }
    }
    return components;
}

} // namespace

bool HasOnlyFileNameCharacters(std::string_view name)
{
    return sjis::FindFirstOf(name, kFileNameForbidden) == sjis::npos;
}

bool IsValidFileName(std::string_view name, bool beep, MessagePresenter& messages)
{
    if (HasOnlyFileNameCharacters(name)) {
        return true;
    }
    if (beep) {
        messages.Beep();
    }
    std::string text = SJ("ファイル名に次の文字は使えません.\r\n\r\n");
    for (const char c : kFileNameForbidden) {
        text += c;
        text += ' ';
    }
    messages.Show(MessageKind::Error, SjisText(text), MessageButton::Retry);
    return false;
}

std::string RelativeLink(std::string_view basePath, std::string_view targetPath)
{
    const std::string base = ForwardSlashes(basePath);
    const std::string target = ForwardSlashes(targetPath);
    if (!IsAbsolutePosix(base) || !IsAbsolutePosix(target)) {
        return target;
    }
    const std::size_t nameStart = target.rfind('/') + 1;
    const std::vector<std::string_view> from = DirectoryComponents(base);
    const std::vector<std::string_view> to = DirectoryComponents(std::string_view(target).substr(0, nameStart));
    std::size_t common = 0;
    while (common < from.size() && common < to.size() && from[common] == to[common]) {
        ++common;
    }
    std::string link;
    for (std::size_t i = common; i < from.size(); ++i) {
        link += "../";
    }
    for (std::size_t i = common; i < to.size(); ++i) {
        link.append(to[i]);
        link += '/';
    }
    link.append(std::string_view(target).substr(nameStart));
    return link.empty() ? "./" : link;
}

std::string ResolveRelative(std::string_view basePath, std::string_view relative)
{
    std::string rest = ForwardSlashes(relative);
    if (IsAbsolutePosix(rest) || IsDrivePath(rest)) {
        return rest;
    }
    std::string base = ForwardSlashes(basePath);
    std::string_view remaining = rest;
    for (;;) {
        if (remaining.starts_with("../")) {
            while (!base.empty() && base.back() == '/') {
                base.pop_back();
            }
            const std::size_t slash = base.rfind('/');
            base.erase(slash == std::string::npos ? 0 : slash);
            remaining.remove_prefix(3);
        } else if (remaining.starts_with("./")) {
            remaining.remove_prefix(2);
        } else {
            break;
        }
    }
    if (base.empty() || base.back() != '/') {
        base += '/';
    }
    base.append(remaining);
    return base;
}

std::optional<std::filesystem::path> ToFsPath(std::string_view path)
{
    ConversionResult converted = SjisToUtf8(path);
    if (!converted.ok) {
        return std::nullopt;
    }
    return std::filesystem::path(std::move(converted.text));
}

std::optional<std::string> FromFsPath(const std::filesystem::path& path)
{
    ConversionResult converted = Utf8ToSjis(path.string());
    if (!converted.ok) {
        return std::nullopt;
    }
    return std::move(converted.text);
}

std::string LongPathName(std::string_view path)
{
    const std::optional<std::filesystem::path> fsPath = ToFsPath(path);
    if (!fsPath || fsPath->empty()) {
        return std::string(path);
    }
    std::error_code error;
    std::filesystem::path canonical = std::filesystem::weakly_canonical(*fsPath, error);
    if (error) {
        return std::string(path);
    }
    std::optional<std::string> spelled = FromFsPath(canonical);
    if (!spelled) {
        return std::string(path);
    }
    if (std::filesystem::is_directory(canonical, error) && (spelled->empty() || spelled->back() != '/')) {
        *spelled += '/';
    }
    return std::move(*spelled);
}

} // namespace tessaly
