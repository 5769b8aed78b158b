#include <gtest/gtest.h>

#include "core/collection/LinkItem.h"
#include "core/collection/Project.h"
#include "core/text/Codepage.h"
#include "core/tools/BulkRewrite.h"
#include "core/tools/DomainReplace.h"
#include "core/tools/TagTidy.h"

using namespace tessaly;

namespace {

struct UrlCase {
    const char* name;
    std::string url;
    DomainReplaceSettings settings;
    std::optional<std::string> expected;
};

class DomainInUrl : public testing::TestWithParam<UrlCase> { };

TEST_P(DomainInUrl, ReplacesInTheHostOnly)
{
    EXPECT_EQ(ReplaceDomainInUrl(GetParam().url, GetParam().settings), GetParam().expected);
}

const DomainReplaceSettings kDefault{"example.jp", "new.jp", true, true};
const DomainReplaceSettings kWholeHost{"example.jp", "new.jp", true, false};
const DomainReplaceSettings kMatchCase{"example.jp", "new.jp", false, true};

INSTANTIATE_TEST_SUITE_P(DomainReplace, DomainInUrl,
    testing::Values(UrlCase{"WholeHostKeepsPath", "example.jp/dir/a.html", kDefault, "new.jp/dir/a.html"},
        UrlCase{"PartOfLongerHost", "banner.example.jp/b.gif", kDefault, "banner.new.jp/b.gif"},
        UrlCase{"FirstOccurrenceOnly", "example.jp.example.jp/", kDefault, "new.jp.example.jp/"},
        UrlCase{"NotInThePath", "other.jp/example.jp/", kDefault, std::nullopt},
        UrlCase{"WholeHostOptionRefusesParts", "banner.example.jp/b.gif", kWholeHost, std::nullopt},
        UrlCase{"WholeHostOptionTakesEqualHost", "EXAMPLE.jp/x", kWholeHost, "new.jp/x"},
        UrlCase{"CaseIgnored", "WWW.EXAMPLE.JP/Path", kDefault, "WWW.new.jp/Path"},
        UrlCase{"CaseMatched", "WWW.EXAMPLE.JP/Path", kMatchCase, std::nullopt},
        UrlCase{"CaseMatchedWholeHost", "Example.jp/", {"example.jp", "n", false, false}, std::nullopt},
        UrlCase{"NoSlashGainsOne", "example.jp", kDefault, "new.jp/"},
        UrlCase{"EmptyReplacementDeletes", "www.example.jp/x", {"www.", "", true, true}, "example.jp/x"},
        UrlCase{"AfterItsOwnScheme", "https://example.jp/x", kDefault, "https://new.jp/x"},
        UrlCase{"SchemeIsNotHost", "https://other.jp/", {"https", "x", true, true}, std::nullopt},
        UrlCase{"SchemeWithoutSlash", "https://example.jp", kDefault, "https://new.jp/"},
        UrlCase{"EmptyUrl", "", kDefault, std::nullopt},
        // "ソ" ends in the byte of a backslash, which is no backslash.
        UrlCase{"TrailByteIsNoMatch", SJ("ソ.jp/"), {"\\", "x", true, true}, std::nullopt},
        UrlCase{"TwoByteHost", SJ("例え.jp/"), {SJ("例え"), "ex", true, true}, "ex.jp/"},
        // Full-width letters are two bytes in either case, so the parts
        // around the match keep their places.
        UrlCase{"FullWidthCaseIgnored", SJ("ｗｗｗ．ＥＸＡＭＰＬＥ．ｊｐ/"), {SJ("ｅｘａｍｐｌｅ"), "ex", true, true},
            SJ("ｗｗｗ．ex．ｊｐ/")},
        UrlCase{"FullWidthWholeHost", SJ("ＥｘＡ/x"), {SJ("ｅＸａ"), "ex", true, false}, "ex/x"},
        UrlCase{"FullWidthCaseMatched", SJ("ＥＸＡ/x"), {SJ("ｅｘａ"), "ex", false, true}, std::nullopt},
        UrlCase{"FullWidthIsNotAscii", SJ("ＥＸＡ/x"), {"exa", "ex", true, true}, std::nullopt}),
    [](const testing::TestParamInfo<UrlCase>& testCase) { return testCase.param.name; });

std::string Line(int serial, std::string_view genre, std::string_view url, std::string_view banner,
    std::string_view attributes = "", std::string_view contents = "")
{
    TLinkItem item;
    item.Serial = serial;
    item.GenreName = genre;
    item.Title = "t";
    item.TitleKana = SJ("て");
    item.AuthorKana = SJ("て");
    item.Url = url;
    item.Banner = banner;
    item.Attributes = attributes;
    item.Contents = contents;
    item.Date = *EncodeDateTime({2003, 5, 16});
    return ItemToLine(item);
}

TEST(DomainReplace, CountsEveryChangedAddressOutsideTheTrash)
{
    Project project;
    project.AddGenre("G");
    project.Genres[0].Lines = {Line(1, "", "example.jp/", "example.jp/b.gif"), Line(2, "", "other.jp/", "")};
    project.Genres[1].Lines = {Line(3, "G", "x.example.jp", "")};
    project.Genres[2].Lines = {Line(4, "", "example.jp/", "")};
    const std::vector<std::string> trash = project.Genres[2].Lines;
    std::vector<std::size_t> progress;

    // The preview names the same changes, without making them.
    const DomainReplacePreview preview = PreviewDomainReplace(project, {" example.jp\t", " new.jp ", true, true}, 2);
    EXPECT_EQ(preview.total, 3u);
    ASSERT_EQ(preview.changes.size(), 2u);
    EXPECT_EQ(preview.changes[1].before, "example.jp/b.gif");
    EXPECT_EQ(preview.changes[1].after, "new.jp/b.gif");
    EXPECT_EQ(project.Genres[0].Lines[0], Line(1, "", "example.jp/", "example.jp/b.gif"));

    const std::size_t count = ReplaceDomains(
        project, {" example.jp\t", " new.jp ", true, true}, [&](std::size_t genre, std::size_t lastGenre) {
            progress.push_back(genre);
            EXPECT_EQ(lastGenre, 1u);
        });

    EXPECT_EQ(count, 3u);
    EXPECT_TRUE(project.IsEditing);
    EXPECT_EQ(project.Genres[0].Lines,
        (std::vector<std::string>{Line(1, "", "new.jp/", "new.jp/b.gif"), Line(2, "", "other.jp/", "")}));
    EXPECT_EQ(project.Genres[1].Lines, (std::vector<std::string>{Line(3, "G", "x.new.jp/", "")}));
    EXPECT_EQ(project.Genres[2].Lines, trash);
    EXPECT_EQ(progress, (std::vector<std::size_t>{0, 1}));
}

TEST(DomainReplace, NothingFoundChangesNothing)
{
    Project project;
    project.Genres[0].Lines = {Line(1, "", "example.jp/", "")};
    EXPECT_EQ(ReplaceDomains(project, {"nowhere", "x", true, true}), 0u);
    EXPECT_EQ(ReplaceDomains(project, {"  ", "x", true, true}), 0u);
    EXPECT_FALSE(project.IsEditing);
    EXPECT_EQ(project.Genres[0].Lines, (std::vector<std::string>{Line(1, "", "example.jp/", "")}));
}

struct OrderCase {
    const char* name;
    std::vector<std::string> vocabulary;
    std::string list;
    std::string expected;
};

class TagOrder : public testing::TestWithParam<OrderCase> { };

TEST_P(TagOrder, FollowsTheVocabulary)
{
    EXPECT_EQ(VocabularyOrder(GetParam().vocabulary).Apply(GetParam().list), GetParam().expected);
}

const std::vector<std::string> kVocabulary{"a", "b", "x/y", "A&B"};

INSTANTIATE_TEST_SUITE_P(TagTidy, TagOrder,
    testing::Values(OrderCase{"Reordered", kVocabulary, "b/a", "a/b"}, OrderCase{"InOrder", kVocabulary, "a/b", "a/b"},
        OrderCase{"UnknownDropped", kVocabulary, "z/b", "b"}, OrderCase{"CaseCounts", kVocabulary, "B/a", "a"},
        OrderCase{"RepeatsCollapse", kVocabulary, "b/a/b", "a/b"},
        OrderCase{"EmptyNamesAndSlashesGo", kVocabulary, "/b//a/", "a/b"},
        OrderCase{"EscapedNames", kVocabulary, "A&amp;B/x&sl;y", "x&sl;y/A&amp;B"},
        OrderCase{"EmptyList", kVocabulary, "", ""}, OrderCase{"EmptyVocabulary", {}, "b//a", "b//a"}),
    [](const testing::TestParamInfo<OrderCase>& testCase) { return testCase.param.name; });

TEST(TagTidy, CountsChangedListsAndSecondRunFindsNone)
{
    Project project;
    project.Attributes = {"a", "b"};
    project.Contents = {"c", "d"};
    project.Genres[0].Lines
        = {Line(1, "", "u/", "", "b/a", "d/c"), Line(2, "", "u/", "", "a/gone", "c"), Line(3, "", "u/", "", "a", "")};
    project.Genres[1].Lines = {Line(4, "", "u/", "", "b/a", "")};
    const std::vector<std::string> trash = project.Genres[1].Lines;

    EXPECT_EQ(CountUntidyLists(project), 3u); // told before the tidy runs
    EXPECT_EQ(TidyTagLists(project), 3u);
    EXPECT_EQ(CountUntidyLists(project), 0u);
    EXPECT_TRUE(project.IsEditing);
    EXPECT_EQ(project.Genres[0].Lines,
        (std::vector<std::string>{
            Line(1, "", "u/", "", "a/b", "c/d"), Line(2, "", "u/", "", "a", "c"), Line(3, "", "u/", "", "a", "")}));
    EXPECT_EQ(project.Genres[1].Lines, trash);

    project.IsEditing = false;
    EXPECT_EQ(TidyTagLists(project), 0u);
    EXPECT_FALSE(project.IsEditing);
}

TEST(TagTidy, EmptyVocabularyChangesNoList)
{
    Project project;
    project.Contents = {"c"};
    project.Genres[0].Lines = {Line(1, "", "u/", "", "b/a", "x/c")};
    EXPECT_EQ(TidyTagLists(project), 1u);
    EXPECT_EQ(project.Genres[0].Lines, (std::vector<std::string>{Line(1, "", "u/", "", "b/a", "c")}));
}

TEST(BulkTools, SameResultOnAnyNumberOfThreads)
{
    Project project;
    project.AddGenre("G");
    for (int i = 0; i < 700; ++i) {
        project.Genres[i % 3 == 0 ? 0 : 1].Lines.push_back(Line(i, "", "u" + std::to_string(i) + "/", ""));
    }
    const auto edit = [](TLinkItem& item) -> std::size_t {
        if (item.Serial % 2 != 0) {
            return 0;
        }
        item.Banner = item.Url + "b.gif";
        return 1;
    };
    Project threaded = project;
    EXPECT_EQ(RewriteEveryItem(project, edit, {}, 1), 350u);
    EXPECT_EQ(RewriteEveryItem(threaded, edit, {}, 3), 350u);
    EXPECT_EQ(threaded.Genres[0].Lines, project.Genres[0].Lines);
    EXPECT_EQ(threaded.Genres[1].Lines, project.Genres[1].Lines);
    EXPECT_EQ(LineToItem(project.Genres[1].Lines[1]).Banner, "u2/b.gif");
}

// Every line is written back in the program's form, changed or not.
TEST(BulkTools, RewriteEveryLine)
{
    Project project;
    const std::string loose = " 1 //0/t/" + SJ("て") + "//" + SJ("て") + "//u&sl;//200/40///2003&sl;5&sl;6/";
    project.Genres[0].Lines = {loose};
    EXPECT_EQ(TidyTagLists(project), 0u);
    EXPECT_EQ(project.Genres[0].Lines[0], ItemToLine(LineToItem(loose)));
    EXPECT_NE(project.Genres[0].Lines[0], loose);
}

} // namespace
