#include "gui/history/HistoryCommands.h"

#include <QAction>
#include <QApplication>
#include <QStyle>

#include "core/collection/UndoHistory.h"
#include "gui/host/ItemListHost.h"
#include "gui/host/MenuLayout.h"

namespace tessaly {

namespace {

QIcon ThemeIcon(const char* name, QStyle::StandardPixmap fallback)
{
    return QIcon::fromTheme(QString::fromLatin1(name), QApplication::style()->standardIcon(fallback));
}

// "元に戻す: ドメイン一括変換(&U)", or the bare verb when nothing is named.
QString Caption(const QString& verb, const std::string& step, const QString& key)
{
    return (step.empty() ? verb : verb + QStringLiteral(": ") + QString::fromStdString(step)) + key;
}

} // namespace

HistoryCommands::HistoryCommands(ItemListHost& host)
    : CommandSet(host)
    , undo_(new QAction(QStringLiteral("元に戻す(&U)"), this))
    , redo_(new QAction(QStringLiteral("やり直し(&R)"), this))
    , undoButton_(new QAction(ThemeIcon("edit-undo", QStyle::SP_ArrowBack), QStringLiteral("元に戻す"), this))
    , redoButton_(new QAction(ThemeIcon("edit-redo", QStyle::SP_ArrowForward), QStringLiteral("やり直し"), this))
{
    // Not through RunCommand: taking a step back is no step of its own.
    undo_->setObjectName(QStringLiteral("MM_Undo"));
    undo_->setShortcut(QKeySequence::Undo);
    redo_->setObjectName(QStringLiteral("MM_Redo"));
    redo_->setShortcuts({Qt::CTRL | Qt::SHIFT | Qt::Key_Z, Qt::CTRL | Qt::Key_Y});
    undoButton_->setObjectName(QStringLiteral("TB_Undo"));
    redoButton_->setObjectName(QStringLiteral("TB_Redo"));
    for (QAction* action : {undo_, undoButton_}) {
        connect(action, &QAction::triggered, this, [this] { host_.Undo(); });
    }
    for (QAction* action : {redo_, redoButton_}) {
        connect(action, &QAction::triggered, this, [this] { host_.Redo(); });
    }
}

void HistoryCommands::Contribute(MenuLayout& layout)
{
    layout.Add(MenuPlace::EditHistory, undo_);
    layout.Add(MenuPlace::EditHistory, redo_);
    layout.Add(MenuPlace::HistoryToolBar, undoButton_);
    layout.Add(MenuPlace::HistoryToolBar, redoButton_);
}

void HistoryCommands::UpdateStates(const ItemListState&)
{
    const UndoHistory& history = host_.History();
    undo_->setText(Caption(QStringLiteral("元に戻す"), history.UndoName(), QStringLiteral("(&U)")));
    redo_->setText(Caption(QStringLiteral("やり直し"), history.RedoName(), QStringLiteral("(&R)")));
    undoButton_->setToolTip(Caption(QStringLiteral("元に戻す"), history.UndoName(), {}));
    redoButton_->setToolTip(Caption(QStringLiteral("やり直し"), history.RedoName(), {}));
    for (QAction* action : {undo_, undoButton_}) {
        action->setEnabled(history.CanUndo());
    }
    for (QAction* action : {redo_, redoButton_}) {
        action->setEnabled(history.CanRedo());
    }
}

} // namespace tessaly
