#include <gtest/gtest.h>

#include <filesystem>
#include <optional>

#include "core/design/DirectoryDesign.h"
#include "core/design/DirectoryLinks.h"
#include "core/design/SiteDirectories.h"
#include "support/TempDir.h"
#include "core/text/Codepage.h"

using namespace tessaly;
using tessaly::test::ReadFile;
using tessaly::test::TempDir;
using tessaly::test::WriteFile;
namespace fs = std::filesystem;

namespace {

const DesignDefaults kDefaults{"index.html", "pages.html", TDateTime{37000}};

std::string Sjis(const char* utf8)
{
    return SJ(utf8);
}

std::string RepeatSjis(const char* utf8, int times)
{
    std::string text;
    for (int i = 0; i < times; ++i) {
        text += Sjis(utf8);
    }
    return text;
}

std::string Dir(const TempDir& temp, const std::string& relative = {})
{
    return relative.empty() ? temp.Path().string() + "/" : (temp.Path() / relative).string();
}

void Design(const fs::path& directory, const std::string& title, const std::string& nameDef = "index.html")
{
    TDirectoryDesign design;
    ResetDesign(design, kDefaults);
    design.dirTitle = title;
    design.html.nameDef = nameDef;
    design.succession = false;
    ASSERT_TRUE(WriteDesign(directory.string(), design).ok);
}

struct WidthCase {
    const char* typed;
    std::optional<std::string> stored;
};

class TableWidth : public testing::TestWithParam<WidthCase> { };

TEST_P(TableWidth, IsAnIntegerOrAPercentage)
{
    EXPECT_EQ(NormaliseTableWidth(GetParam().typed), GetParam().stored);
}

INSTANTIATE_TEST_SUITE_P(Widths, TableWidth,
    testing::Values(WidthCase{"50%", "50%"}, WidthCase{" 640 ", "640"}, WidthCase{"050%", "50%"},
        WidthCase{"0", ""}, WidthCase{"", ""}, WidthCase{"000%", std::nullopt}, WidthCase{"5%0", std::nullopt},
        WidthCase{"%5", std::nullopt}, WidthCase{"abc", std::nullopt}, WidthCase{"50%%", std::nullopt},
        WidthCase{"%", std::nullopt}, WidthCase{"1 0", std::nullopt}));

TEST(SiteDirectories, ListsTheSitesOwnSubdirectoriesByName)
{
    TempDir temp;
    for (const char* name : {"b", "a-b", "a", ".hidden", "Banner", "sub/deeper"}) {
        fs::create_directories(temp / name);
    }
    WriteFile(temp / "file.html", "x");
    fs::create_directory_symlink(temp / "a", temp / "loop");
    const SubdirectoryListing listing = ListSiteSubdirectories(Dir(temp), Dir(temp) + "BANNER");
    EXPECT_EQ(listing.names, (std::vector<std::string>{"a", "a-b", "b", "sub"}));
    EXPECT_TRUE(listing.problems.empty());
    EXPECT_TRUE(ListSiteSubdirectories(Dir(temp, "missing"), "").names.empty());
    EXPECT_FALSE(ListSiteSubdirectories(Dir(temp, "missing"), "").problems.empty());
}

TEST(SiteDirectories, MakesAndRenamesWithoutReplacingAnything)
{
    TempDir temp;
    EXPECT_TRUE(MakeSiteDirectory(Dir(temp), Sjis("日本")).ok);
    EXPECT_TRUE(fs::is_directory(temp / "日本"));
    EXPECT_FALSE(MakeSiteDirectory(Dir(temp), Sjis("日本")).ok);
    for (const std::string& bad : {std::string(), std::string("."), std::string(".."), std::string("a/b"),
             std::string(256, 'x'), RepeatSjis("日", 86)}) {
        EXPECT_FALSE(MakeSiteDirectory(Dir(temp), bad).ok) << bad.size();
    }
    EXPECT_TRUE(MakeSiteDirectory(Dir(temp), RepeatSjis("日", 85)).ok); // 255 bytes on disk
    fs::create_directory(temp / "other");
    EXPECT_FALSE(RenameSiteDirectory(Dir(temp) + Sjis("日本"), "other").ok);
    EXPECT_TRUE(fs::is_directory(temp / "日本"));
    EXPECT_TRUE(RenameSiteDirectory(Dir(temp) + Sjis("日本") + "/", "renamed").ok);
    EXPECT_TRUE(fs::is_directory(temp / "renamed"));
    EXPECT_FALSE(fs::exists(temp / "日本"));
}

TEST(SiteDirectories, DeletesTheWholeTreeButNeverFollowsALink)
{
    TempDir temp;
    fs::create_directories(temp / "site/gone/deep/deeper");
    fs::create_directories(temp / "outside");
    WriteFile(temp / "outside/canary", "keep");
    WriteFile(temp / "site/gone/page.html", "x");
    WriteFile(temp / "site/gone/deep/readonly.html", "x");
    fs::permissions(temp / "site/gone/deep/readonly.html", fs::perms::owner_read);
    fs::permissions(temp / "site/gone/deep", fs::perms::owner_read | fs::perms::owner_exec);
    fs::create_directory_symlink(temp / "outside", temp / "site/gone/deep/deeper/link");

    const TreeDeletion deletion = DeleteDirectoryTree(Dir(temp, "site/gone"));
    EXPECT_TRUE(deletion.failed.empty()) << deletion.error;
    EXPECT_EQ(deletion.removed,
        (std::vector<std::string>{Dir(temp, "site/gone/deep/deeper") + "/", Dir(temp, "site/gone/deep") + "/",
            Dir(temp, "site/gone") + "/"}));
    EXPECT_FALSE(fs::exists(temp / "site/gone"));
    EXPECT_TRUE(fs::is_directory(temp / "site"));
    EXPECT_EQ(ReadFile(temp / "outside/canary"), "keep");
}

TEST(DirectoryLinks, EntriesRoundTripWithSlashesInBothParts)
{
    const DirectoryLink link{Sjis("A/B ＆ C"), "x/y.html"};
    EXPECT_EQ(SubLinkEntry(link), Sjis("A&sl;B ＆ C/x&sl;y.html"));
    EXPECT_EQ(ParseSubLinkEntry(SubLinkEntry(link)), link);
    EXPECT_EQ(ParseSubLinkEntry("only"), (DirectoryLink{"only", ""}));
}

TEST(DirectoryLinks, SubdirectoryLinksUseTitlesOrCapitalisedNames)
{
    TempDir temp;
    fs::create_directories(temp / "top/music");
    fs::create_directories(temp / "top/games");
    fs::create_directories(temp / "top/mixed");
    Design(temp / "top/games", Sjis("ゲーム"), "games.htm");
    Design(temp / "top/mixed", "");
    const std::vector<DirectoryLink> links
        = LinksToSubdirectories(Dir(temp), Dir(temp, "top"), {"games", "mixed", "music"}, kDefaults);
    EXPECT_EQ(links,
        (std::vector<DirectoryLink>{{Sjis("ゲーム"), "games/games.htm"}, {"MIXED", "mixed/index.html"},
            {"MUSIC", "music/index.html"}}));
}

TEST(DirectoryLinks, LinkToAnotherDirectoryIsRelativeToTheShownOne)
{
    TempDir temp;
    fs::create_directories(temp / "a/inner");
    fs::create_directories(temp / "b");
    Design(temp / "b", Sjis("ビー"), "top.html");
    const LinkToDirectoryResult titled = LinkToDirectory(Dir(temp), Dir(temp, "a/inner"), Dir(temp, "b"), kDefaults);
    EXPECT_EQ(titled.link, (DirectoryLink{Sjis("ビー"), "../../b/top.html"}));
    EXPECT_FALSE(titled.untitled);
    const LinkToDirectoryResult untitled = LinkToDirectory(Dir(temp), Dir(temp, "b"), Dir(temp, "a/inner"), kDefaults);
    EXPECT_EQ(untitled.link, (DirectoryLink{Sjis("新規リンク"), "../a/inner/index.html"}));
    EXPECT_TRUE(untitled.untitled);
}

} // namespace
