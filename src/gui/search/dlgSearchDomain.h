#pragma once

// Domain search: a text in the host part of the page or banner address,
// with the hosts the collection already uses to pick from.

#include "gui/search/SearchDialog.h"

#include <string>
#include <vector>

class QCheckBox;
class QLineEdit;
class QListWidget;

namespace tessaly {

class TForm_SearchDomain final : public SearchDialog {
    Q_OBJECT

public:
    // domains: the registered hosts, sorted.
    TForm_SearchDomain(
        MessagePresenter& messages, RunSearch run, const std::vector<std::string>& domains, QWidget* parent = nullptr);

protected:
    void FillCriteria(TSqueeze& criteria) const override;
    QWidget* RetryField() const override;

private:
    QLineEdit* domain_;
    QCheckBox* ignoreCase_;
    QListWidget* domains_;
};

} // namespace tessaly
