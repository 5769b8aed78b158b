#include <QClipboard>
#include <QComboBox>
#include <QDeadlineTimer>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QRadioButton>
#include <QSpinBox>
#include <QTreeWidget>

#include <csignal>
#include <filesystem>
#include <sys/resource.h>

#include "MainWindowHarness.h"
#include "core/collection/Project.h"
#include "core/collection/ProjectFile.h"
#include "core/design/SimpleDesign.h"
#include "gui/publish/dlgLog.h"
#include "gui/publish/dlgProjectOutput.h"
#include "gui/design/dlgProjectSimple.h"
#include "support/ActiveWindow.h"
#include "support/SampleSite.h"
#include "support/TempDir.h"
#include "core/text/Paths.h"

using namespace tessaly;
using test::Click;
using test::Harness;
using test::OnNextDialog;
using test::Shown;
namespace fs = std::filesystem;

namespace {

const fs::path kData = TESSALY_TEST_DATA_DIR;
const FixedClock kClock{*EncodeDateTime({2026, 12, 8})};

// The pages of the sample collection's simple design, kept in tests/data.
const std::vector<fs::path> kSitePages
    = {"genre001/index.html", "genre001/pages002.html", "genre001/pages003.html", "genre002/index.html", "index.html"};
const std::vector<fs::path> kDesignFiles
    = {"_design.tsg", "_design.tsd", "genre001/_design.tsd", "genre002/_design.tsd"};

// Runs act on the dialog of type Dialog as soon as it is the active modal
// one: for dialogs that another dialog's result opens.
template <typename Dialog> void WhenOpen(std::function<void(Dialog*)> act)
{
    auto* poll = new QTimer;
    const QDeadlineTimer deadline(10000);
    QObject::connect(poll, &QTimer::timeout, [poll, act, deadline] {
        auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr && !deadline.hasExpired()) {
            return;
        }
        poll->stop();
        poll->deleteLater();
        QVERIFY(dialog != nullptr);
        act(dialog);
        if (dialog->isVisible()) {
            dialog->reject();
        }
    });
    poll->start(10);
}

QPushButton* Button(QWidget* dialog, const char* name)
{
    return dialog->findChild<QPushButton*>(name);
}

// The sample collection in a project file beside its empty site.
struct SampleSite {
    test::TempDir dir;
    fs::path site = dir / "site";
    std::string root = *FromFsPath(site) + "/";
    Project project = test::SampleSiteProject(root);
    QString projectFile = QString::fromStdString((dir / "links.TSP").string());

    SampleSite()
    {
        fs::create_directories(site / "img");
        SaveProjectFile(project, dir / "links.TSP");
    }
    // The simple design as it opens, saved without the dialog.
    void Design() { QVERIFY(SaveSimpleDesign(InitialSimpleDesign(project), project, kClock.Today()).ok); }
    OutputRunner::Job Job() const
    {
        return [this](OutputObserver& observer) { return RunOutput(project, root, kClock, observer, 2); };
    }
    std::vector<fs::path> Pages() const
    {
        std::vector<fs::path> pages;
        for (const auto& entry : fs::recursive_directory_iterator(site)) {
            if (entry.path().extension() == ".html") {
                pages.push_back(fs::relative(entry.path(), site));
            }
        }
        std::sort(pages.begin(), pages.end());
        return pages;
    }
};

void ExpectSameFiles(const fs::path& written, const fs::path& expected, const std::vector<fs::path>& files)
{
    for (const fs::path& file : files) {
        if (std::getenv("TESSALY_UPDATE_EXPECTED") != nullptr) {
            fs::create_directories((expected / file).parent_path());
            test::WriteFile(expected / file, test::ReadFile(written / file));
        }
        QVERIFY2(test::ReadFile(written / file) == test::ReadFile(expected / file), file.c_str());
    }
}

// Waits for the dialog's run to end.
bool RunEnds(TForm_ProjectOutput* dialog)
{
    return QTest::qWaitFor([dialog] { return !dialog->Running(); }, 20000);
}

QString StepText(QWidget* dialog, int step)
{
    return dialog->findChild<QLabel*>(QStringLiteral("Label_Step%1").arg(step))->text();
}

