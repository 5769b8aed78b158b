#pragma once

// The main window: the open collection in four panes (genres, items,
// attributes, contents), the file commands with their save prompts, the
// title and the status bar.

#include <QMainWindow>
#include <QStringList>

#include <functional>
#include <optional>

#include "core/collection/CollectionEditing.h"
#include "core/collection/ItemListSort.h"
#include "core/collection/Project.h"
#include "core/collection/ProjectFile.h"
#include "core/collection/ShownItems.h"
#include "gui/history/EditHistory.h"
#include "gui/host/ItemListHost.h"
#include "gui/host/MainServices.h"
#include "gui/shell/StartOptions.h"
#include "core/settings/AppSettings.h"
#include "core/util/FileStamp.h"

class QAction;
class QMenu;
class QLabel;
class QToolBar;
class QListWidget;
class QTreeView;

namespace tessaly {

class CollectionCommands;
class CommandSet;
class ExchangeCommands;
class GenreListWidget;
class ItemClipboardCommands;
class ItemEditCommands;
class ItemListModel;
class ItemListViewCommands;
class ItemMarkCommands;
class MainPanes;
class MenuLayout;
class SearchCommands;

class TForm_Main final : public QMainWindow, public ItemListHost {
    Q_OBJECT

public:
    TForm_Main(MainServices services, StartOptions options, QWidget* parent = nullptr);
    ~TForm_Main() override;

    Project& CurrentProject() override { return project_; }
    ShownItems& Shown() override { return shown_; }
    const AppSettings& Settings() const override { return settings_; }
    MainServices& Services() override { return services_; }
    QWidget* DialogParent() override { return this; }
    QTreeView* ItemView() const override { return itemView_; }
    void RowsReplaced(const std::vector<std::size_t>& selected) override;
    void RowsChanged(const std::vector<std::size_t>& rows) override;
    void ShowGenreAgain() override;
    void ShowCollectionAgain(std::size_t genre) override;
    void SearchModeChanged(const QString& title, bool keepOrder) override;
    void RunCommand(const QString& name, const std::function<void()>& work) override;
    const UndoHistory& History() const override { return edits_.Steps(); }
    void Undo() override;
    void Redo() override;
    bool StartScreen() const { return options_.startScreen; }

    bool IsEditing() const { return project_.IsEditing; }
    void SetIsEditing(bool editing) override;
    void SetEditingName(const std::filesystem::path& name);
    QString StatusBarText() const;

    // Offers to read the file again when another program changed it and
    // nothing is edited here; asked on activation, once per change.
    void OfferReloadOfChangedFile();

    // Handles the files of the command line: the first project file opens
    // here, every later one in a new process.
    void OpenPassedFiles();

    // File commands.
    void MM_NewFileClick();
    void MM_OpenFileClick();
    void MM_SaveFileClick();
    void MM_SaveAsFileClick();
    void MM_MergeFileClick();
    void MM_ReloadFileClick();
    void MM_ExitClick();
    void MM_QuitClick();
    void MM_OptionsClick();
    void MM_RegEraseClick();
    // Files dropped on the window, handled by the drop setting.
    void HandleDroppedFiles(const QStringList& files);

    // False when the user cancelled the name dialog or the save failed.
    bool SaveProject();
    // Saves under a name the user chooses; false when cancelled or failed.
    bool SaveProjectAs();
    // False when nothing was read (the user has been told why).
    bool LoadProject(const QString& fileName);
    // Reads a project file into a project, telling the user what went wrong;
    // nothing when nothing was read.
    std::optional<LoadOutcome> ReadProject(const QString& fileName, Project& into);

    // The commands of the subsystems the window routes to.
    void TB_ItemNewClick();
    ItemListViewCommands& ViewCommands() { return *viewCommands_; }
    const ItemListOrder& Order() const;

    // Moves the selected rows of the item list to a genre (a drop).
    void MoveSelectedItemsTo(int genreIndex);
    std::vector<std::size_t> SelectedRows() const override;
    // Delete: the genre, the items or the attribute or content that has the focus.
    void MM_DeleteClick();
    ItemClipboardCommands& ClipboardCommands() { return *clipboard_; }
    SearchCommands& Searches() { return *search_; }

    // Starts another instance of the program for a file (overridable by tests).
    std::function<void(const QStringList& arguments)> startProcess;

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void BuildWidgets(MenuLayout& layout);
    // The menus, tool bars and pop-up with their places, and the window's
    // own entries in them.
    void BuildMenus(MenuLayout& layout);
    void BuildFileMenu(MenuLayout& layout);
    void BuildItemPopup(MenuLayout& layout);
    // Makes the command sets of the subsystems; each puts its actions in
    // their places.
    void AddCommandSets(MenuLayout& layout);
    template <typename Set, typename... Arguments> Set* Add(MenuLayout& layout, Arguments&&... arguments);
    void UpdateItemCommandStates();
    void SelectRows(const std::vector<std::size_t>& rows);
    ItemListState CurrentItemListState() const;
    void OnFocusChanged(QWidget* old, QWidget* now);
    void ApplySettings();
    void ApplyPaneSizes();
    void StoreWindowSettings();

    // Asks to save a changed project; false when the command must stop.
    bool SavePrompt(const QString& question);
    bool WriteProject(const std::filesystem::path& name);
    void ReloadFromDisk();
    void MergeProject(const QString& file);
    void ResetToNewProject();
    void ShowLoadedProject(const LoadOutcome& outcome);
    void RefreshPanes();
    void ShowGenre(int index);
    void SortRows();
    void UpdateTitle();
    void UpdateCommandStates();
    void UpdateCounts();
    // The history starts anew from the collection as it is shown.
    void StartHistory();
    void ShowIsEditing(bool editing);
    void TakeStep(bool forward);
    void DeleteFocused();
    void ImportRkm(const QString& file);

    MainServices services_;
    StartOptions options_;
    AppSettings settings_;
    Project project_;
    ShownItems shown_;
    EditHistory edits_{*this};
    // The open file as it was read or saved here.
    std::optional<FileStamp> diskStamp_;
    // A change on disk the user chose not to reload; not offered again.
    std::optional<FileStamp> declinedStamp_;
    bool checkingDisk_ = false;
    bool closingWithoutPrompt_ = false;
    bool saveSettingsOnClose_ = true;
    bool paneSizesApplied_ = false;

    MainPanes* panes_ = nullptr;
    GenreListWidget* genreList_ = nullptr;
    QTreeView* itemView_ = nullptr;
    ItemListModel* itemModel_ = nullptr;
    QListWidget* attributeList_ = nullptr;
    QListWidget* contentList_ = nullptr;
    QLabel* changedPanel_ = nullptr;
    QLabel* textPanel_ = nullptr;
    QAction* saveAction_ = nullptr;
    QAction* saveAsAction_ = nullptr;
    QAction* reloadAction_ = nullptr;
    QAction* selectAllAction_ = nullptr;
    QAction* deleteAction_ = nullptr;
    QMenu* itemPopup_ = nullptr;
    QMenu* importMenu_ = nullptr;
    std::vector<QAction*> fileActions_;

    std::vector<CommandSet*> commandSets_;
    // The sets the window itself routes keys, files and saves to.
    CollectionCommands* collection_ = nullptr;
    ItemEditCommands* itemEdit_ = nullptr;
    ItemClipboardCommands* clipboard_ = nullptr;
    ItemMarkCommands* marks_ = nullptr;
    ItemListViewCommands* viewCommands_ = nullptr;
    SearchCommands* search_ = nullptr;
    ExchangeCommands* exchange_ = nullptr;
};

} // namespace tessaly
