#include <gtest/gtest.h>

#include <map>

#include "core/collection/Project.h"
#include "core/design/SimpleDesign.h"
#include "support/TempDir.h"
#include "core/text/Codepage.h"
#include "core/text/FieldText.h"
#include "core/text/Paths.h"

using namespace tessaly;
namespace fs = std::filesystem;

namespace {

std::vector<std::string> Tree(const fs::path& directory)
{
    std::vector<std::string> names;
    for (const auto& entry : fs::recursive_directory_iterator(directory)) {
        names.push_back(fs::relative(entry.path(), directory).string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

// A project whose root lies in a sandbox with a canary beside it.
class HostileSimpleDesign : public ::testing::Test {
protected:
    HostileSimpleDesign()
    {
        fs::create_directories(dir / "site");
        test::WriteFile(dir / "canary.txt", "canary");
        project.RootDir = *FromFsPath(dir / "site");
        project.AddGenre("A");
        project.AddGenre("B");
    }

    test::TempDir dir;
    Project project;
};

TEST_F(HostileSimpleDesign, RowsWithDirectoriesOutsideTheRootAreRefusedOnReading)
{
    const std::string hostile[] = {"../../escape", "..", ".", "a/b", "x\\y", "/abs"};
    std::string text = "{dirs}=A/" + EscapeField(hostile[0]) + "\r\n";
    for (const std::string& directory : hostile) {
        text += "{dirs}=B/" + EscapeField(directory) + "\r\n";
    }
    const SimpleDesignForm form = InitialSimpleDesign(project, text);
    EXPECT_EQ(form.rows[0].directory, "genre001");
    EXPECT_EQ(form.rows[1].directory, "genre002");
    ASSERT_EQ(form.refusedRows.size(), std::size(hostile) + 1);
    EXPECT_EQ(form.refusedRows[0], SJ("ディレクトリ名 \"../../escape\" は使えません."));
}

TEST_F(HostileSimpleDesign, SavingRefusesNamesThatLeaveTheRootAndWritesNothing)
{
    const std::pair<std::string, std::function<void(SimpleDesignForm&)>> cases[] = {
        {"directory", [](SimpleDesignForm& form) { form.rows[1].directory = "../escape"; }},
        {"dot", [](SimpleDesignForm& form) { form.rows[0].directory = ".."; }},
        {"page", [](SimpleDesignForm& form) { form.nameDefault = "../index.html"; }},
        {"sub page", [](SimpleDesignForm& form) { form.nameSub = "_design.tsd"; }},
    };
    const std::vector<std::string> before = Tree(dir.Path());
    for (const auto& [name, spoil] : cases) {
        SimpleDesignForm form = InitialSimpleDesign(project);
        spoil(form);
        EXPECT_FALSE(RefusedSimpleDesignName(form).empty()) << name;
        const SimpleDesignResult result = SaveSimpleDesign(form, project, TDateTime{37000});
        EXPECT_FALSE(result.ok) << name;
        EXPECT_FALSE(result.refusedName.empty()) << name;
        EXPECT_EQ(Tree(dir.Path()), before) << name;
    }
    EXPECT_EQ(test::ReadFile(dir / "canary.txt"), "canary");
}

TEST_F(HostileSimpleDesign, CountsAreHeldToTheirRanges)
{
    const std::map<std::string, std::pair<int32_t, int32_t>> cases{
        {"{column}=2147483647\r\n{divisioncount}=0\r\n", {5, 20}},
        {"{column}=-1\r\n{divisioncount}=-5\r\n", {1, 20}},
        {"{column}=4\r\n{divisioncount}=30\r\n", {4, 30}},
    };
    for (const auto& [text, expected] : cases) {
        const SimpleDesignForm form = InitialSimpleDesign(project, text);
        EXPECT_EQ(form.column, expected.first) << text;
        EXPECT_EQ(form.divisionCount, expected.second) << text;
    }
}

} // namespace
