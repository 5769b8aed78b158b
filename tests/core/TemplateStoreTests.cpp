#include <gtest/gtest.h>

#include <algorithm>

#include "core/templates/Resources.h"
#include "core/templates/TemplateEditFile.h"
#include "core/templates/TemplateEngine.h"
#include "core/templates/TemplateKeywords.h"
#include "core/templates/TemplateList.h"
#include "core/text/Codepage.h"

using namespace tessaly;

namespace {

std::size_t Count(std::string_view text, std::string_view what)
{
    std::size_t n = 0;
    for (std::size_t pos = text.find(what); pos != std::string_view::npos; pos = text.find(what, pos + what.size())) {
        ++n;
    }
    return n;
}

// A file as an editor leaves it: the comment lines, then the given lines.
std::string EditedFile(std::initializer_list<std::string> lines)
{
    std::string file = "<!--\r\n" + SJ("Tessaly が自動的に挿入しているコメントを編集しないで下さい.") + "\r\n"
        + SJ("編集終了後にテンプレートを正しく解釈できなくなる可能性があります.") + "\r\n-->\r\n";
    for (const std::string& line : lines) {
        file += line + "\r\n";
    }
    return file;
}

} // namespace

// The reference list: 41 rows in code page 932, CR LF ended, in the order
// the dialog shows them.
TEST(TemplateKeywords, ResourceRows)
{
    const std::string_view resource = resources::TEMPLATE_KEYWORD;
    EXPECT_EQ(Count(resource, "\r\n"), 41u);
    EXPECT_EQ(Count(resource, "\n"), 41u);
    EXPECT_EQ(Count(resource, "\t"), 41u * 3);
    EXPECT_TRUE(resource.ends_with("\r\n"));
    EXPECT_TRUE(resource.starts_with(
        "%title;\t" + SJ("本体のみ") + "\t" + SJ("キーワード") + "\t" + SJ("ページタイトル") + "\r\n%author;\t"));

    const std::vector<TemplateKeyword>& rows = TemplateKeywords();
    ASSERT_EQ(rows.size(), 41u);
    EXPECT_EQ(rows[5], (TemplateKeyword{"%url;", SJ("本体のみ"), SJ("キーワード"), SJ("ページ URL")}));
    EXPECT_EQ(rows[15], (TemplateKeyword{"%project;", "", SJ("キーワード"), SJ("プロジェクトタイトル")}));
    EXPECT_EQ(rows[24], (TemplateKeyword{"%end;", "", SJ("キーワード"), SJ("出力範囲終了位置")}));
    EXPECT_EQ(rows[25].Symbol, "<!--if is author--><!--end-->");
    EXPECT_EQ(rows[40],
        (TemplateKeyword{"<!--if nisc ??"
                         "?--><!--end-->",
            SJ("本体のみ"), SJ("条件分岐"), SJ("任意のコンテンツが存在しない場合のみ有効")}));
    // 15 body keywords, 10 keywords for anywhere, 16 branches for the body.
    const auto bodyOnly = std::count_if(rows.begin(), rows.end(), [](const auto& r) { return r.BodyOnly(); });
    const auto branches
        = std::count_if(rows.begin(), rows.end(), [](const auto& r) { return r.Kind == SJ("条件分岐"); });
    EXPECT_EQ(bodyOnly, 31);
    EXPECT_EQ(branches, 16);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i].BodyOnly(), i < 15 || i >= 25) << i;
        EXPECT_FALSE(rows[i].Description.empty()) << i;
    }
}

TEST(TemplateKeywords, FieldsByTabs)
{
    const std::vector<TemplateKeyword> rows = ParseTemplateKeywords("a\tb\tc\td\te\r\n"
                                                                    "only\r\n"
                                                                    "\r\n"
                                                                    "x\t\ty\n"
                                                                    "\x95\x5C\t\t\t\x83\x5C");
    ASSERT_EQ(rows.size(), 5u);
    EXPECT_EQ(rows[0], (TemplateKeyword{"a", "b", "c", "d\te"}));
    EXPECT_EQ(rows[1], (TemplateKeyword{"only", "", "", ""}));
    EXPECT_EQ(rows[2], (TemplateKeyword{}));
    EXPECT_EQ(rows[3], (TemplateKeyword{"x", "", "y", ""}));
    EXPECT_EQ(rows[4], (TemplateKeyword{"\x95\x5C", "", "", "\x83\x5C"}));
    EXPECT_TRUE(ParseTemplateKeywords("").empty());
}

