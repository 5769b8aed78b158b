#pragma once

// The per-user settings of the desktop program: window layout, item list
// state, external programs and user-interface choices, kept in a
// SettingsStore under "\Software\Brindlewood\Tessaly", with a one-time
// migration from the old "\Software\BrindleSoft Works\Tessaly".

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace tessaly {

class SettingsStore;

inline constexpr std::string_view kSettingsKey = "\\Software\\Brindlewood\\Tessaly";
inline constexpr std::string_view kOldSettingsKey = "\\Software\\BrindleSoft Works\\Tessaly";
inline constexpr std::size_t kItemColumnCount = 7;
inline constexpr int32_t kMinimumColumnWidth = 40;

struct MainWindowSettings {
    int32_t top = 0;
    int32_t left = 0;
    int32_t width = 640;
    int32_t height = 480;
    int32_t genreWidth = 128;
    bool maximized = false;
    int32_t attrWidth = 128;
    int32_t attrHeight = 160;
    // Title, author, mail, URL, banner, date, serial.
    std::array<int32_t, kItemColumnCount> columns{160, 120, 120, 240, 240, 80, 0};
    int32_t sortBy = 0;
    int32_t sortDir = 0;
    bool sortKana = true;
    int32_t viewStyle = 3; // 3 report, 2 list
    bool gridLines = false;
    bool girlDisabled = false;
};

struct BrowserSettings {
    bool defShell = true;
    int32_t preset = 0;
    std::string appPath;
    bool ddeUse = true;
    std::string ddeService = "IExplore";
    std::string ddeTopic = "WWW_OpenURL";
};

struct AppSettings {
    MainWindowSettings mainWindow;
    std::string editorPath;
    BrowserSettings browser;
    int32_t doubleClick = 0; // 0 edit the item, 1 open it in the browser
    int32_t fileDrop = 0; // 0 open anew, 1 new window, 2 merge
};

// What the defaults depend on: the screen and the programs of this system.
struct SettingsEnvironment {
    int32_t screenWidth = 1024;
    int32_t screenHeight = 768;
    std::string editorPath;
    std::string browserPath;
};

// The browser settings a new user starts with for the browser found.
BrowserSettings DefaultBrowser(const std::string& browserPath);

AppSettings DefaultSettings(const SettingsEnvironment& environment);

// Reads the settings over the defaults; "Top" and "Left" only when
// restorePosition is set. When only the old key exists, its values are
// read, written to the new key and the old key is deleted.
AppSettings LoadSettings(SettingsStore& store, const SettingsEnvironment& environment, bool restorePosition);

void SaveSettings(SettingsStore& store, const AppSettings& settings);

// Removes the program's settings ("Tessaly" and, when nothing else is left
// in it, "\Software\Brindlewood").
void EraseSettings(SettingsStore& store);

} // namespace tessaly
