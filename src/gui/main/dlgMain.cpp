#include "gui/main/dlgMain.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFileInfo>
#include <QLabel>
#include <QMimeData>
#include <QProcess>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QTreeView>
#include <QUrl>

#include "core/collection/ProjectFile.h"
#include "core/settings/ExternalPrograms.h"
#include "core/settings/SettingsStore.h"
#include "core/text/Codepage.h"
#include "core/util/Messages.h"
#include "gui/FileDialogs.h"
#include "gui/GenreListWidget.h"
#include "gui/GuiText.h"
#include "gui/ItemListModel.h"
#include "gui/MainPanes.h"
#include "gui/MainWindowPlacement.h"
#include "gui/ScreenPlacement.h"
#include "gui/collection/CollectionCommands.h"
#include "gui/file/ProjectFilePrompts.h"
#include "gui/history/EditHistory.h"
#include "gui/host/MenuLayout.h"
#include "gui/items/ItemEditCommands.h"
#include "gui/items/ItemListViewCommands.h"
#include "gui/items/ItemMarkCommands.h"
#include "gui/search/SearchCommands.h"
#include "gui/shell/dlgOptions.h"
#include "gui/tools/ExchangeCommands.h"
#include "platform/FileAssociation.h"

namespace tessaly {

namespace {

bool IsProjectFile(const QString& fileName)
{
    return QFileInfo(fileName).suffix().toUpper() == QLatin1String("TSP");
}

QString ShownPath(const std::filesystem::path& path)
{
    return QString::fromStdString(path.string());
}

} // namespace

TForm_Main::TForm_Main(MainServices services, StartOptions options, QWidget* parent)
    : QMainWindow(parent)
    , services_(std::move(services))
    , options_(std::move(options))
    , shown_(project_)
{
    setObjectName(QStringLiteral("TForm_Main"));
    setAcceptDrops(true);
    startProcess = [](const QStringList& arguments) {
        QProcess::startDetached(QCoreApplication::applicationFilePath(), arguments);
    };
    new DialogPlacement(this);
    MenuLayout layout;
    BuildWidgets(layout);
    BuildMenus(layout);
    AddCommandSets(layout);
    settings_ = LoadSettings(services_.settings, services_.environment, options_.restorePosition);
    ApplySettings();
    ResetToNewProject();
}

TForm_Main::~TForm_Main()
{
    // Hiding during destruction moves the focus and lays out the list; the
    // project and its rows are gone by then.
    disconnect(qApp, &QApplication::focusChanged, this, nullptr);
    itemView_->setModel(nullptr);
}

void TForm_Main::BuildWidgets(MenuLayout& layout)
{
    itemModel_ = new ItemListModel(shown_, this);
    panes_ = new MainPanes(itemModel_);
    setCentralWidget(panes_);
    genreList_ = panes_->Genres();
    itemView_ = panes_->Items();
    attributeList_ = panes_->Attributes();
    contentList_ = panes_->Contents();
    layout.Place(MenuPlace::GenreToolBar, panes_->GenreTools());
    layout.Place(MenuPlace::AttributeToolBar, panes_->AttributeTools());
    layout.Place(MenuPlace::ContentToolBar, panes_->ContentTools());

    changedPanel_ = new QLabel;
    changedPanel_->setObjectName(QStringLiteral("StatusBar_Changed"));
    changedPanel_->setAlignment(Qt::AlignCenter);
    changedPanel_->setMinimumWidth(32);
    textPanel_ = new QLabel;
    textPanel_->setObjectName(QStringLiteral("StatusBar_Text"));
    textPanel_->setMinimumWidth(400);
    statusBar()->addWidget(changedPanel_);
    statusBar()->addWidget(textPanel_, 1);

    connect(genreList_, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0 && static_cast<std::size_t>(row) != shown_.SelectedGenre()) {
            shown_.FlushGenre();
            ShowGenre(row);
        }
    });
    itemView_->installEventFilter(this);
    connect(itemView_, &QTreeView::doubleClicked, this, [this] {
        if (settings_.doubleClick == 0) {
            RunCommand(QStringLiteral("アイテム編集"), [this] { itemEdit_->TB_ItemEditClick(); });
        } else if (settings_.doubleClick == 1) {
            marks_->MM_ItemBrowseClick();
        }
    });
    connect(itemView_->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        collection_->ShowTagsOfSelection();
        UpdateItemCommandStates();
        UpdateCounts();
    });
    // A reset drops the selection without a selection signal: the check
    // lists and commands must not keep showing rows that are gone.
    connect(itemModel_, &QAbstractItemModel::modelReset, this, [this] {
        collection_->ShowTagsOfSelection();
        UpdateItemCommandStates();
    });
    connect(qApp, &QApplication::focusChanged, this, &TForm_Main::OnFocusChanged);
}

