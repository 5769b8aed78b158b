#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include "gui/items/dlgLinkItem.h"
#include "support/ActiveWindow.h"
#include "support/FakeReadings.h"
#include "support/ScriptedMessages.h"

using namespace tessaly;

namespace {

// Types text as the input method hands it over: one key event with the text.
void Type(QLineEdit* field, const QString& text)
{
    QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, text);
    QApplication::sendEvent(field, &press);
}

} // namespace

// The item editor fills readings from the title and the author name.
class ReadingFillTests : public QObject {
    Q_OBJECT

    struct Editor {
        test::ScriptedMessages messages;
        test::FakeReadings readings;
        std::vector<std::string> names;
        TForm_LinkItem dialog{messages, names, names, *EncodeDateTime({2026, 12, 8})};
        Editor()
        {
            dialog.SetLinkItem(TLinkItem{});
            dialog.SetReadingService(&readings);
        }
        QLineEdit* Field(const char* name) { return dialog.findChild<QLineEdit*>(name); }
        QString Status() { return dialog.findChild<QLabel*>("Label_Status")->text(); }
        // Types text into a field and leaves it with Tab.
        void TypeAndLeave(const char* name, const QString& text)
        {
            QLineEdit* field = Field(name);
            field->setFocus();
            Type(field, text);
            QTest::keyClick(field, Qt::Key_Tab);
        }
    };

private slots:
    void leavingTheTitleFillsAnEmptyReadingSelected()
    {
        Editor e;
        QVERIFY(test::MakeActive(&e.dialog));
        e.TypeAndLeave("Edit_Title", QStringLiteral("猫写真"));
        QLineEdit* reading = e.Field("Edit_TitleKana");
        QCOMPARE(reading->text(), QStringLiteral("ねこしゃしん"));
        QCOMPARE(reading->selectedText(), QStringLiteral("ねこしゃしん"));
        QVERIFY(reading->styleSheet().isEmpty());
        QCOMPARE(e.Status(), QStringLiteral("読みを推測しました."));
        // Without an author, his required reading is the title's at once.
        QCOMPARE(e.Field("Edit_AuthorKana")->text(), QStringLiteral("ねこしゃしん"));
        // Typing replaces the selected suggestion.
        Type(reading, QStringLiteral("みけ"));
        QCOMPARE(reading->text(), QStringLiteral("みけ"));
    }

    void partialSuggestionIsMarked()
    {
        Editor e;
        QVERIFY(test::MakeActive(&e.dialog));
        e.TypeAndLeave("Edit_Author", QStringLiteral("猫の淹れ方"));
        QLineEdit* reading = e.Field("Edit_AuthorKana");
        QCOMPARE(reading->text(), QStringLiteral("ねこのれ"));
        QVERIFY(!reading->styleSheet().isEmpty());
        QVERIFY(e.Status().startsWith(QStringLiteral("読みの一部だけを推測しました")));
        // An edit makes the reading the user's and clears the mark.
        QTest::keyClick(reading, Qt::Key_End);
        Type(reading, QStringLiteral("ち"));
        QVERIFY(reading->styleSheet().isEmpty());
    }

    void typedReadingIsNeverReplaced()
    {
        Editor e;
        QVERIFY(test::MakeActive(&e.dialog));
        e.TypeAndLeave("Edit_TitleKana", QStringLiteral("たま"));
        e.TypeAndLeave("Edit_Title", QStringLiteral("猫"));
        QCOMPARE(e.Field("Edit_TitleKana")->text(), QStringLiteral("たま"));
        e.Field("Edit_Title")->setFocus();
        e.dialog.findChild<QAction*>("TB_GuessReading")->trigger();
        QCOMPARE(e.Field("Edit_TitleKana")->text(), QStringLiteral("たま"));
        QVERIFY(e.Status().startsWith(QStringLiteral("入力された読みはそのままにしました")));
    }

