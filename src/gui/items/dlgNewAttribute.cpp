#include "gui/items/dlgNewAttribute.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/DialogButtons.h"
#include "gui/FieldRow.h"
#include "gui/search/dlgDateList.h"
#include "gui/items/frmDateTimePicker.h"
#include "gui/shell/HelpTopics.h"

namespace tessaly {

TForm_NewAttribute::TForm_NewAttribute(
    MessagePresenter& messages, const std::vector<std::string>& dates, TDateTime today, QWidget* parent)
    : QDialog(parent)
    , messages_(messages)
    , dates_(dates)
    , dateRange_(new QComboBox)
    , dateBegin_(new TFrame_DateTimePicker)
    , dateEnd_(new TFrame_DateTimePicker)
    , beginList_(new QPushButton(QStringLiteral("一覧")))
    , endList_(new QPushButton(QStringLiteral("一覧")))
{
    setObjectName(QStringLiteral("TForm_NewAttribute"));
    setWindowTitle(QStringLiteral("最新アトリビュート調整ツール"));
    dateRange_->setObjectName(QStringLiteral("DateRange"));
    dateRange_->addItems({QStringLiteral("当日"), QStringLiteral("範囲"), QStringLiteral("以降"), QStringLiteral("以前")});
    dateBegin_->setObjectName(QStringLiteral("DateBegin"));
    dateEnd_->setObjectName(QStringLiteral("DateEnd"));
    beginList_->setObjectName(QStringLiteral("DateBegin_Reff"));
    endList_->setObjectName(QStringLiteral("DateEnd_Reff"));
    // The newest registered date is the likely day.
    dateBegin_->SetDate(dates_.empty() ? today : ParseDateTime(dates_.back()).value_or(today));
    dateEnd_->SetDate(today);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("期間"), dateRange_);
    form->addRow(QStringLiteral("先頭"), FieldRow(dateBegin_, {beginList_}));
    form->addRow(QStringLiteral("最後"), FieldRow(dateEnd_, {endList_}));
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(DialogButtons(this, QStringLiteral("実行"), [this] { Button1Click(); }, help::kNewAttribute));

    connect(dateRange_, &QComboBox::currentIndexChanged, this, &TForm_NewAttribute::DateRangeChange);
    connect(beginList_, &QPushButton::clicked, this, [this] { TForm_DateList::Open(dates_, dateBegin_); });
    connect(endList_, &QPushButton::clicked, this, [this] { TForm_DateList::Open(dates_, dateEnd_); });
    DateRangeChange();
}

void TForm_NewAttribute::DateRangeChange()
{
    const auto mode = static_cast<NewestPeriodMode>(dateRange_->currentIndex());
    const bool begin = mode != NewestPeriodMode::Until;
    const bool end = mode == NewestPeriodMode::Range || mode == NewestPeriodMode::Until;
    dateBegin_->SetFormEnabled(begin);
    dateEnd_->SetFormEnabled(end);
    beginList_->setEnabled(begin && !dates_.empty());
    endList_->setEnabled(end && !dates_.empty());
}

void TForm_NewAttribute::Button1Click()
{
    if (!Period()) {
        RefuseYearZero(messages_, dateBegin_->Date() ? dateEnd_ : dateBegin_);
        return;
    }
    accept();
}

std::optional<NewestPeriod> TForm_NewAttribute::Period() const
{
    NewestPeriod period;
    period.mode = static_cast<NewestPeriodMode>(dateRange_->currentIndex());
    const bool begin = period.mode != NewestPeriodMode::Until;
    const bool end = period.mode == NewestPeriodMode::Range || period.mode == NewestPeriodMode::Until;
    const std::optional<TDateTime> first = dateBegin_->Date();
    const std::optional<TDateTime> last = dateEnd_->Date();
    if ((begin && !first) || (end && !last)) {
        return std::nullopt;
    }
    period.begin = first.value_or(TDateTime{});
    period.end = last.value_or(TDateTime{});
    return period;
}

} // namespace tessaly
