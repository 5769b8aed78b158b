#include <QAction>
#include <QClipboard>

#include <cstdio>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QMenu>
#include <QMenuBar>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QScreen>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QTreeView>

#include "platform/FileAssociation.h"
#include "MainWindowHarness.h"
#include "ScriptedFileDialogs.h"
#include "core/collection/ProjectFile.h"
#include "gui/items/dlgLinkItem.h"
#include "gui/main/dlgMain.h"
#include "gui/shell/dlgOptions.h"
#include "gui/shell/dlgSplash.h"
#include "gui/model/dlgStrInput.h"
#include "gui/shell/dlgVersion.h"
#include "core/settings/SettingsStore.h"
#include "support/RecordingShell.h"
#include "support/ActiveWindow.h"
#include "support/ScriptedMessages.h"
#include "core/text/Codepage.h"

using namespace tessaly;
using test::AnswerItemEditor;
using test::AnswerNameDialog;
using test::OnNextDialog;
using test::Harness;
using test::kExample;
using test::Shown;

class MainWindowTests : public QObject {
    Q_OBJECT

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
        QTest::newRow("files") << QStringList{"a.TSP", "-x", "b.tsm"} << true << true
                               << QStringList{"a.TSP", "-x", "b.tsm"};
        QTest::newRow("absolute paths") << QStringList{"/home/u/links.TSP", "-T", "/T", "/tmp/x/b.TSP"} << true << true
                                        << QStringList{"/home/u/links.TSP", "/tmp/x/b.TSP"};
        QTest::newRow("one-letter root names") << QStringList{"/t/", "/W", "-TW"} << true << false
                                               << QStringList{"/t/", "-TW"};
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
        h.window->CurrentProject().SerialMax = 500; // a merged file's smaller counter does not lower it
        h.files.SetNextFile(kExample);
        h.Action("MM_MergeFile")->trigger();
        QCOMPARE(h.files.titles.back(), QStringLiteral("リンクデータの追加読み込み"));
        QVERIFY(h.window->IsEditing());
        QVERIFY(h.window->windowTitle().contains(QStringLiteral("copy.TSP")));
        QCOMPARE(h.window->CurrentProject().Genres[1].Lines.size(), std::size_t{22});
        QCOMPARE(h.window->CurrentProject().SerialMax, 500);

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

