#include "core/output/OutputRun.h"

#include <algorithm>
#include <cstdint>
#include <set>
#include <system_error>
#include <tuple>
#include <unordered_map>
#include <unordered_set>

#include <sys/stat.h>

#include "core/collection/Project.h"
#include "core/design/SiteDirectories.h"
#include "core/output/PageAssembly.h"
#include "core/output/Selection.h"
#include "core/output/WorkerPool.h"
#include "core/text/ByteScan.h"
#include "core/text/Codepage.h"
#include "core/text/Collation.h"
#include "core/text/Paths.h"
#include "core/text/Strings.h"
#include "core/util/AtomicFile.h"
#include "core/util/DirectoryEntries.h"

namespace tessaly {

namespace {

namespace fs = std::filesystem;

// Thrown on a file-system error; ends the run.
struct RunFailure {
    std::string error;
};

fs::path FsPath(const std::string& path)
{
    std::optional<fs::path> converted = ToFsPath(path);
    if (!converted) {
        throw RunFailure{"cannot convert the path " + SjisToUtf8Lossy(path) + " to a file name"};
    }
    return std::move(*converted);
}

std::string TimeStamp(const Clock& clock)
{
    const TDateTime now = clock.Now();
    return DateToText(now) + " " + TimeToText(now);
}

std::string CountLine(int count, const char* text)
{
    char number[16];
    std::snprintf(number, sizeof number, "%4d", count);
    return number + SJ(text);
}

// A file as the system knows it, whatever path names it.
struct FileId {
    dev_t device = 0;
    ino_t inode = 0;
    friend bool operator<(const FileId& a, const FileId& b)
    {
        return std::tie(a.device, a.inode) < std::tie(b.device, b.inode);
    }
};

std::optional<FileId> IdOf(const fs::path& path)
{
    struct stat status { };
    if (::stat(path.c_str(), &status) != 0) {
        return std::nullopt;
    }
    return FileId{status.st_dev, status.st_ino};
}

// The sub page numbers the plan writes with "%3.3d": three digits, or more
// without a leading zero.
bool IsPageNumber(std::string_view digits)
{
    return (digits.size() == 3 || (digits.size() > 3 && digits.front() != '0'))
        && std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// True when every line of text ends in CR LF and there is no other CR or
// LF: the text does not end in a CR, and a byte is an LF exactly where the
// byte before it is a CR. Most pages pass, and they are long: eight bytes
// are looked at in one step.
bool IsCrLfLines(std::string_view text)
{
    if (!text.empty() && !text.ends_with(kLineBreak)) {
        return false;
    }
    std::size_t i = 0;
    if constexpr (kWordScan) {
        uint64_t previousCrs = 0; // of the last word
        for (; i + 8 <= text.size(); i += 8) {
            const uint64_t word = WordAt(text, i);
            const uint64_t crs = ByteMatches(word, '\r');
            if (((crs << 8) | (previousCrs >> 56)) != ByteMatches(word, '\n')) {
                return false;
            }
            previousCrs = crs;
        }
    }
    for (; i < text.size(); ++i) {
        if ((text[i] == '\n') != (i > 0 && text[i - 1] == '\r')) {
            return false;
        }
    }
    return true;
}

// What the file in a page's place holds, found without changing anything,
// so that it can be found ahead of the writes on any thread.
enum class ExistingPage {
    Missing,
    Link, // a symbolic link: left alone
    NotAFile, // a directory, FIFO and the like: left alone
    Same, // the page as it would be written
    Different, // another text, or one that cannot be read
};

// A page as the workers prepare it: its text as written, what its file
// holds now, and for a new page, maybe the text written ahead into a file
// without a name yet.
struct PreparedPage {
    std::string text;
    ExistingPage existing = ExistingPage::Missing;
    // The file has other names (hard links): writing one page in place can
    // change what another holds.
    bool shared = false;
    UnnamedFile written;
};

// Finds what the file of a page holds now.
void ProbePage(const fs::path& file, PreparedPage& page)
{
    page.shared = false;
    struct stat status { };
    if (::lstat(file.c_str(), &status) != 0) {
        page.existing = ExistingPage::Missing;
        return;
    }
    if (S_ISLNK(status.st_mode)) {
        page.existing = ExistingPage::Link;
        return;
    }
    if (!S_ISREG(status.st_mode)) {
        page.existing = ExistingPage::NotAFile;
        return;
    }
    page.shared = status.st_nlink > 1;
    // A larger file cannot be the same page.
    const FileReadResult existing = ReadWholeFile(file, page.text.size());
    if (existing.ok && (existing.data == page.text || PageFileText(existing.data) == page.text)) {
        page.existing = ExistingPage::Same;
        return;
    }
    page.existing = existing.failure == ReadFailure::NotFound ? ExistingPage::Missing : ExistingPage::Different;
}

class Run {
public:
    Run(const Project& project, const std::string& rootDirectory, const Clock& clock, OutputObserver& observer,
        unsigned jobs)
        : project_(project)
        , root_(WithTrailingSlash(rootDirectory))
        , clock_(clock)
        , observer_(observer)
        , defaults_{project.DefaultFile, project.SubFile, clock.Today()}
        , workers_(jobs)
        , catalog_(project, &workers_)
        , assembler_(
              project, catalog_, root_, defaults_, [this](std::string line) { result_.log.push_back(std::move(line)); })
    {
    }

    OutputResult Execute()
    {
        result_.log.push_back(SJ("開始\t") + TimeStamp(clock_));
        result_.log.emplace_back();
        try {
            if (RunSteps()) {
                WriteProgramBanner();
                Step(OutputStep::Finished);
                result_.log.push_back(SJ("終了\t") + TimeStamp(clock_));
                result_.log.emplace_back();
                const OutputCounts& c = result_.counts;
                result_.log.push_back(CountLine(c.processed, " 個のHTMLを処理しました."));
                result_.log.push_back(CountLine(c.created, " 個のHTMLを新規に作成しました."));
                result_.log.push_back(CountLine(c.updated, " 個のHTMLを更新しました."));
                result_.log.push_back(CountLine(c.skipped, " 個のHTMLは更新の必要がないのでスキップしました."));
                result_.log.push_back(CountLine(c.deleted, " 個の余剰HTMLを削除しました."));
            } else {
                result_.status = OutputResult::Status::Aborted;
            }
        } catch (const RunFailure& failure) {
            result_.status = OutputResult::Status::Failed;
            result_.error = failure.error;
        } catch (const fs::filesystem_error& error) {
            result_.status = OutputResult::Status::Failed;
            result_.error = error.what();
        }
        return std::move(result_);
    }

private:
    // A directory whose design says it gets pages.
    struct Designed {
        std::string directory;
        std::optional<TDirectoryDesign> design; // none: passed over
        std::vector<std::size_t> selection; // the items its pages list or count
    };

    void Step(OutputStep step) { observer_.StepChanged(step); }

    void Advance(int steps)
    {
        progress_ += steps;
        observer_.ProgressChanged(progress_, progressMaximum_);
    }

    // The log's three lines for something noteworthy in a directory.
    void Warn(const std::string& directory, const std::string& message)
    {
        result_.log.push_back(SJ("警告\t") + directory);
        result_.log.push_back("\t" + message);
        result_.log.emplace_back();
    }

    // False when the run is to stop.
    bool RunSteps()
    {
        Step(OutputStep::Listing);
        const std::vector<std::string> directories = ListDirectories();
        observer_.DirectoriesListed(directories);
        progressMaximum_ = 4 * static_cast<int>(directories.size());
        if (observer_.ShouldAbort()) {
            return false;
        }
        // Every design first, so that no page replaces a template that a
        // later directory reads.
        std::vector<Designed> designed;
        designed.reserve(directories.size());
        for (const std::string& directory : directories) {
            designed.push_back({directory, ReadDirectoryDesign(directory), {}});
        }
        ProtectOwnFiles(designed);
        SelectItems(designed);
        for (std::size_t i = 0; i < designed.size(); ++i) {
            observer_.DirectoryStarted(i, designed[i].directory);
            if (!WriteDirectory(designed[i])) {
                return false;
            }
        }
        return true;
    }

    std::string BannerDirectory() const
    {
        const std::string bannerDir = project_.BannerDir.empty() ? project_.RootDir : project_.BannerDir;
        return WithTrailingSlash(bannerDir.empty() ? root_ : bannerDir);
    }

    // The built-in page template shows the program's own banner from the
    // banner directory, which nothing else puts there; a file of that name
    // is never replaced.
    void WriteProgramBanner()
    {
        if (!assembler_.RefersToProgramBanner()) {
            return;
        }
        const std::string banner = BannerDirectory() + std::string(resources::kBannerImageName);
        const std::optional<std::filesystem::path> path = ToFsPath(banner);
        const FileUpdateResult written = path ? WriteFileUnlessPresent(*path, resources::IMAGE_BANNER)
                                              : FileUpdateResult{false, FileUpdate::Unchanged, {}};
        if (!written.ok) {
            Warn(BannerDirectory(), banner + SJ(" を書き込めませんでした. ") + Utf8ForLog(written.error));
        }
    }

    // Nothing when the directory gets no pages.
    std::optional<TDirectoryDesign> ReadDirectoryDesign(const std::string& directory)
    {
        TDirectoryDesign design;
        std::string problem;
        Utf8Conversion conversion;
        const bool hasDesign = ReadDesignWithSuccession(root_, directory, design, defaults_, &problem, &conversion);
        if (!problem.empty()) {
            Warn(directory, SJ("設計ファイルを読み込めないため、出力しませんでした: ") + Utf8ForLog(problem));
        }
        if (conversion.fromUtf8) {
            Warn(directory, Utf8FileNote(WithTrailingSlash(directory) + std::string(kDesignFileName), conversion));
        }
        if (!hasDesign || !design.htmlOutputs) {
            return std::nullopt;
        }
        return design;
    }

    // The items of every directory, selected and sorted on all threads
    // before the first page is written (they depend on the project alone).
    // Most directories list most items, so their sort keys are made in one
    // go first.
    void SelectItems(std::vector<Designed>& designed)
    {
        std::set<uint8_t> sorts;
        for (const Designed& entry : designed) {
            if (entry.design && entry.design->linkOutputs) {
                sorts.insert(entry.design->squeeze.sortBy);
            }
        }
        for (const uint8_t sortBy : sorts) {
            catalog_.PrepareSortKeys(sortBy);
        }
        workers_.ForRanges(designed.size(), [this, &designed](std::size_t begin, std::size_t end) {
            for (std::size_t i = begin; i < end; ++i) {
                if (const std::optional<TDirectoryDesign>& design = designed[i].design) {
                    designed[i].selection = SelectFromCatalog(catalog_, design->squeeze, false, design->linkOutputs);
                }
            }
        });
    }

    // The page templates of the run and the project file, which no page
    // may replace and no surplus step may delete.
    void ProtectOwnFiles(const std::vector<Designed>& designed)
    {
        const auto protect = [this](const std::optional<fs::path>& path) {
            if (path) {
                if (const std::optional<FileId> id = IdOf(*path)) {
                    protected_.insert(*id);
                    protectedInodes_.insert(id->inode);
                }
            }
        };
        for (const Designed& entry : designed) {
            if (!entry.design) {
                continue;
            }
            for (const std::string* path : {&entry.design->html.templateDef, &entry.design->html.templateSub}) {
                if (!path->empty()) {
                    protect(ToFsPath(SitePath(root_, *path)));
                }
            }
        }
        if (!project_.EditingName.empty()) {
            protect(project_.EditingName);
        }
    }

    bool IsProtected(const fs::path& path) const
    {
        const std::optional<FileId> id = IdOf(path);
        return id && protected_.contains(*id);
    }

    // IsProtected for a file of a directory whose entries were read: a name
    // that is not there names no file, and only a link or an entry whose
    // inode number a protected file has needs a closer look.
    bool IsProtected(const fs::path& path, const std::unordered_map<std::string_view, const DirectoryEntry*>& present) const
    {
        const auto found = present.find(path.filename().native());
        if (found == present.end()) {
            return false;
        }
        const DirectoryEntry& entry = *found->second;
        const bool plain = entry.type != fs::file_type::symlink && !entry.error;
        return (!plain || protectedInodes_.contains(entry.inode)) && IsProtected(path);
    }

    static std::string Utf8ForLog(const std::string& utf8)
    {
        ConversionResult sjis = Utf8ToSjis(utf8);
        return sjis.ok ? std::move(sjis.text) : std::string();
    }

    // The site's directories in the order of its tree: each directory
    // followed by the directories below it, by name. Entries that cannot be
    // examined are logged.
    std::vector<std::string> ListDirectories()
    {
        std::vector<std::string> directories;
        for (std::vector<std::string> pending{root_}; !pending.empty();) {
            const std::string directory = std::move(pending.back());
            pending.pop_back();
            const SubdirectoryListing listing = ListSiteSubdirectories(directory, project_.BannerDir);
            for (const std::string& problem : listing.problems) {
                Warn(directory, problem);
            }
            for (auto name = listing.names.rbegin(); name != listing.names.rend(); ++name) {
                pending.push_back(directory + *name + "/");
            }
            directories.push_back(directory);
        }
        return directories;
    }

    // The entries of directory; those that cannot be examined are logged
    // and left out.
    std::vector<DirectoryEntry> EntriesOf(const std::string& directory)
    {
        DirectoryEntries listing = ReadDirectoryEntries(FsPath(directory));
        std::erase_if(listing.entries, [&](const DirectoryEntry& entry) {
            if (entry.error) {
                Warn(directory,
                    SJ("調べられない項目を飛ばしました: ") + Utf8ForLog(entry.name + ": " + entry.error.message()));
            }
            return static_cast<bool>(entry.error);
        });
        if (listing.error) {
            Warn(directory, SJ("ディレクトリの内容を調べられませんでした: ") + Utf8ForLog(listing.error.message()));
        }
        return std::move(listing.entries);
    }

    bool WriteDirectory(Designed& designed)
    {
        const std::string& directory = designed.directory;
        if (!designed.design) {
            Advance(4);
            return !observer_.ShouldAbort();
        }
        DirectoryPages pages;
        pages.directory = directory;
        pages.isRoot = directory == root_;
        pages.design = *designed.design;
        // The hits are counted even where no items are listed, so "%hits;"
        // means the same on every page; only listed items are sorted.
        pages.selection = std::move(designed.selection);
        pages.hits = pages.selection.size();
        pages.bannerPrefix = RelativeLink(directory, BannerDirectory());
        const THtmlDesign& html = pages.design.html;
        const std::size_t dot = html.nameSub.rfind('.');
        const std::string subBase = html.nameSub.substr(0, dot);
        const std::string subExtension = dot == std::string::npos ? std::string() : html.nameSub.substr(dot + 1);

        Step(OutputStep::Planning);
        std::vector<PageRow> rows = PlanPages(pages, subBase, subExtension);
        if (const std::optional<std::string> refused = RefusedPageName(directory, html, rows)) {
            Warn(directory, SJ("ページのファイル名 \"") + *refused + SJ("\" は使えないため、出力しませんでした."));
            Advance(4);
            return !observer_.ShouldAbort();
        }
        observer_.PagesPlanned(rows);
        Advance(1);
        if (observer_.ShouldAbort()) {
            return false;
        }
        RemoveLeftoverTemporaryFiles(FsPath(directory));
        Step(OutputStep::DefaultPage);
        if (!rows.empty()) {
            assembler_.StartDirectory(pages);
            writtenNames_.clear();
            WriteRow(
                pages.directory, rows, 0, Prepare(pages.directory, rows[0], assembler_.AssemblePage(pages, 0), false));
            Advance(1);
            if (observer_.ShouldAbort()) {
                return false;
            }
            Step(OutputStep::SubPages);
        }
        if (!WriteSubPages(pages, rows)) {
            return false;
        }
        Advance(1);
        Step(OutputStep::Surplus);
        DeleteSurplusPages(directory, subBase, subExtension, rows);
        Advance(1);
        return !observer_.ShouldAbort();
    }

    // ahead: a new page is written into a file without a name, which the
    // write then only names.
    PreparedPage Prepare(const std::string& directory, const PageRow& row, std::string assembled, bool ahead) const
    {
        PreparedPage page{PageFileText(std::move(assembled)), ExistingPage::Missing, false, {}};
        ProbePage(FsPath(directory + row.fileName), page);
        if (ahead && page.existing == ExistingPage::Missing) {
            page.written = UnnamedFile::Write(FsPath(directory), page.text);
        }
        return page;
    }

    void WriteRow(const std::string& directory, std::vector<PageRow>& rows, std::size_t i, PreparedPage page)
    {
        // A file that an earlier row of this run may have written (two
        // rows of one name, or names of one file) is looked at again now.
        const std::string& name = rows[i].fileName;
        if (!writtenNames_.insert(name).second || page.shared) {
            ProbePage(FsPath(directory + name), page);
            page.written = {};
        }
        rows[i].state = WritePage(directory, name, page);
        ++result_.counts.processed;
        observer_.PageDone(i, rows[i].state);
    }

    // The further pages are assembled and their files looked at on the
    // workers, ahead of the writes; false when the run is to stop.
    bool WriteSubPages(const DirectoryPages& pages, std::vector<PageRow>& rows)
    {
        if (rows.size() < 2) {
            return true;
        }
        assembler_.StartSubPages(pages);
        std::vector<PreparedPage> prepared(rows.size());
        // On a disk, making and filling files is the bulk of the work: the
        // workers do it for new pages, and the pages are named in order.
        // In memory that costs no more than naming them.
        const bool ahead = workers_.Jobs() > 1 && !IsInMemory(FsPath(pages.directory));
        WorkerPool::Series made = workers_.Begin(rows.size() - 1, [&](std::size_t i) {
            prepared[i + 1] = Prepare(pages.directory, rows[i + 1], assembler_.AssemblePage(pages, i + 1), ahead);
            return std::string();
        });
        for (std::size_t i = 1; i < rows.size(); ++i) {
            made.Take(i - 1);
            WriteRow(pages.directory, rows, i, std::move(prepared[i]));
            if (observer_.ShouldAbort()) {
                return false;
            }
        }
        return true;
    }

    // A page name that would leave the directory or replace one of the
    // program's own files. The design's names count even when no page is
    // planned: the surplus step goes by the sub page name.
    std::optional<std::string> RefusedPageName(
        const std::string& directory, const THtmlDesign& html, const std::vector<PageRow>& rows) const
    {
        for (const std::string* name : {&html.nameDef, &html.nameSub}) {
            if (!IsValidPageName(*name)) {
                return *name;
            }
        }
        // The directory is read once rather than each page looked up.
        const DirectoryEntries listing = ReadDirectoryEntries(FsPath(directory));
        std::unordered_map<std::string_view, const DirectoryEntry*> present;
        for (const DirectoryEntry& entry : listing.entries) {
            present.emplace(entry.name, &entry);
        }
        for (const PageRow& row : rows) {
            const std::optional<fs::path> path = ToFsPath(directory + row.fileName);
            if (!IsValidPageName(row.fileName) || !path
                || (listing.error ? IsProtected(*path) : IsProtected(*path, present))) {
                return row.fileName;
            }
        }
        return std::nullopt;
    }

    std::vector<PageRow> PlanPages(DirectoryPages& pages, const std::string& subBase, const std::string& subExtension)
    {
        const TDirectoryDesign& design = pages.design;
        std::vector<PageRow> rows;
        if (!design.linkOutputs) {
            rows.push_back({design.html.nameDef, {}, {}});
        } else if (!design.html.division) {
            rows.push_back({design.html.nameDef, SJ("最初"), SJ("最後")});
        } else {
            const std::size_t perPage = static_cast<std::size_t>(design.html.divisionCount);
            const std::size_t count = (pages.hits + perPage - 1) / perPage;
            for (std::size_t p = 1; p <= count; ++p) {
                char number[24];
                std::snprintf(number, sizeof number, "%3.3zu", p);
                std::string name = p == 1 ? design.html.nameDef
                                          : subBase + number + (subExtension.empty() ? "" : "." + subExtension);
                const std::string first = p == 1 ? SJ("最初") : std::to_string((p - 1) * perPage + 1);
                const std::string last = p == count ? SJ("最後") : std::to_string(p * perPage);
                rows.push_back({std::move(name), first, last});
            }
        }
        for (const PageRow& row : rows) {
            pages.pageNames.push_back(row.fileName);
            pages.pageRanges.emplace_back(ParseInt32(row.first).value_or(0), ParseInt32(row.last).value_or(0));
        }
        pages.bars = PageBars(pages.pageNames);
        return rows;
    }

    // A page is written only as a regular file of its own: a symbolic link,
    // FIFO or directory in its place, or a read-only file, is logged and
    // left alone.
    PageState WritePage(const std::string& directory, const std::string& fileName, PreparedPage& page)
    {
        switch (page.existing) {
        case ExistingPage::Link:
            Warn(directory, fileName + SJ(" はシンボリックリンクのため、書き込みませんでした."));
            return PageState::Pending;
        case ExistingPage::NotAFile:
            Warn(directory, fileName + SJ(" は通常のファイルではないため、書き込みませんでした."));
            return PageState::Pending;
        case ExistingPage::Same: ++result_.counts.skipped; return PageState::Skipped;
        case ExistingPage::Missing:
        case ExistingPage::Different: break;
        }
        const fs::path file = FsPath(directory + fileName);
        if (page.written) {
            if (page.written.Name(file)) {
                ++result_.counts.created;
                return PageState::Created;
            }
            // Something took the name meanwhile, or the file system would
            // not name the file: the page is written here, as without it.
            PreparedPage again{page.text, ExistingPage::Missing, false, {}};
            ProbePage(file, again);
            return WritePage(directory, fileName, again);
        }
        // A new page has no old one to protect from a half-written file.
        const FileWriteResult written = page.existing == ExistingPage::Missing
            ? WriteNewFile(file, page.text, Durability::Unsynced, SymbolicLinks::Refuse)
            : WriteFileAtomically(file, page.text, Durability::Unsynced, SymbolicLinks::Refuse);
        switch (written.failure) {
        case WriteFailure::None: break;
        case WriteFailure::ReadOnly:
            Warn(directory, fileName + SJ(" は読み込み専用のため、書き込みませんでした."));
            return PageState::Pending;
        case WriteFailure::Link:
        case WriteFailure::DanglingLink:
        case WriteFailure::NotAFile:
            Warn(directory, fileName + SJ(" は通常のファイルではないため、書き込みませんでした."));
            return PageState::Pending;
        case WriteFailure::UnsafeInPlace:
        case WriteFailure::TooLarge:
        case WriteFailure::ProjectFile:
        case WriteFailure::System: throw RunFailure{written.error};
        }
        if (page.existing == ExistingPage::Different) {
            ++result_.counts.updated;
            return PageState::Updated;
        }
        ++result_.counts.created;
        return PageState::Created;
    }

    void DeleteSurplusPages(const std::string& directory, const std::string& subBase, const std::string& subExtension,
        const std::vector<PageRow>& rows)
    {
        // The planned names as compared, ignoring the case of ASCII letters.
        std::unordered_set<std::string> planned;
        for (const PageRow& row : rows) {
            planned.insert(AsciiLower(row.fileName));
        }
        std::vector<std::pair<fs::path, std::string>> surplus;
        const fs::path fsDirectory = FsPath(directory);
        for (const DirectoryEntry& entry : EntriesOf(directory)) {
            if (entry.type != fs::file_type::regular) {
                continue;
            }
            const fs::path path = fsDirectory / entry.name;
            const std::optional<std::string> name = FromFsPath(entry.name);
            if (name && IsSurplusPage(*name, subBase, subExtension, planned) && !IsProtected(path)) {
                surplus.emplace_back(path, *name);
            }
        }
        for (const auto& [path, name] : surplus) {
            std::error_code error;
            if (fs::remove(path, error)) {
                ++result_.counts.deleted;
            } else if (error) {
                Warn(directory, name + SJ(" を削除できませんでした: ") + Utf8ForLog(error.message()));
            }
        }
    }

    static bool IsSurplusPage(const std::string& name, const std::string& subBase, const std::string& subExtension,
        const std::unordered_set<std::string>& planned)
    {
        if (!name.starts_with(subBase)) {
            return false;
        }
        const std::string_view rest = std::string_view(name).substr(subBase.size());
        std::string_view digits = rest;
        if (!subExtension.empty()) {
            const std::size_t dot = rest.rfind('.');
            if (dot == std::string_view::npos || rest.substr(dot + 1) != subExtension) {
                return false;
            }
            digits = rest.substr(0, dot);
        }
        return IsPageNumber(digits) && !planned.contains(AsciiLower(name));
    }

    const Project& project_;
    std::string root_;
    const Clock& clock_;
    OutputObserver& observer_;
    DesignDefaults defaults_;
    WorkerPool workers_;
    ItemCatalog catalog_;
    OutputResult result_;
    PageAssembler assembler_;
    std::set<FileId> protected_;
    std::unordered_set<ino_t> protectedInodes_;
    std::unordered_set<std::string> writtenNames_; // pages of this directory written so far
    int progress_ = 0;
    int progressMaximum_ = 0;
};

} // namespace

OutputResult RunOutput(const Project& project, const std::string& rootDirectory, const Clock& clock,
    OutputObserver& observer, unsigned jobs)
{
    return Run(project, rootDirectory, clock, observer, jobs).Execute();
}

std::string PageFileText(std::string text)
{
    // Same as splitting into lines and ending each with CR LF, in one pass;
    // most pages are in that form already.
    if (IsCrLfLines(text)) {
        return text;
    }
    std::string lines;
    lines.reserve(text.size() + 2);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r') {
            if (i + 1 < text.size() && text[i + 1] == '\n') {
                ++i;
            }
            lines += kLineBreak;
        } else if (c == '\n') {
            lines += kLineBreak;
        } else {
            lines += c;
        }
    }
    if (!lines.empty() && !lines.ends_with(kLineBreak)) {
        lines += kLineBreak;
    }
    return lines;
}

