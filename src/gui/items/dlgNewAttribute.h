#pragma once

// The newest-attribute tool's dialog: the period whose items carry "最新".

#include <QDialog>

#include <optional>
#include <string>
#include <vector>

#include "core/collection/NewestAttribute.h"

class QComboBox;
class QPushButton;

namespace tessaly {

class MessagePresenter;
class TFrame_DateTimePicker;

class TForm_NewAttribute final : public QDialog {
    Q_OBJECT

public:
    // dates: the registered dates, ascending.
    TForm_NewAttribute(MessagePresenter& messages, const std::vector<std::string>& dates, TDateTime today,
        QWidget* parent = nullptr);

    // The period chosen; nothing when a date frame in use holds year 0.
    std::optional<NewestPeriod> Period() const;

    QComboBox* DateRange() const { return dateRange_; }
    TFrame_DateTimePicker* DateBegin() const { return dateBegin_; }
    TFrame_DateTimePicker* DateEnd() const { return dateEnd_; }

private:
    void DateRangeChange();
    void Button1Click();

    MessagePresenter& messages_;

    std::vector<std::string> dates_;
    QComboBox* dateRange_;
    TFrame_DateTimePicker* dateBegin_;
    TFrame_DateTimePicker* dateEnd_;
    QPushButton* beginList_;
    QPushButton* endList_;
};

} // namespace tessaly
