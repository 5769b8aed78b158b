#include <gtest/gtest.h>

#include <random>
#include <sys/stat.h>

#include "core/collection/Project.h"
#include "core/collection/ProjectFile.h"
#include "support/TempDir.h"
#include "core/text/Codepage.h"

using namespace tessaly;
namespace fs = std::filesystem;

namespace {

std::string RandomBytes(std::size_t size)
{
    std::mt19937 random(8);
    std::string bytes(size, '\0');
    for (char& c : bytes) {
        c = static_cast<char>(random());
    }
    return bytes;
}

TEST(HostileProjectFile, AFileWithoutOneKnownKeyIsNotAProject)
{
    const std::string notProjects[] = {
        "",
        "# only a comment\r\n",
        "hello world\r\n{unknown}=1\r\n=x\r\n",
        RandomBytes(4096),
    };
    for (const std::string& text : notProjects) {
        Project project;
        project.Title = "kept";
        const LoadOutcome outcome = LoadProjectText(project, text);
        EXPECT_EQ(outcome.result, LoadOutcome::Result::NotAProjectFile);
        EXPECT_EQ(project.Title, "kept");
    }
    // One known key makes a project, even when its value is refused.
    Project project;
    EXPECT_EQ(LoadProjectText(project, "junk\r\n{linkitem}=junk\r\n").result, LoadOutcome::Result::Loaded);
}

TEST(HostileProjectFile, OpeningANonProjectKeepsTheEditingName)
{
    test::TempDir dir;
    test::WriteFile(dir / "photo.jpg", RandomBytes(1000));
    Project project;
    project.EditingName = "/before.TSP";
    EXPECT_EQ(LoadProjectFile(project, dir / "photo.jpg").result, LoadOutcome::Result::NotAProjectFile);
    EXPECT_EQ(project.EditingName, "/before.TSP");
    EXPECT_EQ(NotAProjectFileMessage("x.TSP"), "x.TSP" + SJ(" はプロジェクトファイルではありません."));
}

TEST(HostileProjectFile, SkippedLinesAreReportedWithTheirReasons)
{
    const std::string text = "# ----- header\r\n"
                             "{title}=t\r\n"
                             "no key here\r\n"
                             "{mystery}=1\r\n"
                             "{linkitem}=1/2/3\r\n"
                             "{author}=name/KANA/\r\n"
                             "{template}=a/b\r\n"
                             "{rootdir}=/no/such/directory\r\n"
                             "\r\n"
                             "=value\r\n";
    Project project;
    const LoadOutcome outcome = LoadProjectText(project, text);
    const std::vector<std::pair<std::size_t, SkipReason>> expected{
        {3, SkipReason::NoKey},
        {4, SkipReason::UnknownKey},
        {5, SkipReason::BadItemLine},
        {6, SkipReason::BadAuthor},
        {7, SkipReason::BadTemplate},
        {8, SkipReason::MissingDirectory},
        {10, SkipReason::NoKey},
    };
    ASSERT_EQ(outcome.skippedLines.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(outcome.skippedLines[i].lineNumber, expected[i].first) << i;
        EXPECT_EQ(outcome.skippedLines[i].reason, expected[i].second) << i;
    }
}

TEST(HostileProjectFile, SerialMaxOutOfRangeIsToldApartFromNoNumber)
{
    const std::pair<std::string, bool> cases[] = {
        {"2147483648", true},
        {"-2147483649", true},
        {" 99999999999999999999", true},
        {"abc", false},
        {"12a", false},
        {"", false},
    };
    for (const auto& [value, outOfRange] : cases) {
        Project project;
        const LoadOutcome outcome = LoadProjectText(project, "{serialmax}=" + value + "\r\n");
        EXPECT_EQ(outcome.result, LoadOutcome::Result::StoppedAtBadSerialMax) << value;
        EXPECT_EQ(outcome.badValueOutOfRange, outOfRange) << value;
    }
}

TEST(HostileProjectFile, ManyVocabularyNamesStayUniqueIgnoringCase)
{
    std::string text = "{attribute}=";
    for (int i = 0; i < 3000; ++i) {
        text += "name" + std::to_string(i) + "/";
    }
    text += "NAME7/Name2999/extra/\r\n{content}=a/A/b/\r\n";
    Project project;
    project.Attributes = {"EXTRA"};
    ASSERT_EQ(LoadProjectText(project, text).result, LoadOutcome::Result::Loaded);
    EXPECT_EQ(project.Attributes.size(), 3001u);
    EXPECT_EQ(project.Attributes.front(), "EXTRA");
    EXPECT_EQ(project.Attributes.back(), "name2999");
    EXPECT_EQ(project.Contents, (std::vector<std::string>{"a", "b"}));
}

TEST(HostileProjectFile, AProjectInAFifoIsRefusedWithoutWaiting)
{
    test::TempDir dir;
    ASSERT_EQ(mkfifo((dir / "links.TSP").c_str(), 0666), 0);
    Project project;
    const LoadOutcome outcome = LoadProjectFile(project, dir / "links.TSP");
    EXPECT_EQ(outcome.result, LoadOutcome::Result::ReadFailed);
    EXPECT_NE(outcome.error.find("links.TSP"), std::string::npos);
}

TEST(HostileProjectFile, SavingRefusesReadOnlyFilesAndDanglingLinks)
{
    test::TempDir dir;
    test::WriteFile(dir / "locked.TSP", "old");
    fs::permissions(dir / "locked.TSP", fs::perms(0444));
    fs::create_symlink(dir / "gone.TSP", dir / "dangling.TSP");
    Project project;
    project.IsEditing = true;

    const SaveOutcome locked = SaveProjectFile(project, dir / "locked.TSP");
    EXPECT_EQ(locked.failure, WriteFailure::ReadOnly);
    EXPECT_EQ(test::ReadFile(dir / "locked.TSP"), "old");
    EXPECT_EQ(
        SaveFailureMessage(locked.failure, "locked.TSP"), "locked.TSP" + SJ(" は読み込み専用のため保存できません."));

    const SaveOutcome dangling = SaveProjectFile(project, dir / "dangling.TSP");
    EXPECT_EQ(dangling.failure, WriteFailure::DanglingLink);
    EXPECT_FALSE(fs::exists(dir / "gone.TSP"));

    EXPECT_TRUE(project.IsEditing);
    EXPECT_TRUE(project.EditingName.empty());
}

TEST(HostileProjectFile, SavingRemovesTheLeftoversOfThatProjectOnly)
{
    test::TempDir dir;
    test::WriteFile(dir / ".links.TSP.tessaly-k1LL3d", "half a project");
    test::WriteFile(dir / ".other.TSP.tessaly-k1LL3d", "another one's");
    Project project;
    ASSERT_TRUE(SaveProjectFile(project, dir / "links.TSP").ok);
    EXPECT_FALSE(fs::exists(dir / ".links.TSP.tessaly-k1LL3d"));
    EXPECT_TRUE(fs::exists(dir / ".other.TSP.tessaly-k1LL3d"));
}

} // namespace
