#pragma once

// The dates already used in the collection ("yyyy/mm/dd"), newest or oldest
// first by two grouped toggle buttons; the highlighted entry follows the
// mouse pointer. Shared by the bulk date dialog and the date pop-up.

#include <QWidget>

#include <optional>
#include <string>
#include <vector>

#include "core/text/DateTime.h"

class QListWidget;
class QToolButton;

namespace tessaly {

class RegisteredDateList final : public QWidget {
    Q_OBJECT

public:
    explicit RegisteredDateList(const std::vector<std::string>& dates, QWidget* parent = nullptr);

    QListWidget* List() const { return list_; }
    // The date of an entry, or nothing for no entry.
    std::optional<TDateTime> DateAt(int row) const;

signals:
    // A left-button press on an entry, or a keyboard choice.
    void dateChosen(TDateTime date);
    // A press of another button, or one outside any entry.
    void pressedElsewhere();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Fill();

    std::vector<std::string> dates_;
    QListWidget* list_;
    QToolButton* newest_;
    QToolButton* oldest_;
};

} // namespace tessaly
