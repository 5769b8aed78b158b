#include "gui/linkcheck/dlgLinkCheck.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSortFilterProxyModel>
#include <QSpinBox>
#include <QTreeView>
#include <QVBoxLayout>

#include "gui/DialogButtons.h"
#include "gui/FileDialogs.h"
#include "gui/GuiText.h"
#include "gui/linkcheck/LinkCheckRunner.h"
#include "gui/linkcheck/LinkResultModel.h"
#include "core/linkcheck/LinkReport.h"
#include "core/tools/CsvExport.h"
#include "core/text/Codepage.h"
#include "core/collection/ProjectFile.h"
#include "core/util/AtomicFile.h"
#include "core/util/Messages.h"
#include "gui/shell/HelpTopics.h"

namespace tessaly {

namespace {

constexpr int kMostJobs = 64;
constexpr int kMostTimeout = 300;

QPushButton* Button(const char* name, const QString& caption)
{
    auto* button = new QPushButton(caption);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoDefault(false);
    return button;
}

QSpinBox* SpinBox(const char* name, int most, int value, const QString& suffix = {})
{
    auto* box = new QSpinBox;
    box->setObjectName(QString::fromLatin1(name));
    box->setRange(1, most);
    box->setValue(std::clamp(value, 1, most));
    box->setSuffix(suffix);
    return box;
}

} // namespace

TForm_LinkCheck::TForm_LinkCheck(
    MessagePresenter& messages, FileDialogs& files, LinkCheckSetup setup, LinkCheckFixes fixes, QWidget* parent)
    : QDialog(parent)
    , messages_(messages)
    , files_(files)
    , setup_(std::move(setup))
    , fixes_(std::move(fixes))
    , jobs_(SpinBox("Edit_Jobs", kMostJobs, static_cast<int>(setup_.options.jobs)))
    , timeout_(SpinBox("Edit_Timeout", kMostTimeout,
          static_cast<int>(std::chrono::duration_cast<std::chrono::seconds>(setup_.options.timeout).count()),
          QStringLiteral(" 秒")))
    , start_(Button("BtnStart", QStringLiteral("開始(&R)")))
    , stop_(Button("BtnStop", QStringLiteral("中止(&T)")))
    , progress_(new QProgressBar)
    , status_(new QLabel)
    , model_(new LinkResultModel(this))
    , sorted_(new QSortFilterProxyModel(this))
    , table_(new QTreeView)
    , mark_(Button("BtnMark", QStringLiteral("警告マークを付ける(&W)")))
    , update_(Button("BtnUpdate", QStringLiteral("URLを更新(&U)")))
    , report_(Button("BtnReport", QStringLiteral("レポートを保存(&E)...")))
    , runner_(new LinkCheckRunner(this))
{
    setObjectName(QStringLiteral("TForm_LinkCheck"));
    setWindowTitle(QStringLiteral("リンクチェック"));
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    progress_->setObjectName(QStringLiteral("ProgressBar"));
    status_->setObjectName(QStringLiteral("Label_Status"));
    status_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    // A long count line wraps instead of widening the dialog.
    status_->setWordWrap(true);

    sorted_->setSourceModel(model_);
    sorted_->setSortRole(Qt::UserRole);
    table_->setObjectName(QStringLiteral("ListView_Result"));
    table_->setModel(sorted_);
    table_->setRootIsDecorated(false);
    table_->setUniformRowHeights(true);
    table_->setAlternatingRowColors(true);
    table_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSortingEnabled(true);
    table_->sortByColumn(-1, Qt::AscendingOrder);
    for (const auto& [column, width] : {std::pair{LinkResultModel::TitleColumn, 180}, {LinkResultModel::UrlColumn, 250},
             {LinkResultModel::ResultColumn, 120}, {LinkResultModel::CodeColumn, 50},
             {LinkResultModel::NewUrlColumn, 220}}) {
        table_->setColumnWidth(column, width);
    }

    auto* actions = new QHBoxLayout;
    for (QPushButton* button : {mark_, update_, report_}) {
        actions->addWidget(button);
    }
    actions->addStretch(1);
    QDialogButtonBox* buttons = DialogButtons(
        this, QStringLiteral("閉じる(&C)"), [this] { accept(); }, help::kLinkCheck);
    // Whatever the check led to is done at once: there is nothing to cancel.
    delete buttons->findChild<QPushButton*>(QStringLiteral("Button2"));
    actions->addWidget(buttons);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(SettingsPane());
    layout->addWidget(progress_);
    layout->addWidget(status_);
    layout->addWidget(table_, 1);
    layout->addLayout(actions);

    connect(start_, &QPushButton::clicked, this, &TForm_LinkCheck::BtnStartClick);
    connect(stop_, &QPushButton::clicked, this, &TForm_LinkCheck::BtnStopClick);
    connect(mark_, &QPushButton::clicked, this, &TForm_LinkCheck::BtnMarkClick);
    connect(update_, &QPushButton::clicked, this, &TForm_LinkCheck::BtnUpdateClick);
    connect(report_, &QPushButton::clicked, this, &TForm_LinkCheck::BtnReportClick);
    connect(runner_, &LinkCheckRunner::resultReady, this, &TForm_LinkCheck::ResultReady);
    connect(runner_, &LinkCheckRunner::finished, this, &TForm_LinkCheck::Finished);
    connect(table_->selectionModel(), &QItemSelectionModel::selectionChanged, this, &TForm_LinkCheck::UpdateCommands);
    start_->setDefault(true);
    status_->setText(QStringLiteral("範囲を選んで「開始」を押してください。"));
    UpdateCommands();
    resize(980, 600);
}

TForm_LinkCheck::~TForm_LinkCheck() = default;

QWidget* TForm_LinkCheck::SettingsPane()
{
    auto* scope = new QGroupBox(QStringLiteral("チェックする範囲"));
    auto* scopeLayout = new QVBoxLayout(scope);
    const char* names[] = {"Radio_Selected", "Radio_Shown", "Radio_Collection"};
    for (std::size_t i = 0; i < scopeButtons_.size(); ++i) {
        const LinkCheckScope& choice = setup_.scopes[i];
        auto* button = new QRadioButton(
            choice.caption + QStringLiteral("  (%1 件)").arg(static_cast<qulonglong>(choice.items.size())));
        button->setObjectName(QString::fromLatin1(names[i]));
        scopeButtons_[i] = button;
        scopeLayout->addWidget(button);
    }
    scopeButtons_[static_cast<std::size_t>(setup_.chosen)]->setChecked(true);

    auto* limits = new QFormLayout;
    limits->addRow(QStringLiteral("同時接続数(&J)"), jobs_);
    limits->addRow(QStringLiteral("タイムアウト(&O)"), timeout_);
    auto* run = new QVBoxLayout;
    run->addWidget(start_);
    run->addWidget(stop_);
    run->addStretch(1);

    auto* pane = new QWidget;
    auto* layout = new QHBoxLayout(pane);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(scope, 1);
    layout->addLayout(limits);
    layout->addLayout(run);
    return pane;
}

bool TForm_LinkCheck::Running() const
{
    return runner_->Running();
}

LinkScope TForm_LinkCheck::ChosenScope() const
{
    for (std::size_t i = 0; i < scopeButtons_.size(); ++i) {
        if (scopeButtons_[i]->isChecked()) {
            return static_cast<LinkScope>(i);
        }
    }
    return setup_.chosen;
}

void TForm_LinkCheck::BtnStartClick()
{
    if (Running()) {
        return;
    }
    if (fixes_.scopesNow) {
        setup_.scopes = fixes_.scopesNow();
    }
    const LinkCheckScope& scope = setup_.scopes[static_cast<std::size_t>(ChosenScope())];
    links_ = LinksOfItems(scope.items, setup_.bannerDirectory);
    counts_ = {};
    model_->Clear();
    progress_->setRange(0, std::max(1, static_cast<int>(links_.links.size())));
    progress_->setValue(0);
    LinkCheckOptions options = setup_.options;
    options.jobs = static_cast<unsigned>(jobs_->value());
    options.timeout = std::chrono::seconds(timeout_->value());
    runner_->Start(links_.toCheck, std::move(options));
    ShowCounts();
    UpdateCommands();
}

void TForm_LinkCheck::BtnStopClick()
{
    runner_->Stop();
}

void TForm_LinkCheck::ResultReady(const LinkCheckResult& result)
{
    if (result.index >= links_.links.size()) {
        return;
    }
    model_->Add(links_.links[result.index], result);
    ++counts_[static_cast<std::size_t>(result.result)];
    progress_->setValue(model_->rowCount());
    ShowCounts();
}

void TForm_LinkCheck::Finished(const LinkCheckSummary& summary)
{
    QString ending = summary.cancelled ? QStringLiteral("中止しました。")
        : summary.deadlinePassed       ? QStringLiteral("制限時間を過ぎたため終了しました。")
                                       : QStringLiteral("チェックが終わりました。");
    if (links_.skipped > 0) {
        ending += QStringLiteral("  メールアドレスなど %1 件は確認していません。")
                      .arg(static_cast<qulonglong>(links_.skipped));
    }
    ShowCounts(ending);
    UpdateCommands();
}

void TForm_LinkCheck::ShowCounts(const QString& ending)
{
    QStringList parts;
    for (std::size_t i = 0; i < counts_.size(); ++i) {
        if (counts_[i] > 0) {
            parts.append(ToQString(LinkResultLabel(static_cast<LinkResult>(i)).view()) + QLatin1Char(' ')
                + QString::number(counts_[i]));
        }
    }
    QString text
        = QStringLiteral("%1 / %2 件").arg(model_->rowCount()).arg(static_cast<qulonglong>(links_.links.size()));
    if (!parts.isEmpty()) {
        text += QStringLiteral("  (") + parts.join(QStringLiteral("、")) + QLatin1Char(')');
    }
    status_->setText(ending.isEmpty() ? text : text + QStringLiteral("  ") + ending);
}

std::vector<int> TForm_LinkCheck::SelectedRows() const
{
    std::vector<int> rows;
    for (const QModelIndex& index : table_->selectionModel()->selectedRows()) {
        rows.push_back(sorted_->mapToSource(index).row());
    }
    std::sort(rows.begin(), rows.end());
    return rows;
}

void TForm_LinkCheck::UpdateCommands()
{
    const bool running = Running();
    for (std::size_t i = 0; i < scopeButtons_.size(); ++i) {
        scopeButtons_[i]->setEnabled(!running && !setup_.scopes[i].items.empty());
    }
    jobs_->setEnabled(!running);
    timeout_->setEnabled(!running);
    start_->setEnabled(!running);
    stop_->setEnabled(running);
    const std::vector<int> rows = running ? std::vector<int>() : SelectedRows();
    mark_->setEnabled(std::any_of(rows.begin(), rows.end(), [this](int row) { return model_->CanMark(row); }));
    update_->setEnabled(std::any_of(rows.begin(), rows.end(), [this](int row) { return model_->CanUpdate(row); }));
    report_->setEnabled(!running && model_->rowCount() > 0);
}

void TForm_LinkCheck::BtnMarkClick()
{
    std::vector<ItemPlace> places;
    std::vector<std::string> titles;
    for (const int row : SelectedRows()) {
        if (model_->CanMark(row)) {
            places.push_back(model_->Link(row).place);
            titles.push_back(model_->Link(row).title);
        }
    }
    if (places.empty() || Running()) {
        return;
    }
    // The items are named before anything is marked.
    constexpr std::size_t kNamed = 30;
    std::string question = std::to_string(places.size()) + SJ(" 個のアイテムに警告マークを付けます:");
    for (std::size_t i = 0; i < titles.size() && i < kNamed; ++i) {
        question += SJ("\r\n・") + titles[i];
    }
    if (titles.size() > kNamed) {
        question += SJ("\r\n(ほか ") + std::to_string(titles.size() - kNamed) + SJ(" 個)");
    }
    question += SJ("\r\n\r\nよろしいですか？");
    if (messages_.Show(MessageKind::Confirmation, SjisText(question), MessageButton::Ok | MessageButton::Cancel)
        != MessageButton::Ok) {
        return;
    }
    std::vector<UnmarkedItem> notMarked;
    const std::size_t marked = fixes_.markFailed(places, &notMarked);
    std::string message = std::to_string(marked) + SJ(" 個のアイテムに警告マークを付けました.");
    if (!notMarked.empty()) {
        message += SJ("\r\n\r\n次のアイテムは付いているマークをそのままにしました:");
        for (const UnmarkedItem& item : notMarked) {
            message += SJ("\r\n・") + titles[item.which] + SJ(" (") + CsvStatusLabel(item.status) + ")";
        }
    }
    messages_.Show(MessageKind::Information, SjisText(message), MessageButton::Ok);
}

void TForm_LinkCheck::BtnUpdateClick()
{
    std::vector<AddressUpdate> updates;
    std::vector<int> rows;
    for (const int row : SelectedRows()) {
        if (model_->CanUpdate(row)) {
            const ItemLink& link = model_->Link(row);
            updates.push_back({link.place, link.field, model_->Result(row).newUrl});
            rows.push_back(row);
        }
    }
    if (updates.empty() || Running()) {
        return;
    }
    const std::size_t updated = fixes_.updateMoved(updates);
    for (const int row : rows) {
        model_->SetUpdated(row);
    }
    UpdateCommands();
    messages_.Show(
        MessageKind::Information, SjisText(std::to_string(updated) + SJ(" 個のURLを更新しました.")), MessageButton::Ok);
}

void TForm_LinkCheck::BtnReportClick()
{
    const std::optional<QString> chosen = files_.SaveFile(this, QStringLiteral("リンクチェックレポートの保存"),
        QStringLiteral("CSV ファイル (*.CSV)"), QStringLiteral("CSV"));
    if (!chosen) {
        return;
    }
    const FileWriteResult written
        = WriteExportFile(setup_.projectFile, QFileInfo(*chosen).absoluteFilePath().toStdString(),
            LinkReportText(links_.links, model_->ResultsInLinkOrder()).view());
    if (!written.ok) {
        messages_.Show(MessageKind::Error,
            SjisText(SJ("レポートを保存できませんでした.\r\n") + ToSjisOrEmpty(QString::fromStdString(written.error))),
            MessageButton::Ok);
    }
}

void TForm_LinkCheck::done(int result)
{
    runner_->Stop();
    QDialog::done(result);
}

} // namespace tessaly
