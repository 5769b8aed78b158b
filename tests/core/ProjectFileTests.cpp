#include <gtest/gtest.h>


#include "core/collection/LinkItem.h"
#include "core/collection/Project.h"
#include "core/collection/ProjectFile.h"
#include "support/FileSizeLimit.h"
#include "support/TempDir.h"
#include "core/text/Codepage.h"
#include "core/text/FieldText.h"
#include "core/text/Paths.h"

using namespace tessaly;

namespace {

const std::string kHeader = "# ----- <<Tessaly>> Project File -----\r\n"
    + SJ("# このファイルは Tessaly が生成するファイルです.\r\n"
         "# 改変した場合、予期しない動作をしたり異常終了、暴走の可能性があります.\r\n"
         "# 絶対に改変しないで下さい.\r\n");

std::string Item(int serial, const std::string& genre, const std::string& title = "t")
{
    return std::to_string(serial) + "/" + genre + "/0/" + title + "/" + SJ("あ") + "/a/" + SJ("い")
        + "//u//200/40///2003&sl;05&sl;17/";
}

Project Loaded(const std::string& text, LoadOutcome* outcome = nullptr)
{
    Project project;
    const LoadOutcome result = LoadProjectText(project, text);
    if (outcome != nullptr) {
        *outcome = result;
    }
    return project;
}

TEST(ProjectFile, NewProjectWritesHeaderAndSerialMaxOnly)
{
    EXPECT_EQ(ProjectFileText(Project()), kHeader + "{serialmax}=0\r\n");
}

TEST(ProjectFile, WritesEveryLineInItsOrder)
{
    Project project;
    project.Title = "A/B & C";
    project.AuthorName = SJ("山田");
    project.AuthorKana = SJ("やまだ");
    project.RootDir = "/srv/site";
    project.BannerDir = "/srv/site/img";
    project.DefaultFile = "index.htm";
    project.SubFile = "p.htm";
    project.ParentAnchor = "Home";
    project.ParentPath = "/srv/index.html";
    project.Templates = {"T/h/b/f/t/e/q"};
    project.SerialMax = 3;
    project.AddGenre("G/1");
    project.Attributes = {"new", "a&b"};
    project.Contents = {"c"};
    project.Genres[0].Lines = {Item(1, "")};
    project.Genres[1].Lines = {Item(2, "G&sl;1")};
    project.Genres.back().Lines = {Item(3, "")}; // the trash is never written
    EXPECT_EQ(ProjectFileText(project),
        kHeader
            + "{title}=A&sl;B &amp; C\r\n"
              "{author}="
            + SJ("山田/やまだ//")
            + "\r\n"
              "{rootdir}=&sl;srv&sl;site\r\n"
              "{bannerdir}=&sl;srv&sl;site&sl;img\r\n"
              "{defaultfile}=index.htm\r\n"
              "{subfile}=p.htm\r\n"
              "{parentanchor}=Home\r\n"
              "{parentpath}=/srv/index.html\r\n"
              "{template}=T/h/b/f/t/e/q\r\n"
              "{serialmax}=3\r\n"
              "{genre}=G&sl;1/\r\n"
              "{attribute}=new/a&amp;b/\r\n"
              "{content}=c/\r\n"
              "{linkitem}="
            + Item(1, "") + "\r\n{linkitem}=" + Item(2, "G&sl;1") + "\r\n");
}

TEST(ProjectFile, ReadsSettingsAndSkipsWhatItDoesNotKnow)
{
    LoadOutcome outcome;
    const Project project = Loaded("# comment\r\n"
                                   "  {TITLE}=A&sl;B &amp; C  \r\n"
                                   "=nokey\n"
                                   "no equals\r"
                                   "{unknown}=1\r\n"
                                   "{defaultfile}=a=b.html\r\n"
                                   "{template}=1/2/3/4/5/6/7\r\n"
                                   "{template}=1/2/3/4/5/6\r\n"
                                   "{template}=1/2/3/4/5/6/7/8\r\n"
                                   "{serialmax}=41\r\n",
        &outcome);
    EXPECT_EQ(outcome.result, LoadOutcome::Result::Loaded);
    EXPECT_EQ(project.Title, "A/B & C");
    EXPECT_EQ(project.DefaultFile, "a=b.html");
    EXPECT_EQ(project.SubFile, "pages.html");
    EXPECT_EQ(project.Templates, std::vector<std::string>{"1/2/3/4/5/6/7"});
    EXPECT_EQ(project.SerialMax, 41);
}

struct AuthorCase {
    std::string value;
    bool accepted;
};

class AuthorLine : public ::testing::TestWithParam<AuthorCase> { };

TEST_P(AuthorLine, AcceptsOnlyNameReadingAndMail)
{
    Project project;
    project.AuthorName = "old";
    LoadProjectText(project, "{author}=" + GetParam().value + "\r\n");
    EXPECT_EQ(project.AuthorName != "old", GetParam().accepted) << SjisToUtf8Lossy(GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(Lines, AuthorLine,
    ::testing::Values(AuthorCase{SJ("山田/やまだ/m@x.jp/"), true}, AuthorCase{SJ("山田/やまだ/m@x.jp"), true},
        AuthorCase{SJ("山田/やまだ//"), true}, AuthorCase{SJ("山田/やまだ/"), false}, AuthorCase{SJ("山田//m/"), false},
        AuthorCase{SJ("山田/ヤマダ/m/"), false}, AuthorCase{SJ("/やまだ/m/"), false},
        AuthorCase{SJ("山田/やまだ/m/x/"), false}));

TEST(ProjectFile, DirectoriesAreTakenOnlyWhenTheyExist)
{
    test::TempDir dir;
    const std::string existing = *FromFsPath(dir.Path());
    const Project project = Loaded("{rootdir}=" + EscapeField(existing) + "\r\n{bannerdir}=&sl;no&sl;such&sl;dir\r\n");
    EXPECT_EQ(project.RootDir, existing);
    EXPECT_TRUE(project.BannerDir.empty());
}

TEST(ProjectFile, ItemsOnlyFileLandsInUnfiledWithGenreKept)
{
    const Project project
        = Loaded("{linkitem}=" + Item(1, "Games") + "\r\n{genre}=Games/\r\n{linkitem}=" + Item(2, "GAMES") + "\r\n");
    ASSERT_EQ(project.Genres.size(), 3u);
    ASSERT_EQ(project.Genres[0].Lines.size(), 1u);
    EXPECT_EQ(LineToItem(project.Genres[0].Lines[0]).GenreName, "Games");
    ASSERT_EQ(project.Genres[1].Lines.size(), 1u);
    EXPECT_EQ(project.Genres[1].Lines[0], Item(2, "GAMES"));
}

TEST(ProjectFile, ItemNamingTheTrashIsKeptInUnfiled)
{
    const Project project = Loaded("{linkitem}=" + Item(1, SJ("【ゴミ箱】")) + "\r\n{linkitem}=" + Item(2, "\xFF"));
    EXPECT_EQ(project.Genres[0].Lines.size(), 2u);
    EXPECT_TRUE(project.Genres.back().Lines.empty());
}

TEST(ProjectFile, InvalidItemLinesAreSkipped)
{
    const std::string good = Item(1, "");
    const Project project = Loaded("{linkitem}=" + good.substr(0, good.rfind('/')) + "\r\n" // 15 fields
        + "{linkitem}=" + good + "/x\r\n" // 17 fields
        + "{linkitem}=" + Item(-1, "") + "\r\n" //
        + "{linkitem}=" + Item(2, "", "") + "\r\n" // empty title
        + "{linkitem}=" + good + "\r\n");
    EXPECT_EQ(project.Genres[0].Lines, std::vector<std::string>{good});
}

TEST(ProjectFile, GenresAndVocabulariesMatchIgnoringAsciiCase)
{
    const Project project = Loaded("{genre}=Games/games/" + EscapeField(SJ("【未整理】"))
        + "/Music//\r\n"
          "{attribute}=New/NEW/hot/\r\n{content}=x/X/\r\n{genre}=GAMES/Books/\r\n");
    ASSERT_EQ(project.Genres.size(), 5u);
    EXPECT_EQ(project.Genres[1].Name, "Games");
    EXPECT_EQ(project.Genres[2].Name, "Music");
    EXPECT_EQ(project.Genres[3].Name, "Books");
    EXPECT_EQ(project.Attributes, (std::vector<std::string>{"New", "hot"}));
    EXPECT_EQ(project.Contents, std::vector<std::string>{"x"});
}

TEST(ProjectFile, NonNumericSerialMaxStopsTheLoad)
{
    LoadOutcome outcome;
    const Project project = Loaded("{title}=before\r\n{serialmax}=abc\r\n{genre}=After/\r\n", &outcome);
    EXPECT_EQ(outcome.result, LoadOutcome::Result::StoppedAtBadSerialMax);
    EXPECT_EQ(outcome.badLineNumber, 2u);
    EXPECT_EQ(outcome.badValue, "abc");
    EXPECT_EQ(project.Title, "before");
    EXPECT_EQ(project.Genres.size(), 2u);
}

TEST(ProjectFile, NamesWithVerticalLineAreLoadedWithAWarning)
{
    LoadOutcome outcome;
    const Project project = Loaded("{genre}=a|b/\r\n", &outcome);
    EXPECT_TRUE(outcome.namesWithVerticalLine);
    EXPECT_EQ(project.Genres[1].Name, "a|b");
    Loaded("{attribute}=" + SJ("ソ") + "/\r\n", &outcome); // trail byte 0x5C only
    EXPECT_FALSE(outcome.namesWithVerticalLine);
    Loaded("{content}=x|/\r\n", &outcome);
    EXPECT_TRUE(outcome.namesWithVerticalLine);
}

TEST(ProjectFile, MergeAppendsAndReplacesSettings)
{
    Project project = Loaded("{title}=one\r\n{serialmax}=5\r\n{genre}=A/\r\n{template}=1/2/3/4/5/6/7\r\n{linkitem}="
        + Item(1, "A") + "\r\n");
    LoadProjectText(
        project, "{serialmax}=9\r\n{genre}=B/a/\r\n{template}=1/2/3/4/5/6/7\r\n{linkitem}=" + Item(1, "A") + "\r\n");
    EXPECT_EQ(project.Title, "one");
    EXPECT_EQ(project.SerialMax, 9);
    EXPECT_EQ(project.Genres.size(), 4u);
    EXPECT_EQ(project.Templates.size(), 2u);
    EXPECT_EQ(project.Genres[1].Lines.size(), 2u);
}

TEST(ProjectFile, SaveAndReadBackKeepsEverything)
{
    test::TempDir dir;
    Project project;
    project.Title = "A/B & C";
    project.AuthorName = "Owner";
    project.AuthorKana = SJ("おな");
    project.AddGenre("Games");
    project.Attributes = {"new"};
    TLinkItem item;
    item.Serial = 1;
    item.GenreName = "Games";
    item.Title = "T";
    item.TitleKana = SJ("て");
    item.AuthorKana = SJ("あ");
    item.Url = "x/";
    item.Date = *EncodeDateTime({2003, 5, 17});
    item.Comment = "see &ln; the\r\ntop";
    project.Genres[1].Lines = {ItemToLine(item)};
    project.Genres.back().Lines = {ItemToLine(item)};
    project.IsEditing = true;

    const auto path = dir / "x.TSP";
    ASSERT_TRUE(SaveProjectFile(project, path).ok);
    EXPECT_FALSE(project.IsEditing);
    EXPECT_EQ(project.EditingName, path);

    Project again;
    ASSERT_EQ(LoadProjectFile(again, path).result, LoadOutcome::Result::Loaded);
    EXPECT_EQ(again.Title, "A/B & C");
    EXPECT_EQ(again.AuthorMail, "");
    EXPECT_EQ(again.EditingName, path);
    ASSERT_EQ(again.Genres.size(), 3u);
    EXPECT_TRUE(again.Genres.back().Lines.empty());
    EXPECT_EQ(LineToItem(again.Genres[1].Lines.at(0)), item);
    EXPECT_EQ(ProjectFileText(again), test::ReadFile(path));
}

TEST(ProjectFile, MissingAndUnreadableFiles)
{
    test::TempDir dir;
    Project project;
    project.Title = "kept";
    EXPECT_EQ(LoadProjectFile(project, dir / "none.TSP").result, LoadOutcome::Result::NotFound);
    EXPECT_EQ(LoadProjectFile(project, dir.Path()).result, LoadOutcome::Result::ReadFailed);
    EXPECT_EQ(project.Title, "kept");
    EXPECT_TRUE(project.EditingName.empty());
    EXPECT_EQ(ProjectNotFoundMessage("a.TSP"), "a.TSP" + SJ(" が見付かりません."));
}

TEST(ProjectFile, FailedSaveKeepsTheOldFileAndTheUnsavedState)
{
    test::TempDir dir;
    const auto path = dir / "keep.TSP";
    test::WriteFile(path, "old contents");
    Project project;
    project.Title = std::string(1 << 16, 'x');
    project.IsEditing = true;

    // A save that hits the file size limit after a few bytes.
    EXPECT_TRUE(test::HoldsWithTinyFileSizeLimit([&project, &path] {
        const SaveOutcome saved = SaveProjectFile(project, path);
        return !saved.ok && !saved.error.empty() && project.IsEditing;
    }));
    EXPECT_EQ(test::ReadFile(path), "old contents");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);

    // A target that cannot be replaced.
    std::filesystem::create_directory(dir / "dir.TSP");
    const SaveOutcome saved = SaveProjectFile(project, dir / "dir.TSP");
    EXPECT_FALSE(saved.ok);
    EXPECT_TRUE(project.IsEditing);
    EXPECT_TRUE(project.EditingName.empty());
    EXPECT_FALSE(SaveProjectFile(project, dir / "no" / "such.TSP").ok);
}

TEST(ProjectFile, AProjectTheReaderWouldRefuseIsNotSaved)
{
    test::TempDir dir;
    test::WriteFile(dir / "keep.TSP", "old contents");
    Project project;
    // Item lines of exactly the reader's limit, with their keys beyond it.
    project.Genres[0].Lines.assign(kReadLimit >> 20, std::string(std::size_t{1} << 20, 'x'));
    project.IsEditing = true;
    for (const char* name : {"keep.TSP", "new.TSP"}) {
        const SaveOutcome saved = SaveProjectFile(project, dir / name);
        EXPECT_EQ(saved.failure, WriteFailure::TooLarge) << name;
        EXPECT_NE(saved.error.find(name), std::string::npos) << saved.error;
    }
    EXPECT_TRUE(project.IsEditing);
    EXPECT_EQ(test::ReadFile(dir / "keep.TSP"), "old contents");
    EXPECT_FALSE(std::filesystem::exists(dir / "new.TSP"));
}

TEST(ProjectFile, AnExportNeverReplacesTheProjectFile)
{
    test::TempDir dir;
    Project project;
    ASSERT_TRUE(SaveProjectFile(project, dir / "p.TSP").ok);
    const std::string saved = test::ReadFile(dir / "p.TSP");
    std::filesystem::create_symlink("p.TSP", dir / "link.csv");
    std::filesystem::create_hard_link(dir / "p.TSP", dir / "hard.csv");
    std::filesystem::create_directory(dir / "sub");
    for (const std::filesystem::path& name :
        {dir / "p.TSP", dir / "link.csv", dir / "hard.csv", dir / "sub" / ".." / "p.TSP"}) {
        EXPECT_EQ(WriteExportFile(project, name, "a,b\r\n").failure, WriteFailure::ProjectFile) << name;
    }
    EXPECT_EQ(test::ReadFile(dir / "p.TSP"), saved);
    EXPECT_TRUE(WriteExportFile(project, dir / "out.csv", "a,b\r\n").ok);
    EXPECT_EQ(test::ReadFile(dir / "out.csv"), "a,b\r\n");
}

TEST(ProjectFile, SavingThroughASymbolicLinkReplacesTheFileItNames)
{
    test::TempDir dir;
    std::filesystem::create_directory(dir / "real");
    test::WriteFile(dir / "real" / "x.TSP", "old");
    std::filesystem::create_symlink(dir / "real" / "x.TSP", dir / "link.TSP");
    Project project;
    ASSERT_TRUE(SaveProjectFile(project, dir / "link.TSP").ok);
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "link.TSP"));
    EXPECT_EQ(test::ReadFile(dir / "real" / "x.TSP"), ProjectFileText(project));
}

