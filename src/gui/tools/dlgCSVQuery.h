#pragma once

// Asks how comments that hold line breaks go into the CSV file.

#include <QDialog>

#include "core/tools/CsvExport.h"

class QCheckBox;
class QRadioButton;

namespace tessaly {

class TForm_CSVQuery final : public QDialog {
    Q_OBJECT

public:
    explicit TForm_CSVQuery(QWidget* parent = nullptr);

    CsvCommentMode CommentMode() const;
    // Whether cells a spreadsheet would run as formulas are written as text.
    CsvFormulas Formulas() const;

private:
    QRadioButton* erase_;
    QRadioButton* top_;
    QRadioButton* literal_;
    QRadioButton* none_;
    QCheckBox* safeFormulas_;
};

} // namespace tessaly
