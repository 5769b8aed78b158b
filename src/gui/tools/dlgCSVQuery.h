#pragma once

// Asks how comments that hold line breaks go into the CSV file.

#include <QDialog>

#include "tools/CsvExport.h"

class QRadioButton;

namespace tessaly {

class TForm_CSVQuery final : public QDialog {
    Q_OBJECT

public:
    explicit TForm_CSVQuery(QWidget* parent = nullptr);

    CsvCommentMode CommentMode() const;

private:
    QRadioButton* erase_;
    QRadioButton* top_;
    QRadioButton* literal_;
    QRadioButton* none_;
};

} // namespace tessaly
