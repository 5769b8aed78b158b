#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QMimeData>
#include <QSpinBox>

#include <algorithm>

#include "gui/items/GridLineDelegate.h"
#include "gui/clipboard/ItemClipboardCommands.h"
#include "MainWindowHarness.h"
#include "gui/items/RegisteredDateList.h"
#include "core/collection/Project.h"
#include "gui/items/dlgDateSelect.h"
#include "gui/items/dlgNewAttribute.h"
#include "gui/search/dlgSearchDomain.h"
#include "gui/search/dlgSearchProject.h"
#include "gui/search/dlgSearchString.h"
#include "gui/tools/dlgReplaceDomain.h"
#include "gui/items/frmDateTimePicker.h"
#include "support/ActiveWindow.h"

using namespace tessaly;
using test::Harness;
using test::Click;
using test::OnNextDialog;
using test::kExample;
using test::Shown;

namespace {

void Choose(Harness& h, std::initializer_list<int> rows)
{
    QItemSelection selection;
    for (const int row : rows) {
        const QModelIndex index = h.Items()->model()->index(row, 0);
        selection.select(index, index);
    }
    h.Items()->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

// Every item line of the collection, shown rows included, sorted.
std::vector<std::string> AllLines(Harness& h)
{
    h.window->Shown().FlushGenre();
    std::vector<std::string> lines;
    for (const Genre& genre : h.window->CurrentProject().Genres) {
        lines.insert(lines.end(), genre.Lines.begin(), genre.Lines.end());
    }
    for (const TLinkItem& row : h.window->Shown().SearchMode() ? h.window->Shown().Rows() : std::vector<TLinkItem>{}) {
        lines.push_back(ItemToLine(row));
    }
    std::sort(lines.begin(), lines.end());
    return lines;
}

} // namespace

class ItemCommandsTests : public QObject {
    Q_OBJECT

private slots:
    // The clipboard carries the exact bytes between two windows of the
    // program, and Unicode text for everyone else.
    void copyAndPasteBetweenWindowsKeepTheBytes()
    {
        Harness from;
        from.Open();
        from.Genres()->setCurrentRow(1);
        from.window->Shown().Rows()[0].Title = "\x87\x9A"; // the second byte form of "∵"
        Choose(from, {0, 1});
        from.window->ClipboardCommands().MM_CopyClick();
        const QMimeData* data = QApplication::clipboard()->mimeData();
        QVERIFY(data->text().startsWith(QStringLiteral("1/")) || data->text().contains(QStringLiteral("∵")));
        QVERIFY(data->hasFormat(QString::fromLatin1(kItemLinesMimeType)));

        Harness to;
        to.Open();
        to.Genres()->setCurrentRow(2);
        const int before = to.Items()->model()->rowCount();
        const int32_t serialMax = to.window->CurrentProject().SerialMax;
        to.window->ClipboardCommands().MM_PasteClick();
        QCOMPARE(to.Items()->model()->rowCount(), before + 2);
        const auto& rows = to.window->Shown().Rows();
        const auto pasted = std::find_if(rows.begin(), rows.end(), [](const TLinkItem& row) { return row.Title == "\x87\x9A"; });
        QVERIFY(pasted != rows.end());
        QCOMPARE(pasted->Serial, serialMax + 1); // numbered anew
        QCOMPARE(pasted->GenreName, to.window->CurrentProject().Genres[2].Name);
        QVERIFY(to.window->IsEditing());
        QCOMPARE(to.window->SelectedRows().size(), std::size_t{2});

        // Text from another program: the line code page 932 cannot hold is skipped.
        const QString good = Shown(ItemToLine(rows.front()));
        QApplication::clipboard()->setText(good + QStringLiteral("\n") + good + QStringLiteral("😀\nnot an item\n"));
        to.window->ClipboardCommands().MM_PasteClick();
        QCOMPARE(to.Items()->model()->rowCount(), before + 3);
    }

