#include <QCheckBox>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QRadioButton>

#include "MainWindowHarness.h"
#include "core/collection/LinkItem.h"
#include "core/collection/Project.h"
#include "gui/tools/dlgCSVQuery.h"
#include "gui/tools/dlgReplaceDomain.h"
#include "support/TempDir.h"
#include "core/tools/CsvExport.h"

using namespace tessaly;
using test::Click;
using test::Harness;
using test::OnNextDialog;
using test::Shown;
namespace fs = std::filesystem;

namespace {

// An RKM file: a genre and an attribute defined, one good link, one link
// whose reading is katakana (repaired) and one without a title (refused).
std::string RkmFile()
{
    return SJ("<!-- start category -->\r\n"
              "\t1a=新しい棚\r\n"
              "\t@b=輸入\r\n"
              "<!-- end -->\r\n"
              "<!-- start link -->\r\n"
              "\ttitle=よそのサイト\r\n"
              "\ttitle_kana=よそのさいと\r\n"
              "\tauthor_kana=よそ\r\n"
              "\tpage=http://elsewhere.example.jp/\r\n"
              "\tcategory=/1a/@b/\r\n"
              "\tupdate=2003/5/1\r\n"
              "<!-- end -->\r\n"
              "<!-- start link -->\r\n"
              "\ttitle=カタカナの読み\r\n"
              "\ttitle_kana=カタカナ\r\n"
              "\tauthor_kana=かな\r\n"
              "\tpage=kana.example.jp/\r\n"
              "<!-- end -->\r\n"
              "<!-- start link -->\r\n"
              "\ttitle_kana=だいなし\r\n"
              "\tpage=untitled.example.jp/\r\n"
              "<!-- end -->\r\n");
}

std::vector<std::string> AllLines(const Project& project)
{
    std::vector<std::string> lines;
    for (const auto& genre : project.Genres) {
        lines.insert(lines.end(), genre.Lines.begin(), genre.Lines.end());
    }
    return lines;
}

} // namespace

