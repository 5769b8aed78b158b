#include "gui/items/dlgDateSelect.h"

#include <QDialogButtonBox>
#include <QListWidget>
#include <QVBoxLayout>

#include "gui/DialogButtons.h"
#include "gui/items/RegisteredDateList.h"
#include "gui/items/frmDateTimePicker.h"
#include "gui/shell/HelpTopics.h"
#include "gui/shell/dlgHelp.h"

namespace tessaly {

TForm_DateSelect::TForm_DateSelect(
    MessagePresenter& messages, const std::vector<std::string>& dates, TDateTime today, QWidget* parent)
    : QDialog(parent)
    , messages_(messages)
    , dates_(new RegisteredDateList(dates))
    , picker_(new TFrame_DateTimePicker)
{
    setObjectName(QStringLiteral("TForm_DateSelect"));
    setWindowTitle(QStringLiteral("日付一括設定"));
    SetHelpTopic(this, help::kDateSelect);
    picker_->setObjectName(QStringLiteral("Picker"));
    picker_->SetDate(today);
    connect(dates_, &RegisteredDateList::dateChosen, picker_, &TFrame_DateTimePicker::SetDate);
    connect(dates_->List(), &QListWidget::currentRowChanged, this, [this](int row) {
        if (const std::optional<TDateTime> date = dates_->DateAt(row)) {
            picker_->SetDate(*date);
        }
    });
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(dates_, 1);
    layout->addWidget(picker_);
    layout->addWidget(DialogButtons(this, QStringLiteral("決定"), [this] {
        if (picker_->Date()) {
            accept();
        } else {
            RefuseYearZero(messages_, picker_);
        }
    }));
    resize(260, 360);
}

std::optional<TDateTime> TForm_DateSelect::Date() const
{
    return picker_->Date();
}

} // namespace tessaly
