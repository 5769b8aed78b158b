#include "gui/collection/CollectionCommands.h"

#include <QAction>
#include <QKeyEvent>
#include <QListWidget>
#include <QMenu>
#include <QStyle>

#include "core/collection/Project.h"
#include "core/collection/ShownItems.h"
#include "core/text/Strings.h"
#include "core/collection/LinkItem.h"
#include "gui/GenreListWidget.h"
#include "gui/GuiText.h"
#include "gui/host/ItemListHost.h"
#include "gui/host/MainServices.h"
#include "gui/model/dlgStrInput.h"

namespace tessaly {

namespace {

// The command a key runs in the genre, attribute and content lists.
QString PaneKeyCommand(const QKeyEvent& key)
{
    const bool ctrlShift = key.modifiers() == (Qt::ControlModifier | Qt::ShiftModifier);
    if (ctrlShift && key.key() == Qt::Key_A) {
        return QStringLiteral("New");
    }
    if (ctrlShift && key.key() == Qt::Key_Up) {
        return QStringLiteral("Up");
    }
    if (ctrlShift && key.key() == Qt::Key_Down) {
        return QStringLiteral("Down");
    }
    if ((key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter) && key.modifiers() == Qt::NoModifier) {
        return QStringLiteral("Edit");
    }
    return {};
}

const char* const kPaneCommands[] = {"New", "Edit", "Erase", "Up", "Down"};

} // namespace

CollectionCommands::CollectionCommands(ItemListHost& host, CollectionPanes panes)
    : CommandSet(host)
    , genres_(panes.genres)
    , panes_{{panes.genres, QStringLiteral("TB_Genre"), MenuPlace::GenreToolBar, {}},
          {panes.attributes, QStringLiteral("TB_Attr1"), MenuPlace::AttributeToolBar, {}},
          {panes.contents, QStringLiteral("TB_Attr2"), MenuPlace::ContentToolBar, {}}}
{
    MakePaneActions(
        panes_[0], QStringLiteral("ジャンル"), [this] { TB_GenreNewClick(); }, [this] { TB_GenreEditClick(); }, [this] { TB_GenreEraseClick(); },
        [this](bool up) { TB_GenreMoveClick(up); });
    for (const Vocabulary vocabulary : {Vocabulary::Attributes, Vocabulary::Contents}) {
        const QString noun = vocabulary == Vocabulary::Attributes ? QStringLiteral("アトリビュート")
                                                                  : QStringLiteral("コンテンツ");
        MakePaneActions(
            panes_[vocabulary == Vocabulary::Attributes ? 1 : 2], noun, [this, vocabulary] { TagNewClick(vocabulary); },
            [this, vocabulary] { TagEditClick(vocabulary); }, [this, vocabulary] { TagEraseClick(vocabulary); },
            [this, vocabulary](bool up) { TagMoveClick(vocabulary, up); });
        QListWidget* list = ListOf(vocabulary);
        connect(list, &QListWidget::itemChanged, this, [this, vocabulary, noun] {
            host_.RunCommand(noun + QStringLiteral("の設定"), [this, vocabulary] { ApplyCheckedTags(vocabulary); });
        });
        connect(list, &QListWidget::itemDoubleClicked, this, [this, vocabulary] { TagEditClick(vocabulary); });
    }
    connect(genres_, &QListWidget::itemDoubleClicked, this, [this] { TB_GenreEditClick(); });
    connect(genres_, &GenreListWidget::itemsDropped, this, [this](int genre) {
        host_.RunCommand(QStringLiteral("アイテムの移動"), [this, genre] { MoveSelectedItemsTo(genre); });
    });
    for (const Pane& pane : panes_) {
        connect(pane.list, &QListWidget::currentRowChanged, this, [this] { UpdatePaneCommands(); });
        pane.list->installEventFilter(this);
    }
    for (std::size_t pane = 0; pane < panes_.size(); ++pane) {
        AttachPopup(pane);
    }
}

void CollectionCommands::MakePaneActions(Pane& pane, const QString& noun, const std::function<void()>& onNew,
    const std::function<void()>& onEdit, const std::function<void()>& onErase, const std::function<void(bool)>& onMove)
{
    const auto make = [&](const char* command, const QString& caption, const QString& change,
                          QStyle::StandardPixmap icon, std::function<void()> handler) {
        const QByteArray name = (pane.prefix + QString::fromLatin1(command)).toLatin1();
        // The history names the pane's thing: "ジャンルの削除", not "削除".
        pane.actions.push_back(MakeAction(
            name.constData(), caption,
            [this, step = noun + change, work = std::move(handler)] { host_.RunCommand(step, work); }, {},
            pane.list->style()->standardIcon(icon)));
    };
    make("New", QStringLiteral("新規"), QStringLiteral("の新規登録"), QStyle::SP_FileDialogNewFolder, onNew);
    make("Edit", QStringLiteral("名前の変更"), QStringLiteral("名の変更"), QStyle::SP_FileDialogDetailedView, onEdit);
    make("Erase", QStringLiteral("削除"), QStringLiteral("の削除"), QStyle::SP_TrashIcon, onErase);
    make("Up", QStringLiteral("上へ"), QStringLiteral("を上へ"), QStyle::SP_ArrowUp, [onMove] { onMove(true); });
    make("Down", QStringLiteral("下へ"), QStringLiteral("を下へ"), QStyle::SP_ArrowDown, [onMove] { onMove(false); });
}

void CollectionCommands::Contribute(MenuLayout& layout)
{
    for (const Pane& pane : panes_) {
        for (QAction* action : pane.actions) {
            layout.Add(pane.toolBar, action);
        }
    }
}

void CollectionCommands::AttachPopup(std::size_t index)
{
    // The pane's pop-up: New, Rename and Erase, enabled as the tool bar is.
    QListWidget* list = panes_[index].list;
    list->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(list, &QWidget::customContextMenuRequested, this, [this, index](const QPoint& position) {
        UpdatePaneCommands();
        const Pane& pane = panes_[index];
        QMenu menu(host_.DialogParent());
        menu.setObjectName(QStringLiteral("PU_") + pane.prefix.mid(3));
        for (std::size_t command = 0; command < 3; ++command) {
            menu.addAction(pane.actions[command]);
        }
        menu.exec(pane.list->viewport()->mapToGlobal(position));
    });
}

bool CollectionCommands::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::ShortcutOverride) {
        return CommandSet::eventFilter(watched, event);
    }
    const auto pane = std::find_if(panes_.begin(), panes_.end(), [watched](const Pane& p) { return p.list == watched; });
    if (pane == panes_.end() || (pane->list == genres_ && genres_->IsLocked())) {
        return CommandSet::eventFilter(watched, event);
    }
    // The keys of the three lists: new, up, down, rename. They win over the
    // window's shortcuts (Ctrl+Shift+A is new item there).
    const QString command = PaneKeyCommand(*static_cast<QKeyEvent*>(event));
    if (command.isEmpty()) {
        return CommandSet::eventFilter(watched, event);
    }
    event->accept();
    if (event->type() == QEvent::KeyPress) {
        const auto index = std::find(std::begin(kPaneCommands), std::end(kPaneCommands), command.toStdString())
            - std::begin(kPaneCommands);
        if (QAction* action = pane->actions[static_cast<std::size_t>(index)]; action->isEnabled()) {
            action->trigger();
        }
    }
    return true;
}

