#pragma once

// The main window: the open collection in four panes (genres, items,
// attributes, contents), the file commands with their save prompts, the
// title and the status bar.

#include <QMainWindow>
#include <QStringList>

#include "collection/ItemListSort.h"
#include "collection/Project.h"
#include "collection/ShownItems.h"
#include "settings/AppSettings.h"

class QAction;
class QLabel;
class QListWidget;
class QSplitter;
class QTreeView;

namespace tessaly {

class Clock;
class FileDialogs;
class ItemListModel;
class MessagePresenter;
class SettingsStore;

// What the window needs from outside; tests pass scripted ones.
struct MainServices {
    MessagePresenter& messages;
    FileDialogs& files;
    SettingsStore& settings;
    const Clock& clock;
    SettingsEnvironment environment;
};

// The command line: "-T"/"/T" toggles the start screen, "-W"/"/W" the saved
// window position (any case); other switches are ignored; the rest are files.
struct StartOptions {
    bool startScreen = true;
    bool restorePosition = true;
    QStringList passedFiles;
};

StartOptions ParseCommandLine(const QStringList& arguments);

class TForm_Main final : public QMainWindow {
    Q_OBJECT

public:
    TForm_Main(MainServices services, StartOptions options, QWidget* parent = nullptr);
    ~TForm_Main() override;

    Project& CurrentProject() { return project_; }
    ShownItems& Shown() { return shown_; }
    const AppSettings& Settings() const { return settings_; }

    bool IsEditing() const { return project_.IsEditing; }
    void SetIsEditing(bool editing);
    void SetEditingName(const std::filesystem::path& name);
    QString StatusBarText() const;

    // Handles the files of the command line: the first project file opens
    // here, every later one in a new process.
    void OpenPassedFiles();

    // File commands.
    void MM_NewFileClick();
    void MM_OpenFileClick();
    void MM_SaveFileClick();
    void MM_MergeFileClick();
    void MM_ReloadFileClick();
    void MM_ExitClick();
    void MM_QuitClick();

    // False when the user cancelled the name dialog or the save failed.
    bool SaveProject();
    void LoadProject(const QString& fileName);

    // Starts another instance of the program for a file (overridable by tests).
    std::function<void(const QStringList& arguments)> startProcess;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildWidgets();
    void BuildMenus();
    void ApplySettings();
    void StoreWindowSettings();

    // Asks to save a changed project; false when the command must stop.
    bool SavePrompt(const QString& question);
    void ResetToNewProject();
    void RefreshPanes();
    void ShowGenre(int index);
    void SortRows();
    void UpdateTitle();
    void UpdateCommandStates();
    void UpdateCounts();

    MainServices services_;
    StartOptions options_;
    AppSettings settings_;
    Project project_;
    ShownItems shown_;
    ItemListOrder order_;
    bool closingWithoutPrompt_ = false;
    bool saveSettingsOnClose_ = true;

    QSplitter* splitter_ = nullptr;
    QSplitter* tagSplitter_ = nullptr;
    QListWidget* genreList_ = nullptr;
    QTreeView* itemView_ = nullptr;
    ItemListModel* itemModel_ = nullptr;
    QListWidget* attributeList_ = nullptr;
    QListWidget* contentList_ = nullptr;
    QLabel* changedPanel_ = nullptr;
    QLabel* textPanel_ = nullptr;
    QAction* saveAction_ = nullptr;
    QAction* reloadAction_ = nullptr;
};

} // namespace tessaly
