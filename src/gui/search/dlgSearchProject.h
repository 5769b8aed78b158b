#pragma once

// Design-type search: the narrowing conditions of a directory design over
// the whole collection.

#include "gui/search/SearchDialog.h"

namespace tessaly {

class TFrame_Squeeze;
struct SqueezeChoices;

class TForm_SearchProject final : public SearchDialog {
    Q_OBJECT

public:
    TForm_SearchProject(
        MessagePresenter& messages, RunSearch run, const SqueezeChoices& choices, QWidget* parent = nullptr);

    TFrame_Squeeze* Squeeze() const { return squeeze_; }

protected:
    void FillCriteria(TSqueeze& criteria) const override;
    QWidget* RetryField() const override;

private:
    TFrame_Squeeze* squeeze_;
};

} // namespace tessaly
