#include <gtest/gtest.h>

#include "core/collection/Project.h"
#include "core/text/Codepage.h"
#include "core/tools/SearchForms.h"

using namespace tessaly;

namespace {

std::string Sjis(const std::string& utf8)
{
    return Utf8ToSjis(utf8).text;
}

std::size_t Count(const std::string& text, std::string_view piece)
{
    std::size_t count = 0;
    for (std::size_t pos = text.find(piece); pos != std::string::npos; pos = text.find(piece, pos + 1)) {
        ++count;
    }
    return count;
}

const std::string kSubmit
    = "\t<INPUT type=submit value=\"検索\"><INPUT type=reset value=\"クリア\"><BR>\r\n</FORM>\r\n";

TEST(FormElement, StartsFromTheDialogsValues)
{
    EXPECT_EQ(FormElementHtml({}),
        Sjis("<FORM action=\"./tsyoss.cgi\" method=\"POST\" name=\"TSYOSS\">\r\n"
             "\t<INPUT type=hidden name=JCODE value=\"日本語\">\r\n"
             "\t<!-- ここにその他のフォームを記入します -->\r\n"
            + kSubmit));
}

TEST(FormElement, RangeAndNames)
{
    // A name of blanks is not empty, but its trimmed form is.
    EXPECT_EQ(FormElementHtml({" ../cgi/tsyoss.cgi", "GET", 3, "  "}),
        Sjis("<FORM action=\" ../cgi/tsyoss.cgi\" method=\"GET\" name=\"\">\r\n"
             "\t<INPUT type=hidden name=JCODE value=\"日本語\">\r\n"
             "\t<INPUT type=hidden name=RANGE value=30>\r\n"
             "\t<!-- ここにその他のフォームを記入します -->\r\n"
            + kSubmit));
    EXPECT_TRUE(FormElementHtml({"x", "POST", 0, ""}).starts_with("<FORM action=\"x\" method=\"POST\">\r\n"));
}

struct TargetCase {
    const char* name;
    FormElementSettings settings;
    const char* opening; // UTF-8
};

class FormTargets : public testing::TestWithParam<TargetCase> { };

TEST_P(FormTargets, OpenTheFormForTheirTarget)
{
    const std::string html = FormElementHtml(GetParam().settings);
    EXPECT_EQ(html.substr(0, html.find("\r\n") + 2), Sjis(GetParam().opening));
    EXPECT_TRUE(html.ends_with(Sjis(kSubmit)));
}

// The site's search page takes GET in UTF-8, whatever the method and the
// script's path say.
INSTANTIATE_TEST_SUITE_P(SearchForms, FormTargets,
    testing::Values(TargetCase{"SearchPageByDefault", {.target = FormTarget::SearchPage},
                        "<FORM action=\"./search.html\" method=\"GET\" accept-charset=\"UTF-8\" name=\"TSYOSS\">\r\n"},
        TargetCase{"SearchPageElsewhere",
            {"cgi/tsyoss.cgi", "POST", 2, "", FormTarget::SearchPage, "../site/search.html"},
            "<FORM action=\"../site/search.html\" method=\"GET\" accept-charset=\"UTF-8\">\r\n"},
        TargetCase{"SearchScriptIgnoresThePagePath", {"x.cgi", "POST", 0, "F", FormTarget::SearchScript, "s.html"},
            "<FORM action=\"x.cgi\" method=\"POST\" name=\"F\">\r\n"}),
    [](const testing::TestParamInfo<TargetCase>& testCase) { return testCase.param.name; });

TEST(FormTargets, RangeStaysForTheSearchPage)
{
    EXPECT_NE(FormElementHtml({.lumpRangeEntry = 5, .target = FormTarget::SearchPage})
                  .find("\t<INPUT type=hidden name=RANGE value=50>\r\n"),
        std::string::npos);
}

using Trials = std::array<TrialChoice, kTrialFieldCount>;
constexpr TrialChoice A = TrialChoice::Always;
constexpr TrialChoice N = TrialChoice::Never;
constexpr TrialChoice V = TrialChoice::Visitor;

struct StringCase {
    const char* name;
    StringSearchSettings settings;
    std::string expected; // UTF-8
};

class StringSearchForms : public testing::TestWithParam<StringCase> { };

TEST_P(StringSearchForms, WritesTheExactFragment)
{
    EXPECT_EQ(StringSearchHtml(GetParam().settings), Sjis(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(SearchForms, StringSearchForms,
    testing::Values(StringCase{"Plain", {}, "\t<INPUT type=text name=TOKEN><BR>\r\n"},
        StringCase{"Sizes", {2, 5, false, {}}, "\t<INPUT type=text name=TOKEN size=20 maxlength=50><BR>\r\n"},
        StringCase{"MaxLengthOnly", {0, 1, false, {}}, "\t<INPUT type=text name=TOKEN maxlength=10><BR>\r\n"},
        StringCase{"TrialOff", {0, 0, false, Trials{V, V, N, N, N, N, N}}, "\t<INPUT type=text name=TOKEN><BR>\r\n"},
        StringCase{"AllAlways", {0, 0, true, Trials{}}, "\t<INPUT type=text name=TOKEN><BR>\r\n"},
        StringCase{"UserTitleForcedAuthor", {0, 0, true, Trials{V, N, A, N, N, N, N}},
            "\t<INPUT type=text name=TOKEN><BR>\r\n"
            "\t<INPUT type=checkbox name=TRIAL value=TITLE checked>タイトル<BR>\r\n"
            "\t<INPUT type=hidden name=TRIAL value=\"AUTHOR\">\r\n"},
        StringCase{"Mixed", {0, 0, true, Trials{A, V, N, V, A, V, A}},
            "\t<INPUT type=text name=TOKEN><BR>\r\n"
            "\t<INPUT type=checkbox name=TRIAL value=TITLEKANA checked>タイトル(かな)<BR>\r\n"
            "\t<INPUT type=checkbox name=TRIAL value=AUTHORKANA checked>作者名(かな)<BR>\r\n"
            "\t<INPUT type=checkbox name=TRIAL value=CONTENTS checked>コンテンツ<BR>\r\n"
            "\t<INPUT type=hidden name=TRIAL value=\"TITLE|ATTRIBUTE|COMMENT\">\r\n"},
        StringCase{"NothingForced", {0, 0, true, Trials{N, N, N, N, V, N, V}},
            "\t<INPUT type=text name=TOKEN><BR>\r\n"
            "\t<INPUT type=checkbox name=TRIAL value=ATTRIBUTE checked>アトリビュート<BR>\r\n"
            "\t<INPUT type=checkbox name=TRIAL value=COMMENT checked>コメント<BR>\r\n"}),
    [](const testing::TestParamInfo<StringCase>& testCase) { return testCase.param.name; });

Project ProjectWithGenres()
{
    Project project;
    project.AddGenre("A&B");
    project.AddGenre(Sjis("<ゲーム>"));
    project.Genres[0].Lines.push_back("unfiled items do not matter");
    return project;
}

struct GenreCase {
    const char* name;
    GenreFormSettings settings;
    std::string expected; // UTF-8
};

class GenreForms : public testing::TestWithParam<GenreCase> { };

TEST_P(GenreForms, WritesTheExactFragment)
{
    EXPECT_EQ(GenreFormHtml(ProjectWithGenres(), GetParam().settings), Sjis(GetParam().expected));
}

const std::string kSingleSelect = "\t<SELECT name=GENRE>\r\n"
                                  "\t\t<OPTION value=\"\">(無指定)\r\n"
                                  "\t\t<OPTION value=\"A&amp;B\">A&amp;B\r\n"
                                  "\t\t<OPTION value=\"&lt;ゲーム&gt;\">&lt;ゲーム&gt;\r\n"
                                  "\t</SELECT>\r\n";

INSTANTIATE_TEST_SUITE_P(SearchForms, GenreForms,
    testing::Values(GenreCase{"SingleSelect", {GenreOperation::Single, ChoiceElement::Select, 2}, kSingleSelect},
        GenreCase{"SingleCheckBoxesFallBack", {GenreOperation::Single, ChoiceElement::CheckBoxes, 0}, kSingleSelect},
        GenreCase{"SingleRadio", {GenreOperation::Single, ChoiceElement::RadioButtons, 0},
            "\t<INPUT type=radio name=GENRE value=\"\" checked>(無指定)<BR>\r\n"
            "\t<INPUT type=radio name=GENRE value=\"A&amp;B\">A&amp;B<BR>\r\n"
            "\t<INPUT type=radio name=GENRE value=\"&lt;ゲーム&gt;\">&lt;ゲーム&gt;<BR>\r\n"},
        GenreCase{"OrSelect", {GenreOperation::Or, ChoiceElement::Select, 3},
            "\t<SELECT name=GENRE multiple size=15>\r\n"
            "\t\t<OPTION value=\"A&amp;B\">A&amp;B\r\n"
            "\t\t<OPTION value=\"&lt;ゲーム&gt;\">&lt;ゲーム&gt;\r\n"
            "\t</SELECT>\r\n"},
        GenreCase{"OrRadioFallsBack", {GenreOperation::Or, ChoiceElement::RadioButtons, 0},
            "\t<SELECT name=GENRE multiple>\r\n"
            "\t\t<OPTION value=\"A&amp;B\">A&amp;B\r\n"
            "\t\t<OPTION value=\"&lt;ゲーム&gt;\">&lt;ゲーム&gt;\r\n"
            "\t</SELECT>\r\n"},
        GenreCase{"OrCheckBoxes", {GenreOperation::Or, ChoiceElement::CheckBoxes, 3},
            "\t<INPUT type=checkbox name=GENRE value=\"A&amp;B\">A&amp;B<BR>\r\n"
            "\t<INPUT type=checkbox name=GENRE value=\"&lt;ゲーム&gt;\">&lt;ゲーム&gt;<BR>\r\n"}),
    [](const testing::TestParamInfo<GenreCase>& testCase) { return testCase.param.name; });

TEST(GenreForms, NoUserGenresNoFragment)
{
    EXPECT_EQ(GenreFormHtml(Project(), {}), "");
}

TEST(GenreForms, SizeAppliesToTheMultipleSelectOnly)
{
    EXPECT_FALSE(GenreSizeApplies(GenreOperation::Single, ChoiceElement::Select));
    EXPECT_TRUE(GenreSizeApplies(GenreOperation::Or, ChoiceElement::Select));
    EXPECT_TRUE(GenreSizeApplies(GenreOperation::Or, ChoiceElement::RadioButtons));
    EXPECT_FALSE(GenreSizeApplies(GenreOperation::Or, ChoiceElement::CheckBoxes));
}

Project ProjectWithTags(std::size_t attributes, std::size_t contents)
{
    Project project;
    for (std::size_t i = 0; i < attributes; ++i) {
        project.Attributes.push_back("a" + std::to_string(i));
    }
    for (std::size_t i = 0; i < contents; ++i) {
        project.Contents.push_back("c" + std::to_string(i));
    }
    return project;
}

TEST(MatrixForms, BeginnerSelectAndCheckBoxes)
{
    Project project = ProjectWithTags(1, 1);
    project.Attributes.push_back("\"q\"");
    EXPECT_EQ(MatrixFormHtml(project, {MatrixNames::Attributes, MatrixOperation::And, ChoiceElement::Select, 4}),
        "\t<SELECT name=ANDATTR multiple size=20>\r\n"
        "\t\t<OPTION value=\"a0\">a0\r\n"
        "\t\t<OPTION value=\"&quot;q&quot;\">&quot;q&quot;\r\n"
        "\t</SELECT>\r\n");
    EXPECT_EQ(MatrixFormHtml(project, {MatrixNames::Contents, MatrixOperation::Not, ChoiceElement::CheckBoxes, 4}),
        "\t<INPUT type=checkbox name=NOTCONT value=\"c0\">c0<BR>\r\n");
    EXPECT_EQ(MatrixFormHtml(project, {MatrixNames::Contents, MatrixOperation::Or, ChoiceElement::Select, 0}),
        "\t<SELECT name=ORCONT multiple>\r\n\t\t<OPTION value=\"c0\">c0\r\n\t</SELECT>\r\n");
    EXPECT_EQ(MatrixFormHtml(ProjectWithTags(0, 1), {}), "");
}

// The script fragment for one vocabulary, as the resource holds it.
std::string Script(const std::string& comment, const std::string& v, const std::string& form, const std::string& input,
    const std::string& tag)
{
    const std::string d = "document." + form;
    // clang-format off
    const std::vector<std::string> lines{
        "\t// " + comment + "フォーム集計の初期化",
        "\tvar " + v + "st = 0;",
        "\tvar " + v + "en = 0;",
        "\t" + d + ".AND" + input + ".value = \"\";",
        "\t" + d + ".OR" + input + ".value = \"\";",
        "\t" + d + ".NOT" + input + ".value = \"\";",
        "\t// " + comment + "フォーム範囲の取得",
        "\twhile ( ! ( ( " + d + "[" + v + "st].name == \"TSYOSSTAG\" )&&( " + d + "[" + v + "st].value == \"" + tag
            + "Start\" ) ) ) { " + v + "st++; }",
        "\t" + v + "st++;",
        "\t" + v + "en = " + v + "st;",
        "\twhile ( ! ( ( " + d + "[" + v + "en].name == \"TSYOSSTAG\" )&&( " + d + "[" + v + "en].value == \"" + tag
            + "End\" )&&( " + v + "en<count ) ) ) { " + v + "en++; }",
        "\t// " + comment + "フォームの各演算方法の取得",
        "\tfor ( " + v + "st; " + v + "st<" + v + "en; " + v + "st++ ) {",
        "\t\tif ( " + d + "[" + v + "st].selectedIndex == 1 ) {",
        "\t\t\t" + d + ".AND" + input + ".value = " + d + ".AND" + input + ".value + \"|\" + " + d + "[" + v + "st].name;",
        "\t\t}",
        "\t\tif ( " + d + "[" + v + "st].selectedIndex == 2 ) {",
        "\t\t\t" + d + ".OR" + input + ".value = " + d + ".OR" + input + ".value + \"|\" + " + d + "[" + v + "st].name;",
        "\t\t}",
        "\t\tif ( " + d + "[" + v + "st].selectedIndex == 3 ) {",
        "\t\t\t" + d + ".NOT" + input + ".value = " + d + ".NOT" + input + ".value + \"|\" + " + d + "[" + v + "st].name;",
        "\t\t}",
        "\t}",
        "",
    };
    // clang-format on
    std::string script;
    for (const std::string& line : lines) {
        script += line + "\r\n";
    }
    return script;
}

std::string Cell(const std::string& name)
{
    return "\t\t\t<TD><SELECT name=\"" + name + "\"><OPTION selected><OPTION>AND<OPTION>OR<OPTION>NOT</SELECT>" + name
        + "</TD>\r\n";
}

TEST(MatrixForms, AdvancedFormForBothVocabularies)
{
    Project project = ProjectWithTags(2, 1);
    project.Contents[0] = "<c>";
    const ScriptedMatrixResult result
        = ScriptedMatrixFormHtml(project, {"cgi/tsyoss.cgi", "POST", "F", MatrixNames::Both, 2});
    EXPECT_EQ(result.warning, "");
    const std::string expected = "<FORM action=\"cgi/tsyoss.cgi\" method=POST name=\"F\" "
                                 "onsubmit=\"return OnFormSubmit()\">\r\n"
                                 "<SCRIPT type=\"text/javascript\" language=JavaScript>\r\n"
                                 "<!--\r\n"
                                 "function OnFormSubmit() {\r\n"
                                 "\r\n"
                                 "\tvar count = document.F.length;\r\n"
                                 "\r\n"
        + Script("アトリビュート", "attr", "F", "ATTR", "Attribute")
        + Script("コンテンツ", "cont", "F", "CONT", "Contents")
        + "\treturn true;\r\n"
          "\r\n"
          "}\r\n"
          "//-->\r\n"
          "</SCRIPT>\r\n"
          "\t<INPUT type=hidden name=JCODE value=\"日本語\">\r\n"
          "\t<!-- 文字列検索などその他のフォームと組み合わせる場合には、ここに挿入して下さい (1) -->\r\n"
          "\t<TABLE border=0 cellspacing=4 cellpadding=0>\r\n"
          "\t\t<TR>\r\n"
          "\t\t\t<TD colspan=2><B>アトリビュート論理演算</B><BR></TD>\r\n"
          "\t\t\t<INPUT type=hidden name=ANDATTR value=\"\">\r\n"
          "\t\t\t<INPUT type=hidden name=ORATTR value=\"\">\r\n"
          "\t\t\t<INPUT type=hidden name=NOTATTR value=\"\">\r\n"
          "\t\t\t<INPUT type=hidden name=TSYOSSTAG value=AttributeStart>\r\n"
          "\t\t<TR>\r\n"
        + Cell("a0") + Cell("a1")
        + "\t\t\t<INPUT type=hidden name=TSYOSSTAG value=AttributeEnd>\r\n"
          "\t\t<TR>\r\n"
          "\t\t\t<TD colspan=2><B>コンテンツ論理演算</B><BR></TD>\r\n"
          "\t\t\t<INPUT type=hidden name=ANDCONT value=\"\">\r\n"
          "\t\t\t<INPUT type=hidden name=ORCONT value=\"\">\r\n"
          "\t\t\t<INPUT type=hidden name=NOTCONT value=\"\">\r\n"
          "\t\t\t<INPUT type=hidden name=TSYOSSTAG value=ContentsStart>\r\n"
          "\t\t<TR>\r\n"
        + Cell("&lt;c&gt;")
        + "\t\t\t<TD></TD>\r\n"
          "\t\t\t<INPUT type=hidden name=TSYOSSTAG value=ContentsEnd>\r\n"
          "\t</TABLE>\r\n"
          "\t<!-- 文字列検索などその他のフォームと組み合わせる場合には、ここに挿入して下さい (2) -->\r\n"
        + kSubmit;
    EXPECT_EQ(result.html, Sjis(expected));
}

TEST(MatrixForms, AdvancedFormForTheSearchPage)
{
    ScriptedMatrixSettings settings{"c", "POST", "F", MatrixNames::Attributes, 3, FormTarget::SearchPage};
    const std::string opening = "<FORM action=\"./search.html\" method=GET accept-charset=\"UTF-8\" name=\"F\" "
                                "onsubmit=\"return OnFormSubmit()\">\r\n";
    const std::string html = ScriptedMatrixFormHtml(ProjectWithTags(1, 0), settings).html;
    ASSERT_TRUE(html.starts_with(opening));
    settings.target = FormTarget::SearchScript;
    const std::string script = ScriptedMatrixFormHtml(ProjectWithTags(1, 0), settings).html;
    EXPECT_EQ(script.substr(script.find("\r\n")), html.substr(opening.size() - 2));
}

TEST(MatrixForms, RowsOfTheAdvancedMatrix)
{
    const ScriptedMatrixSettings settings{"c", "POST", "F", MatrixNames::Attributes, 3};
    const std::string seven = ScriptedMatrixFormHtml(ProjectWithTags(7, 0), settings).html;
    EXPECT_EQ(Count(seven, "\t\t<TR>\r\n"), 1u + 3u);
    EXPECT_EQ(Count(seven, "<TD></TD>"), 2u);
    EXPECT_EQ(Count(seven, "cont"), 0u);
    const std::string six = ScriptedMatrixFormHtml(ProjectWithTags(6, 0), settings).html;
    EXPECT_EQ(Count(six, "\t\t<TR>\r\n"), 1u + 2u);
    EXPECT_EQ(Count(six, "<TD></TD>"), 0u);
}

struct RefusalCase {
    const char* name;
    ScriptedMatrixSettings settings;
    std::size_t attributes;
    std::size_t contents;
    const char* warning;
};

class AdvancedRefusals : public testing::TestWithParam<RefusalCase> { };

TEST_P(AdvancedRefusals, WarnsAndMakesNothing)
{
    const RefusalCase& c = GetParam();
    const ScriptedMatrixResult result = ScriptedMatrixFormHtml(ProjectWithTags(c.attributes, c.contents), c.settings);
    EXPECT_EQ(result.warning, SJ(c.warning));
    EXPECT_EQ(result.html, "");
}

INSTANTIATE_TEST_SUITE_P(SearchForms, AdvancedRefusals,
    testing::Values(
        RefusalCase{"NoPath", {" ", "POST", "F", MatrixNames::Both, 3}, 1, 1, "tsyoss.cgi へのパスは必須です"},
        RefusalCase{"NoSearchPagePath", {"c", "POST", "F", MatrixNames::Both, 3, FormTarget::SearchPage, ""}, 1, 1,
            "検索ページへのパスは必須です"},
        RefusalCase{"NoFormName", {"c", "POST", "\t", MatrixNames::Both, 3}, 1, 1, "フォーム識別名は必須です"},
        RefusalCase{"NoAttributes", {"c", "POST", "F", MatrixNames::Attributes, 3}, 0, 1,
            "アトリビュートがひとつも設定されていません."},
        RefusalCase{
            "NoContents", {"c", "POST", "F", MatrixNames::Both, 3}, 1, 0, "コンテンツがひとつも設定されていません."}),
    [](const testing::TestParamInfo<RefusalCase>& testCase) { return testCase.param.name; });

} // namespace