void TForm_Main::ApplySettings()
{
    // Maximized last: the view commands lay out the list first.
    MainWindowSettings window = settings_.mainWindow;
    window.maximized = false;
    ApplyWindowPlace(*this, {panes_, panes_->Vocabularies(), itemView_}, window, options_.restorePosition);
    viewCommands_->Apply(window);
    if (settings_.mainWindow.maximized) {
        setWindowState(windowState() | Qt::WindowMaximized);
    }
}

void TForm_Main::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (!paneSizesApplied_) {
        paneSizesApplied_ = true;
        KeepOnScreen(this); // the window manager's frame is known now
        ApplyPaneSizes();
    }
}

void TForm_Main::ApplyPaneSizes()
{
    tessaly::ApplyPaneSizes(*this, {panes_, panes_->Vocabularies(), itemView_}, settings_.mainWindow);
}

void TForm_Main::StoreWindowSettings()
{
    StoreWindowPlace(*this, {panes_, panes_->Vocabularies(), itemView_}, settings_.mainWindow);
    viewCommands_->Store(settings_.mainWindow);
}

void TForm_Main::SetIsEditing(bool editing)
{
    if (editing) {
        edits_.Changed();
    }
    ShowIsEditing(editing);
}

void TForm_Main::ShowIsEditing(bool editing)
{
    project_.IsEditing = editing;
    changedPanel_->setText(editing ? QStringLiteral("変更") : QString());
    UpdateTitle(); // the project options may have changed the title
    UpdateCommandStates();
    UpdateItemCommandStates();
}

void TForm_Main::StartHistory()
{
    edits_.Start();
    UpdateItemCommandStates();
}

void TForm_Main::RunCommand(const QString& name, const std::function<void()>& work)
{
    edits_.RunCommand(name, work);
    UpdateItemCommandStates(); // the history's names
}

void TForm_Main::Undo()
{
    TakeStep(false);
}

void TForm_Main::Redo()
{
    TakeStep(true);
}

void TForm_Main::TakeStep(bool forward)
{
    search_->EndSearchMode(); // the history knows the genres with every item in them
    if (edits_.TakeStep(forward)) {
        ShowIsEditing(!edits_.Steps().IsClean()); // unchanged when back at the saved state
    }
}

void TForm_Main::SetEditingName(const std::filesystem::path& name)
{
    project_.EditingName = name;
    UpdateTitle();
    UpdateCommandStates();
}

const ItemListOrder& TForm_Main::Order() const
{
    return viewCommands_->Order();
}

QString TForm_Main::StatusBarText() const
{
    return textPanel_->text();
}

void TForm_Main::UpdateTitle()
{
    const QString title
        = project_.Title.empty() ? QStringLiteral("(無題) ") : ToQString(project_.Title) + QLatin1Char(' ');
    const QString name = project_.EditingName.empty() ? QStringLiteral("(未保存)") : ShownPath(project_.EditingName);
    setWindowTitle(title + name + QStringLiteral(" - Tessaly"));
}

void TForm_Main::UpdateCommandStates()
{
    const bool searching = shown_.SearchMode();
    saveAction_->setEnabled(project_.IsEditing && !searching);
    saveAsAction_->setEnabled(!searching);
    reloadAction_->setEnabled(!project_.EditingName.empty() && project_.IsEditing && !searching);
}

void TForm_Main::UpdateCounts()
{
    QWidget* focus = focusWidget();
    if (focus == genreList_) {
        textPanel_->setText(QStringLiteral("%1 種類のジャンル").arg(project_.Genres.size()));
    } else if (focus == itemView_) {
        const int rows = itemModel_->rowCount();
        const int selected = static_cast<int>(itemView_->selectionModel()->selectedRows().size());
        textPanel_->setText(selected >= 1 ? QStringLiteral("%1 個のアイテム、%2 個の選択").arg(rows).arg(selected)
                                          : QStringLiteral("%1 個のアイテム").arg(rows));
    } else if (focus == attributeList_) {
        textPanel_->setText(QStringLiteral("%1 種類のアトリビュート").arg(project_.Attributes.size()));
    } else if (focus == contentList_) {
        textPanel_->setText(QStringLiteral("%1 種類のコンテンツ候補").arg(project_.Contents.size()));
    }
}

