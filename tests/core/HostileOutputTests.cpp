#include <gtest/gtest.h>

#include <fcntl.h>
#include <map>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "core/collection/LinkItem.h"
#include "core/collection/Project.h"
#include "core/design/DirectoryDesign.h"
#include "core/output/OutputRun.h"
#include "support/TempDir.h"
#include "core/text/Codepage.h"
#include "core/text/Paths.h"

using namespace tessaly;
namespace fs = std::filesystem;

namespace {

// Everything under a directory: files with their contents, links with
// their targets, and what else stands there.
using Snapshot = std::map<std::string, std::string>;

Snapshot Take(const fs::path& directory)
{
    Snapshot snapshot;
    for (auto entry = fs::recursive_directory_iterator(directory); entry != fs::recursive_directory_iterator();
         ++entry) {
        const std::string name = fs::relative(entry->path(), directory).string();
        const fs::file_status status = entry->symlink_status();
        if (fs::is_symlink(status)) {
            snapshot[name] = "link to " + fs::read_symlink(entry->path()).string();
        } else if (fs::is_regular_file(status)) {
            snapshot[name] = test::ReadFile(entry->path());
        } else {
            snapshot[name] = fs::is_directory(status) ? "directory" : "special";
        }
    }
    return snapshot;
}

std::string Joined(const std::vector<SjisText>& lines)
{
    std::string text;
    for (const SjisText& line : lines) {
        text += line.bytes() + "\n";
    }
    return text;
}

// A site root inside a sandbox whose other files are canaries: a run over
// the site must leave all of them as they were.
class HostileSite : public ::testing::Test {
protected:
    HostileSite()
    {
        fs::create_directories(site);
        test::WriteFile(sandbox / "canary.txt", "canary");
        test::WriteFile(sandbox / "x.html", "someone else's page");
        fs::create_directories(sandbox / "other");
        test::WriteFile(sandbox / "other" / "index.html", "another site");
        root = *FromFsPath(site) + "/";
        project.RootDir = root;
        const std::size_t genre = project.AddGenre("G");
        for (int serial = 1; serial <= 5; ++serial) {
            TLinkItem item;
            item.Serial = serial;
            item.GenreName = "G";
            item.Title = "Site " + std::to_string(serial);
            item.TitleKana = SJ("さいと");
            item.AuthorKana = SJ("ひと");
            item.Url = "example.jp/" + std::to_string(serial);
            project.Genres[genre].Lines.push_back(ItemToLine(item));
        }
        Design(site, "{succession}=FALSE\r\n{divisioncount}=2\r\n");
        fs::create_directories(site / "sub");
        Design(site / "sub", "{dirtitle}=sub\r\n");
        outside = Take(dir.Path());
        outside.erase(outside.lower_bound("sandbox/site"), outside.upper_bound("sandbox/site~"));
    }

    static void Design(const fs::path& directory, const std::string& text)
    {
        test::WriteFile(directory / "_design.tsd", text);
    }

    OutputResult Run()
    {
        OutputObserver quiet;
        result = RunOutput(project, root, clock, quiet);
        log = Joined(result.log);
        return result;
    }

    // The canaries around the site, as they were before the run.
    void ExpectNothingOutsideChanged()
    {
        Snapshot now = Take(dir.Path());
        now.erase(now.lower_bound("sandbox/site"), now.upper_bound("sandbox/site~"));
        EXPECT_EQ(now, outside);
    }

