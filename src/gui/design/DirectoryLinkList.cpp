#include "gui/design/DirectoryLinkList.h"

#include <QAction>
#include <QHeaderView>
#include <QMenu>
#include <QRegularExpression>
#include <QStyle>
#include <QToolBar>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "gui/GuiText.h"
#include "gui/Icons.h"
#include "gui/design/dlgResSelect.h"

namespace tessaly {

namespace {

constexpr int kLinkRole = Qt::UserRole;

DirectoryLink LinkOf(const QTreeWidgetItem* row)
{
    const QStringList parts = row->data(0, kLinkRole).toStringList();
    return {ToSjisOrEmpty(parts.value(0)), ToSjisOrEmpty(parts.value(1))};
}

void SetRow(QTreeWidgetItem* row, const DirectoryLink& link)
{
    const QString anchor = ToQString(link.anchor);
    const QString target = ToQString(link.target);
    row->setText(0, anchor);
    row->setText(1, target);
    row->setData(0, kLinkRole, QStringList{anchor, target});
}

} // namespace

DirectoryLinkList::DirectoryLinkList(MessagePresenter& messages, FileDialogs& files, QWidget* parent)
    : QWidget(parent)
    , messages_(messages)
    , files_(files)
    , list_(new QTreeWidget)
    , new_(Command("TB_NewLink", QStringLiteral("新規ハイパーリンク(&N)"), {}, &DirectoryLinkList::NewLink))
    , edit_(Command("TB_EditLink", QStringLiteral("ハイパーリンク編集(&E)"), QKeySequence(Qt::Key_Return),
          &DirectoryLinkList::EditLink))
    , erase_(Command("TB_EraseLink", QStringLiteral("ハイパーリンク削除(&D)"), QKeySequence(Qt::Key_Delete),
          &DirectoryLinkList::EraseLinks))
    , up_(Command("TB_UpLink", QStringLiteral("上へ"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Up), nullptr))
    , down_(Command(
          "TB_DownLink", QStringLiteral("下へ"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Down), nullptr))
{
    connect(up_, &QAction::triggered, this, [this] { MoveLink(-1); });
    connect(down_, &QAction::triggered, this, [this] { MoveLink(1); });
    new_->setIcon(DrawnIcon(ProgramIcon::NewItem));
    edit_->setIcon(DrawnIcon(ProgramIcon::EditItem));
    erase_->setIcon(style()->standardIcon(QStyle::SP_TrashIcon));
    up_->setIcon(style()->standardIcon(QStyle::SP_ArrowUp));
    down_->setIcon(style()->standardIcon(QStyle::SP_ArrowDown));

    list_->setObjectName(QStringLiteral("DirLinks"));
    list_->setHeaderLabels({QStringLiteral("アンカー"), QStringLiteral("相対 URL")});
    list_->setRootIsDecorated(false);
    list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list_->setContextMenuPolicy(Qt::CustomContextMenu);
    list_->header()->setStretchLastSection(true);
    list_->setColumnWidth(0, 180);
    for (QAction* action : {edit_, erase_, up_, down_}) {
        action->setShortcutContext(Qt::WidgetShortcut);
        list_->addAction(action);
    }
    connect(list_, &QTreeWidget::itemSelectionChanged, this, &DirectoryLinkList::UpdateButtons);
    connect(list_, &QTreeWidget::itemDoubleClicked, this, [this] { EditLink(); });
    connect(list_, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        QMenu menu(this);
        menu.setObjectName(QStringLiteral("PM_DirLinks"));
        menu.addActions({new_, edit_, erase_});
        menu.exec(list_->viewport()->mapToGlobal(at));
    });

    auto* tools = new QToolBar;
    tools->setObjectName(QStringLiteral("ToolBar_DirLinks"));
    tools->setOrientation(Qt::Vertical);
    tools->setIconSize(QSize(16, 16));
    tools->addActions({new_, edit_, erase_});
    tools->addSeparator();
    tools->addActions({up_, down_});
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(list_, 1);
    layout->addWidget(tools);
    UpdateButtons();
}

