#include "gui/search/frmOperateView.h"

#include <QAction>
#include <QHeaderView>
#include <QMenu>
#include <QToolBar>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "gui/GuiText.h"
#include "core/text/Collation.h"

namespace tessaly {

TFrame_OperateView::TFrame_OperateView(QWidget* parent)
    : QWidget(parent)
    , lists_(new QTreeWidget)
{
    setObjectName(QStringLiteral("TFrame_OperateView"));
    lists_->setObjectName(QStringLiteral("Lists"));
    lists_->setColumnCount(2);
    lists_->setHeaderHidden(true);
    lists_->setRootIsDecorated(false);
    lists_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    lists_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lists_->setColumnWidth(0, 100);
    lists_->header()->setStretchLastSection(true);

    auto* tools = new QToolBar;
    tools->setIconSize(QSize(16, 16));
    auto* popup = new QMenu(this);
    popup->setObjectName(QStringLiteral("PopupMenu"));
    const struct {
        const char* name;
        const char* hint;
        const char* caption;
        const char* operation;
    } kOperations[] = {
        {"TB_SetAnd", "AND演算", "AND演算(&A)", "AND"},
        {"TB_SetOr", "OR演算", "OR演算(&O)", "OR"},
        {"TB_SetNot", "NOT演算", "NOT演算(&N)", "NOT"},
        {"TB_SetClear", "演算解除", "演算解除(&D)", ""},
    };
    for (const auto& entry : kOperations) {
        // The pop-up entries act like the buttons.
        const QString operation = QString::fromLatin1(entry.operation);
        QAction* button = tools->addAction(operation.isEmpty() ? QStringLiteral("解除") : operation);
        button->setObjectName(QString::fromLatin1(entry.name));
        button->setToolTip(QString::fromUtf8(entry.hint));
        QAction* item = popup->addAction(QString::fromUtf8(entry.caption));
        for (QAction* action : {button, item}) {
            connect(action, &QAction::triggered, this, [this, operation] { SetOperation(operation); });
        }
        operations_.push_back(button);
        operations_.push_back(item);
    }
    lists_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(lists_, &QWidget::customContextMenuRequested, this,
        [this, popup](const QPoint& at) { popup->exec(lists_->viewport()->mapToGlobal(at)); });
    connect(lists_, &QTreeWidget::itemSelectionChanged, this, &TFrame_OperateView::UpdateButtons);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(tools);
    layout->addWidget(lists_, 1);
    UpdateButtons();
}

void TFrame_OperateView::SetNames(const std::vector<std::string>& names)
{
    names_ = names;
    lists_->clear();
    for (const std::string& name : names_) {
        auto* row = new QTreeWidgetItem(lists_, {ToQString(name), QString()});
        row->setTextAlignment(1, Qt::AlignCenter);
    }
    UpdateButtons();
}

void TFrame_OperateView::SetOperation(const QString& operation)
{
    for (QTreeWidgetItem* row : lists_->selectedItems()) {
        row->setText(1, operation);
    }
}

std::vector<std::string> TFrame_OperateView::NamesWith(const QString& operation) const
{
    std::vector<std::string> names;
    for (int row = 0; row < lists_->topLevelItemCount(); ++row) {
        if (lists_->topLevelItem(row)->text(1) == operation) {
            names.push_back(names_[static_cast<std::size_t>(row)]);
        }
    }
    return names;
}

void TFrame_OperateView::MarkNames(const std::vector<std::string>& names, const QString& operation)
{
    for (const std::string& name : names) {
        for (std::size_t row = 0; row < names_.size(); ++row) {
            if (SameNameIgnoringAsciiCase(names_[row], name)) {
                lists_->topLevelItem(static_cast<int>(row))->setText(1, operation);
            }
        }
    }
}

void TFrame_OperateView::Reset()
{
    for (int row = 0; row < lists_->topLevelItemCount(); ++row) {
        lists_->topLevelItem(row)->setText(1, QString());
    }
    lists_->clearSelection();
    UpdateButtons();
}

void TFrame_OperateView::UpdateButtons()
{
    const bool any = !lists_->selectedItems().isEmpty();
    for (QAction* action : operations_) {
        action->setEnabled(any);
    }
}

} // namespace tessaly