const std::string& PageStateText(PageState state)
{
    switch (state) {
    case PageState::Created: return SJ("作成");
    case PageState::Updated: return SJ("更新");
    case PageState::Skipped: return SJ("ｽｷｯﾌﾟ");
    default: return SJ("未処理");
    }
}

const std::string& OutputFinishedMessage()
{
    return SJ(
        "プロジェクト出力が終了しました.\r\n特記すべき状況が発生した場合はログに記録されています.\r\n参照して下さい.");
}

const std::string& OutputAbortedMessage()
{
    return SJ("プロジェクト出力を強制終了しました.\r\nプロジェクトは正常に出力されていません.\r\n"
              "正常な状態にするには、再出力が必要です.");
}

const std::string& OutputStepText(OutputStep step)
{
    switch (step) {
    case OutputStep::Listing: return SJ("プロジェクト出力ディレクトリを取得しています");
    case OutputStep::Planning: return SJ("HTML出力計画を作成しています");
    case OutputStep::DefaultPage: return SJ("デフォルトHTMLを出力しています");
    case OutputStep::SubPages: return SJ("サブHTMLを出力しています");
    case OutputStep::Surplus: return SJ("余剰ファイルを削除しています");
    case OutputStep::Finished: return SJ("終了しました");
    default: return SJ("実行待ち状態です");
    }
}

} // namespace tessaly

namespace tessaly {

RootPage FindRootPage(const Project& project, const DesignDefaults& defaults)
{
    if (project.RootDir.empty()) {
        return {{}, SJ("ルートディレクトリが設定されていません.\r\nプロジェクトオプションで設定して下さい.")};
    }
    const std::string root = WithTrailingSlash(project.RootDir);
    TDirectoryDesign design;
    if (!ReadDesign(root, root, design, defaults)) {
        return {{}, root + SJ("\r\nルートディレクトリの設計が為されていません.")};
    }
    const std::string page = root + design.html.nameDef;
    const std::optional<fs::path> fsPage = ToFsPath(page);
    std::error_code error;
    const bool exists = fsPage && fs::is_regular_file(*fsPage, error);
    if (!design.htmlOutputs && !exists) {
        return {{},
            SJ("ルートディレクトリはHTMLを生成しない設計になっています.\r\n"
               "また、デフォルトHTMLと思しきファイルも見付かりません.")};
    }
    if (!exists) {
        return {{}, SJ("デフォルトHTMLファイルが見付かりません.")};
    }
    return {page, {}};
}

} // namespace tessaly
