#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <random>

#include "core/collection/CollectionEditing.h"
#include "core/collection/ItemMarks.h"
#include "core/collection/NewestAttribute.h"
#include "core/collection/Project.h"
#include "core/collection/ProjectFile.h"
#include "core/collection/ShownItems.h"
#include "core/collection/UndoHistory.h"
#include "core/text/Codepage.h"
#include "core/text/DateTime.h"
#include "core/tools/DomainReplace.h"
#include "core/tools/TagTidy.h"

using namespace tessaly;

namespace {

struct Example {
    Project project;
    ShownItems shown{project};
    Example()
    {
        EXPECT_EQ(LoadProjectFile(project, TESSALY_EXAMPLES_DIR "/links.TSP").result, LoadOutcome::Result::Loaded);
        shown.SelectGenre(1);
        shown.LoadGenreIntoList();
    }
};

using Change = std::function<void(Example&)>;

struct ChangeCase {
    const char* name;
    Change change;
};

const ChangeCase kChanges[] = {
    {"new genre", [](Example& e) { e.project.AddGenre("new"); }},
    {"rename genre", [](Example& e) { RenameGenre(e.project, e.shown, 2, "renamed"); }},
    {"erase genre", [](Example& e) { EraseGenre(e.project, e.shown, 2); }},
    {"move genre", [](Example& e) { MoveGenreDown(e.project, e.shown, 1); }},
    {"new attribute", [](Example& e) { e.project.Attributes.push_back("extra"); }},
    {"rename content", [](Example& e) { RenameTag(e.project, e.shown, Vocabulary::Contents, 0, "renamed"); }},
    {"erase attribute", [](Example& e) { EraseTag(e.project, e.shown, Vocabulary::Attributes, 1); }},
    {"move attribute", [](Example& e) { MoveTag(e.project, Vocabulary::Attributes, 0, false); }},
    {"drag to a genre", [](Example& e) { MoveRowsToGenre(e.project, e.shown, {0, 2}, 3); }},
    {"delete to the trash", [](Example& e) { DeleteRowsToTrash(e.project, e.shown, {1}); }},
    {"tags", [](Example& e) { AssignTags(e.shown, Vocabulary::Attributes, {0, 1}, TagList({e.project.Attributes[0]})); }},
    {"status", [](Example& e) { SetItemStatus(e.shown.Rows(), {0, 3}, 2); }},
    {"new item", [](Example& e) { e.project.Genres[0].Lines.push_back(e.project.Genres[1].Lines[0]); }},
    {"domain replace", [](Example& e) { ReplaceDomains(e.project, {"example", "sample", true, true}); }},
    {"tidy", [](Example& e) {
         e.project.Attributes.pop_back(); // items keep the name until tidied
         TidyTagLists(e.project);
     }},
    {"newest attribute",
        [](Example& e) { AdjustNewestAttribute(e.project, {NewestPeriodMode::From, *EncodeDateTime({2000, 1, 1}), {}}); }},
    {"options", [](Example& e) {
         e.project.Title = "other";
         e.project.Templates.push_back("t/a/b/c/d/e/f");
     }},
    {"publishing", [](Example& e) {
         e.project.Publishing.pageEncoding = PageEncoding::Utf8;
         e.project.Publishing.publishCommand = "git push";
     }},
};

// The project as its file would hold it.
std::string Saved(Example& e)
{
    e.shown.FlushGenre();
    return ProjectFileText(e.project);
}

} // namespace

TEST(UndoHistory, EveryChangeIsUndoneAndRedoneByteForByte)
{
    for (const ChangeCase& change : kChanges) {
        SCOPED_TRACE(change.name);
        Example e;
        UndoHistory history;
        history.Reset(e.project);
        const std::string before = Saved(e);
        change.change(e);
        const std::string after = Saved(e);
        ASSERT_TRUE(before != after);
        ASSERT_TRUE(history.Record(e.project, change.name));
        EXPECT_FALSE(history.IsClean());
        EXPECT_EQ(history.UndoName(), change.name);
        ASSERT_TRUE(history.Undo(e.project));
        e.shown.Clear();
        EXPECT_TRUE(ProjectFileText(e.project) == before);
        EXPECT_TRUE(history.IsClean());
        ASSERT_TRUE(history.Redo(e.project));
        EXPECT_TRUE(ProjectFileText(e.project) == after);
        EXPECT_FALSE(history.Record(e.project, "nothing")); // no change, no step
    }
}

TEST(UndoHistory, FiftyRandomChangesUndoneToTheStartAndRedoneToTheEnd)
{
    Example e;
    UndoHistory history;
    history.Reset(e.project);
    std::vector<std::string> states{Saved(e)};
    std::mt19937 random(20261209);
    for (int i = 0; i < 50; ++i) {
        const ChangeCase& change = kChanges[random() % std::size(kChanges)];
        e.shown.SelectGenre(1 + random() % (e.project.Genres.size() - 2));
        e.shown.LoadGenreIntoList();
        change.change(e);
        const std::string now = Saved(e);
        if (history.Record(e.project, change.name)) {
            states.push_back(now);
        }
    }
    ASSERT_GT(states.size(), 25u);
    for (std::size_t i = states.size() - 1; i-- > 0;) {
        ASSERT_TRUE(history.Undo(e.project));
        ASSERT_TRUE(ProjectFileText(e.project) == states[i]) << "after undoing to step " << i;
    }
    EXPECT_FALSE(history.CanUndo());
    for (std::size_t i = 1; i < states.size(); ++i) {
        ASSERT_TRUE(history.Redo(e.project));
        ASSERT_TRUE(ProjectFileText(e.project) == states[i]) << "after redoing step " << i;
    }
}

TEST(UndoHistory, SavedStateNewStepsAndTheMemoryLimit)
{
    Example e;
    UndoHistory history(64 * 1024);
    history.Reset(e.project);
    std::reverse(e.project.Genres[1].Lines.begin(), e.project.Genres[1].Lines.end());
    EXPECT_FALSE(history.Record(e.project, "order")); // the order the list shows is no change
    e.project.AddGenre("one");
    history.Record(e.project, "one");
    history.MarkSaved();
    EXPECT_TRUE(history.IsClean());
    history.Undo(e.project);
    EXPECT_FALSE(history.IsClean());
    e.project.AddGenre("two"); // a new step drops the undone one, the saved state with it
    history.Record(e.project, "two");
    EXPECT_FALSE(history.CanRedo());
    history.Undo(e.project);
    EXPECT_FALSE(history.IsClean());

    // Whole-collection changes go past the limit: the oldest steps go first.
    for (int i = 0; i < 40; ++i) {
        ReplaceDomains(e.project, {i % 2 == 0 ? "example" : "sample", i % 2 == 0 ? "sample" : "example", true, true});
        history.Record(e.project, "replace");
    }
    EXPECT_LE(history.MemoryUse(), 64u * 1024);
    EXPECT_LT(history.Steps(), 40u);
    EXPECT_GE(history.Steps(), 1u);
}