TEST(TemplateKeywords, BodyOnlySymbolsStayInTheBody)
{
    const TemplateKeyword title{"%title;", SJ("本体のみ"), SJ("キーワード"), ""};
    const TemplateKeyword project{"%project;", "", SJ("キーワード"), ""};
    EXPECT_TRUE(title.InsertableInto(true));
    EXPECT_FALSE(title.InsertableInto(false));
    EXPECT_TRUE(project.InsertableInto(true));
    EXPECT_TRUE(project.InsertableInto(false));
}

TEST(TemplateEditFile, ExactBytes)
{
    const std::string file = TemplateEditFileText({"<OL>\r\n", "\t<LI>%title;\r\n\r\n<HR>", ""}, "Tessaly");
    const std::string expected = "<!--\r\n"
        + SJ("Tessaly が自動的に挿入しているコメントを編集しないで下さい.\r\n"
             "編集終了後にテンプレートを正しく解釈できなくなる可能性があります.\r\n"
             "-->\r\n"
             "<!-- Template Header ここより下にヘッダーを記述して下さい -->\r\n"
             "<OL>\r\n"
             "<!-- Template Body ここより下に本体を記述して下さい -->\r\n"
             "\t<LI>%title;\r\n"
             "\r\n"
             "<HR>\r\n"
             "<!-- Template Footer ここより下にフッターを記述して下さい -->\r\n");
    EXPECT_EQ(file, expected);
    EXPECT_EQ(TemplateHeaderMarker(), SJ("<!-- Template Header ここより下にヘッダーを記述して下さい -->"));
    EXPECT_EQ(TemplateBodyMarker(), SJ("<!-- Template Body ここより下に本体を記述して下さい -->"));
    EXPECT_EQ(TemplateFooterMarker(), SJ("<!-- Template Footer ここより下にフッターを記述して下さい -->"));
    EXPECT_EQ(kTemplateEditFileName, "~TSYTEMP.HTML");
}

// The line-break rule: every line of a part comes back followed by CR LF.
struct LineBreakCase {
    const char* name;
    std::string text;
    std::string back;
};

class TemplateEditLineBreaks : public ::testing::TestWithParam<LineBreakCase> { };

