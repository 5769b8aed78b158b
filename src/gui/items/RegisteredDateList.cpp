#include "gui/items/RegisteredDateList.h"

#include <QButtonGroup>
#include <QHBoxLayout>
#include <QListWidget>
#include <QMouseEvent>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace tessaly {

RegisteredDateList::RegisteredDateList(const std::vector<std::string>& dates, QWidget* parent)
    : QWidget(parent)
    , dates_(dates)
    , list_(new QListWidget)
    , newest_(new QToolButton)
    , oldest_(new QToolButton)
{
    list_->setObjectName(QStringLiteral("List"));
    list_->setMouseTracking(true);
    list_->viewport()->installEventFilter(this);
    newest_->setText(QStringLiteral("新規順"));
    newest_->setObjectName(QStringLiteral("Newest"));
    oldest_->setText(QStringLiteral("登録順"));
    oldest_->setObjectName(QStringLiteral("Oldest"));
    auto* order = new QButtonGroup(this);
    for (QToolButton* button : {newest_, oldest_}) {
        button->setCheckable(true);
        button->setAutoRaise(false);
        order->addButton(button);
    }
    newest_->setChecked(true);
    connect(order, &QButtonGroup::buttonToggled, this, [this](QAbstractButton*, bool on) {
        if (on) {
            Fill();
        }
    });
    connect(list_, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
        if (const std::optional<TDateTime> date = DateAt(list_->row(item))) {
            emit dateChosen(*date);
        }
    });

    auto* buttons = new QHBoxLayout;
    buttons->setContentsMargins(0, 0, 0, 0);
    buttons->addWidget(newest_);
    buttons->addWidget(oldest_);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(buttons);
    layout->addWidget(list_, 1);
    Fill();
}

void RegisteredDateList::Fill()
{
    // "yyyy/mm/dd" texts sort by date when compared byte by byte.
    std::vector<std::string> sorted = dates_;
    std::sort(sorted.begin(), sorted.end());
    if (newest_->isChecked()) {
        std::reverse(sorted.begin(), sorted.end());
    }
    list_->clear();
    for (const std::string& date : sorted) {
        list_->addItem(QString::fromStdString(date));
    }
}

std::optional<TDateTime> RegisteredDateList::DateAt(int row) const
{
    const QListWidgetItem* item = list_->item(row);
    if (item == nullptr) {
        return std::nullopt;
    }
    return ParseDateTime(item->text().toStdString());
}

bool RegisteredDateList::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == list_->viewport()) {
        if (event->type() == QEvent::MouseMove) {
            // The highlight follows the pointer.
            const QPoint at = static_cast<QMouseEvent*>(event)->position().toPoint();
            if (QListWidgetItem* item = list_->itemAt(at)) {
                list_->setCurrentItem(item);
            }
        } else if (event->type() == QEvent::MouseButtonPress) {
            const auto* press = static_cast<QMouseEvent*>(event);
            const int row = list_->row(list_->itemAt(press->position().toPoint()));
            const std::optional<TDateTime> date = DateAt(row);
            if (press->button() == Qt::LeftButton && date) {
                list_->setCurrentRow(row);
                emit dateChosen(*date);
            } else {
                emit pressedElsewhere();
            }
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace tessaly