TEST(ProjectFile, ExampleRoundTripsByteForByte)
{
    const std::filesystem::path example = std::filesystem::path(TESSALY_EXAMPLES_DIR) / "links.TSP";
    const std::string original = test::ReadFile(example);
    ASSERT_FALSE(original.empty());
    Project project;
    ASSERT_EQ(LoadProjectFile(project, example).result, LoadOutcome::Result::Loaded);
    EXPECT_GE(project.UserGenreCount(), 5u);
    EXPECT_EQ(ProjectFileText(project), original);
}

} // namespace

// What the site publishes besides the pages: written only where it differs
// from the classic site, read back as written, and refused values skipped.
TEST(ProjectFile, PublishingKeysRoundTrip)
{
    struct Case {
        std::string lines;
        SitePublishing publishing;
        bool writtenBack;
    };
    SitePublishing everything;
    everything.pageEncoding = PageEncoding::Utf8;
    everything.siteSearch = true;
    everything.feedCount = 20;
    everything.sitemap = true;
    everything.baseUrl = "https://example.jp/~hanako/";
    everything.publishCommand = "rsync -av \"$TESSALY_ROOT\"/ me@host:public_html/ && echo done";
    SitePublishing utf8;
    utf8.pageEncoding = PageEncoding::Utf8;
    const Case cases[] = {
        {"{pageencoding}=UTF-8\r\n{sitesearch}=1\r\n{feed}=20\r\n{sitemap}=1\r\n"
         "{baseurl}=https:&sl;&sl;example.jp&sl;~hanako&sl;\r\n"
         "{publishcommand}=rsync -av &quot;$TESSALY_ROOT&quot;&sl; me@host:public_html&sl; &amp;&amp; echo done\r\n",
            everything, true},
        {"{PageEncoding}=utf-8\r\n", utf8, false},
        {"{pageencoding}=Shift_JIS\r\n{sitesearch}=0\r\n{feed}=0\r\n", {}, false},
        {"{feed}=many\r\n", {}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.lines);
        const Project project = Loaded(kHeader + c.lines + "{serialmax}=0\r\n");
        EXPECT_EQ(project.Publishing, c.publishing);
        const std::string written = ProjectFileText(project);
        if (c.writtenBack) {
            EXPECT_EQ(written, kHeader + c.lines + "{serialmax}=0\r\n");
        }
        EXPECT_EQ(Loaded(written).Publishing, c.publishing);
    }
}