TEST_P(TemplateEditLineBreaks, EveryLineReachesItsPart)
{
    const LineBreakCase& c = GetParam();
    for (int part = 0; part < 3; ++part) {
        TemplateTexts texts{"h", "b", "f"};
        std::string* edited[] = {&texts.Header, &texts.Body, &texts.Footer};
        *edited[part] = c.text;
        TemplateTexts expected{"h\r\n", "b\r\n", "f\r\n"};
        std::string* back[] = {&expected.Header, &expected.Body, &expected.Footer};
        *back[part] = c.back;
        const TemplateTexts read = ReadTemplateEditFile(TemplateEditFileText(texts, "Tessaly"));
        EXPECT_EQ(read, expected) << c.name << " in part " << part;
        // A second pass changes nothing more.
        EXPECT_EQ(ReadTemplateEditFile(TemplateEditFileText(read, "Tessaly")), expected) << c.name;
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, TemplateEditLineBreaks,
    ::testing::Values(LineBreakCase{"empty", "", ""}, LineBreakCase{"one line", "a", "a\r\n"},
        LineBreakCase{"no final break", "a\r\nb", "a\r\nb\r\n"},
        LineBreakCase{"final break", "a\r\nb\r\n", "a\r\nb\r\n"},
        LineBreakCase{"final empty line", "a\r\n\r\n", "a\r\n\r\n"}, LineBreakCase{"only a break", "\r\n", "\r\n"},
        LineBreakCase{"inner empty lines", "\r\na\r\n\r\nb", "\r\na\r\n\r\nb\r\n"},
        LineBreakCase{"LF breaks", "a\nb\n", "a\r\nb\r\n"},
        LineBreakCase{"blanks kept", " a \t\r\n  ", " a \t\r\n  \r\n"}),
    [](const auto& testCase) {
        std::string name = testCase.param.name;
        std::replace(name.begin(), name.end(), ' ', '_');
        return name;
    });

TEST(TemplateEditFile, EditorLineEndsAndMissingFinalBreak)
{
    const std::string lf = "<!--\n" + TemplateHeaderMarker() + "\nH\n" + TemplateBodyMarker() + "\nB1\nB2\n"
        + TemplateFooterMarker() + "\nF";
    EXPECT_EQ(ReadTemplateEditFile(lf), (TemplateTexts{"H\r\n", "B1\r\nB2\r\n", "F\r\n"}));
    const std::string cr = TemplateHeaderMarker() + "\rH\r" + TemplateFooterMarker() + "\r";
    EXPECT_EQ(ReadTemplateEditFile(cr), (TemplateTexts{"H\r\n", "", ""}));
}

TEST(TemplateEditFile, DamagedHeaderMarkerLosesTheHeader)
{
    const std::string file = EditedFile(
        {TemplateHeaderMarker() + " ", "<OL>", TemplateBodyMarker(), "<LI>%title;", TemplateFooterMarker(), "</OL>"});
    EXPECT_EQ(ReadTemplateEditFile(file), (TemplateTexts{"", "<LI>%title;\r\n", "</OL>\r\n"}));
}

TEST(TemplateEditFile, DamagedBodyMarkerGoesToTheHeader)
{
    const std::string damaged = SJ("<!-- Template body ここより下に本体を記述して下さい -->");
    const std::string file
        = EditedFile({TemplateHeaderMarker(), "<OL>", damaged, "<LI>", "x", TemplateFooterMarker(), "</OL>"});
    EXPECT_EQ(ReadTemplateEditFile(file), (TemplateTexts{"<OL>\r\n" + damaged + "\r\n<LI>\r\nx\r\n", "", "</OL>\r\n"}));
}

TEST(TemplateEditFile, MarkersMatchOnlyByteForByte)
{
    for (const std::string& near : {" " + TemplateBodyMarker(), TemplateBodyMarker() + "\t",
             SJ("<!-- TEMPLATE BODY ここより下に本体を記述して下さい -->"),
             SJ("<!--  Template Body ここより下に本体を記述して下さい -->"), TemplateBodyMarker().substr(1)}) {
        const std::string file = EditedFile({TemplateHeaderMarker(), "h", near, "b"});
        EXPECT_EQ(ReadTemplateEditFile(file).Header, "h\r\n" + near + "\r\nb\r\n");
        EXPECT_EQ(ReadTemplateEditFile(file).Body, "");
    }
}

TEST(TemplateEditFile, NoMarkerGivesThreeEmptyParts)
{
    EXPECT_EQ(ReadTemplateEditFile(EditedFile({"<OL>", "<LI>%title;", "</OL>"})), TemplateTexts{});
    EXPECT_EQ(ReadTemplateEditFile(""), TemplateTexts{});
    // A file the editor saved in another encoding has no marker either.
    EXPECT_EQ(ReadTemplateEditFile("<!-- Template Header \xE3\x81\x93\xE3\x81\x93 -->\r\nx\r\n"), TemplateTexts{});
}

TEST(TemplateEditFile, MarkerTwiceAppendsAgain)
{
    const std::string file = EditedFile({TemplateBodyMarker(), "b1", TemplateHeaderMarker(), "h1", TemplateBodyMarker(),
        "b2", TemplateFooterMarker(), "f", TemplateHeaderMarker(), "h2"});
    EXPECT_EQ(ReadTemplateEditFile(file), (TemplateTexts{"h1\r\nh2\r\n", "b1\r\nb2\r\n", "f\r\n"}));
}

TEST(TemplateEditFile, CommentsNeverReachTheTemplate)
{
    // Whatever the lines above the first marker say, markers' words included.
    const std::string file = "<!--\r\nTemplate Header\r\n%title;\r\n-->\r\nmore\r\n" + TemplateHeaderMarker()
        + "\r\nh\r\n" + TemplateBodyMarker() + "\r\n" + TemplateFooterMarker() + "\r\n";
    EXPECT_EQ(ReadTemplateEditFile(file), (TemplateTexts{"h\r\n", "", ""}));
    const TemplateTexts texts{"<!--\r\n-->", "", ""};
    EXPECT_EQ(ReadTemplateEditFile(TemplateEditFileText(texts, "Tessaly")), (TemplateTexts{"<!--\r\n-->\r\n", "", ""}));
}

TEST(TemplateList, BuiltinsFirstAndUnchangeable)
{
    TemplateList list;
    ASSERT_EQ(list.Count(), 2);
    EXPECT_EQ(list.Names(), (std::vector<std::string>{SJ("標準簡易"), SJ("標準詳細")}));
    EXPECT_EQ(list.TemplateString(0), StoredTemplateForm(BuiltinSimpleTemplate()));
    EXPECT_EQ(list.TemplateString(1), StoredTemplateForm(BuiltinDetailTemplate()));
    EXPECT_EQ(list.Field(1, TemplateField::Body), BuiltinDetailTemplate().Body);
    EXPECT_EQ(list.Field(0, TemplateField::AttrQuot), ",");
    EXPECT_EQ(list.TemplateString(2), "");
    EXPECT_EQ(list.TemplateString(-1), "");
    list.SetField(0, TemplateField::Body, "x");
    list.Rename(1, "x");
    EXPECT_EQ(list.Erase(0), 0);
    EXPECT_EQ(list.MoveDown(0), 0);
    EXPECT_EQ(list.MoveUp(1), 1);
    EXPECT_EQ(list.TemplateString(0), StoredTemplateForm(BuiltinSimpleTemplate()));
    EXPECT_EQ(list.Name(1), SJ("標準詳細"));
    EXPECT_TRUE(list.UserTemplateStrings().empty());
}

TEST(TemplateList, StoredTemplatesComeBackUnchanged)
{
    TemplateList list;
    const std::vector<std::string> stored{
        "card/&lt;OL&gt;/&lt;LI&gt;%title;&ln;/&lt;&sl;OL&gt;/[/]/", // empty last field: seven fields
        "a&sl;b//////", // "/" in the name
        "six/1/2/3/4/5", // refused
        "eight/1/2/3/4/5/6/7", // refused
        "odd &amp;ln; &quot;q&quot;/&amp;ln;/x&ln;y/z/(/)/ + ",
    };
    EXPECT_EQ(SplitStoredTemplate("a//////")->at(6), "");
    EXPECT_FALSE(SplitStoredTemplate("").has_value());
    EXPECT_EQ(list.AddStored(stored), 2u);
    ASSERT_EQ(list.Count(), 5);
    EXPECT_EQ(list.Name(2), "card");
    EXPECT_EQ(list.Field(2, TemplateField::Body), "<LI>%title;\r\n");
    EXPECT_EQ(list.Field(2, TemplateField::AttrQuot), "");
    EXPECT_EQ(list.Name(3), "a/b");
    EXPECT_EQ(list.Name(4), "odd &ln; \"q\"");
    EXPECT_EQ(list.Field(4, TemplateField::Header), "&ln;");
    EXPECT_EQ(list.UserTemplateStrings(), (std::vector<std::string>{stored[0], stored[1], stored[4]}));
    EXPECT_EQ(list.TemplateString(3), "a&sl;b//////");

    list.SetField(3, TemplateField::Footer, "</OL>\r\n");
    list.Rename(3, "c/d");
    EXPECT_EQ(list.TemplateString(3), "c&sl;d///&lt;&sl;OL&gt;&ln;///");
    EXPECT_EQ(*ParseStoredTemplate(list.TemplateString(3)), (TTemplateRec{"c/d", "", "", "</OL>\r\n", "", "", ""}));
}

TEST(TemplateList, NewTemplateDefaults)
{
    TemplateList list;
    EXPECT_EQ(list.AddNew(" new "), 2);
    EXPECT_EQ(list.TemplateString(2), " new ////[/]/,");
    EXPECT_EQ(list.Names().back(), " new ");
}

TEST(TemplateList, EraseSelectsSuccessorElsePredecessor)
{
    TemplateList list;
    for (const char* name : {"a", "b", "c"}) {
        list.AddNew(name);
    }
    EXPECT_EQ(list.Erase(3), 3); // "b" removed: "c" now stands there
    EXPECT_EQ(list.Name(3), "c");
    EXPECT_EQ(list.Erase(3), 2); // the last one: the one before it
    EXPECT_EQ(list.Name(2), "a");
    EXPECT_EQ(list.Erase(2), 1); // the only user template: the second built-in
    EXPECT_EQ(list.Count(), 2);
    EXPECT_EQ(list.Erase(2), 2); // nothing there
}

TEST(TemplateList, MovesStayBelowTheBuiltins)
{
    TemplateList list;
    for (const char* name : {"a", "b", "c"}) {
        list.AddNew(name);
    }
    EXPECT_EQ(list.MoveUp(2), 2);
    EXPECT_EQ(list.MoveDown(4), 4);
    EXPECT_EQ(list.MoveDown(2), 3);
    EXPECT_EQ(list.MoveDown(3), 4);
    EXPECT_EQ(list.MoveUp(3), 2);
    EXPECT_EQ(list.Names(), (std::vector<std::string>{SJ("標準簡易"), SJ("標準詳細"), "c", "b", "a"}));
}

TEST(TemplateList, CommandsForEachPosition)
{
    TemplateList list;
    const TemplateCommandState none{};
    EXPECT_EQ(list.CommandsFor(-1), none);
    EXPECT_EQ(list.CommandsFor(0), none);
    EXPECT_EQ(list.CommandsFor(1), none);
    list.AddNew("only");
    EXPECT_EQ(list.CommandsFor(2), (TemplateCommandState{true, true, true, false, false}));
    list.AddNew("second");
    list.AddNew("third");
    EXPECT_EQ(list.CommandsFor(2), (TemplateCommandState{true, true, true, false, true}));
    EXPECT_EQ(list.CommandsFor(3), (TemplateCommandState{true, true, true, true, true}));
    EXPECT_EQ(list.CommandsFor(4), (TemplateCommandState{true, true, true, true, false}));
    EXPECT_EQ(list.CommandsFor(5), none);
}

// The editor gets UTF-8 and may save UTF-8 or code page 932; a character
// code page 932 lacks gives nothing back but its name.
TEST(TemplateEditFile, EditorEncodings)
{
    const TemplateTexts texts{SJ("<H1>見出し〜</H1>\r\n"), SJ("<LI>%title;\r\n"), ""};
    const std::string utf8 = TemplateEditFileUtf8(texts, "Tessaly");
    EXPECT_TRUE(Utf8ToUtf16(utf8).has_value());
    EXPECT_NE(utf8.find("見出し"), std::string::npos);

    struct Case {
        const char* name;
        std::string saved;
        bool ok;
        std::string badCharacter;
    };
    const std::string withEmoji = utf8.substr(0, utf8.find("</H1>")) + "😀" + utf8.substr(utf8.find("</H1>"));
    std::string waveDash = utf8;
    waveDash.replace(waveDash.find("〜") == std::string::npos ? waveDash.find("～") : waveDash.find("〜"), 3, "〜");
    for (const Case& c : {Case{"UTF-8 as written", utf8, true, ""},
             Case{"JIS wave dash of an input method", waveDash, true, ""},
             Case{"code page 932 kept by the editor", TemplateEditFileText(texts, "Tessaly"), true, ""},
             Case{"a character code page 932 lacks", withEmoji, false, "😀"}}) {
        const EditedTemplate read = ReadEditedTemplateFile(c.saved);
        EXPECT_EQ(read.ok, c.ok) << c.name;
        EXPECT_EQ(read.badCharacter, c.badCharacter) << c.name;
        if (c.ok) {
            EXPECT_EQ(read.texts, texts) << c.name;
        } else {
            EXPECT_EQ(read.texts, TemplateTexts{}) << c.name;
        }
    }
}