        // An absolute path is a file, and a relative one is shown absolute.
        Harness absolute(ParseCommandLine({"-T", kExample}));
        absolute.window->OpenPassedFiles();
        QCOMPARE(absolute.Genres()->count(), 8);
        const QString current = QDir::currentPath();
        QDir::setCurrent(QFileInfo(kExample).absolutePath());
        Harness relative(ParseCommandLine({"links.TSP"}));
        relative.window->OpenPassedFiles();
        QDir::setCurrent(current);
        QVERIFY(relative.window->windowTitle().endsWith(QFileInfo(kExample).absoluteFilePath() + " - Tessaly"));
    }

    void genreCommandsThroughTheNameDialog()
    {
        Harness h;
        h.Open();
        h.Genres()->setCurrentRow(0);
        AnswerNameDialog(QStringLiteral("新ジャンル"));
        h.Action("TB_GenreNew")->trigger();
        QCOMPARE(h.Genres()->count(), 9);
        QCOMPARE(h.Genres()->item(7)->text(), QStringLiteral("新ジャンル")); // just above the trash
        QCOMPARE(h.Genres()->currentRow(), 7);
        QVERIFY(h.window->IsEditing());

        AnswerNameDialog(QStringLiteral("ゲーム")); // a duplicate is refused
        h.Action("TB_GenreNew")->trigger();
        QCOMPARE(Shown(h.messages.shown.back().text),
            QStringLiteral("文字列が重複しています.\r\n各文字列は互いにユニークでなければなりません."));
        QCOMPARE(h.Genres()->count(), 9);

        AnswerNameDialog(QStringLiteral("a|b"));
        h.Action("TB_GenreNew")->trigger();
        QVERIFY(Shown(h.messages.shown.back().text).startsWith(QStringLiteral("\"|\" Vertical Line")));

        AnswerNameDialog(QStringLiteral("😀")); // not representable: refused with its name
        h.Action("TB_GenreNew")->trigger();
        QVERIFY(Shown(h.messages.shown.back().text).startsWith(QStringLiteral("U+1F600 の文字は")));
        QCOMPARE(h.Genres()->count(), 9);

        h.Genres()->setCurrentRow(1);
        QVERIFY(!h.Action("TB_GenreUp")->isEnabled());
        AnswerNameDialog(QStringLiteral("ゲーム類"));
        h.Action("TB_GenreEdit")->trigger();
        QCOMPARE(h.Genres()->item(1)->text(), QStringLiteral("ゲーム類"));
        QCOMPARE(
            Shown(LineToItem(h.window->CurrentProject().Genres[1].Lines[0]).GenreName), QStringLiteral("ゲーム類"));

        h.Action("TB_GenreErase")->trigger();
        QCOMPARE(h.Genres()->count(), 8);
        QCOMPARE(h.window->CurrentProject().Genres.back().Lines.size(), std::size_t{11});
        QCOMPARE(h.Genres()->currentRow(), 0);
    }

    void tagsFollowTheSelectionAndTheCheckLists()
    {
        Harness h;
        h.Open();
        h.Genres()->setCurrentRow(1);
        auto* attributes = h.window->findChild<QListWidget*>("CheckBox_Attr");
        h.Items()->selectionModel()->select(
            h.Items()->model()->index(0, 0), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        const TLinkItem& first = h.window->Shown().Rows()[0];
        for (int i = 0; i < attributes->count(); ++i) {
            const bool has = ListContainsName(
                first.Attributes, h.window->CurrentProject().Attributes[static_cast<std::size_t>(i)]);
            QCOMPARE(attributes->item(i)->checkState() == Qt::Checked, has);
        }
        h.Items()->selectionModel()->select(
            h.Items()->model()->index(1, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
        for (int i = 0; i < attributes->count(); ++i) {
            attributes->item(i)->setCheckState(i == 2 ? Qt::Checked : Qt::Unchecked);
        }
        QCOMPARE(Shown(h.window->Shown().Rows()[0].Attributes), QStringLiteral("おすすめ"));
        QCOMPARE(Shown(h.window->Shown().Rows()[1].Attributes), QStringLiteral("おすすめ"));
        QVERIFY(h.window->IsEditing());
        h.Items()->clearSelection();
        QCOMPARE(attributes->item(2)->checkState(), Qt::Unchecked);
    }

    void droppedItemsMoveToTheirGenre()
    {
        Harness h;
        h.Open();
        h.Genres()->setCurrentRow(1);
        h.Items()->selectionModel()->select(
            h.Items()->model()->index(0, 0), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        h.window->MoveSelectedItemsTo(2);
        QCOMPARE(h.Items()->model()->rowCount(), 10);
        const auto& music = h.window->CurrentProject().Genres[2].Lines;
        QCOMPARE(music.size(), std::size_t{12});
        QCOMPARE(Shown(LineToItem(music.back()).GenreName), QStringLiteral("音楽"));
        h.Items()->selectionModel()->select(
            h.Items()->model()->index(0, 0), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        h.window->MoveSelectedItemsTo(h.Genres()->count() - 1); // onto the trash
        QCOMPARE(h.Items()->model()->rowCount(), 9);
        QCOMPARE(LineToItem(h.window->CurrentProject().Genres.back().Lines.back()).GenreName, std::string("\xFF"));
        h.Genres()->setCurrentRow(h.Genres()->count() - 1);
        QVERIFY(h.window->findChild<QWidget*>("Memo_Warning")->isVisibleTo(h.window.get()));
        QCOMPARE(h.Items()->model()->rowCount(), 1);
    }

    void newAndEditedItems()
    {
        Harness h;
        h.Open();
        h.Genres()->setCurrentRow(2);
        const int32_t serialMax = h.window->CurrentProject().SerialMax;
        AnswerItemEditor([](TForm_LinkItem* dialog) {
            QCOMPARE(dialog->windowTitle(), QStringLiteral("新規アイテム"));
            dialog->findChild<QLineEdit*>("Edit_Title")->setText(QStringLiteral("新しいサイト"));
            dialog->findChild<QLineEdit*>("Edit_TitleKana")->setText(QStringLiteral("あたらしいさいと"));
            dialog->findChild<QLineEdit*>("Edit_AuthorKana")->setText(QStringLiteral("だれか"));
            dialog->findChild<QLineEdit*>("Edit_Page")->setText(QStringLiteral("http://new.example.jp/"));
        });
        h.Action("TB_ItemNew")->trigger();
        QCOMPARE(h.Items()->model()->rowCount(), 12);
        const TLinkItem& added = h.window->Shown().Rows().back();
        QCOMPARE(added.Serial, serialMax + 1);
        QCOMPARE(Shown(added.GenreName), QStringLiteral("音楽"));
        QCOMPARE(added.Url, std::string("new.example.jp/"));
        QCOMPARE(DateTimeToText(added.Date), std::string("2026/12/08"));
        QVERIFY(h.window->IsEditing());
        QCOMPARE(h.Items()->selectionModel()->selectedRows().size(), 1);

        AnswerItemEditor([](TForm_LinkItem* dialog) {
            QCOMPARE(dialog->windowTitle(), QStringLiteral("アイテムプロパティ"));
            dialog->findChild<QLineEdit*>("Edit_Title")->setText(QStringLiteral("改名したサイト"));
        });
        h.Action("TB_ItemEdit")->trigger();
        QCOMPARE(h.Items()->model()->index(11, 0).data().toString(), QStringLiteral("改名したサイト"));
    }

    void openRootAndWebPages()
    {
        Harness h;
        h.Action("MM_OpenRoot")->trigger();
        QCOMPARE(Shown(h.messages.shown.back().text),
            QStringLiteral("ルートディレクトリが設定されていません.\r\nプロジェクトオプションで設定して下さい."));
        QCOMPARE(h.messages.shown.back().buttons.Bits(), MessageButtons(MessageButton::Abort).Bits());
    }

    // Commands that cannot do their work say why, or cannot be chosen.
    void commandsSayWhatTheyCannotDo()
    {
        Harness h;
        h.Open();
        h.window->show();
        QVERIFY(test::MakeActive(h.window.get()));
        h.Genres()->setCurrentRow(1);
        // The help menu's pages are the program's own; nothing leaves for the web.
        for (const char* page : {"MM_TSYPage", "MM_ASPage"}) {
            h.Action(page)->trigger();
            QVERIFY(h.shell.calls.empty());
        }
        // No row chosen: the CSV export says so.
        h.Items()->clearSelection();
        h.Action("MM_ExportCSV")->trigger();
        QVERIFY(Shown(h.messages.shown.back().text).startsWith(QStringLiteral("CSV ファイルに書き出すアイテムがありません")));
        // No mail program: said so, no browser opened.
        h.shell.hasMailProgram = false;
        h.Items()->setFocus();
        h.window->Shown().Rows().front().Mail = "author@example.jp";
        h.Items()->setCurrentIndex(h.Items()->model()->index(0, 0));
        QVERIFY(h.Action("MM_ItemMail")->isEnabled());
        h.Action("MM_ItemMail")->trigger();
        QVERIFY(h.shell.calls.empty());
        QVERIFY(Shown(h.messages.shown.back().text).startsWith(QStringLiteral("メールを書くプログラムが設定されていません")));
        // The found items of a search are out of their genres: no bookmark export.
        QVERIFY(h.Action("MM_ExportBookmarks")->isEnabled());
        h.Action("MM_SearchAll")->trigger();
        QVERIFY(!h.Action("MM_ExportBookmarks")->isEnabled());
        h.Action("MM_SearchExit")->trigger();
        QVERIFY(h.Action("MM_ExportBookmarks")->isEnabled());
    }

    // Every menu, tool bar and the item list's pop-up keep their entries in
    // their order, whichever part of the program contributes them.
    void menusAndToolBarsKeepTheirLayout()
    {
        Harness h;
        h.Open();
        h.Genres()->setCurrentRow(1);
        QStringList layout;
        const std::function<void(const QString&, const QList<QAction*>&)> list
            = [&](const QString& place, const QList<QAction*>& actions) {
                  QStringList names;
                  for (QAction* action : actions) {
                      names << (action->isSeparator() ? QStringLiteral("-")
                              : action->menu() != nullptr ? action->menu()->objectName() + QStringLiteral(">")
                                                          : action->objectName());
                      if (action->menu() != nullptr) {
                          list(place + QLatin1Char('/') + action->menu()->objectName(), action->menu()->actions());
                      }
                  }
                  layout.prepend(place + QStringLiteral(": ") + names.join(QLatin1Char(' ')));
              };
        for (QAction* top : h.window->menuBar()->actions()) {
            list(top->text(), top->menu()->actions());
        }
        for (QToolBar* tools : h.window->findChildren<QToolBar*>(Qt::FindDirectChildrenOnly)) {
            list(tools->objectName(), tools->actions());
        }
        QTimer::singleShot(0, [&] {
            auto* popup = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            QVERIFY(popup != nullptr);
            list(popup->objectName(), popup->actions());
            popup->close();
        });
        emit h.Items()->customContextMenuRequested(QPoint(2, 2));
        layout.sort();
        QCOMPARE(layout.join(QLatin1Char('\n')), QString::fromUtf8(R"(PU_ItemOperate/PU_ItemSortOperate: PU_SortTitle PU_SortAuthor PU_SortMail PU_SortPage PU_SortBanner PU_SortDate PU_SortSerial
PU_ItemOperate/PU_ItemStatus: PU_ItemNormal PU_ItemFavorite PU_ItemWarning PU_ItemBlack PU_ImportantLow PU_ImportantMiddele PU_ImportantHigh
PU_ItemOperate: TB_ItemNew TB_ItemEdit PU_ItemErase - PU_Cut PU_Copy PU_CopyEx PU_Paste - PU_ItemStatus> PU_DateSetting - PU_ItemBrowse PU_ItemMail - PU_ItemSortOperate> - MM_SelectAll
ToolBar_File: MM_NewFile MM_OpenFile MM_SaveFile MM_MergeFile MM_ReloadFile MM_Quit
ToolBar_Item/PU_ItemSortOperate: PU_SortTitle PU_SortAuthor PU_SortMail PU_SortPage PU_SortBanner PU_SortDate PU_SortSerial
ToolBar_Item: TB_Undo TB_Redo - TB_ItemNew TB_ItemEdit TB_ItemErase TB_DateSetting TB_ItemBrowse TB_ItemMail - PU_ItemSortOperate> TB_SortUp TB_SortDown TB_SortKana - TB_ItemList TB_ItemReport TB_ItemGridLines
ToolBar_Project: TB_ProjectSimpleDesign MM_ProjectDetailedDesign TB_ProjectTemplate TB_ProjectOutput
ToolBar_Search: TB_SearchString TB_SearchDomain TB_SearchProject TB_SearchAll TB_SearchExit
アイテム(&I)/: MM_SortTitle MM_SortAuthor MM_SortMail MM_SortPage MM_SortBanner MM_SortDate MM_SortSerial
アイテム(&I): TB_ItemNew TB_ItemEdit MM_ItemBrowse MM_ItemMail - MM_Sort > MM_SortUp MM_SortDown MM_SortKana - MM_ItemList MM_ItemReport MM_ItemGridLines
ツール(&T)/MM_Tsyoss: MM_DizOutput MM_OssSupport
ツール(&T): MM_Options - MM_NewAttribute MM_DomainTool MM_AttrContentTool MM_LinkCheck - MM_Tsyoss> - MM_OpenRoot MM_AppAccount - MM_RegErase
ファイル(&F)/MM_Export: MM_ExportCSV MM_ExportBookmarks
ファイル(&F)/MM_Inport: MM_InportRKM MM_InportBookmarks
ファイル(&F): MM_NewFile MM_OpenFile MM_SaveFile MM_SaveAsFile MM_MergeFile MM_ReloadFile - MM_Inport> MM_Export> - MM_Exit MM_Quit
プロジェクト(&P): MM_ProjectSimpleDesign MM_ProjectDetailedDesign MM_ProjectTemplate - MM_ProjectOutput - MM_ProjectOption
ヘルプ(&H): MM_Help - MM_ASPage MM_TSYPage - MM_About
検索(&S): MM_SearchString MM_SearchDomain MM_SearchProject MM_SearchAll MM_SearchDuplicate - MM_SearchExit
編集(&E)/MM_ItemStatus: MM_ItemNormal MM_ItemFavorite MM_ItemWarning MM_ItemBlack MM_ImportantLow MM_ImportantMiddele MM_ImportantHigh
編集(&E): MM_Undo MM_Redo - MM_Cut MM_Copy MM_Paste MM_CopyEx MM_Delete - MM_SelectAll - MM_ItemStatus> MM_DateSetting)"));
    }

    void paneTitlesMoveTheFocus()
    {
        Harness h;
        h.window->show();
        QVERIFY(test::MakeActive(h.window.get()));
        auto* genreTitle = h.window->findChild<QWidget*>("Panel_Genre")->findChild<QLabel*>();
        QTest::mouseClick(genreTitle, Qt::LeftButton);
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(h.Genres()));
        QVERIFY(genreTitle->font().bold());
        QCOMPARE(h.window->StatusBarText(), QStringLiteral("2 種類のジャンル"));
    }

    void keysAndCommandStates()
    {
        Harness h;
        h.Open();
        h.Genres()->setCurrentRow(1);
        QVERIFY(!h.Action("TB_ItemEdit")->isEnabled());
        h.Items()->selectionModel()->select(
            h.Items()->model()->index(0, 0), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        QVERIFY(h.Action("TB_ItemEdit")->isEnabled());
        h.Items()->selectionModel()->select(
            h.Items()->model()->index(1, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
        QVERIFY(!h.Action("TB_ItemEdit")->isEnabled());

        QTest::keyClick(h.Genres(), Qt::Key_Down, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(h.Genres()->item(2)->text(), QStringLiteral("ゲーム"));
        QCOMPARE(h.Genres()->currentRow(), 2);
        QVERIFY(h.window->IsEditing());
        QTest::keyClick(h.Genres(), Qt::Key_Up, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(h.Genres()->item(1)->text(), QStringLiteral("ゲーム"));
        AnswerNameDialog(QStringLiteral("キーで追加"));
        QTest::keyClick(h.Genres(), Qt::Key_A, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(h.Genres()->item(7)->text(), QStringLiteral("キーで追加"));
    }

    void everySortKeyOrdersTheList()
    {
        Harness h;
        h.Open();
        h.Genres()->setCurrentRow(1);
        const char* keys[] = {"MM_SortTitle", "MM_SortAuthor", "MM_SortMail", "MM_SortPage", "MM_SortBanner",
            "MM_SortDate", "MM_SortSerial"};
        for (int key = 0; key < 7; ++key) {
            h.Action(keys[key])->trigger();
            QVERIFY(h.Action(keys[key])->isChecked());
            const auto& rows = h.window->Shown().Rows();
            for (std::size_t i = 1; i < rows.size(); ++i) {
                QVERIFY2(CompareItems(rows[i - 1], rows[i], h.window->Order()) <= 0, keys[key]);
            }
        }
    }

    void sortCommandsAndViewStyles()
    {
        Harness h;
        h.Open();
        h.Genres()->setCurrentRow(1);
        h.Action("MM_SortSerial")->trigger();
        QCOMPARE(h.Items()->model()->index(0, 6).data().toString(), QStringLiteral("0001"));
        h.Action("MM_SortDown")->trigger();
        QCOMPARE(h.Items()->model()->index(0, 6).data().toString(), QStringLiteral("0011"));
        h.Items()->header()->sectionClicked(6); // same column: direction flips
        QCOMPARE(h.Items()->model()->index(0, 6).data().toString(), QStringLiteral("0001"));
        QVERIFY(h.Action("MM_SortUp")->isChecked());
        h.Items()->header()->sectionClicked(0); // another column keeps the direction
        QCOMPARE(h.window->Order().sortBy, ItemSortKey::Title);
        QCOMPARE(h.window->Order().sortDir, 0);
        h.Action("MM_ItemList")->trigger();
        QVERIFY(h.Items()->isColumnHidden(1));
        h.Action("MM_ItemReport")->trigger();
        QVERIFY(!h.Items()->isColumnHidden(1));
        h.Action("MM_SortKana")->trigger();
        QVERIFY(!h.window->Order().sortKana);
    }

    void optionsDialogEnablesAndStores()
    {
        Harness h;
        QTimer::singleShot(0, [] {
            auto* dialog = qobject_cast<TForm_Options*>(QApplication::activeModalWidget());
            QVERIFY(dialog != nullptr);
            auto* preset = dialog->findChild<QComboBox*>("template");
            auto* appPath = dialog->findChild<QLineEdit*>("appPath");
            auto* service = dialog->findChild<QLineEdit*>("ddeService");
            QVERIFY(!preset->isEnabled()); // standard association chosen
            dialog->findChild<QRadioButton*>("Details")->setChecked(true);
            QVERIFY(preset->isEnabled());
            QVERIFY(!appPath->isEnabled());
            dialog->ChoosePreset(1);
            QCOMPARE(appPath->text(), QStringLiteral("/usr/bin/chromium"));
            preset->setCurrentIndex(2);
            dialog->UpdateEnabling();
            QVERIFY(appPath->isEnabled());
            QVERIFY(service->isEnabled());
            dialog->findChild<QCheckBox*>("ddeUse")->setChecked(false);
            QVERIFY(!service->isEnabled());
            appPath->setText(QStringLiteral("/opt/browser"));
            dialog->findChild<QComboBox*>("doubleClick")->setCurrentIndex(1);
            dialog->accept();
        });
        h.Action("MM_Options")->trigger();
        QCOMPARE(h.window->Settings().browser.appPath, std::string("/opt/browser"));
        QVERIFY(!h.window->Settings().browser.defShell);
        QCOMPARE(h.settings.ReadInteger("\\Software\\Brindlewood\\Tessaly\\UserInterface", "DoubleClick").value(), 1);

        // Double click now opens the item in the browser program.
        h.Open();
        h.Genres()->setCurrentRow(1);
        const QModelIndex first = h.Items()->model()->index(0, 0);
        h.Items()->selectionModel()->select(first, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        emit h.Items()->doubleClicked(first);
        QCOMPARE(h.shell.calls.back(), std::string("start /opt/browser http://rpg.example.net/"));
    }

    void droppedFilesFollowTheDropSetting()
    {
        Harness anew;
        anew.window->HandleDroppedFiles({kExample, "/x/b.TSP", "/x/c.TSP"}); // only the first opens
        QCOMPARE(anew.Genres()->count(), 8);
        QVERIFY(anew.started.isEmpty());

        Harness windows({}, 1);
        windows.window->HandleDroppedFiles({kExample, "/x/b.tsm", "/x/c.TSP"});
        QCOMPARE(windows.started, (QStringList{"-T -W " + kExample, "-T -W /x/c.TSP"}));
        QCOMPARE(windows.Genres()->count(), 2);

        QTemporaryDir dir;
        QFile::copy(kExample, dir.filePath("own.TSP"));
        Harness merge({}, 2);
        merge.Open(dir.filePath("own.TSP"));
        merge.window->HandleDroppedFiles({kExample});
        QCOMPARE(merge.window->CurrentProject().Genres[1].Lines.size(), std::size_t{22});
        QVERIFY(merge.window->windowTitle().contains(QStringLiteral("own.TSP")));
        QVERIFY(merge.window->IsEditing());
    }

    void associationCommandAsksFirst()
    {
        Harness h;
        h.messages.SetNextAnswer(MessageButton::Cancel);
        h.Action("MM_AppAccount")->trigger();
        QVERIFY(!h.association.IsAssociated());
        QCOMPARE(Shown(h.messages.shown.back().text),
            QStringLiteral("拡張子 TSP を Tessaly に関連付けます.\r\nよろしいですか？"));
        h.messages.SetNextAnswer(MessageButton::Yes);
        h.Action("MM_AppAccount")->trigger();
        QVERIFY(h.association.IsAssociated());
        h.messages.SetNextAnswer(MessageButton::Yes);
        h.Action("MM_AppAccount")->trigger();
        QVERIFY(!h.association.IsAssociated());
    }

    void registryEraseClosesWithoutSavingSettings()
    {
        Harness h;
        h.window->show();
        h.messages.SetNextAnswer(MessageButton::Abort);
        h.Action("MM_RegErase")->trigger();
        QVERIFY(h.window->isVisible());
        h.messages.SetNextAnswer(MessageButton::Yes);
        h.Action("MM_RegErase")->trigger();
        QVERIFY(!h.window->isVisible());
        QVERIFY(!h.settings.KeyExists("\\Software\\Brindlewood\\Tessaly"));
    }

    void versionWindowPicturesAndModes()
    {
        for (const bool girlDisabled : {false, true}) {
            const QImage picture = TForm_Version::Picture(girlDisabled);
            QCOMPARE(picture.size(), QSize(480, 320));
        }
        TForm_Version start(false, true);
        QVERIFY(start.findChild<QWidget*>("BtnClose")->isHidden());
        TForm_Version about(false, false);
        QVERIFY(!about.findChild<QWidget*>("BtnClose")->isHidden());
        QCOMPARE(about.findChild<QLabel*>("Label_Version")->text(), QStringLiteral("1.04"));
        QVERIFY(about.findChild<QLabel*>("Label_License")->text().startsWith(QStringLiteral("GNU GPL v3 以降")));
        bool mailed = false;
        about.mailSupport = [&mailed] { mailed = true; };
        emit about.findChild<QLabel*>("Label_Mail")->linkActivated(QStringLiteral("mail"));
        QVERIFY(mailed);
    }

    void splashShowsItsMessageAndProgress()
    {
        TSplashWindow splash;
        splash.SetSplashMes(QStringLiteral("links.TSP を解釈しています"));
        QCOMPARE(splash.SplashMes(), QStringLiteral("links.TSP を解釈しています\n少々お待ち下さい..."));
        splash.SetMax(10);
        splash.SetPos(5);
        QCOMPARE(splash.findChild<QProgressBar*>()->value(), 5);
        QVERIFY(splash.width() >= 240);
    }

    void destroyingAFocusedWindowIsSafe()
    {
        auto h = std::make_unique<Harness>();
        h->Open();
        QVERIFY(test::MakeActive(h->window.get()));
        h->Items()->setFocus();
        h.reset(); // focus moves while the window is torn down
    }

    void paneSizesSurviveRestarts()
    {
        const char* key = "\\Software\\Brindlewood\\Tessaly\\MainWindow";
        Harness first;
        first.settings.WriteInteger(key, "AttrHeight", 160);
        first.settings.WriteInteger(key, "GenreWidth", 150);
        first.settings.WriteInteger(key, "AttrWidth", 210);
        for (int start = 0; start < 3; ++start) {
            TForm_Main window(MainServices{first.messages, first.files, first.settings, first.clock, first.shell,
                                  first.association, {}},
                {});
            window.show();
            QVERIFY(QTest::qWaitForWindowExposed(&window));
            QVERIFY(window.close());
            QCOMPARE(first.settings.ReadInteger(key, "AttrHeight").value(), 160);
            QCOMPARE(first.settings.ReadInteger(key, "GenreWidth").value(), 150);
            QCOMPARE(first.settings.ReadInteger(key, "AttrWidth").value(), 210);
        }
    }

    // Real key events on the active window: the lists' own keys win over
    // the window's shortcut for a new item.
    void vocabularyKeysWinOverWindowShortcuts()
    {
        Harness h;
        h.Open();
        QVERIFY(test::MakeActive(h.window.get()));
        h.Genres()->setFocus();
        AnswerNameDialog(QStringLiteral("キーのジャンル"));
        QTest::keyClick(h.Genres(), Qt::Key_A, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(h.Genres()->count(), 9);
        auto* attributes = h.window->findChild<QListWidget*>("CheckBox_Attr");
        const int attributeCount = attributes->count();
        attributes->setFocus();
        AnswerNameDialog(QStringLiteral("キーの属性"));
        QTest::keyClick(attributes, Qt::Key_A, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(attributes->count(), attributeCount + 1);

        // In the item list the same keys still make a new item.
        QVERIFY(test::MakeActive(h.window.get()));
        h.Items()->setFocus();
        bool editorShown = false;
        QTimer::singleShot(0, [&editorShown] {
            auto* editor = qobject_cast<TForm_LinkItem*>(QApplication::activeModalWidget());
            editorShown = editor != nullptr;
            if (editor != nullptr) {
                editor->reject();
            }
        });
        QTest::keyClick(h.Items(), Qt::Key_A, Qt::ControlModifier | Qt::ShiftModifier);
        QVERIFY(editorShown);
    }

    // Grid lines are drawn along the cells' edges and leave the selected
    // row's colours and text as they were.
    void gridLinesKeepTheSelectedRowReadable()
    {
        Harness h;
        h.Open();
        h.Genres()->setCurrentRow(1);
        QVERIFY(test::MakeActive(h.window.get()));
        h.Items()->setFocus();
        const QModelIndex first = h.Items()->model()->index(0, 0);
        h.Items()->selectionModel()->select(first, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        const QRect cell = h.Items()->visualRect(first).adjusted(0, 0, -1, -1);
        const QImage before = h.Items()->viewport()->grab().toImage().copy(cell);
        h.Action("MM_ItemGridLines")->trigger();
        QVERIFY(h.Action("TB_ItemGridLines")->isChecked());
        const QImage after = h.Items()->viewport()->grab().toImage().copy(cell);
        QCOMPARE(after, before);
        QVERIFY(h.Items()->styleSheet().isEmpty());
    }

    void sortAndViewToolButtonsFollowTheState()
    {
        Harness h;
        h.Open();
        h.Genres()->setCurrentRow(1);
        QVERIFY(h.Action("TB_SortUp")->isChecked());
        h.Action("TB_SortDown")->trigger();
        QVERIFY(h.Action("MM_SortDown")->isChecked());
        QVERIFY(!h.Action("TB_SortUp")->isChecked());
        h.Action("PU_SortSerial")->trigger();
        QVERIFY(h.Action("MM_SortSerial")->isChecked());
        QVERIFY(!h.Action("PU_SortTitle")->isChecked());
        QCOMPARE(h.Items()->header()->sortIndicatorSection(), 6);
        QCOMPARE(h.Items()->header()->sortIndicatorOrder(), Qt::DescendingOrder);
        QCOMPARE(h.Items()->model()->index(0, 6).data().toString(), QStringLiteral("0011"));

        QVERIFY(h.Action("TB_SortKana")->isChecked());
        h.Action("TB_SortKana")->trigger();
        QVERIFY(!h.Action("MM_SortKana")->isChecked());
        QVERIFY(!h.window->Order().sortKana);

        h.Action("TB_ItemList")->trigger();
        QVERIFY(h.Action("MM_ItemList")->isChecked());
        QVERIFY(!h.Action("TB_ItemReport")->isChecked());
        QVERIFY(!h.Action("TB_ItemGridLines")->isEnabled());
        h.Action("MM_ItemGridLines")->trigger(); // the menu entry still toggles
        QVERIFY(h.Action("TB_ItemGridLines")->isChecked());
        h.Action("TB_ItemReport")->trigger();
        QVERIFY(h.Action("TB_ItemGridLines")->isEnabled());

        // The sort button re-sorts with the current settings; its menu is the
        // sort-key popup of the list.
        h.window->Shown().Rows().front().Serial = 1;
        h.Action("TB_Sort")->trigger();
        QCOMPARE(h.Items()->model()->index(h.Items()->model()->rowCount() - 1, 6).data().toString(),
            QStringLiteral("0001"));
        QCOMPARE(h.Action("TB_Sort")->menu<QMenu*>()->objectName(), QStringLiteral("PU_ItemSortOperate"));
    }

    void movedItemsLeaveNoStaleTagMarks()
    {
        Harness h;
        h.Open();
        h.Genres()->setCurrentRow(1);
        auto* attributes = h.window->findChild<QListWidget*>("CheckBox_Attr");
        int tagged = -1;
        for (int row = 0; row < h.Items()->model()->rowCount() && tagged < 0; ++row) {
            if (!h.window->Shown().Rows()[static_cast<std::size_t>(row)].Attributes.empty()) {
                tagged = row;
            }
        }
        QVERIFY(tagged >= 0);
        h.Items()->selectionModel()->select(
            h.Items()->model()->index(tagged, 0), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        const auto checkedCount = [attributes] {
            int checked = 0;
            for (int i = 0; i < attributes->count(); ++i) {
                checked += attributes->item(i)->checkState() == Qt::Checked ? 1 : 0;
            }
            return checked;
        };
        QVERIFY(checkedCount() > 0);
        h.window->MoveSelectedItemsTo(2);
        QCOMPARE(checkedCount(), 0);
        QVERIFY(!h.Action("TB_ItemEdit")->isEnabled());
    }

    void genreListSetsTheSystemGenresApartWhileFocused()
    {
        Harness h;
        h.Open();
        h.Genres()->setCurrentRow(1);
        QVERIFY(test::MakeActive(h.window.get()));
        const auto backgroundOf = [&h](int row) {
            const QRect rect = h.Genres()->visualItemRect(h.Genres()->item(row));
            return h.Genres()->viewport()->grab().toImage().pixelColor(rect.right() - 2, rect.center().y());
        };
        const int trash = h.Genres()->count() - 1;
        h.Genres()->setFocus();
        QCOMPARE(backgroundOf(0), h.Genres()->palette().color(QPalette::ToolTipBase));
        QCOMPARE(backgroundOf(trash), h.Genres()->palette().color(QPalette::ToolTipBase));
        QCOMPARE(backgroundOf(2), h.Genres()->palette().color(QPalette::Base));
        h.Items()->setFocus();
        for (const int row : {0, 2, trash}) {
            QCOMPARE(backgroundOf(row), h.Genres()->palette().color(QPalette::Button));
        }
    }

    void readOnlyProjectIsNotReplaced()
    {
        QTemporaryDir dir;
        const QString file = dir.filePath("ro.TSP");
        QFile::copy(kExample, file);
        QFile::setPermissions(file, QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther);
        const QByteArray original = [&file] {
            QFile f(file);
            f.open(QIODevice::ReadOnly);
            return f.readAll();
        }();
        Harness h;
        h.Open(file);
        h.window->CurrentProject().Title = SJ("変えた題");
        h.window->SetIsEditing(true);
        h.Action("MM_SaveFile")->trigger();
        QVERIFY(Shown(h.messages.shown.back().text).contains(QStringLiteral("読み込み専用")));
        QVERIFY(Shown(h.messages.shown.back().text).contains(file));
        QVERIFY(h.window->IsEditing());
        QFile f(file);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), original);

        // Saving under another name is the way out.
        h.files.SetNextFile(dir.filePath("copy.TSP"));
        h.Action("MM_SaveAsFile")->trigger();
        QVERIFY(!h.window->IsEditing());
        QVERIFY(h.window->windowTitle().endsWith(dir.filePath("copy.TSP") + " - Tessaly"));
        QVERIFY(QFile::exists(dir.filePath("copy.TSP")));
    }

    void saveAsKeepsTheNameWhenCancelled()
    {
        Harness h;
        h.Open();
        const QString title = h.window->windowTitle();
        h.Action("MM_SaveAsFile")->trigger(); // no file chosen
        QCOMPARE(h.window->windowTitle(), title);
    }

    void aFileThatIsNoProjectIsNotTakenForOne()
    {
        QTemporaryDir dir;
        const QString file = dir.filePath("notes.TSP");
        {
            QFile f(file);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("just some notes\r\nnothing = here\r\n\x01\x02\xff");
        }
        Harness h;
        h.Open(file);
        QCOMPARE(Shown(h.messages.shown.back().text), file + QStringLiteral(" はプロジェクトファイルではありません."));
        QVERIFY(h.window->windowTitle().endsWith(QStringLiteral("(未保存) - Tessaly")));
        h.window->SetIsEditing(true);
        h.files.SetNextFile(dir.filePath("chosen.TSP"));
        QVERIFY(h.window->SaveProject()); // asks for a name instead of replacing the file
        QVERIFY(QFile::exists(dir.filePath("chosen.TSP")));
        QFile f(file);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QVERIFY(f.readAll().startsWith("just some notes"));
    }

    // Every way to the project file ends a search mode first: the found
    // items are out of their genres until then.
    void everySaveInASearchModeKeepsEveryItem_data()
    {
        QTest::addColumn<QString>("path");
        for (const char* path : {"save", "save as", "save and exit", "new", "open", "quit", "close", "registry erase"}) {
            QTest::newRow(path) << QString::fromLatin1(path);
        }
    }

    void everySaveInASearchModeKeepsEveryItem()
    {
        QFETCH(QString, path);
        QTemporaryDir dir;
        const QString file = dir.filePath("links.TSP");
        QVERIFY(QFile::copy(kExample, file));
        Project before;
        QVERIFY(LoadProjectFile(before, file.toStdString()).result == LoadOutcome::Result::Loaded);

        Harness h;
        h.Open(file);
        h.Action("MM_SearchAll")->trigger();
        QVERIFY(h.window->Shown().SearchMode());
        h.window->Shown().Rows().front().Comment = "changed in the search";
        h.window->SetIsEditing(true);

        QString savedAs = file;
        if (path == "save") {
            h.window->MM_SaveFileClick();
        } else if (path == "save as") {
            savedAs = dir.filePath("other.TSP");
            h.files.SetNextFile(savedAs);
            h.window->MM_SaveAsFileClick();
        } else if (path == "save and exit") {
            h.Action("MM_Exit")->trigger();
        } else if (path == "new" || path == "open") {
            h.messages.SetNextAnswer(MessageButton::Yes);
            path == "new" ? h.window->MM_NewFileClick() : h.window->MM_OpenFileClick();
        } else if (path == "quit" || path == "close") {
            h.messages.SetNextAnswer(MessageButton::Yes);
            path == "quit" ? h.Action("MM_Quit")->trigger() : void(h.window->close());
        } else {
            h.messages.SetNextAnswer(MessageButton::Yes); // save first
            h.messages.SetNextAnswer(MessageButton::Abort); // then keep the settings
            h.Action("MM_RegErase")->trigger();
        }

        Project after;
        QVERIFY(LoadProjectFile(after, savedAs.toStdString()).result == LoadOutcome::Result::Loaded);
        QCOMPARE(after.Genres.size(), before.Genres.size());
        bool changeKept = false;
        for (std::size_t genre = 0; genre < before.Genres.size(); ++genre) {
            QCOMPARE(after.Genres[genre].Lines.size(), before.Genres[genre].Lines.size());
            for (const std::string& line : after.Genres[genre].Lines) {
                changeKept = changeKept || line.find("changed in the search") != std::string::npos;
            }
        }
        QVERIFY(changeKept);
    }

    // Another program changed the file since it was read: the save asks,
    // and an unedited window offers to read it again.
    void fileChangedOnDiskIsNotOverwrittenSilently()
    {
        QTemporaryDir dir;
        const QString file = dir.filePath("links.TSP");
        QVERIFY(QFile::copy(kExample, file));
        const auto changeOnDisk = [&file](const QByteArray& added) {
            // Replaced by rename, as editors and sync tools do.
            QFile other(file + ".new");
            QVERIFY(other.open(QIODevice::WriteOnly));
            QFile original(file);
            QVERIFY(original.open(QIODevice::ReadOnly));
            other.write(original.readAll() + added);
            other.close();
            QVERIFY(::rename(QFile::encodeName(file + ".new").constData(), QFile::encodeName(file).constData()) == 0);
        };
        const auto onDisk = [&file] {
            QFile f(file);
            return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
        };

        Harness h;
        h.Open(file);
        changeOnDisk("{parentanchor}=x-other\r\n");
        h.window->CurrentProject().Title = SJ("ここで変えた");
        h.window->SetIsEditing(true);
        h.messages.SetNextAnswer(MessageButton::Cancel);
        h.Action("MM_SaveFile")->trigger();
        QVERIFY(Shown(h.messages.shown.back().text).contains(QStringLiteral("ほかのプログラムによって変更されています")));
        QCOMPARE(h.messages.shown.back().options.captions.size(), std::size_t{2});
        QVERIFY(onDisk().contains("x-other"));
        QVERIFY(h.window->IsEditing());

        h.messages.SetNextAnswer(MessageButton::No); // save under another name
        h.files.SetNextFile(dir.filePath("mine.TSP"));
        h.Action("MM_SaveFile")->trigger();
        QVERIFY(onDisk().contains("x-other"));
        QVERIFY(QFile::exists(dir.filePath("mine.TSP")));
        QVERIFY(!h.window->IsEditing());

        // Reopened and unedited: activation offers to read the new text.
        h.Open(file);
        changeOnDisk("{parentanchor}=y-other\r\n");
        const std::size_t asked = h.messages.shown.size();
        h.messages.SetNextAnswer(MessageButton::No);
        h.window->show();
        QVERIFY(test::MakeActive(h.window.get()));
        QTRY_COMPARE(h.messages.shown.size(), asked + 1);
        QVERIFY(Shown(h.messages.shown.back().text).contains(QStringLiteral("読み込み直しますか")));
        h.window->OfferReloadOfChangedFile();
        QCOMPARE(h.messages.shown.size(), asked + 1); // declined once: not asked again for the same change

        // Accepted, the window shows the file as it is now, and a save asks nothing.
        changeOnDisk("{parentanchor}=z-other\r\n");
        h.messages.SetNextAnswer(MessageButton::Yes);
        h.window->OfferReloadOfChangedFile();
        QCOMPARE(h.messages.shown.size(), asked + 2);
        QCOMPARE(h.window->CurrentProject().ParentAnchor, std::string("z-other"));
        h.window->SetIsEditing(true);
        h.Action("MM_SaveFile")->trigger();
        QCOMPARE(h.messages.shown.size(), asked + 2);
    }

    void pasteFollowsTheFocusInAnEmptyList()
    {
        Harness h;
        h.window->show();
        QVERIFY(test::MakeActive(h.window.get()));
        QApplication::clipboard()->setText(QStringLiteral("some text"));
        QCOMPARE(h.Items()->model()->rowCount(), 0);
        h.Genres()->setFocus();
        QAction* paste = h.Action("MM_Paste");
        QVERIFY(paste != nullptr);
        QVERIFY(!paste->isEnabled());
        h.Items()->setFocus();
        QVERIFY(paste->isEnabled());
        h.Genres()->setFocus();
        QVERIFY(!paste->isEnabled());

        // A menu opened from the keyboard leaves the list's commands as they were.
        h.Open();
        h.Genres()->setCurrentRow(1);
        h.Items()->setFocus();
        h.Items()->setCurrentIndex(h.Items()->model()->index(0, 0));
        QVERIFY(h.Action("MM_Copy")->isEnabled());
        h.window->menuBar()->setFocus();
        QVERIFY(h.Action("MM_Copy")->isEnabled());
        QVERIFY(paste->isEnabled());
    }

    void registryEraseDefaultsToTheSafeButton()
    {
        Harness h;
        h.messages.SetNextAnswer(MessageButton::Abort);
        h.Action("MM_RegErase")->trigger();
        QCOMPARE(h.messages.shown.back().options.defaultButton, MessageButton::Abort);
    }

    // Stored sizes are screen pixels: under a scale factor the window takes
    // the same part of the screen, and nothing opens beyond it.
    void windowsStayOnTheScreen()
    {
        const QRect available = QApplication::primaryScreen()->availableGeometry();
        const qreal ratio = QApplication::primaryScreen()->devicePixelRatio();
        const char* key = "\\Software\\Brindlewood\\Tessaly\\MainWindow";
        {
            Harness h;
            h.settings.WriteInteger(key, "Left", 0);
            h.settings.WriteInteger(key, "Top", 0);
            h.settings.WriteInteger(key, "Width", 600);
            h.settings.WriteInteger(key, "Height", 400);
            TForm_Main window(MainServices{h.messages, h.files, h.settings, h.clock, h.shell, h.association, {}}, {});
            QCOMPARE(window.width(), qRound(600 / ratio));
            window.show();
            window.close();
            QCOMPARE(h.settings.ReadInteger(key, "Width").value(), 600);
        }
        Harness h;
        h.settings.WriteInteger(key, "Left", -300);
        h.settings.WriteInteger(key, "Top", 5000);
        h.settings.WriteInteger(key, "Width", 9000);
        h.settings.WriteInteger(key, "Height", 9000);
        TForm_Main window(MainServices{h.messages, h.files, h.settings, h.clock, h.shell, h.association, {}}, {});
        window.show();
        QVERIFY(available.contains(window.frameGeometry()));

        OnNextDialog<TForm_LinkItem>([&available](TForm_LinkItem* dialog) {
            QVERIFY(available.contains(dialog->frameGeometry()));
            dialog->reject();
        });
        window.TB_ItemNewClick();
    }

    void closingAsksAndSavesTheSettings()
    {
        Harness h;
        h.window->show();
        h.window->resize(700, 500);
        h.window->SetIsEditing(true);
        h.messages.SetNextAnswer(MessageButton::Cancel);
        QVERIFY(!h.window->close());
        QCOMPARE(Shown(h.messages.shown.back().text),
            QStringLiteral("(無題) は変更されています.\r\n終了の前に保存しますか？"));
        h.messages.SetNextAnswer(MessageButton::No);
        QVERIFY(h.window->close());
        QCOMPARE(h.settings.ReadInteger("\\Software\\Brindlewood\\Tessaly\\MainWindow", "Width").value(), 700);

        // A new window starts with the stored size.
        TForm_Main again(MainServices{h.messages, h.files, h.settings, h.clock, h.shell, h.association, {}}, {});
        QCOMPARE(again.width(), 700);
    }
};

QTEST_MAIN(MainWindowTests)
#include "MainWindowTests.moc"