void CollectionCommands::UpdateStates(const ItemListState&)
{
    UpdatePaneCommands();
}

void CollectionCommands::UpdatePaneCommands()
{
    const Project& project = host_.CurrentProject();
    const bool searching = host_.Shown().SearchMode();
    const auto genre = static_cast<std::size_t>(std::max(0, genres_->currentRow()));
    const bool user = project.IsUserGenre(genre);
    const std::vector<QAction*>& genreActions = panes_[0].actions;
    genreActions[0]->setEnabled(!searching);
    genreActions[1]->setEnabled(!searching && user);
    genreActions[2]->setEnabled(!searching && user);
    genreActions[3]->setEnabled(!searching && user && genre > 1);
    genreActions[4]->setEnabled(!searching && user && genre + 2 < project.Genres.size());
    for (std::size_t vocabulary = 1; vocabulary < panes_.size(); ++vocabulary) {
        const QListWidget* list = panes_[vocabulary].list;
        const std::vector<QAction*>& actions = panes_[vocabulary].actions;
        const int row = list->currentRow();
        const bool selected = row >= 0 && row < list->count();
        actions[1]->setEnabled(selected);
        actions[2]->setEnabled(selected);
        actions[3]->setEnabled(selected && row > 0);
        actions[4]->setEnabled(selected && row + 1 < list->count());
    }
}