// Passes everything on to the dialog's observer and, at the given abort
// checks, presses the dialog's abort button before that check is made, so
// the question comes at a known point of the run. Records the pages done.
class AbortAtChecks final : public OutputObserver {
public:
    AbortAtChecks(OutputObserver& inner, QPushButton* abort, std::vector<int> checks)
        : inner_(inner)
        , abort_(abort)
        , checks_(std::move(checks))
    {
    }
    void StepChanged(OutputStep step) override { inner_.StepChanged(step); }
    void DirectoriesListed(const std::vector<std::string>& directories) override
    {
        inner_.DirectoriesListed(directories);
    }
    void DirectoryStarted(std::size_t index, const std::string& directory) override
    {
        directory_ = directory;
        inner_.DirectoryStarted(index, directory);
    }
    void PagesPlanned(const std::vector<PageRow>& rows) override
    {
        rows_ = rows;
        inner_.PagesPlanned(rows);
    }
    void PageDone(std::size_t row, PageState state) override
    {
        pages.push_back(directory_ + rows_[row].fileName + " " + PageStateText(state));
        inner_.PageDone(row, state);
    }
    void ProgressChanged(int position, int maximum) override { inner_.ProgressChanged(position, maximum); }
    bool ShouldAbort() override
    {
        if (std::find(checks_.begin(), checks_.end(), ++check_) != checks_.end()) {
            QMetaObject::invokeMethod(abort_, &QPushButton::click, Qt::BlockingQueuedConnection);
        }
        return inner_.ShouldAbort();
    }

    std::vector<std::string> pages;

private:
    OutputObserver& inner_;
    QPushButton* abort_;
    std::vector<int> checks_;
    int check_ = 0;
    std::string directory_;
    std::vector<PageRow> rows_;
};

std::string CountLines(int processed, int created, int updated, int skipped, int deleted)
{
    char text[512];
    std::snprintf(text, sizeof text,
        "%4d 個のHTMLを処理しました.\n%4d 個のHTMLを新規に作成しました.\n%4d 個のHTMLを更新しました.\n"
        "%4d 個のHTMLは更新の必要がないのでスキップしました.\n%4d 個の余剰HTMLを削除しました.",
        processed, created, updated, skipped, deleted);
    return text;
}

} // namespace

