#pragma once

// The project output: runs the output on a worker thread and shows where it
// stands (the step, the directory tree, the page plan of the directory and
// the progress); afterwards the run's log and the root page.

#include <QDialog>

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "gui/publish/OutputRunner.h"
#include "gui/publish/PublishRunner.h"

class QLabel;
class QProgressBar;
class QPushButton;
class QTimer;
class QTreeWidget;
class QTreeWidgetItem;

namespace tessaly {

class MessagePresenter;

class TForm_ProjectOutput final : public QDialog {
    Q_OBJECT

public:
    // job: one run over the project; openRoot: the "open root" command;
    // publish: the command that "公開" runs after a finished run.
    TForm_ProjectOutput(MessagePresenter& messages, OutputRunner::Job job, std::function<void()> openRoot,
        PublishSetup publish = {}, QWidget* parent = nullptr);
    ~TForm_ProjectOutput() override;

    void BtnOutputClick();
    void BtnAbortClick();
    void BtnLogClick();
    void BtnPublishClick();
    void BtnDetailedClick();

    bool Running() const { return runner_->Running() || publisher_->Running(); }
    bool Detailed() const;
    // The log of the last run, code page 932 lines.
    const std::vector<SjisText>& Log() const { return log_; }

public slots:
    // Closing waits for the run to end.
    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void ShowProgress();
    void ShowStep(OutputStep step);
    void ShowDirectories(const std::vector<std::string>& directories);
    void ShowPlan(const std::vector<PageRow>& plan);
    void ShowStates(const std::vector<PageState>& states, std::size_t row);
    void SetDetailed(bool detailed);
    void AskAbort();
    void RunFinished(const OutputResult& result);
    void PublishFinished(const PublishOutcome& outcome);
    void SetButtonsRunning(bool running);

    MessagePresenter& messages_;
    OutputRunner::Job job_;
    OutputRunner* runner_;
    PublishSetup publish_;
    PublishRunner* publisher_;
    QTimer* ticks_;
    std::array<QLabel*, 7> steps_{};
    QLabel* group_;
    QLabel* nowDirectory_;
    QProgressBar* progress_;
    QTreeWidget* dirTree_;
    QTreeWidget* htmls_;
    QWidget* details_;
    QPushButton* btnOutput_;
    QPushButton* btnAbort_;
    QPushButton* btnClose_;
    QPushButton* btnLog_;
    QPushButton* btnDetailed_;
    QPushButton* btnPublish_;
    bool siteReady_ = false; // the last run finished: its site may be published
    // What the views show, to change only what the run changed.
    std::optional<OutputStep> shownStep_;
    std::shared_ptr<const std::vector<std::string>> shownDirectories_;
    std::vector<QTreeWidgetItem*> directoryNodes_;
    std::optional<std::size_t> shownDirectory_;
    std::shared_ptr<const std::vector<PageRow>> shownPlan_;
    std::vector<PageState> shownStates_;
    std::vector<SjisText> log_;
};

} // namespace tessaly