    void guessAgainReplacesAnEarlierSuggestion()
    {
        Editor e;
        QVERIFY(test::MakeActive(&e.dialog));
        e.TypeAndLeave("Edit_Title", QStringLiteral("猫"));
        QCOMPARE(e.Field("Edit_TitleKana")->text(), QStringLiteral("ねこ"));
        QLineEdit* title = e.Field("Edit_Title");
        title->setFocus();
        title->setText(QStringLiteral("鉄道"));
        QTest::keyClick(title, Qt::Key_R, Qt::ControlModifier);
        QCOMPARE(e.Field("Edit_TitleKana")->text(), QStringLiteral("てつどう"));
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(e.Field("Edit_TitleKana")));
        QCOMPARE(e.Field("Edit_TitleKana")->selectedText(), QStringLiteral("てつどう"));
    }

    void readingCopiedFromTheTitleGivesWayToTheAuthors()
    {
        Editor e;
        QVERIFY(test::MakeActive(&e.dialog));
        e.TypeAndLeave("Edit_Title", QStringLiteral("猫"));
        e.Field("Edit_TitleKana")->setFocus();
        QTest::keyClick(e.Field("Edit_TitleKana"), Qt::Key_Tab); // copies it into the empty author reading
        QCOMPARE(e.Field("Edit_AuthorKana")->text(), QStringLiteral("ねこ"));
        // Without an author, the copy follows a new title's reading.
        e.Field("Edit_Title")->clear();
        e.TypeAndLeave("Edit_Title", QStringLiteral("写真"));
        QCOMPARE(e.Field("Edit_AuthorKana")->text(), QStringLiteral("しゃしん"));
        e.Field("Edit_Title")->clear();
        e.TypeAndLeave("Edit_Title", QStringLiteral("猫"));
        QCOMPARE(e.Field("Edit_AuthorKana")->text(), QStringLiteral("ねこ"));
        e.TypeAndLeave("Edit_Author", QStringLiteral("鉄道"));
        QCOMPARE(e.Field("Edit_AuthorKana")->text(), QStringLiteral("てつどう"));

        // Copied again, Ctrl+R in the author field replaces the copy too.
        Editor again;
        QVERIFY(test::MakeActive(&again.dialog));
        again.TypeAndLeave("Edit_TitleKana", QStringLiteral("たま"));
        QCOMPARE(again.Field("Edit_AuthorKana")->text(), QStringLiteral("たま"));
        QLineEdit* author = again.Field("Edit_Author");
        author->setFocus();
        author->setText(QStringLiteral("写真館"));
        QTest::keyClick(author, Qt::Key_R, Qt::ControlModifier);
        QCOMPARE(again.Field("Edit_AuthorKana")->text(), QStringLiteral("しゃしんかん"));
    }

    void nothingReadableLeavesTheFieldEmpty()
    {
        Editor e;
        QVERIFY(test::MakeActive(&e.dialog));
        e.TypeAndLeave("Edit_Title", QStringLiteral("★☆★"));
        QVERIFY(e.Field("Edit_TitleKana")->text().isEmpty());
        QCOMPARE(e.Status(), QStringLiteral("読みを推測できませんでした."));
    }

    void guessedSuggestionIsMarked()
    {
        Editor e;
        QVERIFY(test::MakeActive(&e.dialog));
        e.TypeAndLeave("Edit_Title", QStringLiteral("Web猫"));
        QLineEdit* reading = e.Field("Edit_TitleKana");
        QCOMPARE(reading->text(), QStringLiteral("だぶりゅういいびいねこ"));
        QVERIFY(!reading->styleSheet().isEmpty());
        QVERIFY(e.Status().startsWith(QStringLiteral("読みを推測しましたが確かではありません")));
    }

    void withoutServiceNothingIsSuggested()
    {
        Editor e;
        e.dialog.SetReadingService(nullptr);
        QVERIFY(test::MakeActive(&e.dialog));
        QVERIFY(!e.dialog.findChild<QAction*>("TB_GuessReading")->isEnabled());
        e.TypeAndLeave("Edit_Title", QStringLiteral("猫"));
        QVERIFY(e.Field("Edit_TitleKana")->text().isEmpty());
        QVERIFY(e.Status().isEmpty());
    }
};

QTEST_MAIN(ReadingFillTests)
#include "ReadingFillTests.moc"