class PublishDialogsTests : public QObject {
    Q_OBJECT

private slots:
    // The simple design of a project with two genres, its checks, then
    // "output at once": the design files and the pages byte for byte.
    void simpleDesignThenOutputAtOnce()
    {
        SampleSite sample;
        Harness h;
        h.Open(sample.projectFile);
        h.messages.SetNextAnswer(MessageButton::Retry); // duplicate directory
        h.messages.SetNextAnswer(MessageButton::Yes); // output now
        OnNextDialog<TForm_ProjectSimple>([](TForm_ProjectSimple* dialog) {
            auto* lists = dialog->findChild<QTreeWidget*>("Lists");
            QCOMPARE(lists->topLevelItemCount(), 2);
            QCOMPARE(lists->topLevelItem(0)->text(0), QStringLiteral("多い"));
            QCOMPARE(lists->topLevelItem(0)->text(1), QStringLiteral("genre001"));
            QCOMPARE(lists->topLevelItem(1)->text(0), QStringLiteral("Few & <Small>"));
            QCOMPARE(lists->topLevelItem(1)->text(1), QStringLiteral("genre002"));
            auto* directory = dialog->findChild<QLineEdit*>("Genre_Dir");
            lists->setCurrentItem(nullptr);
            QVERIFY(!directory->isEnabled());
            QVERIFY(directory->text().isEmpty());
            QVERIFY(!Button(dialog, "BtnSet")->isEnabled());
            lists->setCurrentItem(lists->topLevelItem(1));
            QCOMPARE(dialog->findChild<QLineEdit*>("Genre_Name")->text(), QStringLiteral("Few & <Small>"));
            directory->setText(QStringLiteral("GENRE001"));
            Click(dialog, "BtnSet");
            QCOMPARE(lists->topLevelItem(1)->text(1), QStringLiteral("genre002"));
            QCOMPARE(dialog->findChild<QComboBox*>("Template_Link")->count(), 3);
            QCOMPARE(dialog->findChild<QComboBox*>("Template_Link")->itemText(2), QStringLiteral("カード"));
            Click(dialog, "Button1");
            QVERIFY(!dialog->isVisible());
        });
        bool ran = false;
        WhenOpen<TForm_ProjectOutput>([&ran](TForm_ProjectOutput* dialog) {
            QVERIFY(QTest::qWaitFor([dialog] { return Button(dialog, "BtnLog")->isEnabled(); }, 20000));
            QVERIFY(!dialog->Running());
            Click(dialog, "BtnClose");
            ran = true;
        });
        h.Action("MM_ProjectSimpleDesign")->trigger();
        QVERIFY(QTest::qWaitFor([&ran] { return ran; }, 20000));

        QCOMPARE(h.messages.shown.size(), std::size_t{3});
        QCOMPARE(Shown(h.messages.shown[0].text), QStringLiteral("ディレクトリ名が重複しています."));
        QCOMPARE(h.messages.shown[0].buttons.Bits(), MessageButtons(MessageButton::Retry).Bits());
        QCOMPARE(Shown(h.messages.shown[1].text),
            QStringLiteral(
                "プロジェクト設計情報を各ディレクトリへ書き込みました.\r\nプロジェクト簡易設計ダイアログを閉じ"
                "ます.\r\n続いてプロジェクト出力を実行しますか？"));
        QCOMPARE(h.messages.shown[2].text, OutputFinishedMessage());
        QCOMPARE(h.messages.shown[2].kind, MessageKind::Information);
        ExpectSameFiles(sample.site, kData / "simple-design", kDesignFiles);
        QCOMPARE(sample.Pages(), kSitePages);
        ExpectSameFiles(sample.site, kData / "site", kSitePages);
    }

    // The form reopens with what was saved; a name leaving the root, an
    // emptied or padded directory field.
    void simpleDesignReopensWithTheSavedSettings()
    {
        SampleSite sample;
        Harness h;
        h.Open(sample.projectFile);
        h.messages.SetNextAnswer(MessageButton::Retry); // ".." refused
        h.messages.SetNextAnswer(MessageButton::No); // no output
        OnNextDialog<TForm_ProjectSimple>([](TForm_ProjectSimple* dialog) {
            auto* lists = dialog->findChild<QTreeWidget*>("Lists");
            auto* directory = dialog->findChild<QLineEdit*>("Genre_Dir");
            lists->setCurrentItem(lists->topLevelItem(0));
            directory->setText(QStringLiteral(".."));
            Click(dialog, "BtnSet");
            QCOMPARE(lists->topLevelItem(0)->text(1), QStringLiteral("genre001"));
            directory->setText(QStringLiteral("  music  "));
            Click(dialog, "BtnSet");
            QCOMPARE(lists->topLevelItem(0)->text(1), QStringLiteral("music"));
            dialog->findChild<QLineEdit*>("Name_Sub")->setText(QStringLiteral("more.htm"));
            dialog->findChild<QComboBox*>("Template_Link")->setCurrentIndex(2);
            dialog->findChild<QSpinBox*>("Column")->setValue(3);
            dialog->findChild<QRadioButton*>("Division_Off")->setChecked(true);
            Click(dialog, "Button1");
        });
        h.Action("MM_ProjectSimpleDesign")->trigger();
        QCOMPARE(Shown(h.messages.shown[0].text), QStringLiteral("ディレクトリ名 \"..\" は使えません."));
        QVERIFY(fs::exists(sample.site / "music" / "_design.tsd"));
        QVERIFY(!fs::exists(sample.site / "index.html")); // No: no output

        OnNextDialog<TForm_ProjectSimple>([](TForm_ProjectSimple* dialog) {
            auto* lists = dialog->findChild<QTreeWidget*>("Lists");
            QCOMPARE(lists->topLevelItem(0)->text(1), QStringLiteral("music"));
            QCOMPARE(lists->topLevelItem(1)->text(1), QStringLiteral("genre002"));
            QCOMPARE(dialog->findChild<QLineEdit*>("Name_Sub")->text(), QStringLiteral("more.htm"));
            QCOMPARE(dialog->findChild<QComboBox*>("Template_Link")->currentText(), QStringLiteral("カード"));
            QCOMPARE(dialog->findChild<QSpinBox*>("Column")->value(), 3);
            QVERIFY(dialog->findChild<QRadioButton*>("Division_Off")->isChecked());
            QVERIFY(!dialog->findChild<QSpinBox*>("DivisionCount")->isEnabled());
            Click(dialog, "Button2");
        });
        h.Action("MM_ProjectSimpleDesign")->trigger();
    }

