#include <QAction>
#include <QContextMenuEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QTemporaryDir>
#include <QTimer>

#include "gui/items/dlgLinkItem.h"
#include "gui/shell/dlgOtherProg.h"
#include "gui/items/frmDateTimePicker.h"
#include "support/ActiveWindow.h"
#include "support/ScriptedMessages.h"
#include "core/text/Codepage.h"

using namespace tessaly;

namespace {

QString Shown(const std::string& sjis)
{
    return QString::fromStdString(SjisToUtf8Lossy(sjis));
}

} // namespace

class LinkItemEditorTests : public QObject {
    Q_OBJECT

    struct Editor {
        test::ScriptedMessages messages;
        std::vector<std::string> attributes{SJ("新着"), "a/b"};
        std::vector<std::string> contents{"CG"};
        TForm_LinkItem dialog{messages, attributes, contents, *EncodeDateTime({2026, 12, 8})};
        QLineEdit* Field(const char* name) { return dialog.findChild<QLineEdit*>(name); }
        void Ok() { QTest::mouseClick(dialog.findChild<QPushButton*>("Button1"), Qt::LeftButton); }
        QString LastMessage() { return messages.shown.empty() ? QString() : Shown(messages.shown.back().text); }
    };

private slots:
    void showsAndReadsBackARecord()
    {
        Editor e;
        TLinkItem item;
        item.Serial = 7;
        item.GenreName = "Games";
        item.Status = 5;
        item.Title = SJ("題名");
        item.TitleKana = SJ("だいめい");
        item.AuthorKana = SJ("だいめい");
        item.Url = "example.jp/";
        item.Attributes = "a&sl;b";
        item.Comment = "one\r\ntwo";
        item.Date = *EncodeDateTime({2003, 5, 17});
        e.dialog.SetLinkItem(item);
        QCOMPARE(e.dialog.findChild<QLabel*>("Panel_Serial")->text(), QStringLiteral("0007"));
        QCOMPARE(e.dialog.findChild<QListWidget*>("CheckBox_Attr")->item(1)->checkState(), Qt::Checked);
        QCOMPARE(e.dialog.findChild<QListWidget*>("CheckBox_Attr")->item(0)->checkState(), Qt::Unchecked);
        e.Field("Edit_Title")->setText(QStringLiteral("  新しい題名 "));
        e.Field("Edit_X")->setText(QStringLiteral("abc"));
        const TLinkItem back = e.dialog.LinkItem();
        QCOMPARE(Shown(back.Title), QStringLiteral("新しい題名"));
        QCOMPARE(back.BannerX, 200);
        QCOMPARE(back.Status, 5);
        QCOMPARE(back.Attributes, std::string("a&sl;b"));
        QCOMPARE(back.Comment, std::string("one\r\ntwo"));
        QCOMPARE(DateTimeToText(back.Date), std::string("2003/05/17"));
    }

