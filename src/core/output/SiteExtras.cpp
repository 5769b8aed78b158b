#include "core/output/SiteExtras.h"

#include <limits>

#include "core/collection/Project.h"
#include "core/output/PageProbe.h"
#include "core/output/PageWriter.h"
#include "core/output/RunErrors.h"
#include "core/output/Selection.h"
#include "core/site/Feed.h"
#include "core/site/SiteAddress.h"
#include "core/site/SiteCheck.h"
#include "core/site/SiteSearch.h"
#include "core/site/Sitemap.h"
#include "core/text/Codepage.h"
#include "core/text/Collation.h"
#include "core/text/Paths.h"
#include "core/util/AtomicFile.h"

namespace tessaly {

namespace {

constexpr std::size_t kUnlisted = std::numeric_limits<std::size_t>::max();
// The largest search index or sitemap the program writes is well below.
constexpr std::size_t kLargestOwnFile = std::size_t{512} << 20;

// A text of the system or a browser in the log, as near as code page 932 goes.
std::string LogText(const std::string& utf8)
{
    return Utf8ToSjisNearest(utf8).text;
}

} // namespace

SiteExtras::SiteExtras(const Project& project, std::string root, std::size_t itemCount)
    : project_(project)
    , root_(std::move(root))
    , listingPages_(project.Publishing.siteSearch ? itemCount : 0)
    , listingHits_(listingPages_.size(), kUnlisted)
{
}

// The site's files that are the program's (they hold its mark) and that
// the options no longer ask for, deleted so that no stale search index or
// feed is published; a file of the same name that is the owner's own is
// left alone.
void SiteExtras::DeleteUnwanted(const RunLog& log)
{
    struct OwnFile {
        std::string_view name;
        std::string_view mark;
        bool wanted;
    };
    const SitePublishing& publishing = project_.Publishing;
    const OwnFile files[] = {
        {kSearchPageName, "<meta name=\"generator\" content=\"Tessaly\">", publishing.siteSearch},
        {kSearchScriptName, "window.tessalySearchIndex", publishing.siteSearch},
        {kSearchIndexName, "window.tessalySearchIndex = ", publishing.siteSearch},
        {kFeedFileName, "<generator>Tessaly</generator>", publishing.feedCount > 0},
        {kSitemapFileName, "<!-- generator: Tessaly -->", publishing.sitemap},
    };
    for (const OwnFile& file : files) {
        const std::filesystem::path path = RequireFsPath(root_ + std::string(file.name));
        if (file.wanted || ProbePage(path, {}).existing != ExistingPage::Different) {
            continue; // wanted, missing, or not a regular file
        }
        const FileReadResult read = ReadWholeFile(path, kLargestOwnFile);
        std::error_code error;
        if (read.ok && read.data.find(file.mark) != std::string::npos && std::filesystem::remove(path, error)) {
            log(SJ("サイト\t") + std::string(file.name) + SJ(" は出力しない設定のため、削除しました."));
        }
    }
}

std::vector<std::string> SiteExtras::FileNames() const
{
    std::vector<std::string> names;
    const SitePublishing& publishing = project_.Publishing;
    if (publishing.siteSearch) {
        names.insert(names.end(), {kSearchPageName, kSearchScriptName, kSearchIndexName});
    }
    if (publishing.feedCount > 0) {
        names.emplace_back(kFeedFileName);
    }
    if (publishing.sitemap) {
        names.emplace_back(kSitemapFileName);
    }
    return names;
}

std::optional<std::string> SiteExtras::TakenName(const std::string& directory, const std::vector<PageRow>& rows) const
{
    if (directory != root_) {
        return std::nullopt;
    }
    const std::vector<std::string> names = FileNames();
    for (const PageRow& row : rows) {
        for (const std::string& name : names) {
            if (SameNameIgnoringAsciiCase(row.fileName, name)) {
                return row.fileName;
            }
        }
    }
    return std::nullopt;
}

void SiteExtras::NoteListing(const DirectoryPages& pages)
{
    if (listingPages_.empty() || !pages.design.linkOutputs) {
        return;
    }
    const std::string directory = pages.directory.substr(root_.size());
    for (std::size_t page = 0; page < pages.pageRanges.size(); ++page) {
        const auto [first, last] = pages.pageRanges[page];
        const std::size_t from = first > 0 ? static_cast<std::size_t>(first) : 1;
        const std::size_t to = last > 0 ? std::min(static_cast<std::size_t>(last), pages.hits) : pages.hits;
        for (std::size_t number = from; number <= to; ++number) {
            const std::size_t entry = pages.selection[number - 1];
            if (pages.hits < listingHits_[entry]) {
                listingHits_[entry] = pages.hits;
                listingPages_[entry] = directory + pages.pageNames[page];
            }
        }
    }
}

void SiteExtras::NotePage(const std::string& directory, const std::string& fileName)
{
    pages_.push_back(directory.substr(root_.size()) + fileName);
}

void SiteExtras::Finish(const ItemCatalog& catalog, const Clock& clock, const RunLog& log)
{
    DeleteUnwanted(log);
    if (project_.Publishing.siteSearch) {
        WriteSearch(catalog, log);
    }
    WriteFeedAndSitemap(clock, log);
    CheckLinks(log);
}

void SiteExtras::WriteFile(const std::string& name, std::string bytes, const RunLog& log)
{
    PreparedPage file{std::move(bytes), {}, {}};
    file.onDisk = ProbePage(RequireFsPath(root_ + name), file.text);
    const PageWrite written = WritePage(root_, name, file);
    switch (written.state) {
    case PageState::Created: log(SJ("サイト\t") + name + SJ(" を新規に作成しました.")); break;
    case PageState::Updated: log(SJ("サイト\t") + name + SJ(" を更新しました.")); break;
    case PageState::Skipped: log(SJ("サイト\t") + name + SJ(" は更新の必要がないのでスキップしました.")); break;
    case PageState::Pending: log(SJ("警告\t") + written.problem); break;
    }
}

void SiteExtras::WriteSearch(const ItemCatalog& catalog, const RunLog& log)
{
    for (SiteFile& file : SiteSearchFiles(project_, catalog, listingPages_)) {
        if (file.name.ends_with(".html")) {
            pages_.push_back(file.name);
        }
        WriteFile(file.name, std::move(file.bytes), log);
    }
}

void SiteExtras::WriteFeedAndSitemap(const Clock& clock, const RunLog& log)
{
    const SitePublishing& publishing = project_.Publishing;
    if (publishing.feedCount <= 0 && !publishing.sitemap) {
        return;
    }
    const std::optional<std::string> baseUrl = SiteBaseUrl(ToUtf8(SjisText(publishing.baseUrl)).view());
    if (!baseUrl) {
        log(SJ("警告\t") + (publishing.baseUrl.empty() ? SJ("サイトのアドレスが設定されていないため")
                                                      : SJ("サイトのアドレス \"") + publishing.baseUrl
                                                          + SJ("\" がサイトのアドレスとして使えないため"))
            + SJ("、フィードとサイトマップを書き込みませんでした."));
        return;
    }
    if (publishing.feedCount > 0) {
        WriteFile(std::string(kFeedFileName), AtomFeed(project_, *baseUrl, publishing.feedCount, clock), log);
    }
    if (publishing.sitemap) {
        Sitemap sitemap = SitemapXml(*baseUrl, SitemapPagesOf(RequireFsPath(root_), pages_));
        WriteFile(std::string(kSitemapFileName), std::move(sitemap.xml), log);
        if (sitemap.leftOut > 0) {
            log(SJ("警告\t") + std::to_string(sitemap.leftOut)
                + SJ(" 個のページは、サイトマップ1つに載せられる数や長さを超えるため載せませんでした."));
        }
    }
}

void SiteExtras::CheckLinks(const RunLog& log)
{
    SiteCheckOptions options;
    options.defaultFile = ToUtf8(SjisText(project_.DefaultFile)).bytes();
    if (const std::optional<std::string> baseUrl = SiteBaseUrl(ToUtf8(SjisText(project_.Publishing.baseUrl)).view())) {
        options.basePath = std::string(BaseUrlPath(*baseUrl));
    }
    std::vector<std::string> pages;
    pages.reserve(pages_.size());
    for (const std::string& page : pages_) {
        if (const std::optional<std::filesystem::path> path = ToFsPath(page)) {
            pages.push_back(path->string());
        }
    }
    const SiteCheckResult checked = CheckSite(RequireFsPath(root_), std::move(pages), options);
    for (const BrokenTarget& broken : checked.broken) {
        log(SJ(broken.kind == TargetKind::Image ? "画像切れ\t" : "リンク切れ\t") + LogText(broken.page) + "\t"
            + LogText(broken.target));
    }
    for (const SiteProblem& problem : checked.unread) {
        log(SJ("警告\t") + LogText(problem.path) + SJ(" のリンクを調べられませんでした: ") + LogText(problem.error));
    }
}

} // namespace tessaly