    void directoryFieldKeepsItsNameWhenEmptied()
    {
        SampleSite sample;
        test::ScriptedMessages messages;
        test::ScriptedFileDialogs files;
        TForm_ProjectSimple dialog(messages, files, sample.project, kClock.Today());
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        auto* lists = dialog.findChild<QTreeWidget*>("Lists");
        auto* directory = dialog.findChild<QLineEdit*>("Genre_Dir");
        lists->setCurrentItem(lists->topLevelItem(1));
        for (const auto& [typed, left] : {std::pair{QStringLiteral("   "), QStringLiteral("genre002")},
                 std::pair{QStringLiteral(" links "), QStringLiteral("links")}}) {
            QFocusEvent in(QEvent::FocusIn);
            QApplication::sendEvent(directory, &in);
            directory->setText(typed);
            QFocusEvent out(QEvent::FocusOut);
            QApplication::sendEvent(directory, &out);
            QCOMPARE(directory->text(), left);
        }
        directory->setText(QStringLiteral("a;b"));
        Click(&dialog, "BtnSet");
        QCOMPARE(messages.shown.size(), std::size_t{1});
        QVERIFY(Shown(messages.shown[0].text).startsWith(QStringLiteral("ファイル名に次の文字は使えません.")));
        QCOMPARE(lists->topLevelItem(1)->text(1), QStringLiteral("genre002"));
    }

    // Abort answered No goes on with the next page; answered Yes stops at
    // once, keeping the pages written.
    void abortAnsweredNoThenYes()
    {
        SampleSite sample;
        sample.Design();
        test::ScriptedMessages messages;
        messages.SetNextAnswer(MessageButton::No);
        messages.SetNextAnswer(MessageButton::Yes);
        std::unique_ptr<AbortAtChecks> observer;
        QPushButton* abort = nullptr;
        int runs = 0;
        // Checks: listed (1); root: planned, first page, surplus (2-4);
        // genre001: planned, first page, second page (5-7).
        TForm_ProjectOutput dialog(
            messages,
            [&](OutputObserver& inner) {
                const std::vector<int> checks = ++runs == 1 ? std::vector<int>{3, 7} : std::vector<int>{};
                observer = std::make_unique<AbortAtChecks>(inner, abort, checks);
                return sample.Job()(*observer);
            },
            [] {});
        abort = Button(&dialog, "BtnAbort");
        dialog.show();
        QVERIFY(!abort->isEnabled());
        Click(&dialog, "BtnOutput");
        QVERIFY(!Button(&dialog, "BtnClose")->isEnabled());
        QVERIFY(RunEnds(&dialog));

        QCOMPARE(messages.shown.size(), std::size_t{3});
        for (const std::size_t question : {std::size_t{0}, std::size_t{1}}) {
            QCOMPARE(Shown(messages.shown[question].text),
                QStringLiteral("[中止]が押されました.\r\n処理を強制終了しますか？"));
            QCOMPARE(messages.shown[question].buttons.Bits(), (MessageButton::Yes | MessageButton::No).Bits());
        }
        QCOMPARE(messages.shown[2].text, OutputAbortedMessage());
        const std::vector<std::string> pages = {sample.root + "index.html " + SJ("作成"),
            sample.root + "genre001/index.html " + SJ("作成"), sample.root + "genre001/pages002.html " + SJ("作成")};
        QCOMPARE(observer->pages, pages);
        QCOMPARE(
            sample.Pages(), (std::vector<fs::path>{"genre001/index.html", "genre001/pages002.html", "index.html"}));
        QCOMPARE(StepText(&dialog, 6), QStringLiteral("強制終了しました"));
        QCOMPARE(dialog.Log().size(), std::size_t{2}); // no end lines
        QVERIFY(Button(&dialog, "BtnOutput")->isEnabled());
        QVERIFY(Button(&dialog, "BtnLog")->isEnabled());
        QVERIFY(!abort->isEnabled());
        // The next run starts afresh.
        Click(&dialog, "BtnOutput");
        QVERIFY(RunEnds(&dialog));
        QCOMPARE(StepText(&dialog, 6), QStringLiteral("終了しました"));
        QCOMPARE(sample.Pages(), kSitePages);
    }

