#pragma once

// What the three search dialogs share: "検索開始" fills the criteria from
// the dialog and runs the search; when nothing is found the user may stop
// (Abort) or change the conditions (Retry).

#include <QDialog>

#include <functional>

#include "core/design/DirectoryDesign.h"

class QVBoxLayout;

namespace tessaly {

class MessagePresenter;

// Runs a search; false when nothing was found.
using RunSearch = std::function<bool(const TSqueeze& criteria)>;

class SearchDialog : public QDialog {
    Q_OBJECT

public:
    SearchDialog(MessagePresenter& messages, RunSearch run, const QString& caption, const QString& helpTopic,
        QWidget* parent);

    void Button1Click();

protected:
    // The dialog's own conditions into criteria that hold none yet.
    virtual void FillCriteria(TSqueeze& criteria) const = 0;
    // Where the user goes to change the conditions after Retry.
    virtual QWidget* RetryField() const = 0;
    // The dialog's controls go above the buttons.
    QVBoxLayout* Body() const { return body_; }

private:
    MessagePresenter& messages_;
    RunSearch run_;
    QVBoxLayout* body_;
};

} // namespace tessaly