    void labelsAndSectionsGuideTheFocus()
    {
        Editor e;
        e.dialog.SetLinkItem(TLinkItem{});
        e.dialog.show();
        QVERIFY(test::MakeActive(&e.dialog));
        QLabel* urlLabel = nullptr;
        for (QLabel* label : e.dialog.findChildren<QLabel*>()) {
            if (label->text() == QStringLiteral("ページURL")) {
                urlLabel = label;
            }
        }
        QVERIFY(urlLabel != nullptr);
        QTest::mouseClick(urlLabel, Qt::LeftButton);
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(e.Field("Edit_Page")));
        auto* page = qobject_cast<QGroupBox*>(e.Field("Edit_Page")->parentWidget()->parentWidget());
        QVERIFY(page != nullptr);
        QVERIFY(page->styleSheet().contains(QStringLiteral("bold")));
    }

    void tabLeavesTheCommentForTheListsAndButtons()
    {
        Editor e;
        e.dialog.SetLinkItem(TLinkItem{});
        e.dialog.show();
        QVERIFY(test::MakeActive(&e.dialog));
        auto* comment = e.dialog.findChild<QPlainTextEdit*>("Comment");
        comment->setFocus();
        QWidget* expected[] = {e.dialog.findChild<QListWidget*>("CheckBox_Attr"),
            e.dialog.findChild<QListWidget*>("CheckBox_Content"), e.dialog.findChild<QPushButton*>("Button1"),
            e.dialog.findChild<QPushButton*>("Button2")};
        for (QWidget* next : expected) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), next);
        }
        QVERIFY(comment->toPlainText().isEmpty());
    }

    void genrePanelNamesTheSystemGenres()
    {
        Editor e;
        TLinkItem item;
        e.dialog.SetLinkItem(item);
        QCOMPARE(e.dialog.findChild<QLabel*>("Panel_Serial")->text(), QStringLiteral("(新規)"));
        QCOMPARE(e.dialog.findChild<QLabel*>("Panel_Genre")->text(), QStringLiteral("【未整理】"));
        item.GenreName = "\xFF";
        e.dialog.SetLinkItem(item);
        QCOMPARE(e.dialog.findChild<QLabel*>("Panel_Genre")->text(), QStringLiteral("【ゴミ箱】"));
    }

    void requiredFieldsInOrder()
    {
        Editor e;
        e.dialog.SetLinkItem(TLinkItem{});
        e.Ok();
        QCOMPARE(e.LastMessage(), QStringLiteral("ページタイトルは必須項目です."));
        e.Field("Edit_Title")->setText(QStringLiteral(" ")); // stored trimmed: as good as empty
        e.Ok();
        QCOMPARE(e.LastMessage(), QStringLiteral("ページタイトルは必須項目です."));
        e.Field("Edit_Title")->setText(QStringLiteral(" 題 "));
        e.Ok();
        QCOMPARE(e.LastMessage(), QStringLiteral("ページタイトル(かな)は必須項目です."));
        e.Field("Edit_TitleKana")->setText(QStringLiteral("かな"));
        e.Ok();
        QVERIFY(e.LastMessage().startsWith(QStringLiteral("作者名(かな)は必須項目です.")));
        e.Field("Edit_AuthorKana")->setText(QStringLiteral("かな"));
        e.Ok();
        QCOMPARE(e.LastMessage(), QStringLiteral("ページURLは必須項目です."));
        e.Field("Edit_Page")->setText(QStringLiteral("http://")); // nothing left once normalised
        e.Ok();
        QCOMPARE(e.LastMessage(), QStringLiteral("ページURLは必須項目です."));
        e.Field("Edit_Page")->setText(QStringLiteral("HTTP://example.jp/"));
        e.Field("Edit_Mail")->setText(QStringLiteral("mailto:http://x"));
        e.dialog.findChild<QSpinBox*>("Year")->setValue(0);
        e.Ok();
        QVERIFY(e.LastMessage().startsWith(QStringLiteral("登録日の年に 0 は使えません.")));
        e.dialog.findChild<QSpinBox*>("Year")->setValue(2004);
        e.Ok();
        QCOMPARE(e.dialog.result(), int(QDialog::Accepted));
        const TLinkItem item = e.dialog.LinkItem();
        QCOMPARE(item.Url, std::string("example.jp/"));
        QCOMPARE(item.Mail, std::string("http://x")); // only one prefix goes
        QCOMPARE(Shown(item.Title), QStringLiteral("題"));
    }

    // A reading the file could not keep is refused at OK, even when its
    // field was never left.
    void okRefusesReadingsThatAreNotHiragana()
    {
        for (const char* field : {"Edit_TitleKana", "Edit_AuthorKana"}) {
            Editor e;
            e.dialog.SetLinkItem(TLinkItem{});
            e.Field("Edit_Title")->setText(QStringLiteral("題"));
            e.Field("Edit_TitleKana")->setText(QStringLiteral("だい"));
            e.Field("Edit_AuthorKana")->setText(QStringLiteral("だい"));
            e.Field("Edit_Page")->setText(QStringLiteral("example.jp/"));
            e.Field(field)->setText(QStringLiteral("カナ"));
            e.Ok();
            QVERIFY2(e.LastMessage().startsWith(QStringLiteral("不正な文字が含まれています.")), field);
            QCOMPARE(e.messages.shown.size(), std::size_t{1});
            QVERIFY(e.dialog.result() != int(QDialog::Accepted));
            QCOMPARE(e.dialog.focusWidget(), static_cast<QWidget*>(e.Field(field)));
        }
    }

    // The reading is checked when the focus moves to another field of the
    // dialog, and only then.
    void readingCheckedOnlyOnMovingToAnotherField()
    {
        Editor e;
        e.dialog.SetLinkItem(TLinkItem{});
        e.dialog.show();
        QVERIFY(test::MakeActive(&e.dialog));
        QLineEdit* reading = e.Field("Edit_TitleKana");
        reading->setFocus();
        reading->setText(QStringLiteral("カナ"));

        QContextMenuEvent rightClick(QContextMenuEvent::Mouse, QPoint(4, 4), reading->mapToGlobal(QPoint(4, 4)));
        QApplication::sendEvent(reading, &rightClick);
        if (QWidget* popup = QApplication::activePopupWidget()) {
            popup->close();
        }
        QVERIFY(e.messages.shown.empty());

        QWidget other;
        other.show();
        QVERIFY(test::MakeActive(&other));
        QVERIFY(e.messages.shown.empty());
        QVERIFY(test::MakeActive(&e.dialog));

        QTest::mouseClick(e.dialog.findChild<QPushButton*>("Button2"), Qt::LeftButton);
        QVERIFY(e.messages.shown.empty()); // cancel keeps nothing and asks nothing

        e.dialog.show();
        QVERIFY(test::MakeActive(&e.dialog));
        reading->setFocus();
        QTest::keyClick(reading, Qt::Key_Tab);
        QCOMPARE(e.messages.shown.size(), std::size_t{1});
        QVERIFY(e.LastMessage().startsWith(QStringLiteral("不正な文字が含まれています.")));
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(reading));
    }

    void readingsAreCheckedAndCopied()
    {
        Editor e;
        e.dialog.SetLinkItem(TLinkItem{});
        e.Field("Edit_TitleKana")->setText(QStringLiteral("かー"));
        e.dialog.LeaveReading(e.Field("Edit_TitleKana"));
        QVERIFY(e.LastMessage().startsWith(QStringLiteral("不正な文字が含まれています.")));
        QCOMPARE(e.messages.shown.back().buttons.Bits(), MessageButtons(MessageButton::Retry).Bits());
        e.Field("Edit_TitleKana")->setText(QStringLiteral("かあ"));
        e.dialog.LeaveReading(e.Field("Edit_TitleKana"));
        QCOMPARE(e.Field("Edit_AuthorKana")->text(), QStringLiteral("かあ"));
        e.Field("Edit_TitleKana")->clear();
        e.dialog.LeaveReading(e.Field("Edit_AuthorKana"));
        QCOMPARE(e.Field("Edit_TitleKana")->text(), QStringLiteral("かあ"));
    }

    // An address with a scheme of its own is browsed as it is, and the
    // fixed "http://" in front of the field goes away while it is there.
    void addressesWithTheirOwnScheme()
    {
        Editor e;
        e.dialog.SetLinkItem(TLinkItem{});
        e.dialog.show();
        std::vector<std::string> opened;
        e.dialog.openUrl = [&opened](const std::string& url) { opened.push_back(url); };
        auto* scheme = e.dialog.findChild<QLabel*>("Edit_PageScheme");
        QVERIFY(scheme != nullptr);
        e.Field("Edit_Page")->setText(QStringLiteral("https://secure.example/"));
        QVERIFY(scheme->isHidden());
        e.dialog.findChild<QAction*>("TB_Browse")->trigger();
        e.Field("Edit_Page")->setText(QStringLiteral("plain.example/"));
        QVERIFY(!scheme->isHidden());
        e.dialog.findChild<QAction*>("TB_Browse")->trigger();
        QCOMPARE(opened, (std::vector<std::string>{"https://secure.example/", "http://plain.example/"}));
    }

    void unrepresentableTextIsRefusedWhereItEnters()
    {
        Editor e;
        e.dialog.SetLinkItem(TLinkItem{});
        e.Field("Edit_Title")->setText(QStringLiteral("ok"));
        e.Field("Edit_Title")->setText(QStringLiteral("ok😀"));
        QCOMPARE(e.Field("Edit_Title")->text(), QStringLiteral("ok"));
        QVERIFY(e.LastMessage().startsWith(QStringLiteral("U+1F600")));
        auto* comment = e.dialog.findChild<QPlainTextEdit*>("Comment");
        comment->setPlainText(QStringLiteral("한"));
        QCOMPARE(comment->toPlainText(), QString());
    }

    // The wait ends with the button, not with the program: a launcher
    // returns at once. Each save of the file is announced.
    void editorWaitEndsWithTheButtonAndSeesEverySave()
    {
        QTemporaryDir dir;
        const QString file = dir.filePath("edited.html");
        TForm_OtherProg ran(QStringLiteral("/bin/sh"),
            {QStringLiteral("-c"), QStringLiteral("echo one > \"$0\"; sleep 0.5; echo two > \"$0.new\"; mv \"$0.new\" \"$0\""),
                file},
            file);
        int saves = 0;
        connect(&ran, &TForm_OtherProg::fileSaved, [&saves] { ++saves; });
        QTimer::singleShot(0, [&] {
            QTRY_COMPARE_WITH_TIMEOUT(saves, 2, 5000);
            QTest::mouseClick(ran.findChild<QPushButton*>("BtnDone"), Qt::LeftButton);
        });
        QCOMPARE(ran.exec(), int(QDialog::Accepted));
        TForm_OtherProg missing(QStringLiteral("/nonexistent/editor"), {}, file);
        QCOMPARE(missing.exec(), int(QDialog::Rejected));
    }

    void dateFrameFollowsTheMonth()
    {
        TFrame_DateTimePicker frame;
        frame.SetDate(*EncodeDateTime({2003, 1, 31}));
        frame.MonthBox()->setValue(2);
        QCOMPARE(frame.DayBox()->value(), 28);
        frame.YearBox()->setValue(2004);
        QCOMPARE(frame.DayBox()->maximum(), 29);
        frame.MonthBox()->setValue(4);
        QCOMPARE(frame.DayBox()->maximum(), 30);
        frame.YearBox()->setValue(0);
        QVERIFY(!frame.Date().has_value());
    }
};

QTEST_MAIN(LinkItemEditorTests)
#include "LinkItemEditorTests.moc"