    // "公開" waits for a finished run, streams the command's lines into the
    // log and reports a failing command as an error.
    void publishRunsTheCommandAfterAFinishedRun()
    {
        SampleSite sample;
        sample.Design();
        test::ScriptedMessages messages;
        TForm_ProjectOutput dialog(messages, sample.Job(), [] {},
            PublishSetup{Utf8Text("echo \"sent $(basename \"$TESSALY_ROOT\")\"; exit 4"), sample.site});
        dialog.show();
        QVERIFY(!Button(&dialog, "BtnPublish")->isEnabled());
        Click(&dialog, "BtnOutput");
        QVERIFY(RunEnds(&dialog));
        QVERIFY(Button(&dialog, "BtnPublish")->isEnabled());
        Click(&dialog, "BtnPublish");
        QVERIFY(RunEnds(&dialog));
        const std::vector<SjisText>& log = dialog.Log();
        QVERIFY(std::find(log.begin(), log.end(), SjisText("sent site")) != log.end());
        QCOMPARE(log.back().bytes(), SJ("エラー\t公開コマンドが失敗しました (終了コード 4)."));
        QCOMPARE(messages.shown.back().kind, MessageKind::Error);
        QVERIFY(Button(&dialog, "BtnLog")->isEnabled());
        QVERIFY(Button(&dialog, "BtnPublish")->isEnabled());
    }

    // Without a command the button stays off, and says where to set one.
    void publishNeedsACommand()
    {
        SampleSite sample;
        sample.Design();
        test::ScriptedMessages messages;
        TForm_ProjectOutput dialog(messages, sample.Job(), [] {});
        Click(&dialog, "BtnOutput");
        QVERIFY(RunEnds(&dialog));
        QVERIFY(!Button(&dialog, "BtnPublish")->isEnabled());
        QVERIFY(Button(&dialog, "BtnPublish")->toolTip().contains(QStringLiteral("公開コマンド")));
    }

