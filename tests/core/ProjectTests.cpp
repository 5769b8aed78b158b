#include <gtest/gtest.h>

#include "core/collection/Project.h"
#include "core/collection/ShownItems.h"
#include "core/settings/SettingsStore.h"
#include "core/text/Codepage.h"

using namespace tessaly;

namespace {

TEST(Project, NewProjectValues)
{
    Project project;
    project.Title = "x";
    project.SerialMax = 9;
    project.AddGenre("g");
    project.IsEditing = true;
    project.EditingName = "/tmp/x.TSP";
    ShownItems shown(project);
    shown.AddItemRecord(TLinkItem{});
    NewProject(project, shown, nullptr);
    ASSERT_EQ(project.Genres.size(), 2u);
    EXPECT_EQ(project.Genres[0].Name, SJ("【未整理】"));
    EXPECT_EQ(project.Genres[1].Name, SJ("【ゴミ箱】"));
    EXPECT_EQ(project.DefaultFile, "index.html");
    EXPECT_EQ(project.SubFile, "pages.html");
    EXPECT_EQ(project.SerialMax, 0);
    EXPECT_TRUE(project.Title.empty());
    EXPECT_FALSE(project.IsEditing);
    EXPECT_TRUE(project.EditingName.empty());
    EXPECT_TRUE(shown.Rows().empty());
    EXPECT_EQ(shown.SelectedGenre(), 0u);
}

TEST(Project, OwnerDefaultsComeFromSettings)
{
    MemorySettingsStore settings;
    Project project;
    project.Reset(&settings);
    EXPECT_TRUE(project.AuthorName.empty());
    settings.WriteString("\\Software\\BrindleSoft Works\\Tessaly\\Author", "Name", SJ("山田"));
    settings.WriteString("\\software\\brindlesoft works\\tessaly\\author\\", "NameKana", SJ("やまだ"));
    project.Reset(&settings);
    EXPECT_EQ(project.AuthorName, SJ("山田"));
    EXPECT_EQ(project.AuthorKana, SJ("やまだ"));
    EXPECT_EQ(project.AuthorMail, "");
}

TEST(Project, SerialsOnlyGrow)
{
    Project project;
    ShownItems shown(project);
    EXPECT_EQ(shown.Rows()[shown.AddItemRecord(TLinkItem{}).value()].Serial, 1);
    EXPECT_EQ(project.SerialMax, 1);
    shown.Rows().clear();
    EXPECT_EQ(shown.Rows()[shown.AddItemRecord(TLinkItem{}).value()].Serial, 2);
    TLinkItem numbered;
    numbered.Serial = 40;
    EXPECT_EQ(shown.Rows()[shown.AddItemRecord(numbered).value()].Serial, 40);
    EXPECT_EQ(project.SerialMax, 2);
}

// A serial maximum taken from a file may sit anywhere; the serials handed
// out from it are always ones the reader accepts.
TEST(Project, SerialsFromAnyMaximumAreReadable)
{
    const struct {
        int32_t maximum;
        int32_t next;
    } cases[] = {{0, 1}, {-2, 0}, {-5, -4}, {2147483646, 2147483647}};
    for (const auto& c : cases) {
        Project project;
        project.SerialMax = c.maximum;
        const int32_t serial = project.NextSerial().value();
        EXPECT_EQ(serial, c.next) << c.maximum;
        TLinkItem item;
        item.Serial = serial;
        item.Title = "t";
        item.TitleKana = item.AuthorKana = SJ("あ");
        item.Url = "u/";
        EXPECT_TRUE(IsValidItemLine(ItemToLine(item))) << c.maximum;
    }
}

// The largest serial may be an item's already: nothing more is added.
TEST(Project, NoSerialIsHandedOutTwice)
{
    Project project;
    project.SerialMax = 2147483646;
    ShownItems shown(project);
    EXPECT_EQ(shown.AddItemRecord(TLinkItem{}), 0u);
    EXPECT_EQ(shown.AddItemRecord(TLinkItem{}), std::nullopt);
    EXPECT_EQ(shown.Rows().size(), 1u);
    EXPECT_EQ(project.NextSerial(), std::nullopt);
    EXPECT_EQ(project.SerialMax, 2147483647);
}

TEST(Project, GenresKeepTheSystemGenresAtBothEnds)
{
    Project project;
    EXPECT_EQ(project.AddGenre("A"), 1u);
    EXPECT_EQ(project.AddGenre("B"), 2u);
    EXPECT_EQ(project.Genres.back().Name, TrashGenreName());
    EXPECT_EQ(project.FindGenre("b"), 2u);
    EXPECT_FALSE(project.FindGenre("C").has_value());
    EXPECT_TRUE(project.IsUserGenre(1));
    EXPECT_FALSE(project.IsUserGenre(0));
    EXPECT_FALSE(project.IsUserGenre(3));
    EXPECT_EQ(project.UserGenreCount(), 2u);
}

TEST(ShownItems, FlushAndLoadKeepOrderAndSkipSearchMode)
{
    Project project;
    const std::size_t genre = project.AddGenre("G");
    ShownItems shown(project);
    shown.SelectGenre(genre);
    TLinkItem item;
    item.Title = "second";
    item.Serial = 2;
    shown.AddItemRecord(item);
    item.Title = "first";
    item.Serial = 1;
    shown.AddItemRecord(item);
    shown.FlushGenre();
    ASSERT_EQ(project.Genres[genre].Lines.size(), 2u);
    shown.Clear();
    shown.LoadGenreIntoList();
    ASSERT_EQ(shown.Rows().size(), 2u);
    EXPECT_EQ(shown.Rows()[0].Title, "second");

    shown.SetSearchMode(true);
    shown.Clear();
    shown.FlushGenre();
    EXPECT_EQ(project.Genres[genre].Lines.size(), 2u);
}

TEST(Settings, MemoryStoreKeysAndTypes)
{
    MemorySettingsStore store;
    EXPECT_FALSE(store.KeyExists("\\Software\\Brindlewood\\Tessaly"));
    store.WriteInteger("\\Software\\Brindlewood\\Tessaly\\Window", "Left", 10);
    store.WriteBinary("\\Software\\Brindlewood\\Tessaly", "Columns", {1, 2, 3});
    EXPECT_TRUE(store.KeyExists("\\SOFTWARE\\Brindlewood"));
    EXPECT_EQ(store.ReadInteger("\\Software\\Brindlewood\\Tessaly\\Window", "left"), 10);
    EXPECT_FALSE(store.ReadString("\\Software\\Brindlewood\\Tessaly\\Window", "Left").has_value());
    EXPECT_EQ(store.ReadBinary("\\Software\\Brindlewood\\Tessaly", "Columns"), (SettingsBinary{1, 2, 3}));
    store.DeleteKey("\\Software\\Brindlewood");
    EXPECT_FALSE(store.KeyExists("\\Software\\Brindlewood\\Tessaly\\Window"));
}

} // namespace