QAction* DirectoryLinkList::Command(
    const char* name, const QString& caption, const QKeySequence& shortcut, void (DirectoryLinkList::*run)())
{
    auto* action = new QAction(caption, this);
    action->setObjectName(QString::fromLatin1(name));
    action->setToolTip(QString(caption).remove(QRegularExpression(QStringLiteral("\\(&.\\)"))));
    action->setShortcut(shortcut);
    if (run) {
        connect(action, &QAction::triggered, this, run);
    }
    return action;
}

QTreeWidgetItem* DirectoryLinkList::AddRow(const DirectoryLink& link)
{
    auto* row = new QTreeWidgetItem(list_);
    SetRow(row, link);
    return row;
}

void DirectoryLinkList::SetLinks(const std::vector<DirectoryLink>& links)
{
    list_->clear();
    for (const DirectoryLink& link : links) {
        AddRow(link);
    }
    UpdateButtons();
}

std::vector<DirectoryLink> DirectoryLinkList::Links() const
{
    std::vector<DirectoryLink> links;
    links.reserve(static_cast<std::size_t>(list_->topLevelItemCount()));
    for (int i = 0; i < list_->topLevelItemCount(); ++i) {
        links.push_back(LinkOf(list_->topLevelItem(i)));
    }
    return links;
}

void DirectoryLinkList::Append(const DirectoryLink& link)
{
    AddRow(link);
    UpdateButtons();
}

void DirectoryLinkList::AppendSelected(const DirectoryLink& link)
{
    list_->clearSelection();
    QTreeWidgetItem* row = AddRow(link);
    list_->setCurrentItem(row);
    row->setSelected(true);
    list_->scrollToItem(row);
    UpdateButtons();
}

void DirectoryLinkList::NewLink()
{
    TForm_ResSelect editor(messages_, files_, baseDirectory_, this);
    if (editor.exec() == QDialog::Accepted) {
        Append(editor.Link());
    }
}

void DirectoryLinkList::EditLink()
{
    const QList<QTreeWidgetItem*> selected = list_->selectedItems();
    if (selected.isEmpty()) {
        return;
    }
    QTreeWidgetItem* row = list_->currentItem() && list_->currentItem()->isSelected() ? list_->currentItem()
                                                                                       : selected.front();
    TForm_ResSelect editor(messages_, files_, baseDirectory_, this);
    editor.SetLink(LinkOf(row));
    if (editor.exec() == QDialog::Accepted) {
        SetRow(row, editor.Link());
    }
}

void DirectoryLinkList::EraseLinks()
{
    qDeleteAll(list_->selectedItems());
    UpdateButtons();
}

void DirectoryLinkList::MoveLink(int step)
{
    const QList<QTreeWidgetItem*> selected = list_->selectedItems();
    if (selected.size() != 1) {
        return;
    }
    const int from = list_->indexOfTopLevelItem(selected.front());
    const int to = from + step;
    if (to < 0 || to >= list_->topLevelItemCount()) {
        return;
    }
    QTreeWidgetItem* row = list_->takeTopLevelItem(from);
    list_->insertTopLevelItem(to, row);
    list_->setCurrentItem(row);
    row->setSelected(true);
    list_->setFocus();
    UpdateButtons();
}

void DirectoryLinkList::UpdateButtons()
{
    const QList<QTreeWidgetItem*> selected = list_->selectedItems();
    const bool one = selected.size() == 1;
    const int row = one ? list_->indexOfTopLevelItem(selected.front()) : -1;
    edit_->setEnabled(one);
    erase_->setEnabled(!selected.isEmpty());
    up_->setEnabled(one && row > 0);
    down_->setEnabled(one && row < list_->topLevelItemCount() - 1);
}

} // namespace tessaly