    // After a run: the tree, the last page plan, the progress and the log
    // with its copy; a second run skips every page.
    void runShowsItsWorkAndLog()
    {
        SampleSite sample;
        sample.Design();
        test::ScriptedMessages messages;
        TForm_ProjectOutput dialog(messages, sample.Job(), [] {});
        dialog.show();
        QVERIFY(!dialog.Detailed());
        QCOMPARE(Button(&dialog, "BtnDetailed")->text(), QStringLiteral("詳細表示(&D)"));
        QVERIFY(!Button(&dialog, "BtnLog")->isEnabled());
        const int compact = dialog.height();
        Click(&dialog, "BtnDetailed");
        QVERIFY(dialog.Detailed());
        QCOMPARE(Button(&dialog, "BtnDetailed")->text(), QStringLiteral("簡易表示(&D)"));
        QVERIFY(dialog.height() > compact);
        QVERIFY(dialog.findChild<QLabel*>("Label_Step0")->font().bold());

        Click(&dialog, "BtnOutput");
        QVERIFY(RunEnds(&dialog));
        QCOMPARE(messages.shown.back().text, OutputFinishedMessage());
        auto* tree = dialog.findChild<QTreeWidget*>("DirTree");
        QCOMPARE(tree->topLevelItemCount(), 1);
        QTreeWidgetItem* root = tree->topLevelItem(0);
        QCOMPARE(root->text(0), QStringLiteral("[Root Directory]"));
        QCOMPARE(root->childCount(), 2); // the banner directory is left out
        QCOMPARE(root->child(0)->text(0), QStringLiteral("genre001"));
        QCOMPARE(tree->currentItem(), root->child(1));
        auto* htmls = dialog.findChild<QTreeWidget*>("Htmls");
        QCOMPARE(htmls->headerItem()->text(3), QStringLiteral("状態"));
        QCOMPARE(htmls->topLevelItemCount(), 1);
        const QStringList genre002
            = {QStringLiteral("index.html"), QStringLiteral("最初"), QStringLiteral("最後"), QStringLiteral("作成")};
        for (int column = 0; column < 4; ++column) {
            QCOMPARE(htmls->topLevelItem(0)->text(column), genre002[column]);
        }
        auto* progress = dialog.findChild<QProgressBar*>("Progress");
        QCOMPARE(progress->maximum(), 12);
        QCOMPARE(progress->value(), 12);
        QVERIFY(dialog.findChild<QLabel*>("Label_Step6")->font().bold());
        QVERIFY(!dialog.findChild<QLabel*>("Label_Group")->font().bold());
        QCOMPARE(dialog.findChild<QLabel*>("NowDirectory")->text(), Shown(sample.root + "genre002/"));

        const QString log = QStringLiteral("開始\t2026/12/08 00:00:00\n\n終了\t2026/12/08 00:00:00\n\n")
            + QString::fromStdString(CountLines(5, 5, 0, 0, 0));
        OnNextDialog<TForm_Log>([log](TForm_Log* window) {
            QVERIFY(test::MakeActive(window));
            QCOMPARE(window->Text(), log);
            QApplication::clipboard()->clear();
            Click(window, "BtnCopy");
            QCOMPARE(QApplication::clipboard()->text(), log);
            // Ctrl+C copies the whole text, whatever is selected.
            auto* text = window->findChild<QPlainTextEdit*>("Memo_Log");
            QTextCursor cursor = text->textCursor();
            cursor.movePosition(QTextCursor::NextWord, QTextCursor::KeepAnchor);
            text->setTextCursor(cursor);
            QApplication::clipboard()->clear();
            QTest::keyClick(text, Qt::Key_C, Qt::ControlModifier);
            QCOMPARE(QApplication::clipboard()->text(), log);
            QApplication::clipboard()->clear();
            window->findChild<QPushButton*>("BtnCopy")->setFocus();
            QTest::keyClick(window->findChild<QPushButton*>("BtnCopy"), Qt::Key_C, Qt::ControlModifier);
            QCOMPARE(QApplication::clipboard()->text(), log);
        });
        Click(&dialog, "BtnLog");

        Click(&dialog, "BtnOutput");
        QVERIFY(RunEnds(&dialog));
        QStringList lines;
        for (const SjisText& line : dialog.Log()) {
            lines.append(Shown(line.bytes()));
        }
        QVERIFY(lines.join(QLatin1Char('\n')).endsWith(QString::fromStdString(CountLines(5, 0, 0, 5, 0))));
        QCOMPARE(htmls->topLevelItem(0)->text(3), QStringLiteral("ｽｷｯﾌﾟ"));
    }

    // A write the file system refuses ends the run and is reported with its
    // reason, not as a finished run; no half-written page stays.
    void fileSystemErrorIsReportedAsFailure()
    {
        SampleSite sample;
        sample.Design();
        test::ScriptedMessages messages;
        TForm_ProjectOutput dialog(messages, sample.Job(), [] {});
        dialog.show();
        // Every page is larger than the limit, as on a full disk.
        const auto previous = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit{};
        getrlimit(RLIMIT_FSIZE, &limit);
        const rlimit tiny{100, limit.rlim_max};
        setrlimit(RLIMIT_FSIZE, &tiny);
        Click(&dialog, "BtnOutput");
        const bool ended = RunEnds(&dialog);
        setrlimit(RLIMIT_FSIZE, &limit);
        std::signal(SIGXFSZ, previous);
        QVERIFY(ended);

        QCOMPARE(messages.shown.size(), std::size_t{1});
        QCOMPARE(messages.shown[0].kind, MessageKind::Error);
        const QString text = Shown(messages.shown[0].text);
        QVERIFY2(text.startsWith(QStringLiteral("プロジェクト出力中にエラーが発生しました.\r\n")), qPrintable(text));
        QVERIFY2(text.contains(QStringLiteral("index.html: File too large")), qPrintable(text));
        QCOMPARE(StepText(&dialog, 6), QStringLiteral("強制終了しました"));
        QVERIFY(sample.Pages().empty());
        QVERIFY(Button(&dialog, "BtnClose")->isEnabled());
    }