void TForm_Main::ResetToNewProject()
{
    NewProject(project_, shown_, &services_.settings);
    diskStamp_.reset();
    declinedStamp_.reset();
    SetIsEditing(false);
    SetEditingName({});
    RefreshPanes();
    StartHistory();
}

void TForm_Main::RefreshPanes()
{
    collection_->ShowGenres();
    collection_->ShowVocabulary(Vocabulary::Attributes);
    collection_->ShowVocabulary(Vocabulary::Contents);
    ShowGenre(static_cast<int>(shown_.SelectedGenre()));
    UpdateTitle();
    UpdateItemCommandStates();
}

void TForm_Main::ShowGenre(int index)
{
    if (index < 0 || static_cast<std::size_t>(index) >= project_.Genres.size()) {
        return;
    }
    shown_.SelectGenre(static_cast<std::size_t>(index));
    shown_.LoadGenreIntoList();
    panes_->ShowTrashNotice(shown_.SelectedGenre() == project_.TrashIndex() && !shown_.SearchMode());
    SortRows();
    collection_->ShowTagsOfSelection();
}

void TForm_Main::SortRows()
{
    // The chosen rows stay chosen wherever the order puts them.
    const std::vector<std::size_t> selected = SelectedRows();
    std::vector<bool> wasSelected(shown_.Rows().size(), false);
    for (const std::size_t row : selected) {
        wasSelected[row] = true;
    }
    const std::vector<std::size_t> from = SortItemRows(shown_.Rows(), Order());
    std::vector<std::size_t> stillSelected;
    for (std::size_t row = 0; row < from.size(); ++row) {
        if (wasSelected[from[row]]) {
            stillSelected.push_back(row);
        }
    }
    itemModel_->Reset();
    SelectRows(stillSelected);
    UpdateItemCommandStates();
    UpdateCounts();
}

bool TForm_Main::SavePrompt(const QString& question)
{
    if (!project_.IsEditing) {
        return true;
    }
    const QString name = project_.EditingName.empty() ? QStringLiteral("(無題)") : ShownPath(project_.EditingName);
    const QString text = name + QStringLiteral(" は変更されています.\r\n") + question;
    const MessageButton answer = services_.messages.Show(MessageKind::Confirmation, SjisText(ToSjisOrEmpty(text)),
        MessageButton::Yes | MessageButton::No | MessageButton::Cancel);
    if (answer == MessageButton::Yes) {
        return SaveProject();
    }
    return answer == MessageButton::No;
}

bool TForm_Main::SaveProject()
{
    if (project_.EditingName.empty()) {
        const std::optional<std::filesystem::path> name = AskProjectFileName(services_.messages, services_.files, this);
        if (!name) {
            return false;
        }
        SetEditingName(*name);
    }
    return WriteProject(project_.EditingName);
}

bool TForm_Main::SaveProjectAs()
{
    // The name changes only when the file was written under it.
    const std::optional<std::filesystem::path> name = AskProjectFileName(services_.messages, services_.files, this);
    return name && WriteProject(*name);
}

bool TForm_Main::WriteProject(const std::filesystem::path& name)
{
    // Every save passes here. The found items of a search are out of their
    // genres: they go back before anything is written, whichever command
    // led here.
    search_->EndSearchMode();
    shown_.FlushGenre();
    if (name == project_.EditingName) {
        const std::optional<FileStamp> now = StampOf(name);
        // Unchanged, or gone: nothing of another program's to lose.
        switch (!now || now == diskStamp_ ? ChangedFileChoice::Overwrite : AskAboutChangedFile(services_.messages, name)) {
        case ChangedFileChoice::Overwrite: break;
        case ChangedFileChoice::SaveElsewhere: return SaveProjectAs();
        case ChangedFileChoice::Cancel: return false;
        }
    }
    const SaveOutcome saved = SaveProjectFile(project_, name);
    if (!saved.ok) {
        services_.messages.Show(MessageKind::Error,
            SjisText(FileWriteFailureMessage(saved.failure, saved.error, ShownPath(name))), MessageButton::Ok);
        return false;
    }
    SetEditingName(name);
    diskStamp_ = StampOf(name);
    edits_.Saved();
    SetIsEditing(false);
    return true;
}

