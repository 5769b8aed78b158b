#include "gui/search/dlgDateList.h"

#include <QSpinBox>
#include <QVBoxLayout>

#include "gui/items/RegisteredDateList.h"
#include "gui/items/frmDateTimePicker.h"
#include "gui/shell/HelpTopics.h"
#include "gui/shell/dlgHelp.h"

namespace tessaly {

TForm_DateList::TForm_DateList(const std::vector<std::string>& dates, TFrame_DateTimePicker* frame)
    : QWidget(frame, Qt::Popup)
    , dates_(new RegisteredDateList(dates))
{
    setObjectName(QStringLiteral("TForm_DateList"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("既登録日付一覧"));
    SetHelpTopic(this, help::kDateList);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addWidget(dates_);
    resize(140, 220);
    connect(dates_, &RegisteredDateList::dateChosen, this, [this, frame](TDateTime date) {
        frame->SetDate(date);
        close();
    });
    connect(dates_, &RegisteredDateList::pressedElsewhere, this, &QWidget::close);
}

TForm_DateList* TForm_DateList::Open(const std::vector<std::string>& dates, TFrame_DateTimePicker* frame)
{
    frame->YearBox()->setFocus();
    auto* popup = new TForm_DateList(dates, frame);
    popup->move(frame->mapToGlobal(QPoint(frame->width(), 0)));
    popup->show();
    return popup;
}

} // namespace tessaly