    // "Open root" from the menu and from the dialog, with the reasons why
    // there is nothing to open.
    void openRootPage()
    {
        SampleSite sample;
        Harness h;
        h.Open(sample.projectFile);
        const auto openRoot = [&h] {
            h.Action("MM_OpenRoot")->trigger();
            return h.messages.shown.empty() ? QString() : Shown(h.messages.shown.back().text);
        };
        QCOMPARE(openRoot(), Shown(sample.root) + QStringLiteral("\r\nルートディレクトリの設計が為されていません."));
        QCOMPARE(h.messages.shown.back().buttons.Bits(), MessageButtons(MessageButton::Abort).Bits());
        QCOMPARE(h.messages.shown.back().kind, MessageKind::Warning);
        test::WriteFile(sample.site / "_design.tsd", "{htmloutputs}=FALSE\r\n");
        QCOMPARE(openRoot(),
            QStringLiteral("ルートディレクトリはHTMLを生成しない設計になっています.\r\nまた、デフォルトHTMLと思しき"
                           "ファイルも見付かりません."));
        sample.Design();
        QCOMPARE(openRoot(), QStringLiteral("デフォルトHTMLファイルが見付かりません."));
        const std::size_t shown = h.messages.shown.size();
        h.messages.SetNextAnswer(MessageButton::Ok); // finished
        OnNextDialog<TForm_ProjectOutput>([](TForm_ProjectOutput* dialog) {
            Click(dialog, "BtnOutput");
            QVERIFY(RunEnds(dialog));
            Click(dialog, "BtnOpenRoot");
            Click(dialog, "BtnClose");
        });
        h.Action("MM_ProjectOutput")->trigger();
        QCOMPARE(h.messages.shown.size(), shown + 1);
        QCOMPARE(h.shell.calls.back(), "open " + sample.root + "index.html");
    }

    // Without a root directory the output asks for one first; Cancel opens
    // nothing. Found items shown: no design or output.
    void rootDirectoryAndSearchMode()
    {
        Harness h;
        h.messages.SetNextAnswer(MessageButton::Cancel);
        QObject guard; // the check ends with the test
        QTimer::singleShot(0, &guard, [] {
            if (QApplication::activeModalWidget() != nullptr) {
                QApplication::activeModalWidget()->close();
                QFAIL("no dialog expected");
            }
        });
        h.Action("MM_ProjectOutput")->trigger();
        QCOMPARE(h.messages.shown.size(), std::size_t{1});
        QVERIFY(Shown(h.messages.shown[0].text)
                    .startsWith(QStringLiteral("プロジェクトルートディレクトリが設定されていません.")));
        QCOMPARE(h.Action("MM_ProjectOutput")->shortcut(), QKeySequence(Qt::Key_F8));
        QCOMPARE(h.Action("MM_ProjectSimpleDesign")->shortcut(), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F8));
        QCOMPARE(h.Action("TB_ProjectOutput")->text(), QStringLiteral("プロジェクト出力"));

        h.Open();
        const char* commands[]
            = {"MM_ProjectOutput", "TB_ProjectOutput", "MM_ProjectSimpleDesign", "TB_ProjectSimpleDesign"};
        h.Action("MM_SearchAll")->trigger();
        for (const char* command : commands) {
            QVERIFY2(!h.Action(command)->isEnabled(), command);
        }
        h.Action("MM_SearchExit")->trigger();
        for (const char* command : commands) {
            QVERIFY2(h.Action(command)->isEnabled(), command);
        }
        QVERIFY(h.Action("MM_OpenRoot")->isEnabled());
    }
};

QTEST_MAIN(PublishDialogsTests)
#include "PublishDialogsTests.moc"
