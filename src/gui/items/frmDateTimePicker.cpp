#include "gui/items/frmDateTimePicker.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QSpinBox>

#include "core/text/Codepage.h"
#include "core/util/Messages.h"

namespace tessaly {

namespace {

QSpinBox* NumberBox(const QString& name, int minimum, int maximum, int value)
{
    auto* box = new QSpinBox;
    box->setObjectName(name);
    box->setRange(minimum, maximum);
    box->setValue(value);
    box->setAlignment(Qt::AlignRight);
    box->setWrapping(false);
    box->setKeyboardTracking(true);
    return box;
}

} // namespace

TFrame_DateTimePicker::TFrame_DateTimePicker(QWidget* parent)
    : QWidget(parent)
    , year_(NumberBox(QStringLiteral("Year"), 0, 9999, 1900))
    , month_(NumberBox(QStringLiteral("Month"), 1, 12, 1))
    , day_(NumberBox(QStringLiteral("Day"), 1, 31, 1))
{
    setObjectName(QStringLiteral("TFrame_DateTimePicker"));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(year_);
    layout->addWidget(new QLabel(QStringLiteral("/")));
    layout->addWidget(month_);
    layout->addWidget(new QLabel(QStringLiteral("/")));
    layout->addWidget(day_);
    layout->addStretch();
    connect(year_, &QSpinBox::valueChanged, this, &TFrame_DateTimePicker::AdjustDayMaximum);
    connect(month_, &QSpinBox::valueChanged, this, &TFrame_DateTimePicker::AdjustDayMaximum);
}

void TFrame_DateTimePicker::AdjustDayMaximum()
{
    const int month = month_->value();
    const int year = year_->value();
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    const int maximum = month == 2                                ? (leap ? 29 : 28)
        : (month == 4 || month == 6 || month == 9 || month == 11) ? 30
                                                                  : 31;
    day_->setMaximum(maximum); // lowers a larger day to the maximum
}

std::optional<TDateTime> TFrame_DateTimePicker::Date() const
{
    return EncodeDateTime({year_->value(), month_->value(), day_->value()});
}

void TFrame_DateTimePicker::SetDate(TDateTime date)
{
    const DateParts parts = DecodeDateTime(date);
    year_->setValue(parts.Year);
    month_->setValue(parts.Month);
    day_->setMaximum(31);
    day_->setValue(parts.Day);
    AdjustDayMaximum();
}

void TFrame_DateTimePicker::SetFormEnabled(bool enabled)
{
    for (QSpinBox* box : {year_, month_, day_}) {
        box->setEnabled(enabled);
    }
}

void RefuseYearZero(MessagePresenter& messages, TFrame_DateTimePicker* frame)
{
    messages.Show(MessageKind::Warning, SjisText(SJ("登録日の年に 0 は使えません.\r\n1 以上の年を入力して下さい.")),
        MessageButton::Retry);
    frame->YearBox()->setFocus();
}

} // namespace tessaly
