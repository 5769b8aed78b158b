#include "output/OutputRun.h"

#include <algorithm>
#include <deque>
#include <system_error>
#include <unordered_set>

#include "collection/Project.h"
#include "output/PageAssembly.h"
#include "output/Selection.h"
#include "text/Codepage.h"
#include "text/Collation.h"
#include "text/Paths.h"
#include "text/Strings.h"
#include "util/AtomicFile.h"

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

class Run {
public:
    Run(const Project& project, const std::string& rootDirectory, const Clock& clock, OutputObserver& observer)
        : project_(project)
        , root_(WithTrailingSlash(rootDirectory))
        , clock_(clock)
        , observer_(observer)
        , defaults_{project.DefaultFile, project.SubFile, clock.Today()}
        , catalog_(project)
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
    void Step(OutputStep step) { observer_.StepChanged(step); }

    void Advance(int steps)
    {
        progress_ += steps;
        observer_.ProgressChanged(progress_, progressMaximum_);
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
        for (std::size_t i = 0; i < directories.size(); ++i) {
            observer_.DirectoryStarted(i, directories[i]);
            if (!WriteDirectory(directories[i])) {
                return false;
            }
        }
        return true;
    }

    // The root, then the subdirectories of each listed directory in turn,
    // by name; hidden directories, the banner directory and symbolic links
    // (which could loop) are left out.
    std::vector<std::string> ListDirectories()
    {
        std::vector<std::string> directories{root_};
        const std::string banner = project_.BannerDir.empty() ? std::string() : WithTrailingSlash(project_.BannerDir);
        for (std::size_t next = 0; next < directories.size(); ++next) {
            std::vector<std::string> children;
            for (const fs::directory_entry& entry : fs::directory_iterator(FsPath(directories[next]))) {
                const std::string name = entry.path().filename().string();
                if (name.starts_with(".") || entry.is_symlink() || !entry.is_directory()) {
                    continue;
                }
                const std::optional<std::string> sjisName = FromFsPath(entry.path().filename());
                if (!sjisName) {
                    result_.log.push_back(SJ("警告\t") + directories[next]);
                    result_.log.push_back(SJ("\tShift_JIS で表せない名前のディレクトリを出力しませんでした."));
                    result_.log.emplace_back();
                    continue;
                }
                const std::string child = directories[next] + *sjisName + "/";
                if (!banner.empty() && SameNameIgnoringAsciiCase(child, banner)) {
                    continue;
                }
                children.push_back(child);
            }
            std::sort(children.begin(), children.end());
            directories.insert(directories.end(), children.begin(), children.end());
        }
        return directories;
    }

    bool WriteDirectory(const std::string& directory)
    {
        DirectoryPages pages;
        pages.directory = directory;
        pages.isRoot = directory == root_;
        const std::string bannerDir = project_.BannerDir.empty() ? project_.RootDir : project_.BannerDir;
        pages.bannerPrefix = RelativeLink(directory, WithTrailingSlash(bannerDir.empty() ? root_ : bannerDir));
        const bool hasDesign = ReadDesignWithSuccession(root_, directory, pages.design, defaults_);
        const THtmlDesign& html = pages.design.html;
        if (!hasDesign || !pages.design.htmlOutputs) {
            Advance(4);
            return !observer_.ShouldAbort();
        }
        const std::size_t dot = html.nameSub.rfind('.');
        const std::string subBase = html.nameSub.substr(0, dot);
        const std::string subExtension = dot == std::string::npos ? std::string() : html.nameSub.substr(dot + 1);

        Step(OutputStep::Planning);
        std::vector<PageRow> rows = PlanPages(pages, subBase, subExtension);
        observer_.PagesPlanned(rows);
        Advance(1);
        if (observer_.ShouldAbort()) {
            return false;
        }
        Step(OutputStep::DefaultPage);
        const std::unordered_set<std::string> existing = FileNames(directory);
        for (std::size_t i = 0; i < rows.size(); ++i) {
            const std::string path = directory + rows[i].fileName;
            rows[i].state = WritePage(
                path, existing.contains(FsPath(path).filename().string()), assembler_.AssemblePage(pages, i));
            ++result_.counts.processed;
            observer_.PageDone(i, rows[i].state);
            if (i == 0) {
                Advance(1);
                if (observer_.ShouldAbort()) {
                    return false;
                }
                Step(OutputStep::SubPages);
            } else if (observer_.ShouldAbort()) {
                return false;
            }
        }
        Advance(1);
        Step(OutputStep::Surplus);
        DeleteSurplusPages(directory, subBase, subExtension, rows);
        Advance(1);
        return !observer_.ShouldAbort();
    }

