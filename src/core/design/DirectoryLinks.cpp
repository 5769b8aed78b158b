#include "core/design/DirectoryLinks.h"

#include <algorithm>

#include "core/text/Codepage.h"
#include "core/text/FieldText.h"
#include "core/text/Paths.h"
#include "core/text/Sjis.h"
#include "core/text/Strings.h"

namespace tessaly {

std::string SubLinkEntry(const DirectoryLink& link)
{
    return EscapeField(link.anchor) + "/" + EscapeField(link.target);
}

DirectoryLink ParseSubLinkEntry(std::string_view entry)
{
    const std::size_t slash = sjis::FindChar(entry, '/');
    if (slash == sjis::npos) {
        return {UnescapeField(entry), {}};
    }
    return {UnescapeField(entry.substr(0, slash)), UnescapeField(entry.substr(slash + 1))};
}

std::optional<std::string> NormaliseTableWidth(std::string_view width)
{
    std::string_view rest = Trim(width);
    rest.remove_prefix(std::min(rest.find_first_not_of('0'), rest.size()));
    if (rest.empty()) {
        return std::string();
    }
    if (rest.find_first_not_of("0123456789%") != std::string_view::npos) {
        return std::nullopt;
    }
    if (rest.find('%') == std::string_view::npos) {
        return std::string(rest);
    }
    rest.remove_suffix(1);
    if (rest.empty() || rest.find('%') != std::string_view::npos) {
        return std::nullopt;
    }
    return std::string(rest) + "%";
}

namespace {

std::string AsciiUpper(std::string_view text)
{
    std::string upper;
    upper.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = sjis::CharLength(text, i);
        if (length == 1 && text[i] >= 'a' && text[i] <= 'z') {
            upper += static_cast<char>(text[i] - 'a' + 'A');
        } else {
            upper.append(text.substr(i, length));
        }
        i += length;
    }
    return upper;
}

} // namespace

std::vector<DirectoryLink> LinksToSubdirectories(std::string_view rootDirectory, std::string_view directory,
    const std::vector<std::string>& childNames, const DesignDefaults& defaults)
{
    std::vector<DirectoryLink> links;
    links.reserve(childNames.size());
    const std::string parent = WithTrailingSlash(directory);
    for (const std::string& name : childNames) {
        TDirectoryDesign design;
        ReadDesign(rootDirectory, parent + name, design, defaults);
        links.push_back({design.dirTitle.empty() ? AsciiUpper(name) : design.dirTitle,
            name + "/" + design.html.nameDef});
    }
    return links;
}

LinkToDirectoryResult LinkToDirectory(std::string_view rootDirectory, std::string_view shownDirectory,
    std::string_view target, const DesignDefaults& defaults)
{
    TDirectoryDesign design;
    const bool designed = ReadDesignWithSuccession(rootDirectory, target, design, defaults);
    LinkToDirectoryResult result;
    result.untitled = !designed || design.dirTitle.empty();
    result.link.anchor = result.untitled ? SJ("新規リンク") : design.dirTitle;
    result.link.target
        = RelativeLink(WithTrailingSlash(shownDirectory), WithTrailingSlash(target)) + design.html.nameDef;
    return result;
}

} // namespace tessaly
