#include <gtest/gtest.h>

#include <functional>

#include "core/collection/Project.h"
#include "core/design/ProjectOptions.h"
#include "core/settings/SettingsStore.h"
#include "support/ScriptedMessages.h"
#include "support/TempDir.h"
#include "core/text/Codepage.h"
#include "core/text/Paths.h"

using namespace tessaly;

namespace {

ProjectOptions Complete(const std::string& directory)
{
    ProjectOptions options;
    options.Title = SJ("題");
    options.AuthorName = SJ("花子");
    options.AuthorKana = SJ("はなこ");
    options.RootDir = directory;
    options.BannerDir = directory;
    options.DefaultFile = "index.html";
    options.SubFile = "pages.html";
    return options;
}

// The checks of OK in their order: the first failing one names its field
// and its message.
TEST(ProjectOptions, ChecksInOrder)
{
    test::TempDir dir;
    const std::string root = *FromFsPath(dir.Path());
    const struct {
        const char* what;
        std::function<void(ProjectOptions&)> change;
        OptionsField field;
        const char* message;
    } cases[] = {
        {"complete", [](ProjectOptions&) {}, OptionsField::None, nullptr},
        {"no administrator at all", [](ProjectOptions& o) { o.AuthorName = o.AuthorKana = ""; }, OptionsField::None,
            nullptr},
        {"name without reading", [](ProjectOptions& o) { o.AuthorKana = " "; }, OptionsField::AuthorKana,
            "管理者の名前と名前(かな)は対で入力して下さい."},
        {"reading without name", [](ProjectOptions& o) { o.AuthorName = ""; }, OptionsField::AuthorName,
            "管理者の名前と名前(かな)は対で入力して下さい."},
        {"katakana reading", [](ProjectOptions& o) { o.AuthorKana = SJ("ハナコ"); }, OptionsField::AuthorKana,
            "不正な文字が含まれています.\r\nかなには全角平仮名のみ利用できます."},
        {"no root", [](ProjectOptions& o) { o.RootDir += "/missing"; }, OptionsField::RootDir,
            "ルートディレクトリが見付かりません."},
        {"no banner directory", [](ProjectOptions& o) { o.BannerDir += "/missing"; }, OptionsField::BannerDir,
            "バナーディレクトリが見付かりません."},
        {"bad default name", [](ProjectOptions& o) { o.DefaultFile = "a/b.html"; }, OptionsField::DefaultFile,
            nullptr},
        {"bad sub name", [](ProjectOptions& o) { o.SubFile = "a|b"; }, OptionsField::SubFile, nullptr},
        {"empty directories are fine", [](ProjectOptions& o) { o.RootDir = o.BannerDir = ""; }, OptionsField::None,
            nullptr},
    };
    for (const auto& c : cases) {
        ProjectOptions options = Complete(root);
        c.change(options);
        test::ScriptedMessages messages;
        const OptionsVerdict verdict = CheckProjectOptions(options, messages);
        EXPECT_EQ(verdict.ok, c.field == OptionsField::None) << c.what;
        EXPECT_EQ(verdict.field, c.field) << c.what;
        if (c.message != nullptr) {
            ASSERT_EQ(messages.shown.size(), 1u) << c.what;
            EXPECT_EQ(messages.shown[0].text, SJ(c.message)) << c.what;
            EXPECT_EQ(messages.shown[0].buttons.Bits(), MessageButtons(MessageButton::Retry).Bits()) << c.what;
        }
    }
}

TEST(ProjectOptions, EmptyFileNamesAreFilledWhenTheUserAgrees)
{
    ProjectOptions options = Complete("");
    options.DefaultFile = "";
    options.SubFile = " ";
    test::ScriptedMessages messages;
    messages.SetNextAnswer(MessageButton::Yes);
    messages.SetNextAnswer(MessageButton::Yes);
    EXPECT_TRUE(CheckProjectOptions(options, messages).ok);
    EXPECT_EQ(options.DefaultFile, "index.html");
    EXPECT_EQ(options.SubFile, "pages.html");
    EXPECT_EQ(messages.shown[0].buttons.Bits(), (MessageButton::Yes | MessageButton::Retry).Bits());

    options.SubFile = "";
    messages.SetNextAnswer(MessageButton::Retry);
    const OptionsVerdict verdict = CheckProjectOptions(options, messages);
    EXPECT_EQ(verdict.field, OptionsField::SubFile);
    EXPECT_EQ(OptionsTabOf(verdict.field), 2);
    EXPECT_EQ(options.SubFile, "");
}

TEST(ProjectOptions, AppliedTrimmedAndTheOwnerStoredForNewProjects)
{
    Project project;
    ProjectOptions options = Complete("/site");
    options.Title = "  Links \t";
    options.ParentPath = " ../top.html ";
    ApplyOptions(project, options);
    EXPECT_EQ(project.Title, "Links");
    EXPECT_EQ(project.ParentPath, "../top.html");
    EXPECT_TRUE(project.IsEditing);
    EXPECT_EQ(OptionsOf(project).RootDir, "/site");

    MemorySettingsStore settings;
    StoreOwnerDefaults(settings, options);
    Project fresh;
    fresh.Reset(&settings);
    EXPECT_EQ(fresh.AuthorName, SJ("花子"));
    EXPECT_EQ(fresh.AuthorKana, SJ("はなこ"));
}

} // namespace
