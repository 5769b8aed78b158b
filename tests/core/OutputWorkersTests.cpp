#include <gtest/gtest.h>

#include <map>

#include <sys/wait.h>
#include <unistd.h>

#include "core/collection/LinkItem.h"
#include "core/collection/Project.h"
#include "core/collection/ProjectFile.h"
#include "core/design/SimpleDesign.h"
#include "core/output/OutputRun.h"
#include "support/TempDir.h"
#include "core/text/Codepage.h"
#include "core/text/Paths.h"

using namespace tessaly;
namespace fs = std::filesystem;

namespace {

// Every call the run makes to its observer, in order, as text.
class Recorder final : public OutputObserver {
public:
    explicit Recorder(int abortAt = 0)
        : abortAt_(abortAt)
    {
    }
    void StepChanged(OutputStep step) override { Note("step " + OutputStepText(step)); }
    void DirectoriesListed(const std::vector<std::string>& directories) override
    {
        Note("listed " + std::to_string(directories.size()));
    }
    void DirectoryStarted(std::size_t index, const std::string& directory) override
    {
        Note("directory " + std::to_string(index) + " " + directory);
    }
    void PagesPlanned(const std::vector<PageRow>& rows) override
    {
        for (const PageRow& row : rows) {
            Note("row " + row.fileName + " " + row.first + " " + row.last);
        }
    }
    void PageDone(std::size_t row, PageState state) override
    {
        Note("page " + std::to_string(row) + " " + PageStateText(state));
    }
    void ProgressChanged(int position, int maximum) override
    {
        Note("progress " + std::to_string(position) + "/" + std::to_string(maximum));
    }
    bool ShouldAbort() override
    {
        Note("abort?");
        return ++checks_ == abortAt_;
    }

    std::string calls;

private:
    void Note(const std::string& call) { calls += call + "\n"; }
    int abortAt_;
    int checks_ = 0;
};

// What a run leaves: the tree's files with their bytes, the log, the counts
// and the observer's calls.
struct Outcome {
    std::map<std::string, std::string> tree;
    std::string log;
    std::string calls;
    OutputResult::Status status;
    std::string counts;

    friend bool operator==(const Outcome&, const Outcome&) = default;
};

std::map<std::string, std::string> Tree(const fs::path& root)
{
    std::map<std::string, std::string> tree;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        const std::string name = fs::relative(entry.path(), root).string();
        tree[name] = entry.is_regular_file() ? test::ReadFile(entry.path()) : "directory";
    }
    return tree;
}

const FixedClock kClock{*EncodeDateTime({2026, 12, 8, 10, 20, 30})};

Outcome RunWith(const Project& project, unsigned jobs, int abortAt = 0)
{
    Recorder recorder(abortAt);
    const OutputResult result = RunOutput(project, project.RootDir, kClock, recorder, jobs);
    Outcome outcome{Tree(*ToFsPath(project.RootDir)), {}, recorder.calls, result.status, {}};
    for (const SjisText& line : result.log) {
        outcome.log += line.bytes() + "\n";
    }
    const OutputCounts& c = result.counts;
    for (const int count : {c.processed, c.created, c.updated, c.skipped, c.deleted}) {
        outcome.counts += std::to_string(count) + " ";
    }
    return outcome;
}

// Runs the same steps with 1 and with 4 jobs, each time from a fresh copy
// of the site at the same place, and compares what each step left.
class WorkersAgree : public ::testing::Test {
protected:
    // prepare sets up the site in root; steps run in turn and each may
    // change the project before its run. Returns the outcomes with 1 job.
    template <typename Prepare, typename Steps> std::vector<Outcome> ExpectSameOutcomes(Prepare prepare, Steps steps)
    {
        std::vector<Outcome> single;
        for (const unsigned jobs : {1u, 4u}) {
            fs::remove_all(dir / "site");
            fs::create_directories(dir / "site");
            Project project = prepare(dir / "site");
            project.RootDir = *FromFsPath(dir / "site") + "/";
            std::vector<Outcome> outcomes = steps(project, jobs);
            if (jobs == 1) {
                single = std::move(outcomes);
                continue;
            }
            EXPECT_EQ(outcomes.size(), single.size());
            for (std::size_t i = 0; i < std::min(outcomes.size(), single.size()); ++i) {
                EXPECT_EQ(outcomes[i].log, single[i].log) << "step " << i;
                EXPECT_EQ(outcomes[i].calls, single[i].calls) << "step " << i;
                EXPECT_EQ(outcomes[i].counts, single[i].counts) << "step " << i;
                EXPECT_EQ(outcomes[i].status, single[i].status) << "step " << i;
                EXPECT_TRUE(outcomes[i].tree == single[i].tree) << "step " << i;
            }
        }
        return single;
    }

    test::TempDir dir;
};

Project Example(const fs::path& root)
{
    fs::copy(fs::path(TESSALY_EXAMPLES_DIR) / "site", root, fs::copy_options::recursive);
    Project project;
    EXPECT_EQ(
        LoadProjectFile(project, fs::path(TESSALY_EXAMPLES_DIR) / "links.TSP").result, LoadOutcome::Result::Loaded);
    return project;
}