    void cutAndPasteMoveWithNewSerials()
    {
        Harness h;
        h.Open();
        h.Genres()->setCurrentRow(1);
        const int rows = h.Items()->model()->rowCount();
        const TLinkItem first = h.window->Shown().Rows()[0];
        Choose(h, {0});
        h.window->ClipboardCommands().MM_CutClick();
        QCOMPARE(h.Items()->model()->rowCount(), rows - 1);
        h.Genres()->setCurrentRow(2);
        h.window->ClipboardCommands().MM_PasteClick();
        const TLinkItem& moved = h.window->Shown().Rows().back();
        QCOMPARE(moved.Title, first.Title);
        QVERIFY(moved.Serial != first.Serial);
    }

    void deletedItemsWaitInTheTrashWithTheirGenre()
    {
        Harness h;
        h.Open();
        h.Genres()->setCurrentRow(1);
        const std::string genre = h.window->CurrentProject().Genres[1].Name;
        Choose(h, {0, 2});
        h.window->ClipboardCommands().TB_ItemEraseClick();
        QVERIFY(h.window->IsEditing());
        h.Genres()->setCurrentRow(h.Genres()->count() - 1);
        QCOMPARE(h.Items()->model()->rowCount(), 2);
        for (const TLinkItem& row : h.window->Shown().Rows()) {
            QCOMPARE(row.GenreName, genre);
        }
        QVERIFY(!h.window->findChild<QWidget*>("Memo_Warning")->isHidden());
    }

    void statusMarksOnThreeItems()
    {
        Harness h;
        h.Open();
        h.Genres()->setCurrentRow(1);
        Choose(h, {0, 1, 2});
        h.window->findChild<QAction*>("PU_ImportantHigh")->trigger();
        for (int row = 0; row < 3; ++row) {
            QCOMPARE(h.window->Shown().Rows()[static_cast<std::size_t>(row)].Status, 6);
        }
        QCOMPARE(h.window->Shown().Rows()[3].Status == 6, false);
        QVERIFY(h.window->IsEditing());
    }

    void bulkDateFromTheRegisteredDates()
    {
        Harness h;
        h.Open();
        h.Genres()->setCurrentRow(1);
        Choose(h, {1, 3});
        const int mostRecentYear = 2026;
        OnNextDialog<TForm_DateSelect>([](TForm_DateSelect* dialog) {
            QVERIFY(dialog->Dates()->List()->count() > 1);
            // Newest first; a click on an entry puts it into the picker.
            const QString newest = dialog->Dates()->List()->item(0)->text();
            QVERIFY(newest > dialog->Dates()->List()->item(1)->text());
            dialog->Picker()->SetDate(*EncodeDateTime({2026, 1, 15}));
            Click(dialog, "Button1");
        });
        h.window->findChild<QAction*>("MM_DateSetting")->setEnabled(true);
        h.window->findChild<QAction*>("MM_DateSetting")->trigger();
        for (const std::size_t row : {std::size_t{1}, std::size_t{3}}) {
            QCOMPARE(DateTimeToText(h.window->Shown().Rows()[row].Date), std::string("2026/01/15"));
        }
        QCOMPARE(DecodeDateTime(h.window->Shown().Rows()[0].Date).Year == mostRecentYear, false);
    }

    void newestAttributeOnTheNewestDay()
    {
        Harness h;
        h.Open();
        OnNextDialog<TForm_NewAttribute>([](TForm_NewAttribute* dialog) {
            QCOMPARE(dialog->DateRange()->currentText(), QStringLiteral("当日"));
            QVERIFY(!dialog->DateEnd()->YearBox()->isEnabled());
            Click(dialog, "Button1");
        });
        h.window->findChild<QAction*>("MM_NewAttribute")->trigger();
        const Project& project = h.window->CurrentProject();
        QCOMPARE(project.Attributes.front(), SJ("最新"));
        int newest = 0;
        for (const std::string& line : AllLines(h)) {
            newest += ListContainsName(LineToItem(line).Attributes, SJ("最新")) ? 1 : 0;
        }
        QVERIFY(newest >= 1);
        QVERIFY(h.window->IsEditing());
    }

