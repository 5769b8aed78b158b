#include "core/settings/AppSettings.h"

#include <algorithm>
#include <optional>

#include "core/settings/ExternalPrograms.h"
#include "core/settings/SettingsStore.h"

namespace tessaly {

namespace {

std::string Key(std::string_view main, std::string_view subkey)
{
    return std::string(main) + std::string(subkey);
}

// Reads values from one main key; missing values leave the field alone.
class Reader {
public:
    Reader(const SettingsStore& store, std::string_view mainKey)
        : store_(store)
        , main_(mainKey)
    {
    }

    void Integer(std::string_view subkey, std::string_view name, int32_t& field) const
    {
        if (const auto value = store_.ReadInteger(Key(main_, subkey), name)) {
            field = *value;
        }
    }
    void Boolean(std::string_view subkey, std::string_view name, bool& field) const
    {
        if (const auto value = store_.ReadInteger(Key(main_, subkey), name)) {
            field = *value != 0;
        }
    }
    void String(std::string_view subkey, std::string_view name, std::string& field) const
    {
        if (auto value = store_.ReadString(Key(main_, subkey), name)) {
            field = std::move(*value);
        }
    }
    void Columns(std::array<int32_t, kItemColumnCount>& columns) const
    {
        const auto value = store_.ReadBinary(Key(main_, "\\MainWindow"), "Column");
        if (!value || value->size() != columns.size() * 4) {
            return;
        }
        for (std::size_t i = 0; i < columns.size(); ++i) {
            const auto byte = [&](std::size_t k) { return static_cast<uint32_t>((*value)[i * 4 + k]); };
            columns[i] = static_cast<int32_t>(byte(0) | byte(1) << 8 | byte(2) << 16 | byte(3) << 24);
        }
    }

private:
    const SettingsStore& store_;
    std::string_view main_;
};

} // namespace

BrowserSettings DefaultBrowser(const std::string& browserPath)
{
    // The preset, the path and the service shown together must agree: the
    // preset is the one of the browser found, or "any" for another program.
    BrowserSettings browser;
    browser.appPath = browserPath;
    const std::vector<BrowserPreset>& presets = BrowserPresets();
    const std::string program = browserPath.substr(browserPath.rfind('/') + 1);
    browser.preset = kAnyBrowserPreset;
    browser.ddeService.clear();
    for (int32_t index = 0; index < kAnyBrowserPreset; ++index) {
        const BrowserPreset& preset = presets[static_cast<std::size_t>(index)];
        const std::string presetProgram = preset.program.substr(preset.program.rfind('/') + 1);
        if (program.starts_with(presetProgram)) {
            browser.preset = index;
            browser.ddeService = preset.ddeService;
            browser.ddeTopic = preset.ddeTopic;
            break;
        }
    }
    return browser;
}

AppSettings DefaultSettings(const SettingsEnvironment& environment)
{
    AppSettings settings;
    settings.mainWindow.top = (environment.screenHeight - 400) / 2;
    settings.mainWindow.left = (environment.screenWidth - 600) / 2;
    settings.editorPath = environment.editorPath;
    settings.browser = DefaultBrowser(environment.browserPath);
    return settings;
}

AppSettings LoadSettings(SettingsStore& store, const SettingsEnvironment& environment, bool restorePosition)
{
    const bool migrate = !store.KeyExists(kSettingsKey) && store.KeyExists(kOldSettingsKey);
    const Reader read(store, migrate ? kOldSettingsKey : kSettingsKey);
    AppSettings settings = DefaultSettings(environment);
    MainWindowSettings& window = settings.mainWindow;
    if (restorePosition) {
        read.Integer("\\MainWindow", "Top", window.top);
        read.Integer("\\MainWindow", "Left", window.left);
    }
    read.Integer("\\MainWindow", "Width", window.width);
    read.Integer("\\MainWindow", "Height", window.height);
    read.Integer("\\MainWindow", "GenreWidth", window.genreWidth);
    read.Boolean("\\MainWindow", "Maximized", window.maximized);
    read.Integer("\\MainWindow", "AttrWidth", window.attrWidth);
    read.Integer("\\MainWindow", "AttrHeight", window.attrHeight);
    read.Columns(window.columns);
    for (int32_t& width : window.columns) {
        width = std::max(width, kMinimumColumnWidth);
    }
    read.Integer("\\MainWindow", "SortBy", window.sortBy);
    read.Integer("\\MainWindow", "SortDir", window.sortDir);
    read.Boolean("\\MainWindow", "SortKana", window.sortKana);
    int32_t viewStyle = window.viewStyle;
    read.Integer("\\MainWindow", "ViewStyle", viewStyle);
    if (viewStyle == 2 || viewStyle == 3) {
        window.viewStyle = viewStyle;
    }
    read.Boolean("\\MainWindow", "GridLines", window.gridLines);
    read.Boolean("\\MainWindow", "GirlDisabled", window.girlDisabled);
    read.String("\\Editor", "EditorPath", settings.editorPath);
    read.Boolean("\\Browser", "DefShell", settings.browser.defShell);
    read.Integer("\\Browser", "Template", settings.browser.preset);
    read.String("\\Browser", "AppPath", settings.browser.appPath);
    read.Boolean("\\Browser", "DdeUse", settings.browser.ddeUse);
    read.String("\\Browser", "DdeService", settings.browser.ddeService);
    read.String("\\Browser", "DdeTopic", settings.browser.ddeTopic);
    read.Integer("\\UserInterface", "DoubleClick", settings.doubleClick);
    read.Integer("\\UserInterface", "FileDrop", settings.fileDrop);
    if (migrate) {
        SaveSettings(store, settings);
        store.DeleteKey(kOldSettingsKey);
    }
    return settings;
}

void SaveSettings(SettingsStore& store, const AppSettings& settings)
{
    const std::string window = Key(kSettingsKey, "\\MainWindow");
    const MainWindowSettings& w = settings.mainWindow;
    store.WriteInteger(window, "Top", w.top);
    store.WriteInteger(window, "Left", w.left);
    store.WriteInteger(window, "Width", w.width);
    store.WriteInteger(window, "Height", w.height);
    store.WriteInteger(window, "GenreWidth", w.genreWidth);
    store.WriteInteger(window, "Maximized", w.maximized ? 1 : 0);
    store.WriteInteger(window, "AttrWidth", w.attrWidth);
    store.WriteInteger(window, "AttrHeight", w.attrHeight);
    SettingsBinary columns;
    for (const int32_t width : w.columns) {
        const auto bits = static_cast<uint32_t>(width);
        for (int shift = 0; shift < 32; shift += 8) {
            columns.push_back(static_cast<uint8_t>(bits >> shift));
        }
    }
    store.WriteBinary(window, "Column", columns);
    store.WriteInteger(window, "SortBy", w.sortBy);
    store.WriteInteger(window, "SortDir", w.sortDir);
    store.WriteInteger(window, "SortKana", w.sortKana ? 1 : 0);
    store.WriteInteger(window, "ViewStyle", w.viewStyle);
    store.WriteInteger(window, "GridLines", w.gridLines ? 1 : 0);
    store.WriteInteger(window, "GirlDisabled", w.girlDisabled ? 1 : 0);
    store.WriteString(Key(kSettingsKey, "\\Editor"), "EditorPath", settings.editorPath);
    const std::string browser = Key(kSettingsKey, "\\Browser");
    store.WriteInteger(browser, "DefShell", settings.browser.defShell ? 1 : 0);
    store.WriteInteger(browser, "Template", settings.browser.preset);
    store.WriteString(browser, "AppPath", settings.browser.appPath);
    store.WriteInteger(browser, "DdeUse", settings.browser.ddeUse ? 1 : 0);
    store.WriteString(browser, "DdeService", settings.browser.ddeService);
    store.WriteString(browser, "DdeTopic", settings.browser.ddeTopic);
    const std::string ui = Key(kSettingsKey, "\\UserInterface");
    store.WriteInteger(ui, "DoubleClick", settings.doubleClick);
    store.WriteInteger(ui, "FileDrop", settings.fileDrop);
}

void EraseSettings(SettingsStore& store)
{
    store.DeleteKey(kSettingsKey);
    if (!store.HasSubkeys("\\Software\\Brindlewood")) {
        store.DeleteKey("\\Software\\Brindlewood");
    }
}

} // namespace tessaly
