#include "core/output/OutputRun.h"

#include <cstdint>
#include <cstdio>
#include <set>
#include <unordered_set>

#include "core/collection/Project.h"
#include "core/design/SiteDirectories.h"
#include "core/output/PageAssembly.h"
#include "core/output/PageWriter.h"
#include "core/output/ProtectedFiles.h"
#include "core/output/RunErrors.h"
#include "core/output/Selection.h"
#include "core/output/SiteExtras.h"
#include "core/output/SurplusPages.h"
#include "core/output/WorkerPool.h"
#include "core/text/Codepage.h"
#include "core/text/Paths.h"
#include "core/text/Strings.h"
#include "core/util/AtomicFile.h"

namespace tessaly {

namespace {

namespace fs = std::filesystem;

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
        , assembler_(project, catalog_, root_, defaults_,
              [this](std::string line) { result_.log.emplace_back(std::move(line)); })
        , extras_(project, root_, catalog_.size())
    {
    }

    OutputResult Execute()
    {
        result_.log.emplace_back(SJ("開始\t") + TimeStamp(clock_));
        result_.log.emplace_back();
        try {
            if (RunSteps()) {
                WriteProgramBanner();
                FinishSite();
                Step(OutputStep::Finished);
                result_.log.emplace_back(SJ("終了\t") + TimeStamp(clock_));
                result_.log.emplace_back();
                const OutputCounts& c = result_.counts;
                result_.log.emplace_back(CountLine(c.processed, " 個のHTMLを処理しました."));
                result_.log.emplace_back(CountLine(c.created, " 個のHTMLを新規に作成しました."));
                result_.log.emplace_back(CountLine(c.updated, " 個のHTMLを更新しました."));
                result_.log.emplace_back(CountLine(c.skipped, " 個のHTMLは更新の必要がないのでスキップしました."));
                result_.log.emplace_back(CountLine(c.deleted, " 個の余剰HTMLを削除しました."));
            } else {
                result_.status = OutputResult::Status::Aborted;
            }
        } catch (const RunFailure& failure) {
            result_.status = OutputResult::Status::Failed;
            result_.error = failure.error;
        } catch (const fs::filesystem_error& error) {
            result_.status = OutputResult::Status::Failed;
            result_.error = Utf8Text(error.what());
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

    PageEncoding Encoding() const { return project_.Publishing.pageEncoding; }

    // The site's files besides the pages, and the check of the pages'
    // links, as a paragraph of the log.
    void FinishSite()
    {
        std::vector<SjisText> lines;
        extras_.Finish(catalog_, clock_, [&lines](std::string line) { lines.emplace_back(std::move(line)); });
        if (!lines.empty()) {
            result_.log.insert(result_.log.end(), std::make_move_iterator(lines.begin()),
                std::make_move_iterator(lines.end()));
            result_.log.emplace_back();
        }
    }

    void Advance(int steps)
    {
        progress_ += steps;
        observer_.ProgressChanged(progress_, progressMaximum_);
    }

    // The log's three lines for something noteworthy in a directory.
    void Warn(const std::string& directory, const std::string& message)
    {
        result_.log.emplace_back(SJ("警告\t") + directory);
        result_.log.emplace_back("\t" + message);
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
            Warn(BannerDirectory(), banner + SJ(" を書き込めませんでした. ") + ToSjis(Utf8Text(written.error)).bytes());
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
            Warn(directory,
                SJ("設計ファイルを読み込めないため、出力しませんでした: ") + ToSjis(Utf8Text(problem)).bytes());
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
        for (const Designed& entry : designed) {
            if (!entry.design) {
                continue;
            }
            for (const std::string* path : {&entry.design->html.templateDef, &entry.design->html.templateSub}) {
                if (!path->empty()) {
                    if (const std::optional<fs::path> file = ToFsPath(SitePath(root_, *path))) {
                        protected_.Add(*file);
                    }
                }
            }
        }
        if (!project_.EditingName.empty()) {
            protected_.Add(project_.EditingName);
        }
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

        Step(OutputStep::Planning);
        std::vector<PageRow> rows = PlanPages(pages.design, pages.hits);
        AddPlan(pages, rows);
        if (const std::optional<std::string> refused = RefusedPageName(directory, html, rows, protected_)) {
            Warn(directory, SJ("ページのファイル名 \"") + *refused + SJ("\" は使えないため、出力しませんでした."));
            Advance(4);
            return !observer_.ShouldAbort();
        }
        if (const std::optional<std::string> taken = extras_.TakenName(directory, rows)) {
            Warn(directory,
                SJ("ページのファイル名 \"") + *taken + SJ("\" はサイト内検索ページなどの名前のため、出力しませんでした."));
            Advance(4);
            return !observer_.ShouldAbort();
        }
        extras_.NoteListing(pages);
        observer_.PagesPlanned(rows);
        Advance(1);
        if (observer_.ShouldAbort()) {
            return false;
        }
        RemoveLeftoverTemporaryFiles(RequireFsPath(directory));
        Step(OutputStep::DefaultPage);
        if (!rows.empty()) {
            assembler_.StartDirectory(pages);
            writtenNames_.clear();
            WriteRow(pages.directory, rows, 0,
                PreparePage(pages.directory, rows[0].fileName, assembler_.AssemblePage(pages, 0), Encoding(), false));
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
        const SurplusDeletion deletion = DeleteSurplusPages(directory, SurplusRule(html, rows), protected_);
        result_.counts.deleted += deletion.deleted;
        for (const std::string& problem : deletion.problems) {
            Warn(directory, problem);
        }
        Advance(1);
        return !observer_.ShouldAbort();
    }

    // The pages' names and item ranges, as the pages' bars and links use them.
    static void AddPlan(DirectoryPages& pages, const std::vector<PageRow>& rows)
    {
        for (const PageRow& row : rows) {
            pages.pageNames.push_back(row.fileName);
            pages.pageRanges.emplace_back(ParseInt32(row.first).value_or(0), ParseInt32(row.last).value_or(0));
        }
        pages.bars = PageBars(pages.pageNames);
    }

    void Count(PageState state)
    {
        switch (state) {
        case PageState::Created: ++result_.counts.created; break;
        case PageState::Updated: ++result_.counts.updated; break;
        case PageState::Skipped: ++result_.counts.skipped; break;
        case PageState::Pending: break;
        }
    }

    void WriteRow(const std::string& directory, std::vector<PageRow>& rows, std::size_t i, PreparedPage page)
    {
        // A file that an earlier row of this run may have written (two
        // rows of one name, or names of one file) is looked at again now.
        const std::string& name = rows[i].fileName;
        const bool firstOfName = writtenNames_.insert(name).second;
        if (!firstOfName || page.onDisk.shared) {
            page.onDisk = ProbePage(RequireFsPath(directory + name), page.text);
            page.written = {};
        }
        const PageWrite written = WritePage(directory, name, page);
        if (!written.problem.empty()) {
            Warn(directory, written.problem);
        }
        rows[i].state = written.state;
        if (firstOfName && written.state != PageState::Pending) {
            extras_.NotePage(directory, name);
        }
        Count(written.state);
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
        const bool ahead = workers_.Jobs() > 1 && !IsInMemory(RequireFsPath(pages.directory));
        WorkerPool::Series made = workers_.Begin(rows.size() - 1, [&](std::size_t i) {
            prepared[i + 1]
                = PreparePage(pages.directory, rows[i + 1].fileName, assembler_.AssemblePage(pages, i + 1),
                    Encoding(), ahead);
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

    const Project& project_;
    std::string root_;
    const Clock& clock_;
    OutputObserver& observer_;
    DesignDefaults defaults_;
    WorkerPool workers_;
    ItemCatalog catalog_;
    OutputResult result_;
    PageAssembler assembler_;
    SiteExtras extras_;
    ProtectedFiles protected_;
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