    // String search end to end: the result, the window's search look, a
    // search that finds nothing, and the end of the mode.
    void stringSearch()
    {
        Harness h;
        h.Open();
        const std::vector<std::string> before = AllLines(h);
        OnNextDialog<TForm_SearchString>([](TForm_SearchString* dialog) {
            dialog->findChild<QLineEdit*>("Edit_KeyWord")->setText(QStringLiteral("ゲーム"));
            Click(dialog, "Button1");
        });
        h.Action("MM_SearchString")->trigger();
        QVERIFY(h.window->Shown().SearchMode());
        QVERIFY(h.Items()->model()->rowCount() > 0);
        QCOMPARE(h.window->findChild<QLabel*>("Panel_ItemTitle")->text(),
            QStringLiteral("リンクアイテム [検索モード] : 文字列"));
        QVERIFY(h.Action("MM_SearchExit")->isEnabled());
        QVERIFY(!h.Action("TB_ItemNew")->isEnabled());
        QVERIFY(!h.Action("MM_OpenFile")->isEnabled());
        QCOMPARE(AllLines(h), before); // every item is still there once

        // A second search first returns the result; then nothing is found.
        h.messages.SetNextAnswer(MessageButton::Abort);
        OnNextDialog<TForm_SearchString>([](TForm_SearchString* dialog) {
            dialog->findChild<QLineEdit*>("Edit_KeyWord")->setText(QStringLiteral("zzzz-nothing"));
            Click(dialog, "Button1");
        });
        h.Action("MM_SearchString")->trigger();
        QCOMPARE(Shown(h.messages.shown.back().text), QStringLiteral("検索に一致するリンクアイテムが見付かりません."));
        QCOMPARE(h.messages.shown.back().buttons.Bits(), (MessageButton::Abort | MessageButton::Retry).Bits());
        QVERIFY(!h.window->Shown().SearchMode());
        QCOMPARE(AllLines(h), before);
        QCOMPARE(h.window->findChild<QLabel*>("Panel_ItemTitle")->text(), QStringLiteral("リンクアイテム"));
        QVERIFY(h.Action("MM_OpenFile")->isEnabled());
    }

    void domainSearchFromTheRegisteredHosts()
    {
        Harness h;
        h.Open();
        OnNextDialog<TForm_SearchDomain>([](TForm_SearchDomain* dialog) {
            auto* hosts = dialog->findChild<QListWidget*>("ListBox_Domain");
            QVERIFY(hosts->count() > 1);
            QTest::mouseClick(hosts->viewport(), Qt::LeftButton, {}, hosts->visualItemRect(hosts->item(0)).center());
            QCOMPARE(dialog->findChild<QLineEdit*>("Edit_Domain")->text(), hosts->item(0)->text());
            Click(dialog, "Button1");
        });
        h.Action("MM_SearchDomain")->trigger();
        QVERIFY(h.window->Shown().SearchMode());
        QVERIFY(h.window->findChild<QLabel*>("Panel_ItemTitle")->text().endsWith(QStringLiteral("ドメイン")));
    }

    void designTypeSearchByGenre()
    {
        Harness h;
        h.Open();
        const std::string genre = h.window->CurrentProject().Genres[2].Name;
        OnNextDialog<TForm_SearchProject>([](TForm_SearchProject* dialog) {
            auto* genres = dialog->findChild<QComboBox*>("Genre");
            QCOMPARE(genres->itemText(0), QStringLiteral("(無指定)"));
            genres->setCurrentIndex(2);
            QVERIFY(!dialog->findChild<QComboBox*>("SortBy")->isEnabled());
            Click(dialog, "Button1");
        });
        h.Action("MM_SearchProject")->trigger();
        QVERIFY(h.window->Shown().SearchMode());
        for (const TLinkItem& row : h.window->Shown().Rows()) {
            QCOMPARE(row.GenreName, genre);
        }
    }

