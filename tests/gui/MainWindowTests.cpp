#include <QAction>
#include <QFile>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>

#include "ScriptedFileDialogs.h"
#include "collection/ProjectFile.h"
#include "dlgMain.h"
#include "settings/SettingsStore.h"
#include "support/ScriptedMessages.h"
#include "text/Codepage.h"

using namespace tessaly;

namespace {

const QString kExample = QStringLiteral(TESSALY_EXAMPLES_DIR "/links.TSP");

QString Shown(const std::string& sjis)
{
    return QString::fromStdString(SjisToUtf8Lossy(sjis));
}

} // namespace

class MainWindowTests : public QObject {
    Q_OBJECT

    struct Harness {
        test::ScriptedMessages messages;
        test::ScriptedFileDialogs files;
        MemorySettingsStore settings;
        FixedClock clock{*EncodeDateTime({2026, 12, 8})};
        std::unique_ptr<TForm_Main> window;
        QStringList started;

        explicit Harness(StartOptions options = {})
        {
            window = std::make_unique<TForm_Main>(
                MainServices{messages, files, settings, clock, {1600, 1000, "ed", "br"}}, std::move(options));
            window->startProcess = [this](const QStringList& arguments) { started.append(arguments.join(' ')); };
        }
        QListWidget* Genres() { return window->findChild<QListWidget*>("ListBox_Genre"); }
        QTreeView* Items() { return window->findChild<QTreeView*>("ListView_Item"); }
        QAction* Action(const char* name) { return window->findChild<QAction*>(name); }
        void Open(const QString& file = kExample)
        {
            files.SetNextFile(file);
            Action("MM_OpenFile")->trigger();
        }
    };

private slots:
    void commandLineSwitches_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<bool>("startScreen");
        QTest::addColumn<bool>("restorePosition");
        QTest::addColumn<QStringList>("files");
        QTest::newRow("none") << QStringList{} << true << true << QStringList{};
        QTest::newRow("lower case") << QStringList{"-t", "-w"} << false << false << QStringList{};
        QTest::newRow("slash") << QStringList{"/T"} << false << true << QStringList{};
        QTest::newRow("twice") << QStringList{"-T", "-T"} << true << true << QStringList{};
        QTest::newRow("files") << QStringList{"a.TSP", "-x", "b.tsm"} << true << true << QStringList{"a.TSP", "b.tsm"};
    }

    void commandLineSwitches()
    {
        QFETCH(QStringList, arguments);
        const StartOptions options = ParseCommandLine(arguments);
        QTEST(options.startScreen, "startScreen");
        QTEST(options.restorePosition, "restorePosition");
        QTEST(options.passedFiles, "files");
    }

    void newProjectShowsItsState()
    {
        Harness h;
        QCOMPARE(h.window->windowTitle(), QStringLiteral("(無題) (未保存) - Tessaly"));
        QCOMPARE(h.Genres()->count(), 2);
        QVERIFY(!h.Action("MM_SaveFile")->isEnabled());
        QVERIFY(!h.Action("MM_ReloadFile")->isEnabled());
        h.Action("MM_NewFile")->trigger(); // unchanged: asks nothing
        QVERIFY(h.messages.shown.empty());
    }

    void openShowsTheCollection()
    {
        Harness h;
        h.Open();
        QCOMPARE(h.Genres()->count(), 8);
        QCOMPARE(h.Genres()->item(1)->text(), QStringLiteral("ゲーム"));
        QCOMPARE(h.Items()->model()->rowCount(), 3);
        QVERIFY(h.window->windowTitle().startsWith(QStringLiteral("花子のリンク集 ")));
        QVERIFY(h.window->windowTitle().endsWith(QStringLiteral("links.TSP - Tessaly")));
        h.Genres()->setCurrentRow(1);
        QCOMPARE(h.Items()->model()->rowCount(), 11);
        // Sorted by title reading: あるぴいじい... first.
        QCOMPARE(h.Items()->model()->index(0, 0).data().toString(), QStringLiteral("RPGツクール研究所"));
        QCOMPARE(h.Items()->model()->headerData(6, Qt::Horizontal).toString(), QStringLiteral("ｼﾘｱﾙ"));
    }

    void missingFileWarnsAndKeepsTheNewProject()
    {
        Harness h;
        h.Open("/no/such/file.TSP");
        QCOMPARE(h.messages.shown.size(), std::size_t{1});
        QCOMPARE(Shown(h.messages.shown[0].text), QStringLiteral("/no/such/file.TSP が見付かりません."));
        QCOMPARE(h.messages.shown[0].kind, MessageKind::Warning);
        QCOMPARE(h.Genres()->count(), 2);
    }

    void savePromptGuardsChanges()
    {
        Harness h;
        h.window->SetIsEditing(true);
        QVERIFY(h.Action("MM_SaveFile")->isEnabled());
        h.messages.SetNextAnswer(MessageButton::Cancel);
        h.Action("MM_NewFile")->trigger();
        QCOMPARE(Shown(h.messages.shown.back().text),
            QStringLiteral("(無題) は変更されています.\r\n新規ファイル構築の前に保存しますか？"));
        QVERIFY(h.window->IsEditing());
        h.messages.SetNextAnswer(MessageButton::No);
        h.Action("MM_NewFile")->trigger();
        QVERIFY(!h.window->IsEditing());
    }

    void saveAsksForTheExtension()
    {
        QTemporaryDir dir;
        Harness h;
        h.window->CurrentProject().Title = SJ("題");
        h.window->SetIsEditing(true);
        h.files.SetNextFile(dir.filePath("x.txt"));
        h.messages.SetNextAnswer(MessageButton::Cancel);
        h.Action("MM_SaveFile")->trigger();
        QVERIFY(QFile::exists(dir.filePath("x.txt")));
        QVERIFY(!h.window->IsEditing());
        QVERIFY(h.window->windowTitle().contains(QStringLiteral("x.txt")));

        Harness other;
        other.window->SetIsEditing(true);
        other.files.SetNextFile(dir.filePath("y.txt"));
        other.messages.SetNextAnswer(MessageButton::Ok);
        QVERIFY(other.window->SaveProject());
        QVERIFY(QFile::exists(dir.filePath("y.TSP")));

        Harness cancelled;
        cancelled.window->SetIsEditing(true);
        QVERIFY(!cancelled.window->SaveProject()); // no name chosen
        QVERIFY(cancelled.window->IsEditing());
    }

    void genreSwitchWritesTheShownItemsBack()
    {
        Harness h;
        h.Open();
        h.Genres()->setCurrentRow(1);
        h.window->Shown().Rows()[0].Title = SJ("新しい名前");
        h.Genres()->setCurrentRow(2);
        const auto& lines = h.window->CurrentProject().Genres[1].Lines;
        QVERIFY(std::any_of(lines.begin(), lines.end(),
            [](const std::string& line) { return LineToItem(line).Title == SJ("新しい名前"); }));
    }

    void mergeAndReload()
    {
        QTemporaryDir dir;
        QFile::copy(kExample, dir.filePath("copy.TSP"));
        Harness h;
        h.Open(dir.filePath("copy.TSP"));
        h.files.SetNextFile(kExample);
        h.Action("MM_MergeFile")->trigger();
        QCOMPARE(h.files.titles.back(), QStringLiteral("リンクデータの追加読み込み"));
        QVERIFY(h.window->IsEditing());
        QVERIFY(h.window->windowTitle().contains(QStringLiteral("copy.TSP")));
        QCOMPARE(h.window->CurrentProject().Genres[1].Lines.size(), std::size_t{22});

        h.messages.SetNextAnswer(MessageButton::Yes);
        h.Action("MM_ReloadFile")->trigger();
        QCOMPARE(h.window->CurrentProject().Genres[1].Lines.size(), std::size_t{11});
        QVERIFY(!h.window->IsEditing());
    }

    void passedFilesOpenHereThenInNewProcesses()
    {
        StartOptions options;
        options.passedFiles = {"notes.txt", kExample, "/other/b.tsp"};
        Harness h(options);
        h.window->OpenPassedFiles();
        QCOMPARE(h.Genres()->count(), 8);
        QCOMPARE(h.started, QStringList{"-T /other/b.tsp"});
    }

    void closingAsksAndSavesTheSettings()
    {
        Harness h;
        h.window->show();
        h.window->resize(900, 700);
        h.window->SetIsEditing(true);
        h.messages.SetNextAnswer(MessageButton::Cancel);
        QVERIFY(!h.window->close());
        QCOMPARE(Shown(h.messages.shown.back().text),
            QStringLiteral("(無題) は変更されています.\r\n終了の前に保存しますか？"));
        h.messages.SetNextAnswer(MessageButton::No);
        QVERIFY(h.window->close());
        QCOMPARE(h.settings.ReadInteger("\\Software\\Brindlewood\\Tessaly\\MainWindow", "Width").value(), 900);

        // A new window starts with the stored size.
        TForm_Main again(MainServices{h.messages, h.files, h.settings, h.clock, {}}, {});
        QCOMPARE(again.width(), 900);
    }
};

QTEST_MAIN(MainWindowTests)
#include "MainWindowTests.moc"