QListWidget* CollectionCommands::ListOf(Vocabulary vocabulary) const
{
    return panes_[vocabulary == Vocabulary::Attributes ? 1 : 2].list;
}

std::optional<std::string> CollectionCommands::AskName(const QString& caption, const QString& prompt,
    const QString& initial, std::vector<std::string> existing, int renaming)
{
    TForm_StrInput dialog(host_.Services().messages, caption, prompt, host_.DialogParent());
    dialog.SetText(initial);
    dialog.SetExisting(std::move(existing), renaming);
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return ToSjis(dialog.Text());
}

void CollectionCommands::ShowGenres()
{
    const Project& project = host_.CurrentProject();
    const QSignalBlocker blocker(genres_);
    genres_->clear();
    for (std::size_t i = 0; i < project.Genres.size(); ++i) {
        const QStyle::StandardPixmap icon = i == 0 ? QStyle::SP_DirOpenIcon
            : i == project.TrashIndex()           ? QStyle::SP_TrashIcon
                                                  : QStyle::SP_DirIcon;
        genres_->addItem(new QListWidgetItem(genres_->style()->standardIcon(icon), ToQString(project.Genres[i].Name)));
    }
    genres_->setCurrentRow(static_cast<int>(host_.Shown().SelectedGenre()));
}

void CollectionCommands::ShowVocabulary(Vocabulary vocabulary)
{
    QListWidget* list = ListOf(vocabulary);
    const QSignalBlocker blocker(list);
    const int current = list->currentRow();
    list->clear();
    for (const std::string& name : VocabularyOf(host_.CurrentProject(), vocabulary)) {
        auto* entry = new QListWidgetItem(ToQString(name), list);
        entry->setFlags(entry->flags() | Qt::ItemIsUserCheckable);
        entry->setCheckState(Qt::Unchecked);
    }
    list->setCurrentRow(std::min(current, list->count() - 1));
    ShowTagsOfSelection();
}

void CollectionCommands::TB_GenreNewClick()
{
    Project& project = host_.CurrentProject();
    const std::optional<std::string> name = AskName(
        QStringLiteral("ジャンル登録"), QStringLiteral("新規ジャンルを登録します"), {}, GenreNames(project), -1);
    if (!name) {
        return;
    }
    host_.Shown().FlushGenre();
    host_.ShowCollectionAgain(project.AddGenre(*name));
    host_.SetIsEditing(true);
}

void CollectionCommands::TB_GenreEditClick()
{
    Project& project = host_.CurrentProject();
    const auto index = static_cast<std::size_t>(genres_->currentRow());
    if (!project.IsUserGenre(index)) {
        return;
    }
    const std::optional<std::string> name
        = AskName(QStringLiteral("ジャンル名変更"), QStringLiteral("ジャンル名を変更します"),
            ToQString(project.Genres[index].Name), GenreNames(project), static_cast<int>(index));
    if (name && RenameGenre(project, host_.Shown(), index, *name)) {
        ShowGenres();
        host_.SetIsEditing(true);
    }
}

void CollectionCommands::TB_GenreEraseClick()
{
    const auto index = static_cast<std::size_t>(genres_->currentRow());
    if (EraseGenre(host_.CurrentProject(), host_.Shown(), index)) {
        host_.ShowCollectionAgain(host_.Shown().SelectedGenre());
        host_.SetIsEditing(true);
    }
}

void CollectionCommands::TB_GenreMoveClick(bool up)
{
    ShownItems& shown = host_.Shown();
    shown.FlushGenre();
    const auto index = static_cast<std::size_t>(genres_->currentRow());
    Project& project = host_.CurrentProject();
    if (up ? MoveGenreUp(project, shown, index) : MoveGenreDown(project, shown, index)) {
        ShowGenres();
        host_.SetIsEditing(true);
        UpdatePaneCommands();
    }
}

void CollectionCommands::TagNewClick(Vocabulary vocabulary)
{
    const bool attributes = vocabulary == Vocabulary::Attributes;
    std::vector<std::string>& names = VocabularyOf(host_.CurrentProject(), vocabulary);
    const std::optional<std::string> name = AskName(
        attributes ? QStringLiteral("アトリビュート登録") : QStringLiteral("コンテンツ登録"),
        attributes ? QStringLiteral("新規アトリビュートを登録します") : QStringLiteral("新規コンテンツを登録します"),
        {}, names, -1);
    if (!name) {
        return;
    }
    names.emplace_back(Trim(*name));
    ShowVocabulary(vocabulary);
    ListOf(vocabulary)->setCurrentRow(static_cast<int>(names.size()) - 1);
    host_.SetIsEditing(true);
    UpdatePaneCommands();
}

