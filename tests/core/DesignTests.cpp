#include <gtest/gtest.h>

#include "core/collection/Project.h"
#include "core/design/DirectoryDesign.h"
#include "core/design/RootDirectory.h"
#include "core/design/SimpleDesign.h"
#include "support/ScriptedMessages.h"
#include "support/TempDir.h"
#include "core/text/Codepage.h"
#include "core/text/Paths.h"

using namespace tessaly;

namespace {

const DesignDefaults kDefaults{"index.html", "pages.html", TDateTime{37000}};

TDirectoryDesign Parsed(const std::string& text)
{
    TDirectoryDesign design;
    ResetDesign(design, kDefaults);
    ParseDesignText(text, design);
    return design;
}

TEST(DesignFile, ValuesFallBackAsDocumented)
{
    const TDirectoryDesign design = Parsed("{HTMLOUTPUTS}=yes\r\n{linkoutputs}=false\r\n{divisioncount}=many\r\n"
                                           "{status}=7\r\n{sortby}=9\r\n{pagelinkcolumn}=0\r\n"
                                           "{pagelink}=a/b\r\n{pagelink}=c/d\r\nno equals\r\n{unknown}=1\r\n");
    EXPECT_TRUE(design.htmlOutputs);
    EXPECT_FALSE(design.linkOutputs);
    EXPECT_EQ(design.html.divisionCount, 20);
    EXPECT_EQ(design.squeeze.status, 0);
    EXPECT_EQ(design.squeeze.sortBy, 0);
    EXPECT_EQ(design.subLinks.column, 1);
    EXPECT_EQ(design.subLinks.links, (std::vector<std::string>{"a/b", "c/d"}));
    EXPECT_EQ(Parsed("{divisioncount}=0\r\n").html.divisionCount, 20);
    EXPECT_EQ(Parsed("{status}=6\r\n").squeeze.status, 7);
}

TEST(DesignFile, ColumnCountsAreHeldToWhatTheDialogOffers)
{
    const std::pair<const char*, int32_t> cases[]
        = {{"2147483647", 5}, {"6", 5}, {"5", 5}, {"1", 1}, {"0", 1}, {"-2147483648", 1}, {"many", 2}};
    for (const auto& [value, column] : cases) {
        EXPECT_EQ(Parsed(std::string("{pagelinkcolumn}=") + value + "\r\n").subLinks.column, column) << value;
    }
}

struct DateCase {
    const char* value;
    int mode;
};

class DesignDates : public ::testing::TestWithParam<DateCase> { };

TEST_P(DesignDates, SplitAtTheFirstDash)
{
    EXPECT_EQ(Parsed(std::string("{date}=") + GetParam().value + "\r\n").squeeze.dateMode, GetParam().mode);
}

INSTANTIATE_TEST_SUITE_P(Values, DesignDates,
    ::testing::Values(DateCase{"2003/05/17", 1}, DateCase{"2003/05/17-2003/06/01", 2}, DateCase{"2003/05/17-", 3},
        DateCase{"-2003/06/01", 4}, DateCase{"junk", 0}, DateCase{"-", 0}));

TEST(DesignFile, WritesAndReadsBackEverythingItStores)
{
    TDirectoryDesign design;
    ResetDesign(design, kDefaults);
    design.dirTitle = SJ("ゲーム");
    design.succession = false;
    design.html.nameDef = "top.html";
    design.html.templateDef = "/tpl/page.html";
    design.html.division = false;
    design.html.divisionCount = 15;
    design.parentAdorn.front = "&gt; ";
    design.squeeze.genre = "G";
    design.squeeze.templateName = SJ("カード型");
    design.squeeze.dateMode = 2;
    design.squeeze.date1 = *EncodeDateTime({2003, 1, 2});
    design.squeeze.date2 = *EncodeDateTime({2004, 3, 4});
    design.squeeze.status = 2;
    design.squeeze.sortBy = 2;
    design.squeeze.sortDir = 1;
    TextToKanaRange(SJ("あ-う"), design.squeeze.titleRange);
    design.squeeze.attrAnd = {"a/b", "c"};
    design.squeeze.contentNot = {"x"};
    design.subLinks.links = {"A/a&sl;index.html"};
    design.subLinks.style = 2;
    design.subLinks.image = "dot.gif";
    design.subLinks.imageWidth = 8;
    design.subLinks.imageHeight = 9;
    design.subLinks.width = "80%";
    const std::string text = DesignFileText(design);
    EXPECT_EQ(DesignFileText(Parsed(text)), text);
    EXPECT_NE(text.find("{date}=2003/01/02-2004/03/04\r\n"), std::string::npos);
    EXPECT_NE(text.find("{status}=1\r\n"), std::string::npos);
    EXPECT_NE(text.find("{titlerange}=" + SJ("あ-う") + "\r\n"), std::string::npos);
    EXPECT_NE(text.find("{attrand}=a&sl;b/c\r\n"), std::string::npos);
    EXPECT_EQ(text.find("{parentrear}"), std::string::npos);
}

TEST(DesignFile, ExactBytesOfADefaultDesign)
{
    TDirectoryDesign design;
    ResetDesign(design, kDefaults);
    EXPECT_EQ(DesignFileText(design),
        "# ----- <<Tessaly>> Directory Design File -----\r\n"
            + SJ("# このファイルは Tessaly が生成するファイルです.\r\n"
                 "# 改変した場合、予期しない動作をしたり異常終了、暴走の可能性があります.\r\n"
                 "# 絶対に改変しないで下さい.\r\n")
            + "{dirtitle}=\r\n{htmloutputs}=TRUE\r\n{linkoutputs}=TRUE\r\n{succession}=TRUE\r\n");
}

TEST(DesignFile, SuccessionTakesThePageDesignFromTheNearestNonInheritingAncestor)
{
    test::TempDir dir;
    const std::string root = *FromFsPath(dir.Path()) + "/";
    std::filesystem::create_directories(dir / "a" / "b");
    TDirectoryDesign rootDesign;
    ResetDesign(rootDesign, kDefaults);
    rootDesign.succession = true; // read as off: the root never inherits
    rootDesign.html.nameDef = "root.html";
    rootDesign.parentAdorn.rear = "]";
    ASSERT_TRUE(WriteDesign(root, rootDesign).ok);
    TDirectoryDesign child;
    ResetDesign(child, kDefaults);
    child.dirTitle = "B";
    child.squeeze.genre = "G";
    ASSERT_TRUE(WriteDesign(root + "a/b/", child).ok);

    TDirectoryDesign read;
    EXPECT_TRUE(ReadDesign(root, root, read, kDefaults));
    EXPECT_FALSE(read.succession);
    EXPECT_EQ(read.html.nameDef, "index.html"); // succession on: no names were written

    EXPECT_TRUE(ReadDesignWithSuccession(root, root + "a/b", read, kDefaults));
    EXPECT_EQ(read.html.nameDef, "index.html");
    EXPECT_EQ(read.dirTitle, "B");
    EXPECT_EQ(read.squeeze.genre, "G");
    EXPECT_FALSE(ReadDesign(root, root + "a/", read, kDefaults));

    rootDesign.succession = false;
    ASSERT_TRUE(WriteDesign(root, rootDesign).written);
    EXPECT_FALSE(WriteDesign(root, rootDesign).written); // same text: left alone
    ReadDesignWithSuccession(root, root + "a/b/", read, kDefaults);
    EXPECT_EQ(read.html.nameDef, "root.html");
    EXPECT_EQ(read.parentAdorn.rear, "]");
    EXPECT_EQ(read.dirTitle, "B");
}

TEST(SimpleDesign, NamesRowsAndWritesTheDesigns)
{
    test::TempDir dir;
    Project project;
    project.RootDir = *FromFsPath(dir.Path());
    project.AddGenre("A");
    project.AddGenre("B/C");
    SimpleDesignForm form = InitialSimpleDesign(project);
    ASSERT_EQ(form.rows.size(), 2u);
    EXPECT_EQ(form.rows[0].directory, "genre001");
    EXPECT_EQ(form.rows[1].directory, "genre002");
    EXPECT_TRUE(DirectoryNameTaken(form, "GENRE001", 1));
    EXPECT_FALSE(DirectoryNameTaken(form, "genre001", 0));

    const std::string text = SimpleDesignFileText(form, project);
    EXPECT_EQ(text.find("{namedef}"), std::string::npos);
    EXPECT_EQ(text.find("{parentfront}"), std::string::npos);
    EXPECT_NE(text.find("{dirs}=B&sl;C/genre002\r\n"), std::string::npos);

    form.rows[1].directory = "bc";
    form.column = 3;
    ASSERT_TRUE(SaveSimpleDesign(form, project, TDateTime{37000}).ok);
    const SimpleDesignForm reopened = InitialSimpleDesign(project);
    EXPECT_EQ(reopened.rows[1].genre, "B/C");
    EXPECT_EQ(reopened.rows[1].directory, "bc");
    EXPECT_EQ(reopened.column, 3);

    TDirectoryDesign rootDesign;
    const std::string root = project.RootDir;
    ASSERT_TRUE(ReadDesign(root, root, rootDesign, kDefaults));
    EXPECT_FALSE(rootDesign.linkOutputs);
    EXPECT_EQ(
        rootDesign.subLinks.links, (std::vector<std::string>{"A/genre001&sl;index.html", "B&sl;C/bc&sl;index.html"}));
    TDirectoryDesign genreDesign;
    ASSERT_TRUE(ReadDesign(root, root + "/bc", genreDesign, kDefaults));
    EXPECT_TRUE(genreDesign.succession);
    EXPECT_EQ(genreDesign.squeeze.genre, "B/C");
    EXPECT_EQ(genreDesign.dirTitle, "B/C");
}

// Saving the simple design again replaces the root design; what the
// detailed design changed there is named before it is lost.
TEST(SimpleDesign, NamesWhatTheDetailedDesignChangedInTheRoot)
{
    test::TempDir dir;
    Project project;
    project.RootDir = *FromFsPath(dir.Path());
    project.AddGenre("A");
    SimpleDesignForm form = InitialSimpleDesign(project);
    EXPECT_TRUE(RootDesignChangesLost(form, project, TDateTime{37000}).empty()); // no design yet
    ASSERT_TRUE(SaveSimpleDesign(form, project, TDateTime{37000}).ok);
    // Written by the simple design, on another day: nothing to lose.
    EXPECT_TRUE(RootDesignChangesLost(form, project, TDateTime{37100}).empty());
    // A genre added since gives a new link, which is no loss either.
    project.AddGenre("B");
    EXPECT_TRUE(RootDesignChangesLost(InitialSimpleDesign(project), project, TDateTime{37100}).empty());

    TDirectoryDesign root;
    ASSERT_TRUE(ReadDesign(project.RootDir, project.RootDir, root, kDefaults));
    root.subLinks.links.push_back(SJ("日記/diary&sl;index.html"));
    root.subLinks.width = "80%";
    ASSERT_TRUE(WriteDesign(project.RootDir, root).ok);
    EXPECT_EQ(RootDesignChangesLost(InitialSimpleDesign(project), project, TDateTime{37100}),
        (std::vector<std::string>{SJ("ディレクトリリンクの表の設定 (列数・幅・スタイル・画像)"),
            SJ("ディレクトリリンク: 日記 (diary/index.html)")}));
}

} // namespace

