#pragma once

// The search data dialog: which item template the search script renders
// hits with, and the order of the items in the file.

#include <QDialog>

#include <string>
#include <vector>

#include "core/tools/SearchData.h"

class QCheckBox;
class QComboBox;

namespace tessaly {

class TForm_OutputDIZ final : public QDialog {
    Q_OBJECT

public:
    // templateNames: the names the template list offers, built-ins first.
    explicit TForm_OutputDIZ(std::vector<std::string> templateNames, QWidget* parent = nullptr);

    DizSettings Settings() const;

private:
    std::vector<std::string> templateNames_;
    QComboBox* template_;
    QCheckBox* checkErase_;
    QComboBox* sortBy_;
    QComboBox* sortDir_;
};

} // namespace tessaly
