#include <gtest/gtest.h>

#include "core/settings/AppSettings.h"
#include "core/settings/ExternalPrograms.h"
#include "core/settings/SettingsStore.h"
#include "support/RecordingShell.h"

using namespace tessaly;

namespace {

const SettingsEnvironment kEnvironment{1600, 1000, "/usr/bin/editor", "/usr/bin/browser"};

TEST(AppSettings, DefaultsFollowTheScreen)
{
    MemorySettingsStore store;
    const AppSettings settings = LoadSettings(store, kEnvironment, true);
    EXPECT_EQ(settings.mainWindow.top, 300);
    EXPECT_EQ(settings.mainWindow.left, 500);
    EXPECT_EQ(settings.mainWindow.width, 640);
    EXPECT_EQ(settings.mainWindow.columns, (std::array<int32_t, 7>{160, 120, 120, 240, 240, 80, 40}));
    EXPECT_EQ(settings.editorPath, "/usr/bin/editor");
    EXPECT_EQ(settings.browser.appPath, "/usr/bin/browser");
    EXPECT_TRUE(settings.mainWindow.sortKana);
    EXPECT_FALSE(store.KeyExists(kSettingsKey)); // loading writes nothing
}

// The preset shown, the program's path and its service agree from the start.
TEST(AppSettings, DefaultBrowserPresetMatchesTheProgramFound)
{
    const struct {
        const char* path;
        int32_t preset;
        const char* service;
    } cases[] = {
        {"/usr/bin/firefox", 0, "Firefox"},
        {"/usr/bin/firefox-esr", 0, "Firefox"},
        {"/usr/bin/chromium", 1, "Chromium"},
        {"/usr/bin/xdg-open", kAnyBrowserPreset, ""},
    };
    for (const auto& c : cases) {
        const BrowserSettings browser = DefaultBrowser(c.path);
        EXPECT_EQ(browser.appPath, c.path);
        EXPECT_EQ(browser.preset, c.preset) << c.path;
        EXPECT_EQ(browser.ddeService, c.service) << c.path;
        EXPECT_NE(browser.ddeService, "IExplore");
    }
}

TEST(AppSettings, SaveAndLoadRoundTrip)
{
    MemorySettingsStore store;
    AppSettings settings = DefaultSettings(kEnvironment);
    settings.mainWindow.top = 5;
    settings.mainWindow.columns = {50, 60, 70, 80, 90, 100, 110};
    settings.mainWindow.viewStyle = 2;
    settings.mainWindow.gridLines = true;
    settings.browser.defShell = false;
    settings.browser.ddeService = "NSShell";
    settings.fileDrop = 2;
    SaveSettings(store, settings);
    const AppSettings loaded = LoadSettings(store, kEnvironment, true);
    EXPECT_EQ(loaded.mainWindow.top, 5);
    EXPECT_EQ(loaded.mainWindow.columns, settings.mainWindow.columns);
    EXPECT_EQ(loaded.mainWindow.viewStyle, 2);
    EXPECT_TRUE(loaded.mainWindow.gridLines);
    EXPECT_FALSE(loaded.browser.defShell);
    EXPECT_EQ(loaded.browser.ddeService, "NSShell");
    EXPECT_EQ(loaded.fileDrop, 2);
}

TEST(AppSettings, OddStoredValues)
{
    MemorySettingsStore store;
    const std::string window = std::string(kSettingsKey) + "\\MainWindow";
    store.WriteInteger(window, "Top", 1);
    store.WriteInteger(window, "Width", 900);
    store.WriteInteger(window, "ViewStyle", 1);
    store.WriteBinary(window, "Column",
        {10, 0, 0, 0, 200, 0, 0, 0, 0, 1, 0, 0, 40, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 255, 255, 255, 255});
    const AppSettings settings = LoadSettings(store, kEnvironment, false);
    EXPECT_EQ(settings.mainWindow.top, 300); // position not restored
    EXPECT_EQ(settings.mainWindow.width, 900);
    EXPECT_EQ(settings.mainWindow.viewStyle, 3);
    EXPECT_EQ(settings.mainWindow.columns, (std::array<int32_t, 7>{40, 200, 256, 40, 40, 40, 40}));
    store.WriteBinary(window, "Column", {1, 2, 3}); // wrong size: defaults
    EXPECT_EQ(LoadSettings(store, kEnvironment, true).mainWindow.columns[0], 160);
}

TEST(AppSettings, MigratesFromTheOldKeyOnce)
{
    MemorySettingsStore store;
    store.WriteInteger(std::string(kOldSettingsKey) + "\\MainWindow", "Width", 777);
    store.WriteString(std::string(kOldSettingsKey) + "\\Author", "Name", "owner");
    const AppSettings settings = LoadSettings(store, kEnvironment, true);
    EXPECT_EQ(settings.mainWindow.width, 777);
    EXPECT_FALSE(store.KeyExists(kOldSettingsKey));
    EXPECT_EQ(store.ReadInteger(std::string(kSettingsKey) + "\\MainWindow", "Width"), 777);
}

TEST(AppSettings, EraseKeepsOtherProgramsOfTheMaker)
{
    MemorySettingsStore store;
    SaveSettings(store, DefaultSettings(kEnvironment));
    store.WriteInteger("\\Software\\Brindlewood\\Other", "x", 1);
    EraseSettings(store);
    EXPECT_FALSE(store.KeyExists(kSettingsKey));
    EXPECT_TRUE(store.KeyExists("\\Software\\Brindlewood"));
    store.DeleteKey("\\Software\\Brindlewood\\Other");
    SaveSettings(store, DefaultSettings(kEnvironment));
    EraseSettings(store);
    EXPECT_FALSE(store.KeyExists("\\Software\\Brindlewood"));
}

} // namespace

namespace {

TEST(ExternalPrograms, OpenUrlFollowsTheBrowserSettings)
{
    test::RecordingShell shell;
    BrowserSettings browser;
    browser.appPath = "/usr/bin/b";
    OpenUrl(shell, browser, "");
    EXPECT_TRUE(shell.calls.empty());
    OpenUrl(shell, browser, "http://x/");
    browser.defShell = false;
    OpenUrl(shell, browser, "http://y/"); // DDE unanswered: the program
    shell.ddeAnswers = true;
    OpenUrl(shell, browser, "http://z/");
    browser.ddeUse = false;
    OpenUrl(shell, browser, "http://w/");
    MailTo(shell, "");
    MailTo(shell, "a@b");
    EXPECT_EQ(shell.calls,
        (std::vector<std::string>{"open http://x/", "dde IExplore http://y/", "start /usr/bin/b http://y/",
            "dde IExplore http://z/", "start /usr/bin/b http://w/", "open mailto:a@b"}));
}

} // namespace
