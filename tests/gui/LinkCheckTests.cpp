// The Tools menu's link check against a loopback server: the scopes, the
// live table, stopping, the warning marks, the new addresses and the report.

#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QRadioButton>
#include <QSortFilterProxyModel>

#include "gui/linkcheck/LinkResultModel.h"
#include "MainWindowHarness.h"
#include "core/collection/Project.h"
#include "gui/linkcheck/dlgLinkCheck.h"
#include "support/LoopbackHttpServer.h"
#include "support/TempDir.h"

using namespace tessaly;
using test::Click;
using test::Harness;
using test::OnNextDialog;

namespace {

std::string ItemLine(int serial, const std::string& title, const std::string& url, const std::string& banner = {})
{
    return std::to_string(serial) + "/Sites/0/" + title + "/\x82\xA0/Ann/\x82\xA0//" + url + "/" + banner
        + "/200/40///2003&sl;05&sl;16/";
}

// A project of one genre whose links point at the server: one alive, one
// moved, one dead, one whose server fails, and a mail address.
QString WriteProject(const test::TempDir& directory, uint16_t port)
{
    const std::string host = "127.0.0.1:" + std::to_string(port) + "&sl;";
    std::string text = "{title}=Links\r\n{serialmax}=5\r\n{genre}=Sites/\r\n";
    for (const std::string& line :
        {ItemLine(1, "Alive", host + "ok"), ItemLine(2, "Moved", host + "old"), ItemLine(3, "Dead", host + "gone"),
            ItemLine(4, "Broken", host + "error"), ItemLine(5, "Mail", "mailto:a@b.jp")}) {
        text += "{linkitem}=" + line + "\r\n";
    }
    test::WriteFile(directory / "links.TSP", text);
    return QString::fromStdString((directory / "links.TSP").string());
}

const TLinkItem& RowTitled(Harness& h, const std::string& title)
{
    const auto& rows = h.window->Shown().Rows();
    return *std::find_if(rows.begin(), rows.end(), [&](const TLinkItem& row) { return row.Title == title; });
}

// Selects the table's rows whose title is one of titles.
void ChooseResults(TForm_LinkCheck* dialog, const QStringList& titles)
{
    auto* table = dialog->findChild<QTreeView*>("ListView_Result");
    table->clearSelection();
    for (int row = 0; row < table->model()->rowCount(); ++row) {
        const QModelIndex index = table->model()->index(row, LinkResultModel::TitleColumn);
        if (titles.contains(index.data().toString())) {
            table->selectionModel()->select(index, QItemSelectionModel::Select | QItemSelectionModel::Rows);
        }
    }
}

} // namespace

