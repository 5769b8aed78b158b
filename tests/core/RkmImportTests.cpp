#include <gtest/gtest.h>

#include "core/collection/Project.h"
#include "support/FakeReadings.h"
#include "support/TempDir.h"
#include "core/text/Codepage.h"
#include "core/text/Kana.h"
#include "core/text/Sjis.h"
#include "core/tools/RkmImport.h"

using namespace tessaly;

namespace {

TDateTime Date(int year, int month, int day)
{
    return *EncodeDateTime({year, month, day});
}

const TDateTime kToday = Date(2004, 3, 1);

// A link block that the import stores.
std::vector<const char*> Link(const char* title, const char* category = "")
{
    return {
        "<!-- start link -->", title, "\ttitle_kana=あ", "\tauthor_kana=い", "\tpage=p.jp/", category, "<!-- end -->"};
}

// Blocks of lines of an RKM file (UTF-8 here) joined by the line end, in
// code page 932.
std::string RkmOf(const std::vector<std::vector<const char*>>& blocks, std::string_view lineEnd = "\r\n")
{
    std::string text;
    for (const auto& block : blocks) {
        for (const char* line : block) {
            text += line;
            text += lineEnd;
        }
    }
    return Utf8ToSjis(text).text;
}

std::vector<TLinkItem> Items(const Genre& genre)
{
    std::vector<TLinkItem> items;
    for (const std::string& line : genre.Lines) {
        items.push_back(LineToItem(line));
    }
    return items;
}

TEST(RkmImport, LinksBeyondTheLargestSerialAreRefused)
{
    Project project;
    project.SerialMax = 2147483646;
    const RkmImportResult result = ImportRkmText(project, RkmOf({Link("\ttitle=a"), Link("\ttitle=b")}), kToday);
    EXPECT_EQ(result.stored, 1u);
    ASSERT_EQ(result.refused.size(), 1u);
    EXPECT_EQ(result.refused[0].title, "b");
    EXPECT_EQ(result.refused[0].problem, ItemProblem::NoSerialLeft);
    EXPECT_EQ(project.Genres[0].Lines.size(), 1u);
}

TEST(RkmImport, ReadsEveryFieldOfALink)
{
    Project project;
    project.SerialMax = 40;
    const std::string text = RkmOf({{"<!-- start category -->", "\t1g = Games ", "\t@fav=お気に入り", "\tcg=CG",
        "<!-- end -->", "<!-- start link -->", "\ttitle=Tom &amp;lt; Jerry &quot;TJ&quot;",
        "\ttitle_kana=トムとじぇりー", "\tauthor=A&amp;B", "\tauthor_kana=えーびー", "\tmail=mailto:tj@example.jp",
        "\tpage=HTTP://www.tj.jp/", "\tbanner=mailto:b.gif", "\tbanner_x=wide", "\tbanner_y=31", "\tupdate=2003/5/6",
        "\tcategory=/1g/@FAV/cg/@fav/", "\tcomment=one line", "\tunknown=ignored", "<!-- end -->"}});
    const RkmImportResult result = ImportRkmText(project, text, kToday);

    EXPECT_EQ(result.stored, 1u);
    EXPECT_TRUE(result.refused.empty());
    ASSERT_EQ(project.Genres.size(), 3u);
    TLinkItem expected;
    expected.Serial = 41;
    expected.GenreName = "Games";
    expected.Title = "Tom &lt; Jerry \"TJ\"";
    expected.TitleKana = SJ("とむとじぇりい");
    expected.Author = "A&B";
    expected.AuthorKana = SJ("ええびい");
    expected.Mail = "mailto:tj@example.jp";
    expected.Url = "www.tj.jp/";
    expected.Banner = "b.gif";
    expected.BannerX = 200;
    expected.BannerY = 31;
    expected.Attributes = SJ("お気に入り/お気に入り");
    expected.Contents = "CG";
    expected.Date = Date(2003, 5, 6);
    expected.Comment = "one line\r\n";
    ASSERT_EQ(project.Genres[1].Lines.size(), 1u);
    EXPECT_EQ(LineToItem(project.Genres[1].Lines[0]), expected);
    EXPECT_EQ(project.Genres[1].Lines[0], ItemToLine(expected));
    EXPECT_EQ(project.SerialMax, 41);
    EXPECT_TRUE(project.IsEditing);
}

TEST(RkmImport, CreatesDefinitionsInFileOrderOnce)
{
    Project project;
    project.AddGenre("Old");
    project.Attributes = {"x"};
    const std::string text = RkmOf({{"<!-- start category -->", "\t1a=New", "\t1b=old", "\t1c=NEW", "\t1d=Second",
        "\t1t=【ゴミ箱】", "\t1u=【未整理】", "\t@a=X", "\t@b=y", "\tc=z", "\tc2=Z", "no tab=ignored", "\t=no key",
        "\tno value=", "\tno equals", "<!-- end -->"}});
    ImportRkmText(project, text, kToday);

    std::vector<std::string> genres;
    for (const Genre& genre : project.Genres) {
        genres.push_back(genre.Name);
    }
    EXPECT_EQ(genres, (std::vector<std::string>{UnfiledGenreName(), "Old", "New", "Second", TrashGenreName()}));
    EXPECT_EQ(project.Attributes, (std::vector<std::string>{"x", "y"}));
    EXPECT_EQ(project.Contents, (std::vector<std::string>{"z"}));
}

TEST(RkmImport, SkippedBlocksCreateNothing)
{
    Project project;
    const std::string text = RkmOf({{"<!-- start option -->", "\t1a=A", "<!-- end -->", "<!-- start macro -->",
        "\ttitle=t", "<!-- end -->", "<!-- start template -->", "\t@x=X", "<!-- end -->", "\t1b=B"}});
    const RkmImportResult result = ImportRkmText(project, text, kToday);
    EXPECT_EQ(result.stored, 0u);
    EXPECT_EQ(project.Genres.size(), 2u);
    EXPECT_TRUE(project.Attributes.empty());
}

TEST(RkmImport, FilesLinksByTheirFirstGenre)
{
    Project project;
    project.AddGenre("games");
    const std::string text
        = RkmOf({{"<!-- start category -->", "\t1g=Games", "\t1m=Music", "\t1t=【ゴミ箱】", "\t@x=X", "<!-- end -->"},
            Link("\ttitle=two genres", "\tcategory=@x/1m/1g"), Link("\ttitle=no genre", "\tcategory=@x"),
            Link("\ttitle=case", "\tcategory=1G"), Link("\ttitle=trash", "\tcategory=1t/1m")});
    ImportRkmText(project, text, kToday);

    ASSERT_EQ(project.Genres.size(), 4u);
    const std::vector<TLinkItem> unfiled = Items(project.Genres[0]);
    const std::vector<TLinkItem> games = Items(project.Genres[1]);
    const std::vector<TLinkItem> music = Items(project.Genres[2]);
    ASSERT_EQ(unfiled.size(), 2u);
    ASSERT_EQ(games.size(), 1u);
    ASSERT_EQ(music.size(), 1u);
    EXPECT_EQ(music[0].Title, "two genres");
    EXPECT_EQ(music[0].GenreName, "Music");
    EXPECT_EQ(unfiled[0].Title, "no genre");
    EXPECT_EQ(unfiled[0].GenreName, "");
    // A genre named like an existing one in other letters keeps its name
    // as read.
    EXPECT_EQ(games[0].GenreName, "Games");
    // The trash is never saved: such a link goes where the project reader
    // files its line.
    EXPECT_EQ(unfiled[1].Title, "trash");
    EXPECT_EQ(unfiled[1].GenreName, TrashGenreName());
    EXPECT_TRUE(project.Genres[3].Lines.empty());
}

TEST(RkmImport, PassesOverUndefinedCategoryKeys)
{
    Project project;
    const std::string text = RkmOf(
        {{"<!-- start category -->", "\t@x=X", "<!-- end -->"}, Link("\ttitle=early", "\tcategory=1late/@x//nothing"),
            {"<!-- start category -->", "\t1late=Late", "<!-- end -->"}, Link("\ttitle=after", "\tcategory=1late/@x")});
    const RkmImportResult result = ImportRkmText(project, text, kToday);

    EXPECT_EQ(result.stored, 2u);
    ASSERT_EQ(project.Genres.size(), 3u);
    ASSERT_EQ(project.Genres[0].Lines.size(), 1u);
    const TLinkItem early = LineToItem(project.Genres[0].Lines[0]);
    EXPECT_EQ(early.GenreName, "");
    EXPECT_EQ(early.Attributes, "X");
    ASSERT_EQ(project.Genres[1].Lines.size(), 1u);
    EXPECT_EQ(LineToItem(project.Genres[1].Lines[0]).Title, "after");
}

TEST(RkmImport, ReadsMultiLineComments)
{
    Project project;
    const std::string text = RkmOf({{"<!-- start link -->", "\ttitle=t", "\ttitle_kana=あ", "\tauthor_kana=い",
        "\tpage=p/", "\tcomment=replaced", "\tcomment={", "\tfirst", "", "// skipped too", "\t", "ソafter a character",
        "}", "\tupdate=not a date", "<!-- end -->"}});
    ImportRkmText(project, text, kToday);

    ASSERT_EQ(project.Genres[0].Lines.size(), 1u);
    const TLinkItem item = LineToItem(project.Genres[0].Lines[0]);
    EXPECT_EQ(item.Comment, SJ("replaced\r\nfirst\r\n\r\nafter a character\r\n"));
    EXPECT_EQ(item.Date, kToday);
}

// A link whose block or comment is never closed ends where the next block
// begins or the file ends; it is imported and named, never lost silently.
TEST(RkmImport, UnclosedLinksAreImportedAndNamed)
{
    Project project;
    const std::string text = RkmOf({{"<!-- start link -->", "\ttitle=unclosed", "\ttitle_kana=あ", "\tauthor_kana=い",
                                        "\tpage=p/"},
        {"<!-- start link -->", "\ttitle=comment runs into the end", "\ttitle_kana=あ", "\tauthor_kana=い", "\tpage=p/",
            "\tcomment={", "\tline", "<!-- end -->"},
        Link("\ttitle=stored"),
        {"<!-- start link -->", "\ttitle=comment into a category", "\ttitle_kana=あ", "\tauthor_kana=い",
            "\tpage=p/", "\tcomment={", "\tline", "<!-- start category -->", "\t1g=G", "<!-- end -->"},
        {"<!-- start link -->", "\ttitle=at the end of the file", "\ttitle_kana=あ", "\tauthor_kana=い", "\tpage=p/",
            "\tcomment={", "\tlast"}});
    const RkmImportResult result = ImportRkmText(project, text, kToday);

    EXPECT_EQ(result.stored, 5u);
    EXPECT_EQ(result.unclosed, (std::vector<std::string>{"unclosed", "comment runs into the end",
                                   "comment into a category", "at the end of the file"}));
    const std::vector<TLinkItem> items = Items(project.Genres[0]);
    ASSERT_EQ(items.size(), 5u);
    EXPECT_EQ(items[1].Comment, "line\r\n");
    EXPECT_EQ(items[4].Comment, "last\r\n");
    EXPECT_EQ(project.Genres.size(), 3u); // the category block was read
}

TEST(RkmImport, TheClosingMessageCountsAndNamesWhatHappened)
{
    Project project;
    project.Attributes = {"x"};
    const std::string text = RkmOf({{"<!-- start category -->", "\t1g=G", "\t@x=X", "\t@y=Y", "\tc=C", "\tc2=D",
                                        "\tc3=E", "<!-- end -->"},
        Link("\ttitle=in", "\tcategory=1g/nothing/@Y/Nothing/1late"),
        {"<!-- start link -->", "\ttitle=out", "\ttitle_kana=あ", "\tauthor_kana=い", "<!-- end -->"},
        {"<!-- start link -->", "\ttitle=open", "\ttitle_kana=あ", "\tauthor_kana=い", "\tpage=o/"}});
    const RkmImportResult result = ImportRkmText(project, text, kToday);

    EXPECT_EQ(result.unknownKeys, (std::vector<std::string>{"nothing", "1late"}));
    EXPECT_TRUE(RkmImportHasWarnings(result));
    EXPECT_EQ(RkmImportMessage(result),
        SJ("2 件のリンクを取り込みました (新しいジャンル 1 件, アトリビュート 1 件, コンテンツ 3 件).\r\n"
           "1 件のリンクは取り込みませんでした.\r\n"
           "\r\n次のリンクは取り込みませんでした:\r\n  out : ページURLがありません\r\n"
           "\r\n次のリンクは終わりの印がないまま終わっていましたが、取り込みました:\r\n  open\r\n"
           "\r\n次のカテゴリーキーは定義がないため無視しました:\r\n  nothing\r\n  1late"));
    const RkmImportResult clean = ImportRkmText(project, RkmOf({Link("\ttitle=t")}), kToday);
    EXPECT_FALSE(RkmImportHasWarnings(clean));
}

TEST(RkmImport, SplitsLinesAtEveryLineEnd)
{
    for (const std::string_view lineEnd : {"\r\n", "\n", "\r"}) {
        Project project;
        const std::string text = RkmOf({{"<!-- start link -->", "\ttitle=t", "\ttitle_kana=あ", "\tauthor_kana=い",
                                           "\tpage=p/", "<!-- end -->"}},
                                     lineEnd)
            + "<!-- start link -->\n\ttitle=u\r\ttitle_kana=" + SJ("う") + "\r\n\tauthor_kana=" + SJ("え")
            + "\n\tpage=q/\r<!-- end -->";
        const RkmImportResult result = ImportRkmText(project, text, kToday);
        EXPECT_EQ(result.stored, 2u) << "line end " << static_cast<int>(lineEnd.back());
    }
}

// Links the project reader would drop at the next open are reported, not
// stored, and take no serial.
TEST(RkmImport, RefusesLinksThatCannotBeRead)
{
    Project project;
    const std::string text
        = RkmOf({{"<!-- start link -->", "\ttitle=no page", "\ttitle_kana=あ", "\tauthor_kana=い", "<!-- end -->"},
            {"<!-- start link -->", "\ttitle=vu", "\ttitle_kana=Ａ", "\tauthor_kana=い", "\tpage=p/", "<!-- end -->"},
            {"<!-- start link -->", "\ttitle=dash first", "\ttitle_kana=あ", "\tauthor_kana=ーい", "\tpage=p/",
                "<!-- end -->"},
            {"<!-- start link -->", "\ttitle_kana=あ", "\tauthor_kana=い", "\tpage=p/", "<!-- end -->"},
            {"<!-- start link -->", "\ttitle=no author reading", "\ttitle_kana=あ", "\tpage=p/", "<!-- end -->"},
            Link("\ttitle=kept")});
    const RkmImportResult result = ImportRkmText(project, text, kToday);

    EXPECT_EQ(result.stored, 1u);
    ASSERT_EQ(result.refused.size(), 5u);
    EXPECT_EQ(result.refused[0].title, "no page");
    EXPECT_EQ(result.refused[0].problem, ItemProblem::UrlMissing);
    EXPECT_EQ(result.refused[1].problem, ItemProblem::TitleKanaNotHiragana);
    EXPECT_EQ(result.refused[2].problem, ItemProblem::AuthorKanaNotHiragana);
    EXPECT_EQ(result.refused[3].problem, ItemProblem::TitleMissing);
    EXPECT_EQ(result.refused[4].problem, ItemProblem::AuthorKanaMissing);
    EXPECT_EQ(project.SerialMax, 1);
    EXPECT_EQ(RkmImportMessage(result),
        SJ("1 件のリンクを取り込みました (新しいジャンル 0 件, アトリビュート 0 件, コンテンツ 0 件).\r\n"
           "5 件のリンクは取り込みませんでした.\r\n"
           "\r\n次のリンクは取り込みませんでした:"
           "\r\n  no page : ページURLがありません"
           "\r\n  vu : タイトルの読みを平仮名にできません"
           "\r\n  dash first : 作者名の読みを平仮名にできません"
           "\r\n  (無題) : タイトルがありません"
           "\r\n  no author reading : 作者名の読みがありません"));
}

TEST(RkmImport, AddressesThePagesCannotCarryAreRefused)
{
    Project project;
    const std::string text = RkmOf({Link("\ttitle=script", "\tpage=javascript:alert(1)"),
        Link("\ttitle=markup", "\tbanner=http://b.jp/\"><script>"),
        Link("\ttitle=banner script", "\tbanner=javascript://%0Aalert(1)"),
        Link("\ttitle=mail", "\tmail=a@b.jp\" onmouseover=\"alert(1)")});
    const RkmImportResult result = ImportRkmText(project, text, kToday);

    EXPECT_EQ(result.stored, 2u);
    ASSERT_EQ(project.Genres[0].Lines.size(), 2u);
    EXPECT_EQ(LineToItem(project.Genres[0].Lines[0]).Banner, "b.jp/%22%3E%3Cscript%3E");
    EXPECT_EQ(LineToItem(project.Genres[0].Lines[1]).Mail, "a@b.jp%22%20onmouseover=%22alert(1)");
    ASSERT_EQ(result.refused.size(), 2u);
    EXPECT_EQ(RkmRefusalReason(result.refused[0]), SJ("このアドレスは使えません: javascript:alert(1)"));
    EXPECT_EQ(result.refused[1].title, "banner script");
}

// Names end up in the search data file's records and in the project file's
// "/" lists: they obey the name rules of the editor.
TEST(RkmImport, NamesTheNameRulesRefuseAreMadeValidAndReported)
{
    Project project;
    const std::string text = sjis::ReplaceAll(RkmOf({{"<!-- start category -->", "\t1g=Ga\tmes", "\t@a=x|y",
                                                          "\tc=c\x1B" "d", "\tc2=e<FD>f", "\t1h=<FD>", "<!-- end -->"},
                                                  Link("\ttitle=t", "\tcategory=1h/1g/@a/c/c2")}),
        "<FD>", "\xFD");
    const RkmImportResult result = ImportRkmText(project, text, kToday);

    ASSERT_EQ(project.Genres.size(), 3u);
    EXPECT_EQ(project.Genres[1].Name, "Ga mes");
    EXPECT_EQ(project.Attributes, std::vector<std::string>{SJ("x｜y")});
    EXPECT_EQ(project.Contents, (std::vector<std::string>{"c d", "ef"}));
    ASSERT_EQ(project.Genres[1].Lines.size(), 1u);
    const TLinkItem item = LineToItem(project.Genres[1].Lines[0]);
    EXPECT_EQ(item.GenreName, "Ga mes");
    EXPECT_EQ(item.Attributes, SJ("x｜y"));
    EXPECT_EQ(item.Contents, "c d/ef");
    ASSERT_EQ(result.changedNames.size(), 5u);
    EXPECT_EQ(RkmChangedNameText(result.changedNames[2]), "c\\x1Bd -> c d");
    EXPECT_EQ(RkmChangedNameText(result.changedNames[4]), SJ("\\xFD -> (取り込みません)"));
}

TEST(RkmImport, SuggestsReadingsItCannotRepair)
{
    Project project;
    const test::FakeReadings readings;
    const std::string text
        = RkmOf({{"<!-- start link -->", "\ttitle=猫写真", "\tauthor=ねこ", "\tpage=p/", "<!-- end -->"},
            {"<!-- start link -->", "\ttitle=猫", "\ttitle_kana=Ａ", "\tauthor=鉄", "\tauthor_kana=ーい", "\tpage=q/",
                "<!-- end -->"},
            // A guess is taken and listed for checking; given readings are kept.
            {"<!-- start link -->", "\ttitle=Web猫", "\tauthor=猫", "\tpage=r/", "<!-- end -->"},
            {"<!-- start link -->", "\ttitle=猫", "\ttitle_kana=カ", "\tauthor=猫", "\tauthor_kana=か", "\tpage=s/",
                "<!-- end -->"},
            // No author name: his reading is the title's.
            {"<!-- start link -->", "\ttitle=猫", "\tpage=t/", "<!-- end -->"},
            // A title of symbols only is read from the site's name, a guess.
            {"<!-- start link -->", "\ttitle=★★", "\tpage=www.neko.example.jp/", "<!-- end -->"}});
    const RkmImportResult result = ImportRkmText(project, text, kToday, {}, &readings);

    EXPECT_EQ(result.stored, 6u);
    EXPECT_TRUE(result.refused.empty());
    const std::vector<std::string>& lines = project.Genres[0].Lines;
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(LineToItem(lines[4]).AuthorKana, SJ("ねこ"));
    EXPECT_EQ(LineToItem(lines[5]).TitleKana, SJ("ねこ"));
    EXPECT_EQ(LineToItem(lines[0]).TitleKana, SJ("ねこしゃしん"));
    EXPECT_EQ(LineToItem(lines[0]).AuthorKana, SJ("ねこ"));
    EXPECT_EQ(LineToItem(lines[1]).TitleKana, SJ("ねこ"));
    EXPECT_EQ(LineToItem(lines[1]).AuthorKana, SJ("てつ"));
    EXPECT_EQ(LineToItem(lines[2]).TitleKana, SJ("だぶりゅういいびいねこ"));
    EXPECT_EQ(LineToItem(lines[3]).TitleKana, SJ("か"));
    ASSERT_EQ(result.doubtfulReadings.size(), 2u);
    EXPECT_EQ(result.doubtfulReadings[0].serial, LineToItem(lines[2]).Serial);
    EXPECT_TRUE(result.doubtfulReadings[0].complete);
    EXPECT_EQ(result.doubtfulReadings[1].serial, LineToItem(lines[5]).Serial);
}

TEST(RkmImport, MissingFileChangesNothing)
{
    const test::TempDir dir;
    Project project;
    const RkmImportResult result = ImportRkmFile(project, dir / "missing.TSM", kToday);
    EXPECT_EQ(result.status, RkmImportResult::Status::NotFound);
    EXPECT_FALSE(project.IsEditing);
}

struct ReadingCase {
    const char* typed;
    const char* repaired;
};

class ReadingRepair : public testing::TestWithParam<ReadingCase> { };

TEST_P(ReadingRepair, MakesWhatItCanHiragana)
{
    EXPECT_EQ(RepairReading(SJ(GetParam().typed)), SJ(GetParam().repaired));
}

INSTANTIATE_TEST_SUITE_P(Kana, ReadingRepair,
    testing::Values(ReadingCase{"ひらがな", "ひらがな"}, ReadingCase{"ァアイヴ", "ぁあいぶ"}, ReadingCase{"ヴァヴィヴゥヴェヴォ", "ばびぶべぼ"},
        ReadingCase{"ヴーヴゃ", "ぶうぶゃ"}, ReadingCase{"ヵヶ月", "かけ月"},
        ReadingCase{"ミム", "みむ"}, ReadingCase{"ヲン", "をん"},
        ReadingCase{"カーキークーケーコー", "かあきいくうけえこお"}, ReadingCase{"じゃーにー", "じゃあにい"},
        ReadingCase{"ッー", "っう"}, ReadingCase{"ゑー", "ゑえ"}, ReadingCase{"らーー", "らああ"},
        ReadingCase{"ーあ", "ーあ"}, ReadingCase{"んー", "んー"}, ReadingCase{"Aー", "Aー"}, ReadingCase{"ｱｰ", "ｱｰ"},
        ReadingCase{"", ""}));

} // namespace