void TForm_Main::OfferReloadOfChangedFile()
{
    if (checkingDisk_ || project_.IsEditing || shown_.SearchMode() || project_.EditingName.empty()) {
        return;
    }
    const std::optional<FileStamp> now = StampOf(project_.EditingName);
    if (!now || now == diskStamp_ || now == declinedStamp_) {
        return;
    }
    checkingDisk_ = true;
    const MessageButton answer = services_.messages.Show(MessageKind::Confirmation,
        SjisText(ToSjisOrEmpty(ShownPath(project_.EditingName)
            + QStringLiteral(" はほかのプログラムによって変更されました.\r\n読み込み直しますか？"))),
        MessageButton::Yes | MessageButton::No);
    if (answer == MessageButton::Yes) {
        ReloadFromDisk();
    } else {
        declinedStamp_ = now; // asked once per change; a save still asks before replacing it
    }
    checkingDisk_ = false;
}

bool TForm_Main::LoadProject(const QString& passedName)
{
    shown_.FlushGenre();
    const std::optional<LoadOutcome> outcome = ReadProject(passedName, project_);
    if (outcome) {
        ShowLoadedProject(*outcome);
        StartHistory();
    }
    return outcome.has_value();
}

std::optional<LoadOutcome> TForm_Main::ReadProject(const QString& fileName, Project& into)
{
    std::optional<ReadProjectOutcome> read = ReadProjectWithProgress(services_.messages, this, *textPanel_, fileName, into);
    if (!read) {
        return std::nullopt;
    }
    diskStamp_ = read->stamp;
    declinedStamp_.reset();
    return read->outcome;
}

void TForm_Main::ShowLoadedProject(const LoadOutcome& outcome)
{
    SetEditingName(project_.EditingName);
    shown_.SelectGenre(0);
    RefreshPanes();
    if (outcome.namesWithVerticalLine) {
        services_.messages.Show(MessageKind::Warning, SjisText(VerticalLineWarning()), MessageButton::Ok);
    }
}

void TForm_Main::OpenPassedFiles()
{
    bool openedHere = false;
    for (const QString& file : options_.passedFiles) {
        if (!IsProjectFile(file) && !IsRkmFile(file)) {
            continue;
        }
        if (openedHere) {
            startProcess({QStringLiteral("-T"), file});
            continue;
        }
        openedHere = true;
        if (IsRkmFile(file)) {
            ImportRkm(file);
        } else {
            LoadProject(file);
        }
    }
    options_.passedFiles.clear();
}

void TForm_Main::ImportRkm(const QString& file)
{
    RunCommand(QStringLiteral("RKM ファイルの取り込み"), [this, &file] { exchange_->ImportRkm(file); });
}

void TForm_Main::MM_NewFileClick()
{
    if (SavePrompt(QStringLiteral("新規ファイル構築の前に保存しますか？"))) {
        ResetToNewProject();
    }
}

void TForm_Main::MM_OpenFileClick()
{
    if (!SavePrompt(QStringLiteral("ファイル読み込みの前に保存しますか？"))) {
        return;
    }
    const std::optional<QString> file = services_.files.OpenFile(this, QString(), ProjectFileFilter());
    if (file) {
        ResetToNewProject();
        LoadProject(*file);
    }
}

void TForm_Main::MM_SaveFileClick()
{
    if (project_.IsEditing) {
        SaveProject();
    }
}

void TForm_Main::MM_SaveAsFileClick()
{
    SaveProjectAs();
}

void TForm_Main::MM_MergeFileClick()
{
    const std::optional<QString> file
        = services_.files.OpenFile(this, QStringLiteral("リンクデータの追加読み込み"), ProjectFileFilter());
    if (!file) {
        return;
    }
    MergeProject(*file);
}

void TForm_Main::MergeProject(const QString& file)
{
    // The merged file's lines join the collection; the file it is saved to
    // stays the open one.
    const std::filesystem::path name = project_.EditingName;
    const std::optional<FileStamp> stamp = diskStamp_;
    const std::optional<FileStamp> declined = declinedStamp_;
    const int32_t serialMax = project_.SerialMax;
    shown_.FlushGenre();
    const std::optional<LoadOutcome> outcome = ReadProject(file, project_);
    if (!outcome) {
        return;
    }
    // The counter only grows: a smaller one from the merged file would hand
    // out serials the collection already has.
    project_.SerialMax = std::max(serialMax, project_.SerialMax);
    ShowLoadedProject(*outcome);
    SetEditingName(name);
    diskStamp_ = stamp;
    declinedStamp_ = declined;
    edits_.Record(QStringLiteral("追加"));
    ShowIsEditing(true);
}