    // Found items are edited, re-filed by dragging, and go back where they
    // belong when the mode ends.
    void editsAndMovesInTheResultStay()
    {
        Harness h;
        h.Open();
        const std::size_t total = AllLines(h).size();
        h.Action("MM_SearchAll")->trigger();
        QCOMPARE(h.Items()->model()->rowCount(), static_cast<int>(total));
        Choose(h, {0});
        test::AnswerItemEditor([](TForm_LinkItem* editor) {
            editor->findChild<QLineEdit*>("Edit_Title")->setText(QStringLiteral("検索中に変えた題"));
        });
        h.Action("TB_ItemEdit")->trigger();
        Choose(h, {1});
        const std::string movedTitle = h.window->Shown().Rows()[1].Title;
        h.window->MoveSelectedItemsTo(3); // dropped on a genre while searching
        h.Action("MM_SearchExit")->trigger();
        QVERIFY(!h.window->Shown().SearchMode());
        const std::vector<std::string> after = AllLines(h);
        QCOMPARE(after.size(), total);
        const Project& project = h.window->CurrentProject();
        const auto inGenre = [&project](std::size_t genre, const std::string& title) {
            const auto& lines = project.Genres[genre].Lines;
            return std::any_of(lines.begin(), lines.end(),
                [&title](const std::string& line) { return LineToItem(line).Title == title; });
        };
        QVERIFY(inGenre(3, movedTitle));
        QVERIFY(std::any_of(after.begin(), after.end(),
            [](const std::string& line) { return LineToItem(line).Title == SJ("検索中に変えた題"); }));
    }

    void sortingKeepsTheChosenRows()
    {
        Harness h;
        h.Open();
        h.Genres()->setCurrentRow(1);
        Choose(h, {2});
        const std::string title = h.window->Shown().Rows()[2].Title;
        h.Action("MM_SortSerial")->trigger();
        h.Action("MM_SortDown")->trigger();
        const std::vector<std::size_t> rows = h.window->SelectedRows();
        QCOMPARE(rows.size(), std::size_t{1});
        QCOMPARE(h.window->Shown().Rows()[rows.front()].Title, title);
    }

    void clickBesideTheGenresKeepsTheGenre()
    {
        Harness h;
        h.Open();
        h.window->show();
        h.Genres()->setCurrentRow(1);
        QTest::mouseClick(h.Genres()->viewport(), Qt::LeftButton, {}, QPoint(5, h.Genres()->viewport()->height() - 3));
        QCOMPARE(h.Genres()->currentRow(), 1);
        QVERIFY(h.Genres()->item(1)->isSelected());
    }

    void reloadOfAVanishedFileKeepsTheCollection()
    {
        QTemporaryDir dir;
        const QString file = dir.filePath("gone.TSP");
        QFile::copy(kExample, file);
        Harness h;
        h.Open(file);
        h.window->CurrentProject().Title = SJ("変えた題");
        h.window->SetIsEditing(true);
        QFile::remove(file);
        h.messages.SetNextAnswer(MessageButton::Yes);
        h.Action("MM_ReloadFile")->trigger();
        QVERIFY(Shown(h.messages.shown.back().text).endsWith(QStringLiteral("が見付かりません.")));
        QCOMPARE(h.window->CurrentProject().Title, SJ("変えた題"));
        QVERIFY(h.window->IsEditing());
        QCOMPARE(h.Genres()->count(), 8);
    }

    void gridLinesOnlyInTheReport()
    {
        Harness h;
        h.Open();
        auto* grid = h.Items()->findChild<GridLineDelegate*>();
        QVERIFY(grid != nullptr);
        h.Action("MM_ItemGridLines")->trigger();
        QVERIFY(grid->GridLines());
        h.Action("MM_ItemList")->trigger();
        QVERIFY(!grid->GridLines());
        QVERIFY(h.Action("MM_ItemGridLines")->isChecked());
        h.Action("MM_ItemReport")->trigger();
        QVERIFY(grid->GridLines());
    }