class ExchangeToolsTests : public QObject {
    Q_OBJECT

private slots:
    // Every listed item goes out, in the list's order, in the chosen comment
    // form; with nothing selected nothing happens.
    void csvExport()
    {
        test::TempDir dir;
        Harness h;
        h.Open();
        h.Genres()->setCurrentRow(1);
        const qsizetype dialogs = h.files.titles.size();
        h.Action("MM_ExportCSV")->trigger();
        QCOMPARE(h.files.titles.size(), dialogs);

        h.Items()->selectionModel()->select(
            h.Items()->model()->index(2, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
        const QString target = QString::fromStdString((dir / "out.csv").string());
        h.files.SetNextFile(target);
        OnNextDialog<TForm_CSVQuery>([](TForm_CSVQuery* query) {
            query->findChild<QRadioButton*>("Radio_C")->setChecked(true);
            Click(query, "Button1");
        });
        h.Action("MM_ExportCSV")->trigger();
        QCOMPARE(h.files.titles.back(), QStringLiteral("CSV ファイルのエクスポート"));
        QCOMPARE(test::ReadFile(dir / "out.csv"), CsvText(h.window->Shown().Rows(), CsvCommentMode::Literal));

        // A place that cannot take the file: the error, nothing written.
        h.files.SetNextFile(QString::fromStdString((dir / "missing/out.csv").string()));
        h.messages.SetNextAnswer(MessageButton::Ok);
        OnNextDialog<TForm_CSVQuery>([](TForm_CSVQuery* query) { Click(query, "Button1"); });
        h.Action("MM_ExportCSV")->trigger();
        QCOMPARE(h.messages.shown.back().kind, MessageKind::Error);
        QVERIFY(!fs::exists(dir / "missing"));
    }

    // The links come in as new items with new serials, the file's genre and
    // attribute are created, and the link that cannot be kept is named.
    void rkmImportFromTheMenu()
    {
        test::TempDir dir;
        test::WriteFile(dir / "links.TSM", RkmFile());
        Harness h;
        h.Open();
        const std::vector<std::string> before = AllLines(h.window->CurrentProject());
        const int32_t serial = h.window->CurrentProject().SerialMax;
        h.Genres()->setCurrentRow(3);
        h.files.SetNextFile(QString::fromStdString((dir / "links.TSM").string()));
        h.messages.SetNextAnswer(MessageButton::Ok);
        h.Action("MM_InportRKM")->trigger();

        const Project& project = h.window->CurrentProject();
        QCOMPARE(h.Genres()->count(), 9);
        QCOMPARE(h.Genres()->item(7)->text(), QStringLiteral("新しい棚"));
        QCOMPARE(h.Genres()->currentRow(), 0);
        QCOMPARE(project.Genres[7].Lines.size(), std::size_t{1});
        const TLinkItem filed = LineToItem(project.Genres[7].Lines.front());
        QCOMPARE(Shown(filed.Attributes), QStringLiteral("輸入"));
        QCOMPARE(filed.Url, std::string("elsewhere.example.jp/"));
        QCOMPARE(filed.Serial, serial + 1);
        const TLinkItem repaired = LineToItem(project.Genres[0].Lines.back());
        QCOMPARE(Shown(repaired.TitleKana), QStringLiteral("かたかな"));
        QCOMPARE(AllLines(project).size(), before.size() + 2);
        QVERIFY(h.window->IsEditing());
        QCOMPARE(h.messages.shown.size(), std::size_t{1});
        QVERIFY(Shown(h.messages.shown.back().text)
                    .startsWith(QStringLiteral("2 件のリンクを取り込みました (新しいジャンル 1 件, アトリビュート 1 件, "
                                               "コンテンツ 0 件).\r\n1 件のリンクは取り込みませんでした.")));
        QVERIFY(Shown(h.messages.shown.back().text).contains(QStringLiteral("(無題) : ")));

        // A file that is not there: its message, nothing changed.
        h.files.SetNextFile(QString::fromStdString((dir / "gone.TSM").string()));
        h.messages.SetNextAnswer(MessageButton::Abort);
        h.Action("MM_InportRKM")->trigger();
        QVERIFY(Shown(h.messages.shown.back().text).endsWith(QStringLiteral("が見付かりません.")));
        QCOMPARE(AllLines(project).size(), before.size() + 2);
    }

    // A ".TSM" file given on the command line is imported into the new
    // collection; a second file of either kind opens another window.
    void rkmFileOnTheCommandLine()
    {
        test::TempDir dir;
        test::WriteFile(dir / "first.tsm", RkmFile());
        StartOptions options;
        options.passedFiles = {QString::fromStdString((dir / "first.tsm").string()), test::kExample};
        Harness h(options);
        h.messages.SetNextAnswer(MessageButton::Ok);
        h.window->OpenPassedFiles();
        QVERIFY(h.Genres()->findItems(QStringLiteral("新しい棚"), Qt::MatchExactly).size() == 1);
        QCOMPARE(h.started, QStringList{"-T " + test::kExample});
    }

    // Domain replace in the dialog: its checks, the replacement in page and
    // banner addresses outside the trash, the result message.
    void domainReplace()
    {
        Harness h;
        h.Open();
        const std::size_t trash = h.window->CurrentProject().TrashIndex();
        const std::vector<std::string> trashLines = h.window->CurrentProject().Genres[trash].Lines;
        h.messages.SetNextAnswer(MessageButton::Retry); // nothing to find
        h.messages.SetNextAnswer(MessageButton::Ok); // the result
        OnNextDialog<TForm_ReplaceDomain>([](TForm_ReplaceDomain* dialog) {
            auto* registered = dialog->findChild<QListWidget*>("Lists");
            QVERIFY(registered->count() > 0);
            Click(dialog, "Button1");
            QCOMPARE(dialog->focusWidget(), static_cast<QWidget*>(dialog->findChild<QLineEdit*>("FindDomain")));
            dialog->findChild<QLineEdit*>("FindDomain")->setText(QStringLiteral("EXAMPLE.JP"));
            dialog->findChild<QLineEdit*>("ReplaceDomain")->setText(QStringLiteral("example.net"));
            Click(dialog, "Button1");
            Click(dialog, "Button2");
        });
        h.Action("MM_DomainTool")->trigger();
        QCOMPARE(Shown(h.messages.shown[0].text), QStringLiteral("検索ドメインが指定されていません."));
        QVERIFY(Shown(h.messages.shown[1].text).startsWith(QStringLiteral("終了しました.\r\n")));
        QVERIFY(Shown(h.messages.shown[1].text).endsWith(QStringLiteral(" 件のドメインを置き換えしました.")));
        const Project& project = h.window->CurrentProject();
        for (std::size_t genre = 0; genre < trash; ++genre) {
            for (const std::string& line : project.Genres[genre].Lines) {
                QVERIFY(LineToItem(line).Url.find("example.jp/") == std::string::npos);
            }
        }
        QCOMPARE(project.Genres[trash].Lines, trashLines);
        QVERIFY(h.window->IsEditing());
    }

    // The tidy asks first; a second run finds nothing to do.
    void tagTidyTwice()
    {
        Harness h;
        h.Open();
        Project& project = h.window->CurrentProject();
        TLinkItem item = LineToItem(project.Genres[1].Lines.front());
        item.Attributes = project.Attributes.back() + "/" + project.Attributes.front();
        project.Genres[1].Lines.front() = ItemToLine(item);
        h.window->ShowCollectionAgain(2);
        h.messages.SetNextAnswer(MessageButton::No);
        h.Action("MM_AttrContentTool")->trigger();
        QCOMPARE(LineToItem(project.Genres[1].Lines.front()).Attributes, item.Attributes);
        for (int run = 0; run < 2; ++run) {
            h.messages.SetNextAnswer(MessageButton::Yes);
            h.messages.SetNextAnswer(MessageButton::Ok);
            h.Action("MM_AttrContentTool")->trigger();
        }
        QCOMPARE(LineToItem(project.Genres[1].Lines.front()).Attributes,
            project.Attributes.front() + "/" + project.Attributes.back());
        QVERIFY(Shown(h.messages.shown[2].text).endsWith(QStringLiteral(" 件の項目を整理しました.")));
        QCOMPARE(Shown(h.messages.shown[4].text), QStringLiteral("終了しました.\r\n整理を要した項目はありませんでした."));
    }

    // Every tool is reachable from the menu bar, under its menu.
    void menusHoldEveryTool()
    {
        Harness h;
        const auto namesUnder = [&h](const QString& title) {
            QStringList names;
            for (QAction* top : h.window->menuBar()->actions()) {
                if (top->text() == title) {
                    for (QAction* action : top->menu()->actions()) {
                        names << action->objectName();
                        if (action->menu() != nullptr) {
                            for (QAction* inner : action->menu()->actions()) {
                                names << inner->objectName();
                            }
                        }
                    }
                }
            }
            return names;
        };
        const QStringList tools = namesUnder(QStringLiteral("ツール(&T)"));
        for (const char* name : {"MM_NewAttribute", "MM_DomainTool", "MM_AttrContentTool", "MM_LinkCheck",
                 "MM_DizOutput", "MM_OssSupport", "MM_OpenRoot"}) {
            QVERIFY2(tools.contains(QString::fromLatin1(name)), name);
        }
        const QStringList file = namesUnder(QStringLiteral("ファイル(&F)"));
        QVERIFY(file.contains(QStringLiteral("MM_InportRKM")));
        QVERIFY(file.contains(QStringLiteral("MM_ExportCSV")));
    }

    void searchModeDisablesTheRewrites()
    {
        Harness h;
        h.Open();
        h.Action("MM_SearchAll")->trigger();
        for (const char* name : {"MM_InportRKM", "MM_DomainTool", "MM_AttrContentTool"}) {
            QVERIFY2(!h.Action(name)->isEnabled(), name);
        }
        QVERIFY(!h.window->findChild<QMenu*>("MM_Inport")->isEnabled());
        QVERIFY(h.Action("MM_ExportCSV")->isEnabled());
    }
};

QTEST_MAIN(ExchangeToolsTests)
#include "ExchangeToolsTests.moc"