namespace {

TEST(EnsureRootDirectory, AsksAndSetsTheRootAsAnswered)
{
    Project project;
    test::ScriptedMessages messages;
    int optionsOpened = 0;
    const auto options = [&] {
        ++optionsOpened;
        project.RootDir = "/srv/site";
    };
    project.RootDir = "/already";
    EXPECT_TRUE(EnsureRootDirectory(project, messages, options));
    EXPECT_TRUE(messages.shown.empty());

    project.RootDir.clear();
    messages.SetNextAnswer(MessageButton::Cancel);
    EXPECT_FALSE(EnsureRootDirectory(project, messages, options));
    messages.SetNextAnswer(MessageButton::Yes);
    EXPECT_TRUE(EnsureRootDirectory(project, messages, options));
    EXPECT_EQ(optionsOpened, 1);
    EXPECT_EQ(messages.shown.size(), 2u);
    EXPECT_EQ(messages.shown[0].kind, MessageKind::Confirmation);
    EXPECT_EQ(messages.shown[0].text,
        SJ("プロジェクトルートディレクトリが設定されていません.\r\n"
           "プロジェクト設計時にはルートディレクトリの設定が必要です.\r\n"
           "プロジェクトオプションで設定して下さい.\r\nここで設定しますか？"));

    Project saved;
    saved.EditingName = "/home/u/links/x.TSP";
    saved.BannerDir = "/home/u/banners";
    messages.SetNextAnswer(MessageButton::Yes);
    EXPECT_TRUE(EnsureRootDirectory(saved, messages, options));
    EXPECT_EQ(saved.RootDir, "/home/u/links");
    EXPECT_EQ(saved.BannerDir, "/home/u/banners");
    EXPECT_TRUE(saved.IsEditing);
    EXPECT_NE(messages.shown.back().text.find(SJ("編集中のプロジェクトファイル")), std::string::npos);
}

} // namespace

namespace {

TEST(DesignFile, EmptyNamesInCriteriaListsAreLeftOut)
{
    const TDirectoryDesign design = Parsed("{attrand}=a//b///\r\n{contentnot}=/\r\n");
    EXPECT_EQ(design.squeeze.attrAnd, (std::vector<std::string>{"a", "b"}));
    EXPECT_TRUE(design.squeeze.contentNot.empty());
}

} // namespace
