// The main window's menus, tool bars and item pop-up: the places the command
// sets fill, and the window's own file, help and program commands.

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QMenuBar>
#include <QStyle>
#include <QToolBar>
#include <QTreeView>

#include "gui/GenreListWidget.h"
#include "gui/Icons.h"
#include "gui/clipboard/ItemClipboardCommands.h"
#include "gui/collection/CollectionCommands.h"
#include "gui/design/DesignCommands.h"
#include "gui/history/HistoryCommands.h"
#include "gui/host/MenuLayout.h"
#include "gui/items/ItemEditCommands.h"
#include "gui/items/ItemListViewCommands.h"
#include "gui/items/ItemMarkCommands.h"
#include "gui/linkcheck/LinkCheckCommands.h"
#include "gui/main/dlgMain.h"
#include "gui/options/ProjectOptionsCommands.h"
#include "gui/publish/PublishCommands.h"
#include "gui/search/SearchCommands.h"
#include "gui/searchsite/SearchSiteCommands.h"
#include "gui/shell/AssociationCommands.h"
#include "gui/shell/HelpCommands.h"
#include "gui/templates/TemplateCommands.h"
#include "gui/tools/BookmarkCommands.h"
#include "gui/tools/BulkToolCommands.h"
#include "gui/tools/ExchangeCommands.h"

