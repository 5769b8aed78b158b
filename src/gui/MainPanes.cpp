#include "gui/MainPanes.h"

#include <QEvent>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QToolBar>
#include <QTreeView>
#include <QVBoxLayout>

#include "gui/GenreListWidget.h"

namespace tessaly {

namespace {

// A pane's tool bar of small buttons over its list.
QToolBar* PaneToolBar(const QString& name)
{
    auto* tools = new QToolBar;
    tools->setObjectName(name);
    tools->setIconSize(QSize(16, 16));
    tools->setStyleSheet(QStringLiteral("QToolBar { spacing: 0px; padding: 0px; border: 0px; } "
                                        "QToolButton { padding: 1px; }"));
    return tools;
}

// A pane: a title bar and its tool bar over its control.
QWidget* Pane(const QString& objectName, QLabel* title, QToolBar* tools, QWidget* control, QWidget* below = nullptr)
{
    auto* pane = new QWidget;
    pane->setObjectName(objectName);
    auto* layout = new QVBoxLayout(pane);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    title->setContentsMargins(4, 2, 4, 2);
    title->setAutoFillBackground(true);
    title->setBuddy(control);
    layout->addWidget(title);
    if (tools != nullptr) {
        layout->addWidget(tools);
    }
    layout->addWidget(control, 1);
    if (below != nullptr) {
        layout->addWidget(below);
    }
    return pane;
}

} // namespace

MainPanes::MainPanes(QAbstractItemModel* items, QWidget* parent)
    : QSplitter(Qt::Horizontal, parent)
    , genres_(new GenreListWidget)
    , items_(new QTreeView)
    , attributes_(new QListWidget)
    , contents_(new QListWidget)
    , trashNotice_(new QPlainTextEdit)
    , genreTools_(PaneToolBar(QStringLiteral("TB_GenreTools")))
    , attributeTools_(PaneToolBar(QStringLiteral("TB_Attr1Tools")))
    , contentTools_(PaneToolBar(QStringLiteral("TB_Attr2Tools")))
    , vocabularies_(new QSplitter(Qt::Vertical))
{
    genres_->setObjectName(QStringLiteral("ListBox_Genre"));
    genres_->setIconSize(QSize(16, 16));
    items_->setObjectName(QStringLiteral("ListView_Item"));
    items_->setModel(items);
    items_->setRootIsDecorated(false);
    items_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    items_->setUniformRowHeights(true);
    items_->setDragEnabled(true);
    items_->setDragDropMode(QAbstractItemView::DragOnly);
    attributes_->setObjectName(QStringLiteral("CheckBox_Attr"));
    contents_->setObjectName(QStringLiteral("CheckBox_Content"));
    trashNotice_->setObjectName(QStringLiteral("Memo_Warning"));
    trashNotice_->setReadOnly(true);
    trashNotice_->setPlainText(QStringLiteral(
        "【ゴミ箱】は、他のジャンルフォルダで削除されたリンクアイテムを一時的に格納するシステムフォルダです。\n"
        "【ゴミ箱】から削除されたリンクアイテムは復帰できません。\n"
        "また、現在のファイルの編集を終了した時点で破棄されます。"));
    trashNotice_->setFixedHeight(68);
    trashNotice_->hide();

    vocabularies_->setObjectName(QStringLiteral("Panel_Attribute"));
    vocabularies_->addWidget(Pane(QStringLiteral("Panel_Attr1"), Title(QStringLiteral("アトリビュート"), attributes_),
        attributeTools_, attributes_));
    vocabularies_->addWidget(Pane(
        QStringLiteral("Panel_Attr2"), Title(QStringLiteral("コンテンツ"), contents_), contentTools_, contents_));
    itemTitle_ = Title(QStringLiteral("リンクアイテム"), items_);
    itemTitle_->setObjectName(QStringLiteral("Panel_ItemTitle"));
    itemPane_ = Pane(QStringLiteral("Panel_Links"), itemTitle_, nullptr, items_, trashNotice_);
    addWidget(Pane(
        QStringLiteral("Panel_Genre"), Title(QStringLiteral("ジャンルフォルダ"), genres_), genreTools_, genres_));
    addWidget(itemPane_);
    addWidget(vocabularies_);
    setStretchFactor(1, 1);
    // A resized window gives and takes its height from the content pane.
    vocabularies_->setStretchFactor(0, 0);
    vocabularies_->setStretchFactor(1, 1);
}

QLabel* MainPanes::Title(const QString& text, QWidget* control)
{
    auto* label = new QLabel(text);
    label->installEventFilter(this);
    titles_.emplace_back(control, label);
    return label;
}

void MainPanes::SetItemTitle(const QString& title)
{
    itemTitle_->setText(title);
}

void MainPanes::ShowTrashNotice(bool shown)
{
    trashNotice_->setVisible(shown);
}

void MainPanes::ShowFocus(const QWidget* now)
{
    for (const auto& [control, label] : titles_) {
        const bool active = now == control;
        QFont font = label->font();
        font.setBold(active);
        label->setFont(font);
        label->setBackgroundRole(active ? QPalette::Highlight : QPalette::Window);
        label->setForegroundRole(active ? QPalette::HighlightedText : QPalette::WindowText);
    }
}

bool MainPanes::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonPress) {
        for (const auto& [control, label] : titles_) {
            if (watched == static_cast<QObject*>(label)) {
                control->setFocus(Qt::MouseFocusReason);
                return true;
            }
        }
    }
    return QSplitter::eventFilter(watched, event);
}

} // namespace tessaly
