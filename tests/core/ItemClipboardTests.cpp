#include <gtest/gtest.h>

#include "core/collection/ItemClipboard.h"
#include "core/collection/Project.h"
#include "core/collection/ShownItems.h"
#include "core/text/Codepage.h"

using namespace tessaly;

namespace {

TLinkItem Sample(int serial)
{
    TLinkItem item;
    item.Serial = serial;
    item.GenreName = "G";
    item.Title = SJ("森の工房");
    item.TitleKana = SJ("もりのこうぼう");
    item.Author = SJ("山田");
    item.AuthorKana = SJ("やまだ");
    item.Mail = "m@example.jp";
    item.Url = "example.jp/~m/";
    item.Attributes = SJ("最新/相互");
    item.Date = *EncodeDateTime({2003, 5, 17});
    item.Comment = "one\r\ntwo\r\nthree";
    return item;
}

TEST(ItemClipboard, ItemLinesFollowTheChosenOrderEachWithCrLf)
{
    TLinkItem plain = Sample(2);
    plain.Attributes.clear();
    plain.Comment = "a/b";
    const std::vector<TLinkItem> rows = {Sample(1), plain};
    EXPECT_EQ(ItemLinesText(rows, {1, 7, 0}),
        "2/G/0/" + SJ("森の工房/もりのこうぼう/山田/やまだ")
            + "/m@example.jp/example.jp&sl;~m&sl;//200/40///2003&sl;05&sl;17/" + "a&amp;sl;b\r\n" + "1/G/0/"
            + SJ("森の工房/もりのこうぼう/山田/やまだ") + "/m@example.jp/example.jp&sl;~m&sl;//200/40/"
            + SJ("最新&sl;相互") + "//2003&sl;05&sl;17/one&amp;ln;two&amp;ln;three\r\n");
    EXPECT_EQ(ItemLinesText(rows, {}), "");
}

TEST(ItemClipboard, ReadableLayoutOfEachChosenItemInTurn)
{
    TLinkItem banner = Sample(12);
    banner.Banner = "example.jp/b.gif";
    banner.BannerX = 88;
    banner.BannerY = 31;
    banner.Attributes.clear();
    banner.Comment.clear();
    const std::vector<TLinkItem> rows = {Sample(3), banner};
    const std::string expected = SJ("シリアル       = 0012\r\n"
                                    "タイトル       = 森の工房\r\n"
                                    "タイトル(仮名) = もりのこうぼう\r\n"
                                    "作者名         = 山田\r\n"
                                    "作者名(仮名)   = やまだ\r\n"
                                    "メールアドレス = m@example.jp\r\n"
                                    "ページ URL     = http://example.jp/~m/\r\n"
                                    "バナー URL     = http://example.jp/b.gif\r\n"
                                    "バナーサイズ   = width=88, height=31\r\n"
                                    "アトリビュート = \r\n"
                                    "コンテンツ     = \r\n"
                                    "登録日付       = 2003/05/17\r\n"
                                    "コメント       = \r\n"
                                    "\r\n"
                                    "シリアル       = 0003\r\n"
                                    "タイトル       = 森の工房\r\n"
                                    "タイトル(仮名) = もりのこうぼう\r\n"
                                    "作者名         = 山田\r\n"
                                    "作者名(仮名)   = やまだ\r\n"
                                    "メールアドレス = m@example.jp\r\n"
                                    "ページ URL     = http://example.jp/~m/\r\n"
                                    "バナー URL     = \r\n"
                                    "バナーサイズ   = \r\n"
                                    "アトリビュート = [最新][相互]\r\n"
                                    "コンテンツ     = \r\n"
                                    "登録日付       = 2003/05/17\r\n"
                                    "コメント       = one\r\n"
                                    "                 two\r\n"
                                    "                 three\r\n"
                                    "\r\n");
    EXPECT_EQ(ReadableItemsText(rows, {1, 0}), expected);
}

TEST(ItemClipboard, PasteKeepsValidLinesOnlyUnnumberedUnderTheTargetGenre)
{
    TLinkItem katakana = Sample(5);
    katakana.TitleKana = SJ("モリ");
    const std::string text
        = ItemLinesText({Sample(4), katakana, Sample(6)}, {0, 1, 2}) + "no item here\n" + ItemToLine(Sample(7)) + "\r";
    const std::vector<TLinkItem> pasted = PastedItems(text, "B");
    ASSERT_EQ(pasted.size(), 3u);
    for (const TLinkItem& item : pasted) {
        TLinkItem expected = Sample(0);
        expected.Serial = kUnnumbered;
        expected.GenreName = "B";
        EXPECT_EQ(item, expected);
    }
    EXPECT_TRUE(PastedItems("", "B").empty());
    EXPECT_TRUE(PastedItems("1/G/0/t/k/a/k/m/u/b/1/1///2003&sl;05&sl;17/", "").empty());
}

TEST(ItemClipboard, CopyThenPasteIntoTheSameGenreDuplicatesWithNewSerials)
{
    Project project;
    project.AddGenre("G");
    project.SerialMax = 9;
    ShownItems shown(project);
    shown.SelectGenre(1);
    shown.AddItemRecord(Sample(3));
    shown.AddItemRecord(Sample(8));
    const std::string copied = ItemLinesText(shown.Rows(), {0, 1});
    for (TLinkItem& item : PastedItems(copied, GenreFieldOf(project, shown.SelectedGenre()))) {
        shown.AddItemRecord(std::move(item));
    }
    ASSERT_EQ(shown.Rows().size(), 4u);
    EXPECT_EQ(shown.Rows()[2].Serial, 10);
    EXPECT_EQ(shown.Rows()[3].Serial, 11);
    TLinkItem renumbered = shown.Rows()[2];
    renumbered.Serial = 3;
    EXPECT_EQ(renumbered, Sample(3));
}

TEST(ItemClipboard, GenreFieldOfEachKindOfGenre)
{
    Project project;
    project.AddGenre("A");
    project.AddGenre("B");
    const std::pair<std::size_t, std::string> cases[]
        = {{0, ""}, {1, "A"}, {2, "B"}, {3, std::string(kTrashGenreMark)}, {4, ""}};
    for (const auto& [genre, field] : cases) {
        EXPECT_EQ(GenreFieldOf(project, genre), field) << genre;
    }
}

} // namespace
