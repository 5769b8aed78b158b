#pragma once

// The pop-up of registered dates beside a date frame: a left click on a
// date puts it into the frame and closes the pop-up; any other click, or
// leaving the pop-up, only closes it.

#include <QWidget>

#include <string>
#include <vector>

namespace tessaly {

class RegisteredDateList;
class TFrame_DateTimePicker;

class TForm_DateList final : public QWidget {
    Q_OBJECT

public:
    TForm_DateList(const std::vector<std::string>& dates, TFrame_DateTimePicker* frame);

    RegisteredDateList* Dates() const { return dates_; }

    // Shows the pop-up for the frame: focus to its year, the pop-up to its right.
    static TForm_DateList* Open(const std::vector<std::string>& dates, TFrame_DateTimePicker* frame);

private:
    RegisteredDateList* dates_;
};

} // namespace tessaly
