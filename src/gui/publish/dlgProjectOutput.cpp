#include "gui/publish/dlgProjectOutput.h"

#include <unordered_map>

#include <QCloseEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSplitter>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "gui/GuiText.h"
#include "gui/Icons.h"
#include "core/design/DirectoryDesign.h"
#include "gui/shell/dlgHelp.h"
#include "gui/publish/dlgLog.h"
#include "core/text/Codepage.h"
#include "core/util/Messages.h"
#include "gui/shell/HelpTopics.h"

namespace tessaly {

namespace {

// The client heights of the two views.
constexpr int kCompactHeight = 272;
constexpr int kDetailedHeight = 436;
// Looks at the run often enough for the progress to move smoothly.
constexpr int kTickMilliseconds = 50;

const std::string& AbortQuestion()
{
    return SJ("[中止]が押されました.\r\n処理を強制終了しますか？");
}

const std::string& ForceStoppedText()
{
    return SJ("強制終了しました");
}

// Only the run moves the selection of a view; the user can look and scroll.
class RunDrivenView final : public QObject {
public:
    explicit RunDrivenView(QTreeWidget* view)
        : QObject(view)
    {
        view->setFocusPolicy(Qt::NoFocus);
        view->setItemsExpandable(false);
        view->setSelectionMode(QAbstractItemView::SingleSelection);
        view->viewport()->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove: return true;
        default: return false;
        }
    }
};

QTreeWidget* View(const QString& name)
{
    auto* view = new QTreeWidget;
    view->setObjectName(name);
    new RunDrivenView(view);
    return view;
}

QPushButton* Button(const QString& name, const QString& caption)
{
    auto* button = new QPushButton(caption);
    button->setObjectName(name);
    button->setAutoDefault(false);
    return button;
}

bool HasDesignFile(const std::string& directory)
{
    return QFileInfo::exists(ToQString(directory + std::string(kDesignFileName)));
}

std::string FailureMessage(const Utf8Text& error)
{
    return SJ("プロジェクト出力中にエラーが発生しました.\r\n") + ToSjis(error).bytes()
        + SJ("\r\nプロジェクトは正常に出力されていません.\r\n正常な状態にするには、再出力が必要です.");
}

} // namespace

