#include <QAction>
#include <QListWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include "MainWindowHarness.h"
#include "gui/readings/dlgReadingReview.h"
#include "support/FakeReadings.h"
#include "support/TempDir.h"

using namespace tessaly;

namespace {

const QString kChromium = QStringLiteral(TESSALY_TEST_DATA_DIR "/bookmarks/chromium.html");

QStringList GenreNames(test::Harness& h)
{
    QStringList names;
    for (int i = 0; i < h.Genres()->count(); ++i) {
        names.append(h.Genres()->item(i)->text());
    }
    return names;
}

QString LastMessage(test::Harness& h)
{
    return QString::fromStdString(SjisToUtf8Lossy(h.messages.shown.back().text));
}

} // namespace

// The File menu's browser bookmarks and the Search menu's duplicate links.
class BookmarkMenuTests : public QObject {
    Q_OBJECT

private slots:
    void importsIntoGenresAndReports()
    {
        test::Harness h;
        const test::FakeReadings readings;
        const test::TempDir dir;
        h.window->Services().readings = &readings;
        h.window->Services().readingsDictionary = dir / "readings.txt";
        h.Open();
        const QStringList before = GenreNames(h);
        h.files.SetNextFile(kChromium);
        // The links whose readings the fake could read only in part come up
        // for checking; a correction made there is stored and learned.
        h.messages.SetNextAnswer(MessageButton::No); // Escape after a correction: keep it
        test::OnNextDialog<TForm_ReadingReview>([](TForm_ReadingReview* review) {
            auto* table = review->findChild<QTableWidget*>(QStringLiteral("Table_Readings"));
            QCOMPARE(table->rowCount(), 2);
            QCOMPARE(table->item(0, 1)->text(), QStringLiteral("手作りパンの店"));
            QCOMPARE(table->item(0, 2)->text(), QStringLiteral("りぱんの"));
            table->item(0, 2)->setText(QStringLiteral("てづくりぱんのみせ"));
            // Without an author, his reading follows at once.
            QCOMPARE(table->item(0, 4)->text(), QStringLiteral("てづくりぱんのみせ"));
            review->reject();
            QVERIFY(review->isVisible());
            table->item(1, 2)->setText(QStringLiteral("ワガシ")); // not hiragana: refused, the list stays
            test::Click(review, "Button1");
            QVERIFY(review->isVisible());
            table->item(1, 2)->setText(QStringLiteral("わがしのつくりかた"));
            test::Click(review, "Button1");
        });
        h.Action("MM_InportBookmarks")->trigger();
        QVERIFY(h.window->IsEditing());
        QVERIFY(test::ReadFile(dir / "readings.txt").ends_with("手作りパンの店\tてづくりぱんのみせ\n"
                                                               "和菓子の作り方\tわがしのつくりかた\n"));
        bool stored = false;
        for (const Genre& genre : h.window->CurrentProject().Genres) {
            for (const std::string& line : genre.Lines) {
                // Without an author, his reading follows the title's.
                const TLinkItem item = LineToItem(line);
                stored = stored || (item.TitleKana == SJ("てづくりぱんのみせ") && item.AuthorKana == item.TitleKana);
            }
        }
        QVERIFY(stored);
        const QStringList after = GenreNames(h);
        QCOMPARE(after.size(), before.size() + 3);
        QVERIFY(after.contains(QStringLiteral("料理")) && after.contains(QStringLiteral("和菓子")));
        // The report, the question on Escape, then the review's word on the
        // reading in katakana.
        QCOMPARE(h.messages.shown.size(), 3u);
        QCOMPARE(h.messages.shown[0].kind, MessageKind::Information);
        QVERIFY(QString::fromStdString(SjisToUtf8Lossy(h.messages.shown[0].text))
                    .startsWith(QStringLiteral("3 件のリンクを取り込みました (新しいジャンル 3 件).")));

        // The same file again: every page is known, nothing is added.
        h.files.SetNextFile(kChromium);
        h.Action("MM_InportBookmarks")->trigger();
        QCOMPARE(GenreNames(h), after);
        QVERIFY(LastMessage(h).contains(QStringLiteral("登録済みのリンク 3 件は取り込みませんでした.")));
    }

    void withoutReadingsNothingIsImported()
    {
        test::Harness h;
        h.Open();
        const QStringList before = GenreNames(h);
        h.files.SetNextFile(kChromium);
        h.Action("MM_InportBookmarks")->trigger();
        QCOMPARE(h.messages.shown.back().kind, MessageKind::Error);
        QCOMPARE(GenreNames(h), before);
        QVERIFY(!h.window->IsEditing());
    }

    void refusesAFileThatHoldsNoBookmarks()
    {
        test::Harness h;
        const test::FakeReadings readings;
        h.window->Services().readings = &readings;
        h.Open();
        h.files.SetNextFile(test::kExample);
        h.Action("MM_InportBookmarks")->trigger();
        QCOMPARE(h.messages.shown.back().kind, MessageKind::Error);
        QVERIFY(LastMessage(h).endsWith(QStringLiteral("ブラウザのブックマークファイルではありません.")));
        QVERIFY(!h.window->IsEditing());
    }

    void exportsEveryGenre()
    {
        test::Harness h;
        h.Open();
        const test::TempDir dir;
        const QString file = QString::fromStdString((dir / "links.html").string());
        h.files.SetNextFile(file);
        h.Action("MM_ExportBookmarks")->trigger();
        const std::string html = test::ReadFile(file.toStdString());
        QVERIFY(html.starts_with("<!DOCTYPE NETSCAPE-Bookmark-file-1>\n"));
        QVERIFY(html.find("<DT><H3>素材・リンク集</H3>") != std::string::npos);
        QVERIFY(h.messages.shown.empty());
    }

    void duplicateSearchShowsCopiesTogether()
    {
        test::Harness h;
        h.Open();
        h.Action("MM_SearchDuplicate")->trigger();
        QCOMPARE(h.messages.shown.back().kind, MessageKind::Information);
        QCOMPARE(h.Items()->model()->rowCount(), 3); // still the first genre

        // A copy of a link of one genre in another, under another address
        // form of the same page.
        Project& project = h.window->CurrentProject();
        // Titled so that the list's order would put them apart.
        TLinkItem copy;
        for (const std::size_t original : {std::size_t{0}, std::size_t{1}}) {
            copy = LineToItem(project.Genres[1].Lines[original]);
            copy.Url = "https://WWW." + copy.Url + "index.html";
            copy.Title = SJ("ん") + copy.Title;
            copy.TitleKana = SJ("ん") + copy.TitleKana;
            copy.Serial = project.NextSerial().value();
            copy.GenreName = project.Genres[2].Name;
            project.Genres[2].Lines.push_back(ItemToLine(copy));
        }
        h.Action("MM_SearchDuplicate")->trigger();
        QCOMPARE(h.Items()->model()->rowCount(), 4);
        for (const int pair : {0, 2}) {
            QCOMPARE(h.window->Shown().Rows()[static_cast<std::size_t>(pair) + 1].Title,
                SJ("ん") + h.window->Shown().Rows()[static_cast<std::size_t>(pair)].Title);
        }
        QVERIFY(h.Action("MM_SearchExit")->isEnabled());
        h.Action("MM_SearchExit")->trigger();
        QCOMPARE(project.Genres[2].Lines.back(), ItemToLine(copy));
    }
};

QTEST_MAIN(BookmarkMenuTests)
#include "BookmarkMenuTests.moc"
