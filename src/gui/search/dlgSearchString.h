#pragma once

// String search: a keyword in the chosen fields of every item.

#include "gui/search/SearchDialog.h"

class QCheckBox;
class QLineEdit;

namespace tessaly {

class TForm_SearchString final : public SearchDialog {
    Q_OBJECT

public:
    TForm_SearchString(MessagePresenter& messages, RunSearch run, QWidget* parent = nullptr);

protected:
    void FillCriteria(TSqueeze& criteria) const override;
    QWidget* RetryField() const override;

private:
    QLineEdit* keyword_;
    QCheckBox* title_;
    QCheckBox* titleKana_;
    QCheckBox* author_;
    QCheckBox* authorKana_;
    QCheckBox* comment_;
    QCheckBox* ignoreCase_;
};

} // namespace tessaly