    test::TempDir dir;
    const fs::path sandbox = dir / "sandbox";
    const fs::path site = sandbox / "site";
    std::string root;
    Project project;
    FixedClock clock{TDateTime{38000}};
    Snapshot outside;
    OutputResult result;
    std::string log;
};

struct HostileName {
    const char* rootDesign; // the root's design lines
    const char* defaultFile; // the project's page names
    const char* subFile;
};

void PrintTo(const HostileName& name, std::ostream* out)
{
    *out << '"' << name.rootDesign << "\" with the project's page names " << name.defaultFile << ", " << name.subFile;
}

class HostilePageNames : public HostileSite, public ::testing::WithParamInterface<HostileName> { };

TEST_P(HostilePageNames, StayInsideTheSiteAndTheRunGoesOn)
{
    project.DefaultFile = GetParam().defaultFile;
    project.SubFile = GetParam().subFile;
    Design(site,
        std::string("{succession}=FALSE\r\n{divisioncount}=2\r\n{templatedef}=page.tpl\r\n") + GetParam().rootDesign);
    test::WriteFile(site / "page.tpl", "<P>%links;</P>\r\n");
    // A directory of its own design that is not hostile still gets pages.
    fs::create_directories(site / "fine");
    Design(site / "fine", "{succession}=FALSE\r\n{divisioncount}=2\r\n{namedef}=fine.html\r\n{namesub}=more.html\r\n");

    const Snapshot designs{
        {"_design.tsd", test::ReadFile(site / "_design.tsd")}, {"page.tpl", test::ReadFile(site / "page.tpl")}};
    EXPECT_EQ(Run().status, OutputResult::Status::Finished) << log;
    ExpectNothingOutsideChanged();
    EXPECT_EQ(test::ReadFile(site / "_design.tsd"), designs.at("_design.tsd"));
    EXPECT_EQ(test::ReadFile(site / "page.tpl"), designs.at("page.tpl"));
    EXPECT_FALSE(fs::exists(site / "_design.tsg"));
    EXPECT_NE(log.find(SJ("は使えないため、出力しませんでした.")), std::string::npos) << log;
    EXPECT_TRUE(fs::exists(site / "fine" / "fine.html"));
    EXPECT_TRUE(fs::exists(site / "fine" / "more002.html"));
}

INSTANTIATE_TEST_SUITE_P(Names, HostilePageNames,
    ::testing::Values(HostileName{"{namedef}=../x.html\r\n", "index.html", "pages.html"},
        HostileName{"{namedef}=../../../../../../../../../../x.html\r\n", "index.html", "pages.html"},
        HostileName{"{namesub}=../canary.txt\r\n", "index.html", "pages.html"},
        HostileName{"{namesub}=../other/index.html\r\n", "index.html", "pages.html"},
        HostileName{"", "../x.html", "pages.html"}, HostileName{"", "index.html", "../new/pages.html"},
        HostileName{"{namedef}=..\r\n", "index.html", "pages.html"},
        HostileName{"{namedef}=.\r\n", "index.html", "pages.html"},
        HostileName{"{namedef}=\r\n", "index.html", "pages.html"},
        HostileName{"{namedef}=a\x01.html\r\n", "index.html", "pages.html"},
        HostileName{"{namedef}=_design.tsd\r\n", "index.html", "pages.html"},
        HostileName{"{namedef}=_DESIGN.TSG\r\n", "index.html", "pages.html"},
        HostileName{"{namesub}=_Design.Tsd\r\n", "index.html", "pages.html"},
        HostileName{"{namedef}=page.tpl\r\n", "index.html", "pages.html"}));

TEST_F(HostileSite, APageNeverReplacesATemplateOfAnotherDirectory)
{
    // The sub directory's second page would be the root's template, and its
    // surplus step would delete another.
    Design(site,
        "{succession}=FALSE\r\n{divisioncount}=2\r\n{templatedef}=sub/pages002.html\r\n"
        "{templatesub}=sub/pages004.html\r\n");
    test::WriteFile(site / "sub" / "pages002.html", "<P>template %links;</P>\r\n");
    test::WriteFile(site / "sub" / "pages004.html", "<P>template %links;</P>\r\n");
    EXPECT_EQ(Run().status, OutputResult::Status::Finished);
    EXPECT_EQ(test::ReadFile(site / "sub" / "pages002.html"), "<P>template %links;</P>\r\n");
    EXPECT_EQ(test::ReadFile(site / "sub" / "pages004.html"), "<P>template %links;</P>\r\n");
    EXPECT_NE(log.find(SJ("ページのファイル名 \"pages002.html\"")), std::string::npos) << log;
}

TEST_F(HostileSite, APageNeverReplacesTheProjectFile)
{
    test::WriteFile(site / "links.TSP", "the project");
    project.EditingName = site / "links.TSP";
    Design(site, "{succession}=FALSE\r\n{namedef}=links.TSP\r\n");
    EXPECT_EQ(Run().status, OutputResult::Status::Finished);
    EXPECT_EQ(test::ReadFile(site / "links.TSP"), "the project");
    EXPECT_TRUE(fs::exists(site / "sub" / "links.TSP")); // the same name elsewhere is a page
}

TEST_F(HostileSite, APageNeverReplacesAnotherNameOfTheProjectFile)
{
    // A hard link and a symbolic link to the project file where pages go.
    test::WriteFile(sandbox / "links.TSP", "the project");
    project.EditingName = sandbox / "links.TSP";
    fs::create_hard_link(sandbox / "links.TSP", site / "index.html");
    fs::create_symlink(sandbox / "links.TSP", site / "sub" / "index.html");
    EXPECT_EQ(Run().status, OutputResult::Status::Finished);
    EXPECT_EQ(test::ReadFile(sandbox / "links.TSP"), "the project");
    EXPECT_NE(log.find(SJ("ページのファイル名 \"index.html\"")), std::string::npos) << log;
}

TEST_F(HostileSite, APageThatIsALinkIsLeftAlone)
{
    fs::create_symlink(sandbox / "x.html", site / "index.html");
    fs::create_symlink(sandbox / "canary.txt", site / "pages002.html");
    fs::create_symlink(sandbox / "nowhere.html", site / "pages003.html");
    EXPECT_EQ(Run().status, OutputResult::Status::Finished) << log;
    ExpectNothingOutsideChanged();
    EXPECT_TRUE(fs::is_symlink(site / "index.html"));
    EXPECT_TRUE(fs::is_symlink(site / "pages003.html"));
    EXPECT_NE(log.find("index.html" + SJ(" はシンボリックリンクのため、書き込みませんでした.")), std::string::npos);
    EXPECT_NE(log.find("pages003.html" + SJ(" はシンボリックリンクのため")), std::string::npos);
    EXPECT_TRUE(fs::exists(site / "sub" / "index.html"));
}

TEST_F(HostileSite, FifosAndDirectoriesWherePagesGoAreLeftAloneWithoutWaiting)
{
    ASSERT_EQ(mkfifo((site / "index.html").c_str(), 0666), 0);
    fs::create_directories(site / "pages002.html");
    EXPECT_EQ(Run().status, OutputResult::Status::Finished);
    EXPECT_TRUE(fs::is_fifo(site / "index.html"));
    EXPECT_NE(log.find("index.html" + SJ(" は通常のファイルではないため、書き込みませんでした.")), std::string::npos);
    EXPECT_TRUE(fs::is_directory(site / "pages002.html"));
    EXPECT_TRUE(fs::exists(site / "pages003.html"));
}

TEST_F(HostileSite, AReadOnlyPageIsLeftAlone)
{
    test::WriteFile(site / "index.html", "kept by its owner");
    fs::permissions(site / "index.html", fs::perms(0444));
    EXPECT_EQ(Run().status, OutputResult::Status::Finished);
    EXPECT_EQ(test::ReadFile(site / "index.html"), "kept by its owner");
    EXPECT_NE(log.find("index.html" + SJ(" は読み込み専用のため、書き込みませんでした.")), std::string::npos);
}

struct HostileTemplate {
    const char* name;
    std::function<std::string(const fs::path& site)> make; // returns the {templatedef} value
    const char* logged;
};

class HostileTemplates : public HostileSite, public ::testing::WithParamInterface<HostileTemplate> { };

TEST_P(HostileTemplates, AreLoggedAndTheBuiltInOneIsUsed)
{
    Design(site, "{succession}=FALSE\r\n{templatedef}=" + GetParam().make(site) + "\r\n");
    EXPECT_EQ(Run().status, OutputResult::Status::Finished);
    EXPECT_NE(log.find(SJ(GetParam().logged)), std::string::npos) << log;
    EXPECT_NE(test::ReadFile(site / "index.html").find("<HTML"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Files, HostileTemplates,
    ::testing::Values(HostileTemplate{"fifo",
                          [](const fs::path& site) {
                              mkfifo((site / "fifo.tpl").c_str(), 0666);
                              return std::string("fifo.tpl");
                          },
                          "テンプレートが通常のファイルではないため"},
        HostileTemplate{"zero", [](const fs::path&) { return std::string("/dev/zero"); },
            "テンプレートが通常のファイルではないため"},
        HostileTemplate{"huge",
            [](const fs::path& site) {
                test::WriteFile(site / "huge.tpl", "");
                fs::resize_file(site / "huge.tpl", (std::uintmax_t{16} << 20) + 1);
                return std::string("huge.tpl");
            },
            "テンプレートが 16 MB を超えるため"}),
    [](const auto& file) { return std::string(file.param.name); });

TEST_F(HostileSite, AHugeColumnCountSizesNothing)
{
    Design(site,
        "{succession}=FALSE\r\n{linkoutputs}=FALSE\r\n{pagelinkcolumn}=2147483647\r\n"
        "{pagelink}=a/b\r\n");
    EXPECT_EQ(Run().status, OutputResult::Status::Finished);
    EXPECT_TRUE(fs::exists(site / "index.html"));
}

TEST_F(HostileSite, AnEntryThatCannotBeExaminedDoesNotEndTheRun)
{
    fs::create_symlink("self", site / "self");
    fs::create_symlink("pages009.html", site / "pages009.html");
    fs::create_symlink("loop", site / "sub" / "loop");
    EXPECT_EQ(Run().status, OutputResult::Status::Finished) << result.error;
    EXPECT_TRUE(fs::exists(site / "pages003.html"));
    EXPECT_TRUE(fs::exists(site / "sub" / "index.html"));
    EXPECT_TRUE(fs::is_symlink(site / "pages009.html"));
}

TEST_F(HostileSite, SurplusPagesGoByTheNumbersThePlanWrites)
{
    const std::pair<const char*, bool> files[] = {
        {"pages004.html", true},
        {"pages1000.html", true},
        {"pages12345.html", true},
        {"pages01000.html", false},
        {"pages0999.html", false},
        {"pages99.html", false},
        {"pages1a00.html", false},
        {"pages1000.htm", false},
    };
    for (const auto& [name, deleted] : files) {
        test::WriteFile(site / name, "old page");
    }
    EXPECT_EQ(Run().status, OutputResult::Status::Finished);
    for (const auto& [name, deleted] : files) {
        EXPECT_EQ(fs::exists(site / name), !deleted) << name;
    }
    EXPECT_TRUE(fs::exists(site / "pages003.html"));
}

TEST_F(HostileSite, LeftoversOfKilledWritesAreRemovedUnlessHeld)
{
    test::WriteFile(site / ".index.html.tessaly-Xy12ab", "half a page");
    test::WriteFile(site / "sub" / ".index.html.tessaly-Xy12ab", "half a page");
    test::WriteFile(site / ".pages002.html.tessaly-HELD00", "being written");
    const int held = open((site / ".pages002.html.tessaly-HELD00").c_str(), O_RDONLY);
    ASSERT_EQ(flock(held, LOCK_EX), 0);
    EXPECT_EQ(Run().status, OutputResult::Status::Finished);
    close(held);
    EXPECT_FALSE(fs::exists(site / ".index.html.tessaly-Xy12ab"));
    EXPECT_FALSE(fs::exists(site / "sub" / ".index.html.tessaly-Xy12ab"));
    EXPECT_TRUE(fs::exists(site / ".pages002.html.tessaly-HELD00"));
}

TEST_F(HostileSite, AnUnreadableDesignIsLogged)
{
    fs::remove(site / "sub" / "_design.tsd");
    ASSERT_EQ(mkfifo((site / "sub" / "_design.tsd").c_str(), 0666), 0);
    EXPECT_EQ(Run().status, OutputResult::Status::Finished);
    EXPECT_NE(log.find(SJ("設計ファイルを読み込めないため")), std::string::npos) << log;
    EXPECT_FALSE(fs::exists(site / "sub" / "index.html"));
}

TEST(PageNames, OnlyPlainNamesThatAreNotDesignFiles)
{
    for (const char* name : {"index.html", "pages", ".hidden", "a..b", "..."}) {
        EXPECT_TRUE(IsValidPageName(name)) << name;
    }
    for (const char* name : {"", ".", "..", "a/b", "../a", "a\\b", "a:b", "a\nb", "_design.tsd", "_DESIGN.TSG"}) {
        EXPECT_FALSE(IsValidPageName(name)) << name;
    }
    EXPECT_TRUE(IsPlainName("_design.tsd"));
    EXPECT_TRUE(IsValidPageName(SJ("ソ") + ".html")); // trail byte 0x5C
}

} // namespace
