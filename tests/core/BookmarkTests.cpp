#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

#include "core/collection/LinkItem.h"
#include "core/collection/Project.h"
#include "core/reading/ReadingService.h"
#include "support/FakeReadings.h"
#include "support/TempDir.h"
#include "core/text/Codepage.h"
#include "core/text/Kana.h"
#include "core/text/Url.h"
#include "core/tools/BookmarkFile.h"
#include "core/tools/BookmarkImport.h"
#include "core/tools/DuplicateLinks.h"

namespace tessaly {
namespace {

std::string DataFile(const char* name)
{
    return test::ReadFile(std::filesystem::path(TESSALY_TEST_DATA_DIR) / "bookmarks" / name);
}

// Dates are local days; the tests fix the zone to Japan's.
class Bookmarks : public ::testing::Test {
protected:
    void SetUp() override
    {
        const char* zone = std::getenv("TZ");
        oldZone_ = zone ? std::optional<std::string>(zone) : std::nullopt;
        setenv("TZ", "JST-9", 1);
        tzset();
    }
    void TearDown() override
    {
        if (oldZone_) {
            setenv("TZ", oldZone_->c_str(), 1);
        } else {
            unsetenv("TZ");
        }
        tzset();
    }

    std::optional<std::string> oldZone_;
    test::FakeReadings readings_;
    FixedClock clock_{*EncodeDateTime({2024, 4, 1})};
};

std::vector<std::string> Titles(const BookmarkFile& file)
{
    std::vector<std::string> titles;
    for (const Bookmark& bookmark : file.bookmarks) {
        titles.push_back(bookmark.title);
    }
    return titles;
}

TEST_F(Bookmarks, ReadsFirefoxExport)
{
    const BookmarkFile file = ReadBookmarkFile(DataFile("firefox.html"));
    ASSERT_TRUE(file.isBookmarkFile);
    ASSERT_EQ(file.bookmarks.size(), 6u);
    const Bookmark& neko = file.bookmarks[0];
    EXPECT_EQ(neko.title, "猫の写真館");
    EXPECT_EQ(neko.url, "https://www.example.jp/neko/");
    EXPECT_EQ(neko.tags, "猫,写真");
    EXPECT_EQ(neko.description, "毎日更新 & 写真多め");
    EXPECT_EQ(neko.addDate, 1700000000);
    EXPECT_TRUE(neko.folders.empty());
    // The toolbar's description holds its list; the list still belongs to it.
    EXPECT_EQ(file.bookmarks[1].folders.Names(), std::vector<std::string>{"ブックマークツールバー"});
    EXPECT_EQ(file.bookmarks[1].description, "");
    EXPECT_EQ(file.bookmarks[2].folders.Names(), (std::vector<std::string>{"ブックマークツールバー", "ゲーム"}));
    EXPECT_EQ(file.bookmarks[2].tags, "攻略");
    EXPECT_EQ(file.bookmarks[3].url, "javascript:alert(1)");
    EXPECT_EQ(file.bookmarks[4].url, "place:parent=menu________&queryType=1");
    EXPECT_TRUE(file.bookmarks[4].folders.empty());
    EXPECT_EQ(file.bookmarks[5].folders.Names(), std::vector<std::string>{"他のブックマーク"});
}

TEST_F(Bookmarks, ReadsChromiumExport)
{
    const BookmarkFile file = ReadBookmarkFile(DataFile("chromium.html"));
    ASSERT_TRUE(file.isBookmarkFile);
    EXPECT_EQ(Titles(file), (std::vector<std::string>{"猫の写真館", "手作りパンの店", "和菓子の作り方"}));
    EXPECT_EQ(file.bookmarks[2].folders.Names(), (std::vector<std::string>{"ブックマーク バー", "料理", "和菓子"}));
    EXPECT_EQ(file.bookmarks[1].folders.Names(), (std::vector<std::string>{"ブックマーク バー", "料理"}));
}

TEST_F(Bookmarks, ReadsBrokenAndOddMarkup)
{
    const struct {
        const char* html;
        std::vector<std::string> titles;
        std::vector<std::string> lastFolders;
    } cases[] = {
        // No end tags at all, folders still nest.
        {"<DL><DT><H3>A</H3><DL><DT><A HREF='http://a/'>one</A><DT><H3>B</H3><DL><DT><A HREF=http://b/>two",
            {"one", "two"}, {"A", "B"}},
        // A stray </DL> closes nothing that is not open.
        {"<DL><p></DL></DL><DT><A HREF='http://a/'>x</A>", {"x"}, {}},
        // Missing HREF: not a bookmark.
        {"<DL><DT><A NAME=top>anchor</A><DT><A HREF=''>empty</A></DL>", {"empty"}, {}},
        // Line breaks and entities in a title.
        {"<DL><DT><A HREF=http://a/>  Tom\n &amp;\tJerry  </A></DL>", {"Tom & Jerry"}, {}},
        // A folder name without a list names nothing.
        {"<DL><DT><H3>lost</H3><DT><A HREF=http://a/>x</A></DL>", {"x"}, {}},
        {"", {}, {}},
        {"<DL><DL><DL><DT><A HREF=http://a/>deep", {"deep"}, {}},
        // An unknown element that begins like <H3> names no folder.
        {"<DL><DT><H3_X>f</H3_X><DL><DT><A HREF=http://a/>x</A></DL></DL>", {"x"}, {}},
    };
    for (const auto& c : cases) {
        const BookmarkFile file = ReadBookmarkFile(c.html);
        EXPECT_EQ(Titles(file), c.titles) << c.html;
        if (!file.bookmarks.empty()) {
            EXPECT_EQ(file.bookmarks.back().folders.Names(), c.lastFolders) << c.html;
        }
    }
}

// Character references and line ends read the way a browser reads them,
// whether the file is plain enough to be read without the HTML parser or not.
TEST_F(Bookmarks, ReadsReferencesAndLineEndsAsABrowserDoes)
{
    const struct {
        const char* html;
        const char* title;
        const char* url;
        const char* description;
    } cases[] = {
        {"<DL><DT><A HREF=\"http://a/?s=&amp;&#12354;&#x41;\">x &lt;y&gt; &#39;z&#39;</A>\r\n<DD>one\r\ntwo\r</DL>",
            "x <y> 'z'", "http://a/?s=&あA", "one\ntwo"},
        // Only the first of two HREFs counts; "&b" in an address is no reference.
        {"<DL><DT><A HREF=\"http://a/?x=1&b=2\" HREF=\"http://b/\">x</A></DL>", "x", "http://a/?x=1&b=2", ""},
        // Old entity names need no ";".
        {"<DL><DT><A HREF=http://a/>&notit; &copy</A></DL>", "¬it; ©", "http://a/", ""},
        // A description is the text of the <DD> itself.
        {"<DL><DT><A HREF=http://a/>x</A><DD>d<b>bold</b> more</DL>", "x", "http://a/", "d more"},
    };
    for (const auto& c : cases) {
        const BookmarkFile file = ReadBookmarkFile(c.html);
        ASSERT_EQ(file.bookmarks.size(), 1u) << c.html;
        EXPECT_EQ(file.bookmarks[0].title, c.title) << c.html;
        EXPECT_EQ(file.bookmarks[0].url, c.url) << c.html;
        EXPECT_EQ(file.bookmarks[0].description, c.description) << c.html;
    }
}

// The HTML parser's tree costs stack and time with its depth: markup
// nested deeper than any browser writes is refused before it is built.
TEST_F(Bookmarks, MarkupNestedTooDeepIsRefused)
{
    const auto repeat = [](std::string_view text, std::size_t times) {
        std::string repeated;
        for (std::size_t i = 0; i < times; ++i) {
            repeated += text;
        }
        return repeated;
    };
    const std::string link = "<DL><DT><A HREF=\"http://a/\">";
    EXPECT_TRUE(ReadBookmarkFile(link + repeat("<b>", 300'000) + "x</A></DL>").tooDeep);
    EXPECT_TRUE(ReadBookmarkFile(repeat("<DL><p><DT><H3>f</H3>", kMostBookmarkNesting + 1)).tooDeep);
    // Elements whose end the parser infers, and elements closed again, add
    // no depth; nor does markup inside comments and scripts.
    const BookmarkFile wide = ReadBookmarkFile("<DL>" + repeat("<DT><A HREF=\"http://a/\">x<p><b>y</b>", 20'000)
        + "<!--" + repeat("<b>", 20'000) + "--><script>" + repeat("<b>", 20'000) + "</SCRIPT></DL>");
    EXPECT_FALSE(wide.tooDeep);
    EXPECT_EQ(wide.bookmarks.size(), 20'000u);
    const BookmarkFile nested = ReadBookmarkFile(repeat("<DL><p><DT><H3>f</H3>", 2'000) + "<DL><DT><A HREF=http://a/>x");
    ASSERT_EQ(nested.bookmarks.size(), 1u);
    EXPECT_EQ(nested.bookmarks[0].folders.Names().size(), 2'000u);
}

TEST_F(Bookmarks, KnowsABookmarkFile)
{
    EXPECT_TRUE(ReadBookmarkFile("<!DOCTYPE NETSCAPE-Bookmark-file-1>").isBookmarkFile);
    EXPECT_TRUE(ReadBookmarkFile("<dl><dt><a href=http://a/>a</a></dl>").isBookmarkFile);
    EXPECT_FALSE(ReadBookmarkFile("<!DOCTYPE html><p><a href=http://a/>a</a>").isBookmarkFile);
    EXPECT_FALSE(ReadBookmarkFile(std::string("\x00\xFF\xFE garbage", 11)).isBookmarkFile);
}

TEST_F(Bookmarks, ReadsByteOrderMarkAndShiftJis)
{
    const std::string body = "<DL><DT><A HREF=http://a/>猫</A></DL>";
    EXPECT_EQ(Titles(ReadBookmarkFile("\xEF\xBB\xBF" + body)), std::vector<std::string>{"猫"});
    EXPECT_EQ(Titles(ReadBookmarkFile(Utf8ToSjis(body).text)), std::vector<std::string>{"猫"});
}

TEST_F(Bookmarks, DateUnits)
{
    const struct {
        const char* text;
        std::optional<int64_t> seconds;
    } cases[] = {
        {"1700000000", 1700000000},
        {"1700000000123", 1700000000}, // milliseconds
        {"1700000000123456", 1700000000}, // microseconds
        {"0", std::nullopt},
        {"", std::nullopt},
        {"-5", std::nullopt},
        {"12x", std::nullopt},
        {"99999999999999999999999", std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(BookmarkDate(c.text), c.seconds) << c.text;
    }
}

TEST(UrlIdentity, SamePageAfterNormalisation)
{
    const struct {
        const char* a;
        const char* b;
        bool same;
    } cases[] = {
        {"www.example.jp/", "https://example.jp", true},
        {"Example.JP/dir/index.html", "example.jp/dir/", true},
        {"example.jp/dir/index.htm", "http://WWW.example.jp/dir", true},
        {"example.jp/index.html", "example.jp", true},
        {"example.jp/Dir/", "example.jp/dir/", false}, // paths keep their case
        {"example.jp/a?x=1", "example.jp/a/?x=1", true},
        {"example.jp/a?x=1", "example.jp/a?x=2", false},
        {"example.jp/myindex.html", "example.jp/my", false},
        {"wwwexample.jp/", "example.jp/", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(UrlIdentity(c.a) == UrlIdentity(c.b), c.same) << c.a << " " << c.b;
    }
}

TEST(NearestShiftJis, ReplacesOrNamesWhatTheCodePageLacks)
{
    const struct {
        const char* utf8;
        const char* sjisAsUtf8;
        std::vector<std::string> leftOut;
    } cases[] = {
        {"猫〜犬", "猫～犬", {}}, // the JIS wave dash
        {"a⁓b∼c", "a～b～c", {}}, // the rest of the wave family
        {"a–b", "a－b", {}},
        {"Café", "Cafe", {}},
        {"ﬁle", "file", {}},
        {"\u00A0x", " x", {}},
        {"🎮ゲーム", "ゲーム", {"🎮"}},
        {"a\xFF" "b", "ab", {"0xFF"}},
    };
    for (const auto& c : cases) {
        const NearestConversion converted = Utf8ToSjisNearest(c.utf8);
        EXPECT_EQ(SjisToUtf8Lossy(converted.text), c.sjisAsUtf8) << c.utf8;
        EXPECT_EQ(converted.leftOut, c.leftOut) << c.utf8;
    }
}

TEST_F(Bookmarks, ImportsFoldersTagsDatesAndReadings)
{
    Project project;
    const BookmarkFile file = ReadBookmarkFile(DataFile("firefox.html"));
    const BookmarkImportReport report = ImportBookmarks(project, file.bookmarks, readings_, clock_);
    EXPECT_EQ(report.stored, 4u);
    EXPECT_EQ(report.newGenres, 3u);
    EXPECT_EQ(report.duplicates, 0u);
    ASSERT_EQ(report.notStored.size(), 2u);
    EXPECT_EQ(report.notStored[0].why, BookmarkImportReport::Refusal::NotAWebAddress);
    EXPECT_EQ(report.notStored[1].why, BookmarkImportReport::Refusal::NotAWebAddress);
    EXPECT_EQ(project.SerialMax, 4);
    EXPECT_TRUE(project.IsEditing);
    ASSERT_EQ(project.Genres.size(), 5u);
    EXPECT_EQ(SjisToUtf8Lossy(project.Genres[1].Name), "ブックマークツールバー");
    EXPECT_EQ(SjisToUtf8Lossy(project.Genres[2].Name), "ゲーム");
    EXPECT_EQ(SjisToUtf8Lossy(project.Genres[3].Name), "他のブックマーク");
    EXPECT_EQ(project.Attributes, (std::vector<std::string>{SJ("猫"), SJ("写真"), SJ("攻略")}));

    ASSERT_EQ(project.Genres[0].Lines.size(), 1u);
    const TLinkItem neko = LineToItem(project.Genres[0].Lines[0]);
    EXPECT_EQ(neko.Serial, 1);
    EXPECT_EQ(neko.GenreName, "");
    EXPECT_EQ(SjisToUtf8Lossy(neko.Title), "猫の写真館");
    EXPECT_EQ(SjisToUtf8Lossy(neko.TitleKana), "ねこのしゃしんかん");
    EXPECT_EQ(neko.AuthorKana, neko.TitleKana);
    EXPECT_EQ(neko.Url, "https://www.example.jp/neko/"); // https keeps its scheme
    EXPECT_EQ(SjisToUtf8Lossy(neko.Attributes), "猫/写真");
    EXPECT_EQ(SjisToUtf8Lossy(neko.Comment), "毎日更新 &amp; 写真多め");
    EXPECT_EQ(DateTimeToText(neko.Date), "2023/11/15"); // 1700000000 is 07:13 on the 15th in Japan

    const TLinkItem tetsudo = LineToItem(project.Genres[1].Lines.at(0));
    EXPECT_EQ(tetsudo.Url, "tetsudo.example.ne.jp/"); // http:// is not stored
    EXPECT_EQ(SjisToUtf8Lossy(tetsudo.TitleKana), "てつどうしゃしんかん");
    // The fake cannot read 攻略, 部屋, 山, 歩, 記録.
    ASSERT_EQ(report.doubtfulReadings.size(), 2u);
    EXPECT_EQ(SjisToUtf8Lossy(report.doubtfulReadings[0].reading), "げえむの");
    EXPECT_FALSE(report.doubtfulReadings[0].complete);
}

TEST_F(Bookmarks, GenreSources)
{
    const BookmarkFile file = ReadBookmarkFile(DataFile("chromium.html"));
    const struct {
        GenreSource source;
        std::vector<const char*> genres;
    } cases[] = {
        {GenreSource::Folder, {"【未整理】", "ブックマーク バー", "料理", "和菓子", "【ゴミ箱】"}},
        {GenreSource::TopFolder, {"【未整理】", "ブックマーク バー", "【ゴミ箱】"}},
        {GenreSource::None, {"【未整理】", "【ゴミ箱】"}},
    };
    for (const auto& c : cases) {
        Project project;
        const BookmarkImportReport report = ImportBookmarks(project, file.bookmarks, readings_, clock_, c.source);
        EXPECT_EQ(report.stored, 3u);
        std::vector<std::string> genres;
        for (const Genre& genre : project.Genres) {
            genres.push_back(SjisToUtf8Lossy(genre.Name));
        }
        EXPECT_EQ(genres, std::vector<std::string>(c.genres.begin(), c.genres.end()));
    }
}

TEST_F(Bookmarks, FolderNamesTheGenreRulesRefuseAreMadeValid)
{
    Project project;
    project.AddGenre(SJ("ねこ"));
    const std::vector<Bookmark> bookmarks = {
        {{"a|b"}, "ねこ", "http://1/", "", "", {}},
        {{"   "}, "ねこ", "http://2/", "", "", {}},
        {{"【ゴミ箱】"}, "ねこ", "http://3/", "", "", {}},
        {{"NEKO\x01"}, "ねこ", "http://4/", "", "", {}},
        {{"【未整理】"}, "ねこ", "http://5/", "", "", {}},
        {{"ねこ"}, "ねこ", "http://6/", "x|y, ,z", "", {}},
        // Names go into the pages as they are: no markup gets in with them.
        {{"<img src=x onerror=alert(1)> & \"q\""}, "ねこ", "http://7/", "a<b>", "", {}},
    };
    const BookmarkImportReport report = ImportBookmarks(project, bookmarks, readings_, clock_);
    EXPECT_EQ(report.stored, 7u);
    std::vector<std::string> genres;
    for (const Genre& genre : project.Genres) {
        genres.push_back(SjisToUtf8Lossy(genre.Name));
    }
    EXPECT_EQ(genres, (std::vector<std::string>{"【未整理】", "ねこ", "a｜b", "ゴミ箱", "NEKO",
                          "＜img src=x onerror=alert(1)＞ ＆ ”q”", "【ゴミ箱】"}));
    ASSERT_EQ(report.changedGenres.size(), 5u);
    EXPECT_EQ(SjisToUtf8Lossy(report.changedGenres[1].stored), "【未整理】");
    EXPECT_EQ(project.Genres[0].Lines.size(), 2u);
    EXPECT_TRUE(project.Genres.back().Lines.empty()); // nothing into the trash
    EXPECT_EQ(SjisToUtf8Lossy(LineToItem(project.Genres[1].Lines[0]).Attributes), "x｜y/z");
    ASSERT_EQ(report.changedAttributes.size(), 2u);
    EXPECT_EQ(report.changedAttributes[0].given, "x|y");
    EXPECT_EQ(SjisToUtf8Lossy(project.Attributes.back()), "a＜b＞");
}

TEST_F(Bookmarks, DuplicatesNotStoredAndWhatCannotBeReadIsReported)
{
    Project project;
    TLinkItem existing = NewLinkItem(clock_);
    existing.Serial = project.NextSerial().value();
    existing.Title = existing.TitleKana = existing.AuthorKana = SJ("ねこ");
    existing.Url = "example.jp/";
    project.Genres[0].Lines.push_back(ItemToLine(existing));
    const std::vector<Bookmark> bookmarks = {
        {{}, "ねこ", "https://www.Example.jp/index.html", "", "", {}}, // the existing one
        {{}, "いぬ", "http://inu.jp/", "", "", {}},
        {{}, "いぬ2", "http://inu.jp", "", "", {}}, // the one just stored
        {{}, "Google", "https://google.com/", "", "", {}},
        {{}, "", "https://notitle.jp/", "", "", {}},
        {{}, "Web猫", "https://web.jp/", "", "", {}},
        {{}, "🎮ゲーム〜", "https://game.jp/", "", "説明🎲", {}},
        {{}, "ふぁいる", "FTP://files.jp/pub", "", "", {}},
        {{}, "日本語アドレス", "http://例え.jp/パス", "", "", {}},
        {{}, "no date", "mailto:a@b", "", "", {}},
    };
    const BookmarkImportReport report = ImportBookmarks(project, bookmarks, readings_, clock_);
    EXPECT_EQ(report.duplicates, 2u);
    EXPECT_EQ(report.stored, 5u);
    ASSERT_EQ(report.notStored.size(), 3u);
    EXPECT_EQ(report.notStored[0].why, BookmarkImportReport::Refusal::NoTitle);
    EXPECT_EQ(report.notStored[1].why, BookmarkImportReport::Refusal::NotAWebAddress);
    EXPECT_EQ(report.notStored[1].bookmark.title, "ふぁいる");
    EXPECT_EQ(report.notStored[2].why, BookmarkImportReport::Refusal::NotAWebAddress);
    // Latin letters are read by rule and never keep a link out; guesses
    // and partial readings are listed for checking.
    const struct {
        const char* title;
        const char* reading;
        bool complete;
    } doubtful[] = {
        {"Google", "じいおおおおじいえるいい", true},
        {"Web猫", "だぶりゅういいびいねこ", true},
        {"日本語アドレス", "あどれす", false},
    };
    ASSERT_EQ(report.doubtfulReadings.size(), std::size(doubtful));
    for (std::size_t i = 0; i < std::size(doubtful); ++i) {
        EXPECT_EQ(SjisToUtf8Lossy(report.doubtfulReadings[i].title), doubtful[i].title);
        EXPECT_EQ(SjisToUtf8Lossy(report.doubtfulReadings[i].reading), doubtful[i].reading);
        EXPECT_EQ(report.doubtfulReadings[i].complete, doubtful[i].complete);
    }
    ASSERT_EQ(report.lostCharacters.size(), 1u);
    EXPECT_EQ(report.lostCharacters[0].characters, (std::vector<std::string>{"🎮", "🎲"}));
    const auto& lines = project.Genres[0].Lines;
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(SjisToUtf8Lossy(LineToItem(lines[4]).Title), "ゲーム～");
    EXPECT_EQ(DateTimeToText(LineToItem(lines[4]).Date), "2024/04/01"); // no date: today
    EXPECT_EQ(LineToItem(lines[5]).Url, "%E4%BE%8B%E3%81%88.jp/%E3%83%91%E3%82%B9");
    for (const std::string& line : lines) {
        EXPECT_TRUE(IsValidItemLine(line)) << line;
    }
}

// The entities of the file are the characters they stand for: a quote in
// an address must not end href="..." on the owner's pages.
TEST_F(Bookmarks, AddressesTakeNoMarkupAndNoUserInfo)
{
    Project project;
    const BookmarkFile file = ReadBookmarkFile("<DL><DT><A HREF=\"http://q.jp/&quot;onmouseover=alert(1)\">ねこ</A>"
                                               "<DT><A HREF=\"http://mailto:x@host.example/\">いぬ</A>"
                                               "<DT><A HREF=\"javascript:alert(1)\">とり</A></DL>");
    const BookmarkImportReport report = ImportBookmarks(project, file.bookmarks, readings_, clock_);
    ASSERT_EQ(report.stored, 2u);
    EXPECT_EQ(LineToItem(project.Genres[0].Lines[0]).Url, "q.jp/%22onmouseover=alert(1)");
    EXPECT_EQ(LineToItem(project.Genres[0].Lines[1]).Url, "host.example/");
    ASSERT_EQ(report.notStored.size(), 1u);
    EXPECT_EQ(report.notStored[0].why, BookmarkImportReport::Refusal::NotAWebAddress);
}

// Someone else's description must not run as markup on the owner's site.
TEST_F(Bookmarks, DescriptionsArePlainText)
{
    Project project;
    const BookmarkFile file = ReadBookmarkFile("<DL><DT><A HREF=\"http://n.jp/\">ねこ</A>"
                                               "<DD>&lt;script&gt;alert(\"x\")&lt;/script&gt; &amp;amp; <b>bold</b></DL>");
    ImportBookmarks(project, file.bookmarks, readings_, clock_);
    ASSERT_EQ(project.Genres[0].Lines.size(), 1u);
    EXPECT_EQ(LineToItem(project.Genres[0].Lines[0]).Comment,
        "&lt;script&gt;alert(&quot;x&quot;)&lt;/script&gt; &amp;");
}

TEST_F(Bookmarks, ExportsExactBytes)
{
    Project project;
    const std::size_t games = project.AddGenre(SJ("ゲーム & 遊び"));
    project.AddGenre(SJ("空"));
    TLinkItem item = NewLinkItem(clock_, project.Genres[games].Name);
    item.Serial = 7;
    item.Title = SJ("攻略 <本>");
    item.TitleKana = item.AuthorKana = SJ("こうりゃく");
    item.Url = "game.example.jp/a?b=1&c=2";
    item.Attributes = SJ("新着/a&amp;b/x,y");
    item.Date = *EncodeDateTime({2024, 1, 2, 3, 4, 5});
    item.Comment = SJ("一行目\r\n\"二行目\"");
    project.Genres[games].Lines.push_back(ItemToLine(item));
    item.Url = "https://secure.example.jp/";
    item.Attributes.clear();
    item.Comment.clear();
    item.Date = *EncodeDateTime({2024, 1, 2});
    project.Genres[games].Lines.push_back(ItemToLine(item));
    project.Genres.back().Lines.push_back(ItemToLine(item)); // the trash is not exported

    const BookmarkExport exported = WriteBookmarkFile(project);
    EXPECT_EQ(exported.text,
        "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n"
        "<!-- This is an automatically generated file.\n"
        "     It will be read and overwritten.\n"
        "     DO NOT EDIT! -->\n"
        "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=UTF-8\">\n"
        "<TITLE>Bookmarks</TITLE>\n"
        "<H1>Bookmarks</H1>\n"
        "<DL><p>\n"
        "    <DT><H3>ゲーム &amp; 遊び</H3>\n"
        "    <DL><p>\n"
        "        <DT><A HREF=\"http://game.example.jp/a?b=1&amp;c=2\" ADD_DATE=\"1704132245\" "
        "TAGS=\"新着,a&amp;b,x，y\">攻略 &lt;本&gt;</A>\n"
        "        <DD>一行目\n&quot;二行目&quot;\n"
        "        <DT><A HREF=\"https://secure.example.jp/\" ADD_DATE=\"1704121200\">攻略 &lt;本&gt;</A>\n"
        "    </DL><p>\n"
        "    <DT><H3>空</H3>\n"
        "    <DL><p>\n"
        "    </DL><p>\n"
        "</DL><p>\n");
    EXPECT_EQ(exported.tagsWithComma, std::vector<std::string>{SJ("x,y")});
}

TEST_F(Bookmarks, ExportAndImportRoundTrip)
{
    Project original;
    const std::size_t first = original.AddGenre(SJ("ねこ"));
    const std::size_t second = original.AddGenre(SJ("いぬ"));
    original.Attributes = {SJ("あ"), SJ("い")};
    const struct {
        std::size_t genre;
        const char* title;
        const char* url;
        const char* attributes;
        const char* comment;
        DateParts date;
    } items[] = {
        {0, "みけ", "unfiled.jp/", "", "", {2001, 2, 3}},
        {first, "たま", "https://tama.jp/", "あ/い", "かわいい\r\n二行目", {2010, 12, 31}},
        {first, "くろ", "kuro.jp/x?a=1&b=2", "い", "黒猫 &amp; &lt;b&gt;", {1999, 1, 1}},
        {second, "ぽち", "pochi.jp/", "あ", "", {2024, 2, 29}},
    };
    for (const auto& entry : items) {
        TLinkItem item = NewLinkItem(clock_, entry.genre == 0 ? "" : original.Genres[entry.genre].Name);
        item.Serial = original.NextSerial().value();
        item.Title = item.TitleKana = item.AuthorKana = SJ(entry.title);
        item.Url = entry.url;
        item.Attributes = SJ(entry.attributes);
        item.Comment = SJ(entry.comment);
        item.Date = *EncodeDateTime(entry.date);
        original.Genres[entry.genre].Lines.push_back(ItemToLine(item));
    }

    Project imported;
    const BookmarkFile file = ReadBookmarkFile(WriteBookmarkFile(original).text);
    const BookmarkImportReport report = ImportBookmarks(imported, file.bookmarks, readings_, clock_);
    EXPECT_EQ(report.stored, 4u);
    EXPECT_TRUE(report.notStored.empty());
    EXPECT_TRUE(report.changedGenres.empty());
    ASSERT_EQ(imported.Genres.size(), original.Genres.size());
    EXPECT_EQ(imported.Attributes, original.Attributes);
    for (std::size_t genre = 0; genre < original.Genres.size(); ++genre) {
        EXPECT_EQ(imported.Genres[genre].Name, original.Genres[genre].Name);
        ASSERT_EQ(imported.Genres[genre].Lines.size(), original.Genres[genre].Lines.size());
        for (std::size_t i = 0; i < original.Genres[genre].Lines.size(); ++i) {
            EXPECT_EQ(imported.Genres[genre].Lines[i], original.Genres[genre].Lines[i]);
        }
    }
}

TEST(DuplicateLinks, SamePagesAcrossGenresStandTogether)
{
    Project project;
    const std::size_t other = project.AddGenre(SJ("他"));
    const FixedClock clock(*EncodeDateTime({2024, 4, 1}));
    const auto add = [&](std::size_t genre, const char* url) {
        TLinkItem item = NewLinkItem(clock, genre == 0 ? "" : project.Genres[genre].Name);
        item.Serial = project.NextSerial().value();
        item.Title = item.TitleKana = item.AuthorKana = SJ("あ");
        item.Url = url;
        project.Genres[genre].Lines.push_back(ItemToLine(item));
    };
    add(0, "a.jp/");
    add(0, "b.jp/x/");
    add(other, "https://www.A.jp/index.html");
    add(other, "c.jp/");
    add(other, "b.jp/x/index.htm");
    add(0, "a.jp");
    add(project.TrashIndex(), "c.jp/"); // the trash does not count

    EXPECT_EQ(FindDuplicateLinks(project),
        (std::vector<std::vector<LinePlace>>{{{0, 0}, {0, 2}, {other, 0}}, {{0, 1}, {other, 2}}}));
    const std::vector<std::string> found = ExtractDuplicateItems(project);
    std::vector<int32_t> serials;
    for (const std::string& line : found) {
        serials.push_back(LineToItem(line).Serial);
    }
    EXPECT_EQ(serials, (std::vector<int32_t>{1, 6, 3, 2, 5}));
    EXPECT_TRUE(project.Genres[0].Lines.empty());
    ASSERT_EQ(project.Genres[other].Lines.size(), 1u);
    EXPECT_EQ(LineToItem(project.Genres[other].Lines[0]).Url, "c.jp/");
    EXPECT_TRUE(FindDuplicateLinks(project).empty());
}

} // namespace
} // namespace tessaly