void TForm_Main::MM_ReloadFileClick()
{
    const MessageButton answer = services_.messages.Show(MessageKind::Confirmation,
        SjisText(
            SJ("再読み込みを実行すると、前回保存時の状態に復帰します.\r\n保存・読み込み後に行った操作は破棄されます."
               "\r\nよろしいですか？")),
        MessageButton::Yes | MessageButton::Cancel);
    if (answer == MessageButton::Cancel) {
        return;
    }
    ReloadFromDisk();
}

void TForm_Main::ReloadFromDisk()
{
    // Read into a new project first: a file that is gone or damaged by now
    // must not cost the collection that is open.
    Project fresh;
    ShownItems freshRows(fresh);
    NewProject(fresh, freshRows, &services_.settings);
    const std::optional<LoadOutcome> outcome = ReadProject(ShownPath(project_.EditingName), fresh);
    if (!outcome) {
        return;
    }
    project_ = std::move(fresh);
    shown_.Clear();
    SetIsEditing(false);
    ShowLoadedProject(*outcome);
    StartHistory();
}

void TForm_Main::MM_ExitClick()
{
    if (project_.IsEditing && !SaveProject()) {
        return;
    }
    closingWithoutPrompt_ = true;
    close();
}

void TForm_Main::MM_OptionsClick()
{
    TForm_Options dialog(settings_, services_.files, this);
    if (dialog.exec() == QDialog::Accepted) {
        settings_ = dialog.Settings();
        StoreWindowSettings();
        SaveSettings(services_.settings, settings_);
    }
}

void TForm_Main::MM_RegEraseClick()
{
    if (!SavePrompt(QStringLiteral("ファイル読み込みの前に保存しますか？"))) {
        return;
    }
    const MessageButton answer = services_.messages.ShowWith(MessageKind::Confirmation,
        SjisText(SJ("レジストリ情報を削除して TSY を強制終了します.\r\nよろしいですか？")),
        MessageButton::Yes | MessageButton::Abort, {MessageButton::Abort, {}});
    if (answer != MessageButton::Yes) {
        return;
    }
    EraseSettings(services_.settings);
    services_.association.Unassociate();
    saveSettingsOnClose_ = false;
    closingWithoutPrompt_ = true;
    close();
}

void TForm_Main::HandleDroppedFiles(const QStringList& files)
{
    if (shown_.SearchMode()) {
        return; // nothing may replace the collection while found items are shown
    }
    switch (settings_.fileDrop) {
    case 1:
        for (const QString& file : files) {
            if (IsProjectFile(file)) {
                startProcess({QStringLiteral("-T"), QStringLiteral("-W"), file});
            }
        }
        break;
    case 2:
        for (const QString& file : files) {
            if (IsRkmFile(file)) {
                ImportRkm(file);
            } else if (IsProjectFile(file)) {
                MergeProject(file);
            }
        }
        break;
    default:
        if (!files.isEmpty() && SavePrompt(QStringLiteral("ファイル読み込みの前に保存しますか？"))) {
            ResetToNewProject();
            if (IsRkmFile(files.front())) {
                ImportRkm(files.front());
            } else if (IsProjectFile(files.front())) {
                LoadProject(files.front());
            }
        }
        break;
    }
}

void TForm_Main::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->mimeData()->hasUrls()) {
        event->acceptProposedAction();
    }
}

void TForm_Main::dropEvent(QDropEvent* event)
{
    QStringList files;
    for (const QUrl& url : event->mimeData()->urls()) {
        if (url.isLocalFile()) {
            files.append(url.toLocalFile());
        }
    }
    event->acceptProposedAction();
    HandleDroppedFiles(files);
}

void TForm_Main::MM_QuitClick()
{
    close();
}

void TForm_Main::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) {
        // Asked once the activation is done, not inside it.
        QTimer::singleShot(0, this, &TForm_Main::OfferReloadOfChangedFile);
    }
}

void TForm_Main::closeEvent(QCloseEvent* event)
{
    if (!closingWithoutPrompt_ && !SavePrompt(QStringLiteral("終了の前に保存しますか？"))) {
        closingWithoutPrompt_ = false;
        event->ignore();
        return;
    }
    closingWithoutPrompt_ = false;
    if (saveSettingsOnClose_) {
        StoreWindowSettings();
        SaveSettings(services_.settings, settings_);
    }
    event->accept();
}

} // namespace tessaly
