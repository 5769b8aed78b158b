// The main window's collection editing: the genre, attribute and content
// panes, tagging through the check lists and dropping items on genres.

#include <QAction>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QToolBar>
#include <QTreeView>

#include "gui/GenreListWidget.h"
#include "gui/GuiText.h"
#include "gui/ItemListModel.h"
#include "gui/main/dlgMain.h"
#include "gui/model/dlgStrInput.h"
#include "core/text/Strings.h"
#include "core/util/Messages.h"

namespace tessaly {

void TForm_Main::AttachPopup(QListWidget* list, const QString& prefix)
{
    // The pane's popup: New, Rename and Erase, enabled as the tool bar is.
    list->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(list, &QWidget::customContextMenuRequested, this, [this, list, prefix](const QPoint& position) {
        UpdatePaneCommands();
        QMenu menu(this);
        menu.setObjectName(QStringLiteral("PU_") + prefix.mid(3));
        for (const char* command : {"New", "Edit", "Erase"}) {
            menu.addAction(findChild<QAction*>(prefix + QString::fromLatin1(command)));
        }
        menu.exec(list->viewport()->mapToGlobal(position));
    });
}

QToolBar* TForm_Main::PaneToolBar(const QString& prefix, const std::function<void()>& onNew,
    const std::function<void()>& onEdit, const std::function<void()>& onErase, const std::function<void(bool)>& onMove)
{
    auto* tools = new QToolBar;
    tools->setObjectName(prefix + QStringLiteral("Tools"));
    tools->setIconSize(QSize(16, 16));
    tools->setStyleSheet(QStringLiteral("QToolBar { spacing: 0px; padding: 0px; border: 0px; } "
                                        "QToolButton { padding: 1px; }"));
    const auto add = [&](const QString& name, const QString& text, QStyle::StandardPixmap icon,
                         const std::function<void()>& handler) {
        QAction* action = tools->addAction(style()->standardIcon(icon), text);
        action->setObjectName(prefix + name);
        connect(action, &QAction::triggered, this, handler);
    };
    add(QStringLiteral("New"), QStringLiteral("新規"), QStyle::SP_FileDialogNewFolder, onNew);
    add(QStringLiteral("Edit"), QStringLiteral("名前の変更"), QStyle::SP_FileDialogDetailedView, onEdit);
    add(QStringLiteral("Erase"), QStringLiteral("削除"), QStyle::SP_TrashIcon, onErase);
    add(QStringLiteral("Up"), QStringLiteral("上へ"), QStyle::SP_ArrowUp, [onMove] { onMove(true); });
    add(QStringLiteral("Down"), QStringLiteral("下へ"), QStyle::SP_ArrowDown, [onMove] { onMove(false); });
    return tools;
}

std::optional<std::string> TForm_Main::AskName(const QString& caption, const QString& prompt, const QString& initial,
    std::vector<std::string> existing, int renaming)
{
    TForm_StrInput dialog(services_.messages, caption, prompt, this);
    dialog.SetText(initial);
    dialog.SetExisting(std::move(existing), renaming);
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return ToSjis(dialog.Text());
}

QListWidget* TForm_Main::TagListWidget(Vocabulary vocabulary) const
{
    return vocabulary == Vocabulary::Attributes ? attributeList_ : contentList_;
}

void TForm_Main::RefreshGenreList()
{
    const QSignalBlocker blocker(genreList_);
    genreList_->clear();
    for (std::size_t i = 0; i < project_.Genres.size(); ++i) {
        const QStyle::StandardPixmap icon = i == 0 ? QStyle::SP_DirOpenIcon
            : i == project_.TrashIndex()           ? QStyle::SP_TrashIcon
                                                   : QStyle::SP_DirIcon;
        genreList_->addItem(new QListWidgetItem(style()->standardIcon(icon), ToQString(project_.Genres[i].Name)));
    }
    genreList_->setCurrentRow(static_cast<int>(shown_.SelectedGenre()));
}

void TForm_Main::RefreshTagList(Vocabulary vocabulary)
{
    QListWidget* list = TagListWidget(vocabulary);
    const QSignalBlocker blocker(list);
    const int current = list->currentRow();
    list->clear();
    for (const std::string& name : VocabularyOf(project_, vocabulary)) {
        auto* entry = new QListWidgetItem(ToQString(name), list);
        entry->setFlags(entry->flags() | Qt::ItemIsUserCheckable);
        entry->setCheckState(Qt::Unchecked);
    }
    list->setCurrentRow(std::min(current, list->count() - 1));
    ShowTagsOfSelection();
}

void TForm_Main::UpdatePaneCommands()
{
    const auto enable = [this](const QString& name, bool on) {
        if (QAction* action = findChild<QAction*>(name)) {
            action->setEnabled(on);
        }
    };
    const bool searching = shown_.SearchMode();
    const auto genre = static_cast<std::size_t>(std::max(0, genreList_->currentRow()));
    const bool user = project_.IsUserGenre(genre);
    enable(QStringLiteral("TB_GenreNew"), !searching);
    enable(QStringLiteral("TB_GenreEdit"), !searching && user);
    enable(QStringLiteral("TB_GenreErase"), !searching && user);
    enable(QStringLiteral("TB_GenreUp"), !searching && user && genre > 1);
    enable(QStringLiteral("TB_GenreDown"), !searching && user && genre + 2 < project_.Genres.size());
    for (const auto& [vocabulary, prefix] : {std::pair{Vocabulary::Attributes, QStringLiteral("TB_Attr1")},
             std::pair{Vocabulary::Contents, QStringLiteral("TB_Attr2")}}) {
        const QListWidget* list = TagListWidget(vocabulary);
        const int row = list->currentRow();
        const bool selected = row >= 0 && row < list->count();
        enable(prefix + QStringLiteral("Edit"), selected);
        enable(prefix + QStringLiteral("Erase"), selected);
        enable(prefix + QStringLiteral("Up"), selected && row > 0);
        enable(prefix + QStringLiteral("Down"), selected && row + 1 < list->count());
    }
}

void TForm_Main::TB_GenreNewClick()
{
    const std::optional<std::string> name = AskName(
        QStringLiteral("ジャンル登録"), QStringLiteral("新規ジャンルを登録します"), {}, GenreNames(project_), -1);
    if (!name) {
        return;
    }
    shown_.FlushGenre();
    const std::size_t index = project_.AddGenre(*name);
    shown_.SelectGenre(index);
    RefreshGenreList();
    ShowGenre(static_cast<int>(index));
    SetIsEditing(true);
    UpdatePaneCommands();
}

void TForm_Main::TB_GenreEditClick()
{
    const auto index = static_cast<std::size_t>(genreList_->currentRow());
    if (!project_.IsUserGenre(index)) {
        return;
    }
    const std::optional<std::string> name
        = AskName(QStringLiteral("ジャンル名変更"), QStringLiteral("ジャンル名を変更します"),
            ToQString(project_.Genres[index].Name), GenreNames(project_), static_cast<int>(index));
    if (name && RenameGenre(project_, shown_, index, *name)) {
        RefreshGenreList();
        SetIsEditing(true);
    }
}

void TForm_Main::TB_GenreEraseClick()
{
    const auto index = static_cast<std::size_t>(genreList_->currentRow());
    if (EraseGenre(project_, shown_, index)) {
        RefreshGenreList();
        ShowGenre(static_cast<int>(shown_.SelectedGenre()));
        SetIsEditing(true);
        UpdatePaneCommands();
    }
}

void TForm_Main::TB_GenreMoveClick(bool up)
{
    shown_.FlushGenre();
    const auto index = static_cast<std::size_t>(genreList_->currentRow());
    if (up ? MoveGenreUp(project_, shown_, index) : MoveGenreDown(project_, shown_, index)) {
        RefreshGenreList();
        SetIsEditing(true);
        UpdatePaneCommands();
    }
}

void TForm_Main::TagNewClick(Vocabulary vocabulary)
{
    const bool attributes = vocabulary == Vocabulary::Attributes;
    const std::optional<std::string> name = AskName(
        attributes ? QStringLiteral("アトリビュート登録") : QStringLiteral("コンテンツ登録"),
        attributes ? QStringLiteral("新規アトリビュートを登録します") : QStringLiteral("新規コンテンツを登録します"),
        {}, VocabularyOf(project_, vocabulary), -1);
    if (!name) {
        return;
    }
    std::vector<std::string>& names = VocabularyOf(project_, vocabulary);
    names.emplace_back(Trim(*name));
    RefreshTagList(vocabulary);
    TagListWidget(vocabulary)->setCurrentRow(static_cast<int>(names.size()) - 1);
    SetIsEditing(true);
    UpdatePaneCommands();
}

void TForm_Main::TagEditClick(Vocabulary vocabulary)
{
    const int row = TagListWidget(vocabulary)->currentRow();
    std::vector<std::string>& names = VocabularyOf(project_, vocabulary);
    if (row < 0 || static_cast<std::size_t>(row) >= names.size()) {
        return;
    }
    const bool attributes = vocabulary == Vocabulary::Attributes;
    const std::optional<std::string> name
        = AskName(attributes ? QStringLiteral("アトリビュート名変更") : QStringLiteral("コンテンツ名変更"),
            attributes ? QStringLiteral("アトリビュート名を変更します") : QStringLiteral("コンテンツ名を変更します"),
            ToQString(names[static_cast<std::size_t>(row)]), names, row);
    if (name && RenameTag(project_, shown_, vocabulary, static_cast<std::size_t>(row), *name)) {
        RefreshTagList(vocabulary);
        itemModel_->Reset();
        SetIsEditing(true);
    }
}

void TForm_Main::TagEraseClick(Vocabulary vocabulary)
{
    const int row = TagListWidget(vocabulary)->currentRow();
    if (row >= 0 && EraseTag(project_, shown_, vocabulary, static_cast<std::size_t>(row))) {
        RefreshTagList(vocabulary);
        itemModel_->Reset();
        SetIsEditing(true);
        UpdatePaneCommands();
    }
}

void TForm_Main::TagMoveClick(Vocabulary vocabulary, bool up)
{
    QListWidget* list = TagListWidget(vocabulary);
    const int row = list->currentRow();
    if (row < 0 || !MoveTag(project_, vocabulary, static_cast<std::size_t>(row), up)) {
        return;
    }
    // The check mark moves with its entry.
    const QSignalBlocker blocker(list);
    QListWidgetItem* entry = list->takeItem(row);
    list->insertItem(up ? row - 1 : row + 1, entry);
    list->setCurrentItem(entry);
    SetIsEditing(true);
    UpdatePaneCommands();
}

std::vector<std::size_t> TForm_Main::SelectedRows() const
{
    std::vector<std::size_t> rows;
    for (const QModelIndex& index : itemView_->selectionModel()->selectedRows()) {
        rows.push_back(static_cast<std::size_t>(index.row()));
    }
    std::sort(rows.begin(), rows.end());
    return rows;
}

void TForm_Main::ApplyCheckedTags(Vocabulary vocabulary)
{
    const QListWidget* list = TagListWidget(vocabulary);
    const std::vector<std::string>& names = VocabularyOf(project_, vocabulary);
    std::vector<std::string> checked;
    for (int i = 0; i < list->count() && static_cast<std::size_t>(i) < names.size(); ++i) {
        if (list->item(i)->checkState() == Qt::Checked) {
            checked.push_back(names[static_cast<std::size_t>(i)]);
        }
    }
    if (AssignTags(shown_, vocabulary, SelectedRows(), TagList(checked))) {
        SetIsEditing(true);
    }
}

void TForm_Main::ShowTagsOfSelection()
{
    const std::vector<std::size_t> rows = SelectedRows();
    if (rows.size() > 1) {
        return; // several items: the marks stay, so a click applies them to all
    }
    for (const Vocabulary vocabulary : {Vocabulary::Attributes, Vocabulary::Contents}) {
        QListWidget* list = TagListWidget(vocabulary);
        const QSignalBlocker blocker(list);
        const std::vector<std::string>& names = VocabularyOf(project_, vocabulary);
        for (int i = 0; i < list->count() && static_cast<std::size_t>(i) < names.size(); ++i) {
            bool has = false;
            if (rows.size() == 1 && rows.front() < shown_.Rows().size()) {
                const TLinkItem& item = shown_.Rows()[rows.front()];
                has = ListContainsName(vocabulary == Vocabulary::Attributes ? item.Attributes : item.Contents,
                    names[static_cast<std::size_t>(i)]);
            }
            list->item(i)->setCheckState(has ? Qt::Checked : Qt::Unchecked);
        }
    }
}

void TForm_Main::MoveSelectedItemsTo(int genreIndex)
{
    if (genreIndex >= 0 && MoveRowsToGenre(project_, shown_, SelectedRows(), static_cast<std::size_t>(genreIndex))) {
        itemModel_->Reset();
        SetIsEditing(true);
        UpdateCounts();
    }
}

void TForm_Main::OnFocusChanged(QWidget* old, QWidget* now)
{
    // Leaving the item pane writes its rows back into the genre.
    if (old != nullptr && linksPanel_->isAncestorOf(old) && (now == nullptr || !linksPanel_->isAncestorOf(now))) {
        shown_.FlushGenre();
        textPanel_->clear();
    }
    // Paste and select-all depend on the focus, also in an empty list. A
    // menu opened from the keyboard takes the focus only to give it back:
    // its commands must stay as the list left them.
    const bool toMenu = now == nullptr || qobject_cast<QMenuBar*>(now) != nullptr || qobject_cast<QMenu*>(now) != nullptr;
    if ((old == itemView_ || now == itemView_) && !toMenu) {
        UpdateItemCommandStates();
    }
    for (const auto& [control, label] : paneTitles_) {
        const bool active = now == control;
        QFont font = label->font();
        font.setBold(active);
        label->setFont(font);
        label->setBackgroundRole(active ? QPalette::Highlight : QPalette::Window);
        label->setForegroundRole(active ? QPalette::HighlightedText : QPalette::WindowText);
    }
    UpdateCounts();
}

} // namespace tessaly
