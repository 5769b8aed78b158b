#include <gtest/gtest.h>

#include "core/collection/CollectionEditing.h"
#include "core/collection/LinkItem.h"
#include "core/collection/Project.h"
#include "core/collection/ShownItems.h"
#include "core/text/Codepage.h"

using namespace tessaly;

namespace {

TLinkItem Item(int serial, const std::string& genre, const std::string& attributes = {})
{
    TLinkItem item;
    item.Serial = serial;
    item.GenreName = genre;
    item.Title = "t" + std::to_string(serial);
    item.TitleKana = SJ("て");
    item.AuthorKana = SJ("あ");
    item.Url = "u/";
    item.Attributes = attributes;
    return item;
}

struct Collection {
    Project project;
    ShownItems shown{project};
    Collection()
    {
        project.AddGenre("A");
        project.AddGenre("B");
        project.Attributes = {"x", "a", "y", "a&b"};
        project.Genres[1].Lines = {ItemToLine(Item(1, "A", "x/a/y")), ItemToLine(Item(2, "A", "a"))};
        project.Genres[2].Lines = {ItemToLine(Item(3, "B", "a&amp;b/a"))};
        shown.SelectGenre(1);
        shown.LoadGenreIntoList();
    }
    std::string AttributesOf(std::size_t genre, std::size_t line)
    {
        return LineToItem(project.Genres[genre].Lines[line]).Attributes;
    }
};

struct NameCase {
    std::string text;
    int renaming;
    NameCheck expected;
};

class NameChecks : public ::testing::TestWithParam<NameCase> { };

TEST_P(NameChecks, RefuseBadNames)
{
    EXPECT_EQ(CheckName(GetParam().text, {"Games", "Music"}, GetParam().renaming), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Names, NameChecks,
    ::testing::Values(NameCase{"   ", -1, NameCheck::Empty}, NameCase{"a\tb", -1, NameCheck::ControlCode},
        NameCase{"a|b", -1, NameCheck::VerticalLine}, NameCase{SJ("ソ"), -1, NameCheck::Ok}, // trail byte 0x5C only
        NameCase{"Games", -1, NameCheck::Duplicate}, NameCase{" Games ", 0, NameCheck::Ok},
        NameCase{"games", -1, NameCheck::Ok}, NameCase{"Books", -1, NameCheck::Ok}));

TEST(CollectionEditing, RenameGenreRenamesTheShownItemsOnly)
{
    Collection c;
    EXPECT_FALSE(RenameGenre(c.project, c.shown, 1, "A"));
    EXPECT_FALSE(RenameGenre(c.project, c.shown, 0, "X"));
    EXPECT_TRUE(RenameGenre(c.project, c.shown, 1, "Z"));
    EXPECT_EQ(c.project.Genres[1].Name, "Z");
    EXPECT_EQ(LineToItem(c.project.Genres[1].Lines[0]).GenreName, "Z");
    EXPECT_EQ(LineToItem(c.project.Genres[2].Lines[0]).GenreName, "B");
}

TEST(CollectionEditing, EraseGenreMovesItsItemsToTheTrash)
{
    Collection c;
    EXPECT_TRUE(EraseGenre(c.project, c.shown, 1));
    ASSERT_EQ(c.project.Genres.size(), 3u);
    EXPECT_EQ(c.project.Genres.back().Lines.size(), 2u);
    EXPECT_EQ(LineToItem(c.project.Genres.back().Lines[0]).GenreName, "A");
    EXPECT_EQ(c.shown.SelectedGenre(), 0u);
    EXPECT_FALSE(EraseGenre(c.project, c.shown, 2)); // the trash
}

TEST(CollectionEditing, GenresMoveBetweenTheSystemGenres)
{
    Collection c;
    EXPECT_FALSE(MoveGenreUp(c.project, c.shown, 1));
    EXPECT_FALSE(MoveGenreDown(c.project, c.shown, 2));
    EXPECT_TRUE(MoveGenreDown(c.project, c.shown, 1));
    EXPECT_EQ(c.project.Genres[1].Name, "B");
    EXPECT_EQ(c.project.Genres[2].Name, "A");
    EXPECT_EQ(c.shown.SelectedGenre(), 2u); // the shown genre moved with it
    EXPECT_TRUE(MoveGenreUp(c.project, c.shown, 2));
    EXPECT_EQ(c.project.Genres[1].Name, "A");
}

TEST(CollectionEditing, RenameAndEraseTagsEverywhere)
{
    Collection c;
    EXPECT_TRUE(RenameTag(c.project, c.shown, Vocabulary::Attributes, 1, "b"));
    EXPECT_EQ(c.shown.Rows()[0].Attributes, "x/b/y");
    EXPECT_EQ(c.shown.Rows()[1].Attributes, "b");
    EXPECT_EQ(c.AttributesOf(2, 0), "a&amp;b/b");
    EXPECT_TRUE(RenameTag(c.project, c.shown, Vocabulary::Attributes, 3, "c/d"));
    EXPECT_EQ(c.AttributesOf(2, 0), "c&sl;d/b");
    EXPECT_FALSE(RenameTag(c.project, c.shown, Vocabulary::Attributes, 0, "x"));

    EXPECT_TRUE(EraseTag(c.project, c.shown, Vocabulary::Attributes, 1));
    EXPECT_EQ(c.shown.Rows()[0].Attributes, "x/y");
    EXPECT_EQ(c.shown.Rows()[1].Attributes, "");
    EXPECT_EQ(c.AttributesOf(2, 0), "c&sl;d");
    EXPECT_EQ(c.project.Attributes, (std::vector<std::string>{"x", "y", "c/d"}));
}

TEST(CollectionEditing, TagListsAndAssignment)
{
    EXPECT_EQ(ReplaceInTagList("x/a/y", "a", nullptr), "x/y");
    EXPECT_EQ(ReplaceInTagList("a", "a", nullptr), "");
    EXPECT_EQ(ReplaceInTagList("aa/a", "a", nullptr), "aa");
    EXPECT_EQ(TagList({"new", "a/b"}), "new/a&sl;b");
    Collection c;
    EXPECT_TRUE(AssignTags(c.shown, Vocabulary::Contents, {0, 1}, "CG"));
    EXPECT_EQ(c.shown.Rows()[1].Contents, "CG");
    EXPECT_FALSE(AssignTags(c.shown, Vocabulary::Contents, {0, 1}, "CG"));
    EXPECT_TRUE(MoveTag(c.project, Vocabulary::Attributes, 0, false));
    EXPECT_EQ(c.project.Attributes[1], "x");
    EXPECT_FALSE(MoveTag(c.project, Vocabulary::Attributes, 0, true));
}

TEST(CollectionEditing, MovingAndDeletingRows)
{
    Collection c;
    EXPECT_FALSE(MoveRowsToGenre(c.project, c.shown, {0}, 1)); // the shown genre
    EXPECT_TRUE(MoveRowsToGenre(c.project, c.shown, {0}, 0));
    EXPECT_EQ(LineToItem(c.project.Genres[0].Lines.back()).GenreName, "");
    ASSERT_EQ(c.shown.Rows().size(), 1u);
    EXPECT_TRUE(MoveRowsToGenre(c.project, c.shown, {0}, c.project.TrashIndex()));
    EXPECT_EQ(LineToItem(c.project.Genres.back().Lines.back()).GenreName, "\xFF");
    EXPECT_TRUE(c.shown.Rows().empty());

    c.shown.SelectGenre(2);
    c.shown.LoadGenreIntoList();
    EXPECT_TRUE(DeleteRowsToTrash(c.project, c.shown, {0}));
    EXPECT_EQ(LineToItem(c.project.Genres.back().Lines.back()).GenreName, "B");
}

} // namespace