TForm_ProjectOutput::TForm_ProjectOutput(MessagePresenter& messages, OutputRunner::Job job,
    std::function<void()> openRoot, PublishSetup publish, QWidget* parent)
    : QDialog(parent)
    , messages_(messages)
    , job_(std::move(job))
    , runner_(new OutputRunner(this))
    , publish_(std::move(publish))
    , publisher_(new PublishRunner(this))
    , ticks_(new QTimer(this))
    , group_(new QLabel(QStringLiteral("ディレクトリ毎のリンクを作成しています")))
    , nowDirectory_(new QLabel)
    , progress_(new QProgressBar)
    , dirTree_(View(QStringLiteral("DirTree")))
    , htmls_(View(QStringLiteral("Htmls")))
    , details_(new QSplitter)
    , btnOutput_(Button(QStringLiteral("BtnOutput"), QStringLiteral("プロジェクト出力開始(&O)")))
    , btnAbort_(Button(QStringLiteral("BtnAbort"), QStringLiteral("中止(&A)")))
    , btnClose_(Button(QStringLiteral("BtnClose"), QStringLiteral("閉じる(&C)")))
    , btnLog_(Button(QStringLiteral("BtnLog"), QStringLiteral("ログの表示(&L)")))
    , btnDetailed_(Button(QStringLiteral("BtnDetailed"), QString()))
    , btnPublish_(Button(QStringLiteral("BtnPublish"), QStringLiteral("公開(&P)")))
{
    setObjectName(QStringLiteral("TForm_ProjectOutput"));
    setWindowTitle(QStringLiteral("プロジェクト出力"));

    auto* stepPanel = new QFrame;
    stepPanel->setFrameShape(QFrame::StyledPanel);
    auto* stepLayout = new QVBoxLayout(stepPanel);
    stepLayout->setSpacing(2);
    for (std::size_t i = 0; i < steps_.size(); ++i) {
        steps_[i] = new QLabel(ToQString(OutputStepText(static_cast<OutputStep>(i))));
        steps_[i]->setObjectName(QStringLiteral("Label_Step%1").arg(i));
        // Steps 2 to 5 belong to the group of the directories.
        steps_[i]->setIndent(i >= 2 && i <= 5 ? 24 : 0);
        if (i == 2) {
            stepLayout->addWidget(group_);
        }
        stepLayout->addWidget(steps_[i]);
    }
    group_->setObjectName(QStringLiteral("Label_Group"));
    nowDirectory_->setObjectName(QStringLiteral("NowDirectory"));
    nowDirectory_->setTextFormat(Qt::PlainText);
    nowDirectory_->setMinimumWidth(1);
    nowDirectory_->setMinimumHeight(nowDirectory_->fontMetrics().height());
    progress_->setObjectName(QStringLiteral("Progress"));
    progress_->setTextVisible(false);
    progress_->setRange(0, 1);
    progress_->setValue(0);

    // The directory and the progress stay beside the last buttons.
    auto* left = new QVBoxLayout;
    left->addWidget(stepPanel);
    left->addStretch();
    left->addWidget(nowDirectory_);
    left->addWidget(progress_);

    QPushButton* openRootButton = Button(QStringLiteral("BtnOpenRoot"), QStringLiteral("ルートを開く(&R)"));
    QPushButton* help = Button(QStringLiteral("BtnHelp"), QStringLiteral("ヘルプ(&H)"));
    auto* buttons = new QVBoxLayout;
    for (QPushButton* button : {btnOutput_, btnAbort_, btnClose_, btnLog_, btnDetailed_, openRootButton, btnPublish_}) {
        buttons->addWidget(button);
    }
    buttons->addStretch();
    buttons->addWidget(help);

    auto* top = new QHBoxLayout;
    top->addLayout(left, 1);
    top->addLayout(buttons);

    dirTree_->setHeaderHidden(true);
    htmls_->setRootIsDecorated(false);
    htmls_->setHeaderLabels(
        {QStringLiteral("ファイル名"), QStringLiteral("開始"), QStringLiteral("終了"), QStringLiteral("状態")});
    // The file name takes what the numbers and states leave.
    QHeaderView* columns = htmls_->header();
    columns->setStretchLastSection(false);
    columns->setSectionResizeMode(0, QHeaderView::Stretch);
    const int numberWidth = fontMetrics().horizontalAdvance(QStringLiteral("0000000")) + 12;
    for (const int column : {1, 2, 3}) {
        columns->setSectionResizeMode(column, QHeaderView::Fixed);
        columns->resizeSection(column, numberWidth);
    }
    htmls_->setMinimumWidth(3 * numberWidth + fontMetrics().horizontalAdvance(QStringLiteral("pages000.html")) + 40);
    auto* split = static_cast<QSplitter*>(details_);
    split->setChildrenCollapsible(false);
    split->addWidget(dirTree_);
    split->addWidget(htmls_);
    split->setStretchFactor(0, 1);
    split->setStretchFactor(1, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(details_, 1);

    btnOutput_->setDefault(true);
    btnAbort_->setEnabled(false);
    btnLog_->setEnabled(false);
    btnPublish_->setEnabled(false);
    btnPublish_->setToolTip(publish_.command.empty()
            ? QStringLiteral("プロジェクトオプションの「公開」タブで公開コマンドを設定して下さい.")
            : QStringLiteral("出力が終わった後、公開コマンドを実行します: %1").arg(QString::fromStdString(publish_.command.bytes())));
    ShowStep(OutputStep::Waiting);
    connect(btnOutput_, &QPushButton::clicked, this, &TForm_ProjectOutput::BtnOutputClick);
    connect(btnAbort_, &QPushButton::clicked, this, &TForm_ProjectOutput::BtnAbortClick);
    connect(btnClose_, &QPushButton::clicked, this, &TForm_ProjectOutput::reject);
    connect(btnLog_, &QPushButton::clicked, this, &TForm_ProjectOutput::BtnLogClick);
    connect(btnDetailed_, &QPushButton::clicked, this, &TForm_ProjectOutput::BtnDetailedClick);
    connect(openRootButton, &QPushButton::clicked, this, [openRoot = std::move(openRoot)] { openRoot(); });
    connect(help, &QPushButton::clicked, this, [this] { ShowHelp(this, help::kProjectOutput); });
    SetHelpTopic(this, help::kProjectOutput);
    connect(ticks_, &QTimer::timeout, this, &TForm_ProjectOutput::ShowProgress);
    connect(runner_, &OutputRunner::abortQuestion, this, &TForm_ProjectOutput::AskAbort);
    connect(runner_, &OutputRunner::finished, this, &TForm_ProjectOutput::RunFinished);
    connect(btnPublish_, &QPushButton::clicked, this, &TForm_ProjectOutput::BtnPublishClick);
    connect(publisher_, &PublishRunner::line, this, [this](const SjisText& line) {
        log_.push_back(line);
        nowDirectory_->setText(ToQString(line.bytes()));
    });
    connect(publisher_, &PublishRunner::finished, this, &TForm_ProjectOutput::PublishFinished);
    ticks_->setInterval(kTickMilliseconds);
    resize(600, kCompactHeight);
    SetDetailed(false);
}

TForm_ProjectOutput::~TForm_ProjectOutput() = default;

bool TForm_ProjectOutput::Detailed() const
{
    return details_->isVisibleTo(this);
}

void TForm_ProjectOutput::SetDetailed(bool detailed)
{
    details_->setVisible(detailed);
    btnDetailed_->setText(detailed ? QStringLiteral("簡易表示(&D)") : QStringLiteral("詳細表示(&D)"));
    // Larger system fonts may need more than the classic heights.
    layout()->activate();
    const int height = std::max(detailed ? kDetailedHeight : kCompactHeight, minimumSizeHint().height());
    setFixedHeight(height);
}

void TForm_ProjectOutput::BtnDetailedClick()
{
    SetDetailed(!Detailed());
}

void TForm_ProjectOutput::BtnOutputClick()
{
    if (Running()) {
        return;
    }
    SetButtonsRunning(true);
    siteReady_ = false;
    log_.clear();
    steps_.back()->setText(ToQString(OutputStepText(OutputStep::Finished)));
    dirTree_->clear();
    htmls_->clear();
    directoryNodes_.clear();
    shownDirectories_.reset();
    shownDirectory_.reset();
    shownPlan_.reset();
    shownStates_.clear();
    nowDirectory_->clear();
    progress_->setRange(0, 1);
    progress_->setValue(0);
    runner_->Start(job_);
    ticks_->start();
    ShowProgress();
}

void TForm_ProjectOutput::SetButtonsRunning(bool running)
{
    btnAbort_->setEnabled(running);
    btnOutput_->setEnabled(!running);
    btnClose_->setEnabled(!running);
    btnLog_->setEnabled(!running);
    btnPublish_->setEnabled(!running && siteReady_ && !publish_.command.empty());
}

void TForm_ProjectOutput::BtnPublishClick()
{
    if (Running() || !siteReady_ || publish_.command.empty()) {
        return;
    }
    SetButtonsRunning(true);
    log_.emplace_back();
    log_.emplace_back(SJ("公開\t") + Utf8ToSjisNearest(publish_.command.view()).text);
    nowDirectory_->setText(QStringLiteral("公開コマンドを実行しています"));
    publisher_->Start(publish_);
}

void TForm_ProjectOutput::PublishFinished(const PublishOutcome& outcome)
{
    SetButtonsRunning(false);
    const SjisText ending = PublishOutcomeLine(outcome);
    log_.push_back(ending);
    nowDirectory_->setText(ToQString(ending.bytes()));
    if (outcome.status == PublishOutcome::Status::Succeeded) {
        messages_.Show(MessageKind::Information, SjisText(SJ("公開コマンドが終了しました.")), MessageButton::Ok);
    } else {
        messages_.Show(MessageKind::Error,
            SjisText(ending.bytes().substr(ending.bytes().find('\t') + 1) + SJ("\r\n出力はログに記録されています.")),
            MessageButton::Ok);
    }
}

void TForm_ProjectOutput::BtnAbortClick()
{
    if (publisher_->Running()) {
        btnAbort_->setEnabled(false);
        publisher_->Stop();
        return;
    }
    btnAbort_->setEnabled(false);
    runner_->RequestAbort();
}

void TForm_ProjectOutput::AskAbort()
{
    // The views show where the run stands while the user decides.
    ShowProgress();
    const bool stop
        = messages_.Show(MessageKind::Confirmation, SjisText(AbortQuestion()), MessageButton::Yes | MessageButton::No)
        == MessageButton::Yes;
    runner_->AnswerAbort(stop);
    btnAbort_->setEnabled(!stop);
}

void TForm_ProjectOutput::BtnLogClick()
{
    TForm_Log log(log_, this);
    log.exec();
}

void TForm_ProjectOutput::ShowProgress()
{
    const OutputProgress progress = runner_->Progress();
    ShowStep(progress.step);
    if (progress.directories && progress.directories != shownDirectories_) {
        shownDirectories_ = progress.directories;
        ShowDirectories(*progress.directories);
    }
    if (progress.directory != shownDirectory_ && progress.directory && *progress.directory < directoryNodes_.size()) {
        shownDirectory_ = progress.directory;
        QTreeWidgetItem* node = directoryNodes_[*progress.directory];
        dirTree_->setCurrentItem(node);
        dirTree_->scrollToItem(node);
        const QString path = ToQString((*shownDirectories_)[*progress.directory]);
        nowDirectory_->setText(path);
        nowDirectory_->setToolTip(path);
    }
    if (progress.plan != shownPlan_) {
        shownPlan_ = progress.plan;
        ShowPlan(shownPlan_ ? *shownPlan_ : std::vector<PageRow>());
    }
    ShowStates(progress.states, progress.row);
    // Busy until the directories are counted: reading the collection comes
    // first and can take a while.
    progress_->setRange(0, Running() ? progress.maximum : std::max(progress.maximum, 1));
    progress_->setValue(progress.position);
}

void TForm_ProjectOutput::ShowStep(OutputStep step)
{
    // A change of lettering lays the dialog out anew: only when it changes.
    if (step == shownStep_) {
        return;
    }
    shownStep_ = step;
    const auto current = static_cast<std::size_t>(step);
    for (std::size_t i = 0; i < steps_.size(); ++i) {
        QFont font = steps_[i]->font();
        font.setBold(i == current);
        steps_[i]->setFont(font);
    }
    QFont font = group_->font();
    font.setBold(current >= 2 && current <= 5);
    group_->setFont(font);
}

void TForm_ProjectOutput::ShowDirectories(const std::vector<std::string>& directories)
{
    dirTree_->clear();
    directoryNodes_.clear();
    const QIcon designed = DrawnIcon(ProgramIcon::DesignedDirectory);
    const QIcon plain = DrawnIcon(ProgramIcon::Directory);
    // The list is in tree order: a parent always comes before its children.
    std::unordered_map<std::string, QTreeWidgetItem*> nodes;
    for (const std::string& directory : directories) {
        QTreeWidgetItem* node = nullptr;
        const std::size_t slash = directory.size() < 2 ? std::string::npos : directory.rfind('/', directory.size() - 2);
        const auto parent = slash == std::string::npos ? nodes.end() : nodes.find(directory.substr(0, slash + 1));
        if (directoryNodes_.empty()) {
            node = new QTreeWidgetItem(dirTree_, {QStringLiteral("[Root Directory]")});
        } else if (parent == nodes.end()) {
            node = new QTreeWidgetItem(dirTree_, {ToQString(directory)});
        } else {
            node = new QTreeWidgetItem(
                parent->second, {ToQString(directory.substr(slash + 1, directory.size() - slash - 2))});
        }
        node->setIcon(0, HasDesignFile(directory) ? designed : plain);
        nodes.emplace(directory, node);
        directoryNodes_.push_back(node);
    }
    dirTree_->expandAll();
}

void TForm_ProjectOutput::ShowPlan(const std::vector<PageRow>& plan)
{
    htmls_->clear();
    shownStates_.assign(plan.size(), PageState::Pending);
    QList<QTreeWidgetItem*> rows;
    rows.reserve(static_cast<qsizetype>(plan.size()));
    for (const PageRow& row : plan) {
        rows.append(new QTreeWidgetItem(
            {ToQString(row.fileName), ToQString(row.first), ToQString(row.last), ToQString(PageStateText(row.state))}));
    }
    htmls_->addTopLevelItems(rows);
}

void TForm_ProjectOutput::ShowStates(const std::vector<PageState>& states, std::size_t row)
{
    const std::size_t count = std::min(states.size(), shownStates_.size());
    for (std::size_t i = 0; i < count; ++i) {
        if (states[i] != shownStates_[i]) {
            shownStates_[i] = states[i];
            htmls_->topLevelItem(static_cast<int>(i))->setText(3, ToQString(PageStateText(states[i])));
        }
    }
    if (row < count) {
        QTreeWidgetItem* current = htmls_->topLevelItem(static_cast<int>(row));
        if (htmls_->currentItem() != current) {
            htmls_->setCurrentItem(current);
            htmls_->scrollToItem(current);
        }
    }
}

void TForm_ProjectOutput::RunFinished(const OutputResult& result)
{
    ticks_->stop();
    ShowProgress();
    log_ = result.log;
    siteReady_ = result.status == OutputResult::Status::Finished;
    SetButtonsRunning(false);
    ShowStep(OutputStep::Finished);
    switch (result.status) {
    case OutputResult::Status::Finished:
        // Directories without pages leave steps of the bar unused.
        progress_->setValue(progress_->maximum());
        messages_.Show(MessageKind::Information, SjisText(OutputFinishedMessage()), MessageButton::Ok);
        break;
    case OutputResult::Status::Aborted:
        steps_.back()->setText(ToQString(ForceStoppedText()));
        messages_.Show(MessageKind::Information, SjisText(OutputAbortedMessage()), MessageButton::Ok);
        break;
    case OutputResult::Status::Failed:
        // Not the finished message: the site is not as designed.
        steps_.back()->setText(ToQString(ForceStoppedText()));
        messages_.Show(MessageKind::Error, SjisText(FailureMessage(result.error)), MessageButton::Ok);
        break;
    }
}

void TForm_ProjectOutput::reject()
{
    if (!Running()) {
        QDialog::reject();
    }
}

void TForm_ProjectOutput::closeEvent(QCloseEvent* event)
{
    if (Running()) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

} // namespace tessaly