// A collection of several hundred pages in a few genres; the template of
// the further pages is missing, which each directory logs.
Project Generated(const fs::path& root)
{
    Project project;
    project.Title = SJ("生成したリンク集");
    for (int g = 1; g <= 3; ++g) {
        project.AddGenre(SJ("分類") + std::to_string(g));
    }
    for (int i = 0; i < 1500; ++i) {
        TLinkItem item;
        item.Serial = project.NextSerial().value();
        const std::size_t genre = 1 + static_cast<std::size_t>(i % 3);
        item.GenreName = project.Genres[genre].Name;
        item.Title = SJ("サイト") + std::to_string(i * 7919 % 1501);
        item.TitleKana = SJ("さいと");
        item.Url = "www" + std::to_string(i) + ".example.jp/";
        item.Banner = i % 5 == 0 ? "%%b" + std::to_string(i) + ".gif" : std::string();
        item.Comment = i % 3 == 0 ? SJ("一行目\r\n二行目") : std::string();
        project.Genres[genre].Lines.push_back(ItemToLine(item));
    }
    project.RootDir = *FromFsPath(root) + "/";
    SimpleDesignForm form = InitialSimpleDesign(project);
    form.divisionCount = 7;
    form.templateSub = "missing.tpl";
    EXPECT_TRUE(SaveSimpleDesign(form, project, kClock.Today()).ok);
    return project;
}

TEST_F(WorkersAgree, ExampleSite)
{
    const std::vector<Outcome> single = ExpectSameOutcomes(Example, [](Project& project, unsigned jobs) {
        std::vector<Outcome> outcomes{RunWith(project, jobs), RunWith(project, jobs)};
        return outcomes;
    });
    EXPECT_GT(single[0].tree.size(), 20u);
}

TEST_F(WorkersAgree, GeneratedSiteFullSecondAndChangedRuns)
{
    const std::vector<Outcome> single = ExpectSameOutcomes(Generated, [](Project& project, unsigned jobs) {
        std::vector<Outcome> outcomes{RunWith(project, jobs), RunWith(project, jobs)};
        // Fewer items: pages change, and surplus pages go.
        project.Genres[1].Lines.resize(500);
        project.Genres[2].Lines.erase(project.Genres[2].Lines.begin(), project.Genres[2].Lines.begin() + 3);
        outcomes.push_back(RunWith(project, jobs));
        return outcomes;
    });
    EXPECT_EQ(single[0].counts, "217 217 0 0 0 ");
    EXPECT_NE(single[0].log.find(SJ("\tテンプレートが見付かりません.")), std::string::npos);
    EXPECT_EQ(single[1].counts, "217 0 0 217 0 ");
}

TEST_F(WorkersAgree, AbortedRunsWriteTheSamePages)
{
    for (const int abortAt : {3, 4, 40, 150}) {
        ExpectSameOutcomes(Generated, [abortAt](Project& project, unsigned jobs) {
            std::vector<Outcome> outcomes{RunWith(project, jobs, abortAt)};
            return outcomes;
        });
    }
}

// The log, counts and calls of a run made in a child process as an
// ordinary user when the tests run as root, whom permission bits do not
// stop; the tree is read by the caller.
Outcome RunAsUser(const Project& project, unsigned jobs)
{
    int channel[2];
    EXPECT_EQ(pipe(channel), 0);
    const pid_t child = fork();
    if (child == 0) {
        close(channel[0]);
        if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) {
            _exit(2);
        }
        const Outcome outcome = RunWith(project, jobs);
        const std::string text = outcome.log + outcome.calls + outcome.counts;
        _exit(write(channel[1], text.data(), text.size()) == static_cast<ssize_t>(text.size()) ? 0 : 1);
    }
    close(channel[1]);
    Outcome outcome{Tree(*ToFsPath(project.RootDir)), {}, {}, OutputResult::Status::Finished, {}};
    char buffer[4096];
    for (ssize_t got; (got = read(channel[0], buffer, sizeof buffer)) > 0;) {
        outcome.log.append(buffer, static_cast<std::size_t>(got));
    }
    close(channel[0]);
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    return outcome;
}

TEST_F(WorkersAgree, PagesThatAreOneFileWrittenInPlace)
{
    // Where no new file can be made, changed pages are written in place;
    // two pages that are one file (hard links) then change together, and
    // the second must be looked at after the first is written.
    ExpectSameOutcomes(Generated, [](Project& project, unsigned jobs) {
        RunWith(project, jobs);
        const fs::path site = ToFsPath(project.RootDir)->parent_path(); // without the final "/"
        fs::permissions(site.parent_path(), fs::perms(0755));
        // Both names hold the fourth page: the third differs and is written
        // (into the one file), after which the fourth differs too.
        const fs::path genre = site / "genre001";
        fs::remove(genre / "pages003.html");
        fs::create_hard_link(genre / "pages004.html", genre / "pages003.html");
        for (const auto& entry : fs::recursive_directory_iterator(site)) {
            fs::permissions(entry.path(), entry.is_directory() ? fs::perms(0555) : fs::perms(0666));
        }
        fs::permissions(site, fs::perms(0555));
        std::vector<Outcome> outcomes{RunAsUser(project, jobs)};
        for (const auto& entry : fs::recursive_directory_iterator(site)) {
            if (entry.is_directory()) {
                fs::permissions(entry.path(), fs::perms(0755));
            }
        }
        fs::permissions(site, fs::perms(0755));
        return outcomes;
    });
}

} // namespace