class LinkCheckTests : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        for (const char* name : {"http_proxy", "https_proxy", "all_proxy"}) {
            qunsetenv(name);
        }
        server_.Answer("/ok", {});
        server_.Answer("/new", {});
        server_.Answer("/old", {301, "/new"});
        server_.Answer("/error", {500, {}});
        server_.Answer("/slow", {200, {}, false, true});
    }

    void checkMarkUpdateAndReport()
    {
        test::TempDir directory;
        Harness h;
        h.Open(WriteProject(directory, server_.Port()));
        h.Genres()->setCurrentRow(1);
        const_cast<TLinkItem&>(RowTitled(h, "Broken")).Status = 1; // a favourite keeps its mark
        const QString report = QString::fromStdString((directory / "report.csv").string());
        bool shown = false;
        OnNextDialog<TForm_LinkCheck>([&](TForm_LinkCheck* dialog) {
            shown = true;
            // Nothing chosen in the item list: the shown genre.
            QVERIFY(!dialog->findChild<QRadioButton*>("Radio_Selected")->isEnabled());
            QVERIFY(dialog->findChild<QRadioButton*>("Radio_Shown")->isChecked());
            QVERIFY(!dialog->findChild<QPushButton*>("BtnReport")->isEnabled());
            Click(dialog, "BtnStart");
            QTRY_VERIFY_WITH_TIMEOUT(!dialog->Running(), 60000);
            LinkResultModel& results = dialog->Results();
            QCOMPARE(results.rowCount(), 4);
            QCOMPARE(dialog->findChild<QProgressBar*>("ProgressBar")->value(), 4);
            QVERIFY(
                dialog->findChild<QLabel*>("Label_Status")->text().contains(QStringLiteral("チェックが終わりました")));

            // Sorted by the code column, the 500 comes last.
            auto* table = dialog->findChild<QTreeView*>("ListView_Result");
            table->header()->setSortIndicator(LinkResultModel::CodeColumn, Qt::AscendingOrder);
            QCOMPARE(table->model()->index(3, LinkResultModel::CodeColumn).data().toInt(), 500);
            QCOMPARE(table->model()->index(3, LinkResultModel::ResultColumn).data().toString(),
                QStringLiteral("サーバーエラー"));

            // The alive link takes no mark, the moved one no mark either.
            ChooseResults(dialog, {QStringLiteral("Alive"), QStringLiteral("Moved")});
            QVERIFY(!dialog->findChild<QPushButton*>("BtnMark")->isEnabled());
            QVERIFY(dialog->findChild<QPushButton*>("BtnUpdate")->isEnabled());
            ChooseResults(dialog, {QStringLiteral("Dead"), QStringLiteral("Broken"), QStringLiteral("Alive")});
            QVERIFY(dialog->findChild<QPushButton*>("BtnMark")->isEnabled());
            QVERIFY(!dialog->findChild<QPushButton*>("BtnUpdate")->isEnabled());
            Click(dialog, "BtnMark");
            // Named first, then marked.
            const QString question = test::Shown(h.messages.shown[h.messages.shown.size() - 2].text);
            QVERIFY(question.startsWith(QStringLiteral("2 個のアイテムに警告マークを付けます:")));
            QVERIFY(question.contains(QStringLiteral("・Dead")) && question.contains(QStringLiteral("・Broken")));
            QCOMPARE(h.messages.shown.back().kind, MessageKind::Information);
            QVERIFY(h.messages.shown.back().text.starts_with("1 "));
            QVERIFY(test::Shown(h.messages.shown.back().text).endsWith(QStringLiteral("・Broken (お気に入り)")));

            ChooseResults(dialog, {QStringLiteral("Moved")});
            Click(dialog, "BtnUpdate");
            QVERIFY(h.messages.shown.back().text.starts_with("1 "));
            QVERIFY(!dialog->findChild<QPushButton*>("BtnUpdate")->isEnabled());
            // The table and a new run follow the item's new address.
            const auto movedRow = [&results] {
                for (int row = 0; row < results.rowCount(); ++row) {
                    if (results.index(row, LinkResultModel::TitleColumn).data().toString() == "Moved") {
                        return row;
                    }
                }
                return -1;
            };
            QVERIFY(results.index(movedRow(), LinkResultModel::UrlColumn).data().toString().endsWith("/new"));
            Click(dialog, "BtnStart");
            QTRY_VERIFY_WITH_TIMEOUT(!dialog->Running(), 60000);
            QVERIFY(results.index(movedRow(), LinkResultModel::UrlColumn).data().toString().endsWith("/new"));
            QCOMPARE(results.index(movedRow(), LinkResultModel::CodeColumn).data().toInt(), 200);

            h.files.SetNextFile(report);
            Click(dialog, "BtnReport");
        });
        h.Action("MM_LinkCheck")->trigger();
        QVERIFY(shown);
        const std::string host = "127.0.0.1:" + std::to_string(server_.Port()) + "/";
        QCOMPARE(RowTitled(h, "Dead").Status, 2);
        QCOMPARE(RowTitled(h, "Broken").Status, 1);
        QCOMPARE(RowTitled(h, "Alive").Status, 0);
        QCOMPARE(RowTitled(h, "Moved").Status, 0);
        QCOMPARE(RowTitled(h, "Moved").Url, host + "new");
        QVERIFY(h.window->IsEditing());
        const std::string written = test::ReadFile(directory / "report.csv");
        QCOMPARE(std::count(written.begin(), written.end(), '\n'), 5);
        QVERIFY(written.find("http://" + host + "gone") != std::string::npos);
    }

    void theChosenItemsAndTheCollection()
    {
        test::TempDir directory;
        Harness h;
        h.Open(WriteProject(directory, server_.Port()));
        h.Genres()->setCurrentRow(1);
        const QModelIndex first = h.Items()->model()->index(0, 0);
        h.Items()->selectionModel()->select(first, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        OnNextDialog<TForm_LinkCheck>([&](TForm_LinkCheck* dialog) {
            auto* selected = dialog->findChild<QRadioButton*>("Radio_Selected");
            QVERIFY(selected->isChecked());
            QVERIFY(selected->text().contains(QStringLiteral("(1 件)")));
            QVERIFY(dialog->findChild<QRadioButton*>("Radio_Collection")->text().contains(QStringLiteral("(5 件)")));
            Click(dialog, "BtnStart");
            QTRY_VERIFY_WITH_TIMEOUT(!dialog->Running(), 60000);
            QCOMPARE(dialog->Results().rowCount(), 1);
            dialog->findChild<QRadioButton*>("Radio_Collection")->setChecked(true);
            Click(dialog, "BtnStart");
            QTRY_VERIFY_WITH_TIMEOUT(!dialog->Running(), 60000);
            QCOMPARE(dialog->Results().rowCount(), 4);
        });
        h.Action("MM_LinkCheck")->trigger();
        QVERIFY(!h.window->IsEditing());
    }

    // Stop ends a run whose server never answers, and the window is usable
    // while the check runs.
    void stopEndsTheRun()
    {
        test::TempDir directory;
        const std::string slow = "127.0.0.1:" + std::to_string(server_.Port()) + "&sl;slow";
        std::string text = "{title}=Slow\r\n{serialmax}=20\r\n{genre}=Sites/\r\n";
        for (int i = 1; i <= 20; ++i) {
            text += "{linkitem}=" + ItemLine(i, "S" + std::to_string(i), slow) + "\r\n";
        }
        test::WriteFile(directory / "slow.TSP", text);
        Harness h;
        h.Open(QString::fromStdString((directory / "slow.TSP").string()));
        h.Genres()->setCurrentRow(1);
        OnNextDialog<TForm_LinkCheck>([&](TForm_LinkCheck* dialog) {
            // Counted before the start: the first requests may arrive before
            // this thread reads the count again.
            const std::size_t before = server_.Requests().size();
            Click(dialog, "BtnStart");
            QVERIFY(dialog->Running());
            QVERIFY(!dialog->findChild<QPushButton*>("BtnStart")->isEnabled());
            QVERIFY(!dialog->findChild<QRadioButton*>("Radio_Collection")->isEnabled());
            server_.WaitForRequests(before + 4);
            Click(dialog, "BtnStop");
            QTRY_VERIFY_WITH_TIMEOUT(!dialog->Running(), 60000);
            QCOMPARE(dialog->Results().rowCount(), 0);
            QVERIFY(dialog->findChild<QLabel*>("Label_Status")->text().contains(QStringLiteral("中止しました")));
            QVERIFY(dialog->findChild<QPushButton*>("BtnStart")->isEnabled());
            // Closing while a run goes on stops it too.
            Click(dialog, "BtnStart");
            QVERIFY(dialog->Running());
        });
        h.Action("MM_LinkCheck")->trigger();
    }

private:
    test::LoopbackHttpServer server_;
};

QTEST_MAIN(LinkCheckTests)
#include "LinkCheckTests.moc"
