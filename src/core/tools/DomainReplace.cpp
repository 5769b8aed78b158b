#include "core/tools/DomainReplace.h"

#include "core/collection/LinkItem.h"
#include "core/collection/Project.h"
#include "core/text/Codepage.h"
#include "core/text/Collation.h"
#include "core/text/Sjis.h"
#include "core/text/Strings.h"
#include "core/text/Url.h"

namespace tessaly {

namespace {

// Where find starts in the host, or npos. Case is folded for ASCII and
// full-width Latin letters, which keeps every character's length, so
// positions in the folded host are positions in the stored one.
std::size_t MatchInHost(std::string_view host, const DomainReplaceSettings& settings)
{
    const std::string foldedHost = settings.ignoreCase ? LatinLower(host) : std::string(host);
    const std::string foldedFind = settings.ignoreCase ? LatinLower(settings.find) : settings.find;
    if (!settings.allowPartial) {
        return foldedHost == foldedFind ? 0 : sjis::npos;
    }
    return sjis::FindText(foldedHost, foldedFind);
}

} // namespace

std::optional<std::string> ReplaceDomainInUrl(std::string_view url, const DomainReplaceSettings& settings)
{
    if (url.empty() || settings.find.empty()) {
        return std::nullopt;
    }
    const std::size_t hostStart = UrlSchemeLength(url);
    const std::string_view rest = url.substr(hostStart);
    const std::size_t slash = rest.find('/');
    const std::string_view host = rest.substr(0, slash);
    const std::string_view path = slash == std::string_view::npos ? std::string_view() : rest.substr(slash + 1);
    const std::size_t match = MatchInHost(host, settings);
    if (match == sjis::npos) {
        return std::nullopt;
    }
    std::string replaced(url.substr(0, hostStart));
    replaced.append(host.substr(0, match));
    replaced += settings.replace;
    replaced.append(host.substr(match + settings.find.size()));
    replaced += '/';
    replaced.append(path);
    return replaced;
}

std::size_t ReplaceDomains(Project& project, const DomainReplaceSettings& settings, const GenreProgress& progress)
{
    DomainReplaceSettings trimmed = settings;
    trimmed.find = Trim(settings.find);
    trimmed.replace = Trim(settings.replace);
    if (trimmed.find.empty()) {
        return 0;
    }
    const std::size_t count = RewriteEveryItem(
        project,
        [&trimmed](TLinkItem& item) {
            std::size_t replaced = 0;
            for (std::string* url : {&item.Url, &item.Banner}) {
                if (std::optional<std::string> changed = ReplaceDomainInUrl(*url, trimmed)) {
                    *url = std::move(*changed);
                    ++replaced;
                }
            }
            return replaced;
        },
        progress);
    if (count > 0) {
        project.IsEditing = true;
    }
    return count;
}

DomainReplacePreview PreviewDomainReplace(const Project& project, const DomainReplaceSettings& settings, std::size_t limit)
{
    DomainReplacePreview preview;
    DomainReplaceSettings trimmed = settings;
    trimmed.find = Trim(settings.find);
    trimmed.replace = Trim(settings.replace);
    if (trimmed.find.empty()) {
        return preview;
    }
    for (std::size_t g = 0; g < project.TrashIndex(); ++g) {
        for (const std::string& line : project.Genres[g].Lines) {
            const TLinkItem item = LineToItem(line);
            for (const std::string* url : {&item.Url, &item.Banner}) {
                if (std::optional<std::string> changed = ReplaceDomainInUrl(*url, trimmed)) {
                    if (preview.changes.size() < limit) {
                        preview.changes.push_back({*url, std::move(*changed)});
                    }
                    ++preview.total;
                }
            }
        }
    }
    return preview;
}

const std::string& DomainFindMissingMessage()
{
    return SJ("検索ドメインが指定されていません.");
}

const std::string& DomainReplaceEmptyQuestion()
{
    return SJ(
        "置き換えドメインが指定されていません.\r\n検索ドメインにマッチした箇所は削除されます.\r\n処理を強行しますか？");
}

const std::string& DomainReplaceProgressMessage()
{
    return SJ("ドメインを一括変換しています...");
}

std::string DomainReplaceResultMessage(std::size_t count)
{
    if (count == 0) {
        return SJ("終了しました.\r\n置き換えたドメインはありませんでした.");
    }
    return SJ("終了しました.\r\n") + std::to_string(count) + SJ(" 件のドメインを置き換えしました.");
}

} // namespace tessaly