    // The real keys on the active window: copy in the list, paste after it.
    void clipboardKeysInTheList()
    {
        Harness h;
        h.Open();
        h.Genres()->setCurrentRow(1);
        QVERIFY(test::MakeActive(h.window.get()));
        h.Items()->setFocus();
        Choose(h, {0});
        const int rows = h.Items()->model()->rowCount();
        QTest::keyClick(h.Items(), Qt::Key_C, Qt::ControlModifier);
        QTest::keyClick(h.Items(), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(h.Items()->model()->rowCount(), rows + 1);
        QTest::keyClick(h.Items(), Qt::Key_Delete);
        QCOMPARE(h.Items()->model()->rowCount(), rows);
    }
    // Ctrl+Z takes back a delete, a drop on a genre and a domain replace,
    // one step each, back to the state as read; Ctrl+Y and Ctrl+Shift+Z do
    // them again.
    void ctrlZTakesChangesBack()
    {
        Harness h;
        h.Open();
        h.Genres()->setCurrentRow(1);
        QVERIFY(test::MakeActive(h.window.get()));
        h.Items()->setFocus();
        const Project& project = h.window->CurrentProject();
        const auto counts = [&] {
            std::vector<std::size_t> sizes;
            for (const Genre& genre : project.Genres) {
                sizes.push_back(genre.Lines.size());
            }
            sizes[h.window->Shown().SelectedGenre()] = h.window->Shown().Rows().size();
            return sizes;
        };
        const std::vector<std::size_t> read = counts();
        Choose(h, {0});
        QTest::keyClick(h.Items(), Qt::Key_Delete);
        const std::vector<std::size_t> deleted = counts();
        QVERIFY(deleted != read);
        QCOMPARE(h.Action("MM_Undo")->text(), QStringLiteral("元に戻す: 削除(&U)"));
        Choose(h, {0, 1});
        h.window->MoveSelectedItemsTo(3);
        const std::vector<std::size_t> dropped = counts();
        const std::string url = h.window->Shown().Rows().front().Url;
        Choose(h, {2});
        const int32_t chosen = h.window->Shown().Rows()[2].Serial;
        h.messages.SetNextAnswer(MessageButton::Ok);
        OnNextDialog<TForm_ReplaceDomain>([](TForm_ReplaceDomain* dialog) {
            dialog->findChild<QLineEdit*>("FindDomain")->setText(QStringLiteral("example"));
            dialog->findChild<QLineEdit*>("ReplaceDomain")->setText(QStringLiteral("sample"));
            // The addresses that will change are listed before the run.
            QVERIFY(dialog->findChild<QListWidget*>("Preview")->count() > 0);
            QVERIFY(dialog->findChild<QLabel*>("PreviewCount")->text().endsWith(QStringLiteral("件のアドレスが置き換わります.")));
            QTest::mouseClick(dialog->findChild<QPushButton*>("Button1"), Qt::LeftButton);
            dialog->close();
        });
        h.Action("MM_DomainTool")->trigger();
        QVERIFY(h.window->Shown().Rows().front().Url != url);
        QCOMPARE(h.Action("MM_Undo")->text(), QStringLiteral("元に戻す: ドメイン一括変換(&U)"));
        QVERIFY(test::MakeActive(h.window.get())); // back from the dialog
        h.Items()->setFocus();

        QTest::keyClick(h.Items(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(h.window->Shown().Rows().front().Url, url);
        // The same item stays chosen, wherever the order puts it.
        QCOMPARE(h.window->SelectedRows().size(), std::size_t{1});
        QCOMPARE(h.window->Shown().Rows()[h.window->SelectedRows().front()].Serial, chosen);
        QCOMPARE(counts(), dropped);
        QTest::keyClick(h.Items(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(counts(), deleted);
        QTest::keyClick(h.Items(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(counts(), read);
        QVERIFY(!h.window->IsEditing());
        QVERIFY(!h.Action("MM_Undo")->isEnabled());
        QTest::keyClick(h.Items(), Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(counts(), deleted);
        QVERIFY(h.window->IsEditing());
        QTest::keyClick(h.Items(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        while (h.Action("MM_Redo")->isEnabled()) {
            QTest::keyClick(h.Items(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        }
        QCOMPARE(counts(), dropped);
        QVERIFY(h.window->Shown().Rows().front().Url != url);
    }
};

QTEST_MAIN(ItemCommandsTests)
#include "ItemCommandsTests.moc"