    std::vector<PageRow> PlanPages(DirectoryPages& pages, const std::string& subBase, const std::string& subExtension)
    {
        const TDirectoryDesign& design = pages.design;
        // The hits are counted even where no items are listed, so "%hits;"
        // means the same on every page; only listed items need sorting.
        pages.selection = SelectFromCatalog(catalog_, design.squeeze, false, design.linkOutputs);
        pages.hits = pages.selection.size();
        std::vector<PageRow> rows;
        if (!design.linkOutputs) {
            rows.push_back({design.html.nameDef, {}, {}});
        } else if (!design.html.division) {
            rows.push_back({design.html.nameDef, SJ("最初"), SJ("最後")});
        } else {
            const std::size_t perPage = static_cast<std::size_t>(design.html.divisionCount);
            const std::size_t count = (pages.hits + perPage - 1) / perPage;
            for (std::size_t p = 1; p <= count; ++p) {
                char number[16];
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
        return rows;
    }

    // The names of the files in a directory, so that pages that do not exist
    // yet are not looked for one by one.
    static std::unordered_set<std::string> FileNames(const std::string& directory)
    {
        std::unordered_set<std::string> names;
        for (const fs::directory_entry& entry : fs::directory_iterator(FsPath(directory))) {
            names.insert(entry.path().filename().string());
        }
        return names;
    }

    PageState WritePage(const std::string& path, bool exists, const std::string& page)
    {
        const fs::path file = FsPath(path);
        const std::string text = PageFileText(page);
        const FileReadResult existing = exists ? ReadWholeFile(file) : FileReadResult{false, ReadFailure::NotFound, {}, {}};
        if (existing.ok && (existing.data == text || PageFileText(existing.data) == text)) {
            ++result_.counts.skipped;
            return PageState::Skipped;
        }
        const FileWriteResult written = WriteFileAtomically(file, text, Durability::Unsynced);
        if (!written.ok) {
            throw RunFailure{written.error};
        }
        if (existing.ok) {
            ++result_.counts.updated;
            return PageState::Updated;
        }
        ++result_.counts.created;
        return PageState::Created;
    }

    void DeleteSurplusPages(const std::string& directory, const std::string& subBase, const std::string& subExtension,
        const std::vector<PageRow>& rows)
    {
        std::vector<fs::path> surplus;
        for (const fs::directory_entry& entry : fs::directory_iterator(FsPath(directory))) {
            if (!entry.is_regular_file()) {
                continue;
            }
            const std::optional<std::string> name = FromFsPath(entry.path().filename());
            if (name && IsSurplusPage(*name, subBase, subExtension, rows)) {
                surplus.push_back(entry.path());
            }
        }
        for (const fs::path& path : surplus) {
            fs::remove(path);
            ++result_.counts.deleted;
        }
    }

    static bool IsSurplusPage(const std::string& name, const std::string& subBase, const std::string& subExtension,
        const std::vector<PageRow>& rows)
    {
        if (!name.starts_with(subBase)) {
            return false;
        }
        const std::string rest = name.substr(subBase.size());
        std::string digits;
        if (subExtension.empty()) {
            digits = rest;
        } else {
            const std::size_t dot = rest.rfind('.');
            if (dot == std::string::npos || rest.substr(dot + 1) != subExtension) {
                return false;
            }
            digits = rest.substr(0, dot);
        }
        if (digits.size() != 3
            || !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; })) {
            return false;
        }
        return std::none_of(rows.begin(), rows.end(),
            [&](const PageRow& row) { return SameNameIgnoringAsciiCase(row.fileName, name); });
    }

    const Project& project_;
    std::string root_;
    const Clock& clock_;
    OutputObserver& observer_;
    DesignDefaults defaults_;
    ItemCatalog catalog_;
    OutputResult result_;
    PageAssembler assembler_;
    int progress_ = 0;
    int progressMaximum_ = 0;
};

} // namespace

OutputResult RunOutput(
    const Project& project, const std::string& rootDirectory, const Clock& clock, OutputObserver& observer)
{
    return Run(project, rootDirectory, clock, observer).Execute();
}

std::string PageFileText(std::string_view text)
{
    // Same as splitting into lines and ending each with CR LF, in one pass;
    // most pages are in that form already.
    bool alreadyLines = text.empty() || text.ends_with(kLineBreak);
    for (std::size_t cr = FindLineBreak(text); alreadyLines && cr != std::string_view::npos;
         cr = FindLineBreak(text, cr + 2)) {
        alreadyLines = text[cr] == '\r' && cr + 1 < text.size() && text[cr + 1] == '\n';
    }
    if (alreadyLines) {
        return std::string(text);
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