void CollectionCommands::TagEditClick(Vocabulary vocabulary)
{
    const int row = ListOf(vocabulary)->currentRow();
    std::vector<std::string>& names = VocabularyOf(host_.CurrentProject(), vocabulary);
    if (row < 0 || static_cast<std::size_t>(row) >= names.size()) {
        return;
    }
    const bool attributes = vocabulary == Vocabulary::Attributes;
    const std::optional<std::string> name
        = AskName(attributes ? QStringLiteral("アトリビュート名変更") : QStringLiteral("コンテンツ名変更"),
            attributes ? QStringLiteral("アトリビュート名を変更します") : QStringLiteral("コンテンツ名を変更します"),
            ToQString(names[static_cast<std::size_t>(row)]), names, row);
    if (name && RenameTag(host_.CurrentProject(), host_.Shown(), vocabulary, static_cast<std::size_t>(row), *name)) {
        ShowVocabulary(vocabulary);
        host_.RowsReplaced({});
        host_.SetIsEditing(true);
    }
}

void CollectionCommands::TagEraseClick(Vocabulary vocabulary)
{
    const int row = ListOf(vocabulary)->currentRow();
    if (row >= 0 && EraseTag(host_.CurrentProject(), host_.Shown(), vocabulary, static_cast<std::size_t>(row))) {
        ShowVocabulary(vocabulary);
        host_.RowsReplaced({});
        host_.SetIsEditing(true);
        UpdatePaneCommands();
    }
}

void CollectionCommands::TagMoveClick(Vocabulary vocabulary, bool up)
{
    QListWidget* list = ListOf(vocabulary);
    const int row = list->currentRow();
    if (row < 0 || !MoveTag(host_.CurrentProject(), vocabulary, static_cast<std::size_t>(row), up)) {
        return;
    }
    // The check mark moves with its entry.
    const QSignalBlocker blocker(list);
    QListWidgetItem* entry = list->takeItem(row);
    list->insertItem(up ? row - 1 : row + 1, entry);
    list->setCurrentItem(entry);
    host_.SetIsEditing(true);
    UpdatePaneCommands();
}

void CollectionCommands::ApplyCheckedTags(Vocabulary vocabulary)
{
    const QListWidget* list = ListOf(vocabulary);
    const std::vector<std::string>& names = VocabularyOf(host_.CurrentProject(), vocabulary);
    std::vector<std::string> checked;
    for (int i = 0; i < list->count() && static_cast<std::size_t>(i) < names.size(); ++i) {
        if (list->item(i)->checkState() == Qt::Checked) {
            checked.push_back(names[static_cast<std::size_t>(i)]);
        }
    }
    if (AssignTags(host_.Shown(), vocabulary, host_.SelectedRows(), TagList(checked))) {
        host_.SetIsEditing(true);
    }
}

void CollectionCommands::ShowTagsOfSelection()
{
    const std::vector<std::size_t> rows = host_.SelectedRows();
    if (rows.size() > 1) {
        return;
    }
    const ShownItems& shown = host_.Shown();
    for (const Vocabulary vocabulary : {Vocabulary::Attributes, Vocabulary::Contents}) {
        QListWidget* list = ListOf(vocabulary);
        const QSignalBlocker blocker(list);
        const std::vector<std::string>& names = VocabularyOf(host_.CurrentProject(), vocabulary);
        for (int i = 0; i < list->count() && static_cast<std::size_t>(i) < names.size(); ++i) {
            bool has = false;
            if (rows.size() == 1 && rows.front() < shown.Rows().size()) {
                const TLinkItem& item = shown.Rows()[rows.front()];
                has = ListContainsName(vocabulary == Vocabulary::Attributes ? item.Attributes : item.Contents,
                    names[static_cast<std::size_t>(i)]);
            }
            list->item(i)->setCheckState(has ? Qt::Checked : Qt::Unchecked);
        }
    }
}

void CollectionCommands::MoveSelectedItemsTo(int genreIndex)
{
    if (genreIndex >= 0
        && MoveRowsToGenre(
            host_.CurrentProject(), host_.Shown(), host_.SelectedRows(), static_cast<std::size_t>(genreIndex))) {
        host_.RowsReplaced({});
        host_.SetIsEditing(true);
    }
}

} // namespace tessaly
