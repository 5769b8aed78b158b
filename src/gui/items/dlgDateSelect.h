#pragma once

// The bulk date dialog: a date for every chosen item, typed or picked from
// the dates the collection already uses.

#include <QDialog>

#include <optional>
#include <string>
#include <vector>

#include "core/text/DateTime.h"

namespace tessaly {

class MessagePresenter;
class RegisteredDateList;
class TFrame_DateTimePicker;

class TForm_DateSelect final : public QDialog {
    Q_OBJECT

public:
    TForm_DateSelect(MessagePresenter& messages, const std::vector<std::string>& dates, TDateTime today,
        QWidget* parent = nullptr);

    // Nothing when the picker holds year 0.
    std::optional<TDateTime> Date() const;

    RegisteredDateList* Dates() const { return dates_; }
    TFrame_DateTimePicker* Picker() const { return picker_; }

private:
    MessagePresenter& messages_;
    RegisteredDateList* dates_;
    TFrame_DateTimePicker* picker_;
};

} // namespace tessaly