namespace tessaly {

namespace {

QAction* MakeAction(QObject* owner, const char* name, const QString& caption, const QKeySequence& shortcut = {},
    const QIcon& icon = {})
{
    auto* action = new QAction(icon, caption, owner);
    action->setObjectName(QString::fromLatin1(name));
    action->setShortcut(shortcut);
    return action;
}

QToolBar* NamedToolBar(QMainWindow* window, const QString& title, const char* name)
{
    QToolBar* tools = window->addToolBar(title);
    tools->setObjectName(QString::fromLatin1(name));
    return tools;
}

} // namespace

template <typename Set, typename... Arguments> Set* TForm_Main::Add(MenuLayout& layout, Arguments&&... arguments)
{
    auto* set = new Set(*this, std::forward<Arguments>(arguments)...);
    set->Contribute(layout);
    commandSets_.push_back(set);
    return set;
}

void TForm_Main::AddCommandSets(MenuLayout& layout)
{
    // Sets that share a place fill it in this order.
    Add<HistoryCommands>(layout);
    itemEdit_ = Add<ItemEditCommands>(layout);
    clipboard_ = Add<ItemClipboardCommands>(layout, QApplication::clipboard());
    marks_ = Add<ItemMarkCommands>(layout);
    viewCommands_ = Add<ItemListViewCommands>(layout, [this] { SortRows(); });
    search_ = Add<SearchCommands>(layout);
    collection_ = Add<CollectionCommands>(layout, CollectionPanes{genreList_, attributeList_, contentList_});
    exchange_ = Add<ExchangeCommands>(layout);
    Add<BookmarkCommands>(layout);
    Add<BulkToolCommands>(layout);
    Add<LinkCheckCommands>(layout);
    Add<DesignCommands>(layout);
    Add<TemplateCommands>(layout);
    Add<PublishCommands>(layout);
    Add<ProjectOptionsCommands>(layout);
    Add<SearchSiteCommands>(layout);
    Add<AssociationCommands>(layout);
    Add<HelpCommands>(layout);
}

void TForm_Main::BuildMenus(MenuLayout& layout)
{
    BuildFileMenu(layout);

    QMenu* edit = menuBar()->addMenu(QStringLiteral("編集(&E)"));
    layout.Places(edit, {MenuPlace::EditHistory, MenuPlace::Edit});
    deleteAction_ = MakeAction(this, "MM_Delete", QStringLiteral("削除(&D)"), Qt::Key_Delete);
    connect(deleteAction_, &QAction::triggered, this, &TForm_Main::MM_DeleteClick);
    layout.Fixed(edit, deleteAction_);
    layout.FixedSeparator(edit);
    selectAllAction_ = MakeAction(this, "MM_SelectAll", QStringLiteral("全て選択(&A)"), Qt::CTRL | Qt::Key_A);
    connect(selectAllAction_, &QAction::triggered, itemView_, &QTreeView::selectAll);
    layout.Fixed(edit, selectAllAction_);
    layout.FixedSeparator(edit);
    layout.Place(MenuPlace::EditMarks, edit);

    QMenu* item = menuBar()->addMenu(QStringLiteral("アイテム(&I)"));
    layout.Places(item, {MenuPlace::Item, MenuPlace::ItemView});
    layout.Place(MenuPlace::Search, menuBar()->addMenu(QStringLiteral("検索(&S)")));

    QToolBar* itemTools = NamedToolBar(this, QStringLiteral("アイテム"), "ToolBar_Item");
    layout.Places(itemTools, {MenuPlace::HistoryToolBar, MenuPlace::ItemToolBar, MenuPlace::ItemViewToolBar});
    layout.Place(MenuPlace::SearchToolBar, NamedToolBar(this, QStringLiteral("検索"), "ToolBar_Search"));
    BuildItemPopup(layout);

    QMenu* project = menuBar()->addMenu(QStringLiteral("プロジェクト(&P)"));
    layout.Places(project, {MenuPlace::Project, MenuPlace::ProjectOutput, MenuPlace::ProjectOptions});
    layout.Place(MenuPlace::ProjectToolBar, NamedToolBar(this, QStringLiteral("プロジェクト"), "ToolBar_Project"));

    QMenu* tools = menuBar()->addMenu(QStringLiteral("ツール(&T)"));
    QAction* options = MakeAction(this, "MM_Options", QStringLiteral("環境オプション(&O)..."), Qt::CTRL | Qt::SHIFT | Qt::Key_F11);
    connect(options, &QAction::triggered, this, &TForm_Main::MM_OptionsClick);
    layout.Fixed(tools, options);
    layout.FixedSeparator(tools);
    layout.Places(tools, {MenuPlace::Tools, MenuPlace::ToolsSearchSite, MenuPlace::ToolsSite});
    layout.FixedSeparator(tools);
    QAction* erase = MakeAction(this, "MM_RegErase", QStringLiteral("レジストリ削除(&U)"));
    connect(erase, &QAction::triggered, this, &TForm_Main::MM_RegEraseClick);
    layout.Fixed(tools, erase);

    layout.Place(MenuPlace::Help, menuBar()->addMenu(QStringLiteral("ヘルプ(&H)")));
}

void TForm_Main::BuildFileMenu(MenuLayout& layout)
{
    QMenu* file = menuBar()->addMenu(QStringLiteral("ファイル(&F)"));
    QToolBar* tools = NamedToolBar(this, QStringLiteral("ファイル"), "ToolBar_File");
    const auto add = [&](const char* name, const QString& caption, const QKeySequence& shortcut,
                         void (TForm_Main::*handler)(), const QIcon& icon) {
        QAction* action = MakeAction(this, name, caption, shortcut, icon);
        connect(action, &QAction::triggered, this, handler);
        file->addAction(action);
        return action;
    };
    QAction* newFile = add("MM_NewFile", QStringLiteral("新規作成(&N)"), Qt::CTRL | Qt::Key_N,
        &TForm_Main::MM_NewFileClick, DrawnIcon(ProgramIcon::NewFile));
    QAction* open = add("MM_OpenFile", QStringLiteral("開く(&O)"), Qt::CTRL | Qt::Key_O, &TForm_Main::MM_OpenFileClick,
        style()->standardIcon(QStyle::SP_DialogOpenButton));
    saveAction_ = add("MM_SaveFile", QStringLiteral("上書保存(&S)"), Qt::CTRL | Qt::Key_S, &TForm_Main::MM_SaveFileClick,
        style()->standardIcon(QStyle::SP_DialogSaveButton));
    saveAsAction_ = add("MM_SaveAsFile", QStringLiteral("名前を付けて保存(&A)..."), Qt::CTRL | Qt::SHIFT | Qt::Key_S,
        &TForm_Main::MM_SaveAsFileClick, QIcon());
    QAction* merge = add("MM_MergeFile", QStringLiteral("追加(&M)"), QKeySequence(), &TForm_Main::MM_MergeFileClick,
        style()->standardIcon(QStyle::SP_FileDialogNewFolder));
    reloadAction_ = add("MM_ReloadFile", QStringLiteral("再読み込み(&R)"), Qt::CTRL | Qt::SHIFT | Qt::Key_F5,
        &TForm_Main::MM_ReloadFileClick, style()->standardIcon(QStyle::SP_BrowserReload));
    file->addSeparator();
    importMenu_ = file->addMenu(QStringLiteral("インポート(&I)"));
    importMenu_->setObjectName(QStringLiteral("MM_Inport"));
    layout.Place(MenuPlace::FileImport, importMenu_);
    QMenu* exportMenu = file->addMenu(QStringLiteral("エクスポート(&E)"));
    exportMenu->setObjectName(QStringLiteral("MM_Export"));
    layout.Place(MenuPlace::FileExport, exportMenu);
    file->addSeparator();
    add("MM_Exit", QStringLiteral("保存終了(&X)"), Qt::CTRL | Qt::Key_E, &TForm_Main::MM_ExitClick,
        style()->standardIcon(QStyle::SP_DialogApplyButton));
    QAction* quit = add("MM_Quit", QStringLiteral("終了(&Q)"), Qt::CTRL | Qt::Key_Q, &TForm_Main::MM_QuitClick,
        style()->standardIcon(QStyle::SP_DialogCloseButton));
    // Save and reload follow the command states; these only the search mode.
    fileActions_ = {newFile, open, merge};
    for (QAction* action : {newFile, open, saveAction_, merge, reloadAction_, quit}) {
        tools->addAction(action);
    }
}

void TForm_Main::BuildItemPopup(MenuLayout& layout)
{
    itemPopup_ = new QMenu(this);
    itemPopup_->setObjectName(QStringLiteral("PU_ItemOperate"));
    layout.Places(itemPopup_, {MenuPlace::ItemPopup, MenuPlace::ItemPopupMarks, MenuPlace::ItemPopupView});
    layout.FixedSeparator(itemPopup_);
    layout.Fixed(itemPopup_, selectAllAction_);
    // Opened on the list, the pop-up's commands go by the chosen rows.
    itemView_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(itemView_, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        ItemListState state = CurrentItemListState();
        state.focused = true;
        for (CommandSet* set : commandSets_) {
            set->UpdateStates(state);
        }
        selectAllAction_->setEnabled(state.rows >= 1);
        itemPopup_->exec(itemView_->viewport()->mapToGlobal(at));
        UpdateItemCommandStates();
    });
    connect(QApplication::clipboard(), &QClipboard::dataChanged, this, [this] { UpdateItemCommandStates(); });
}

} // namespace tessaly
