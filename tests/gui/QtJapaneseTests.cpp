#include <QDialogButtonBox>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include "gui/QtJapanese.h"

using namespace tessaly;

namespace {

QString ButtonText(QMessageBox& box, QMessageBox::StandardButton button)
{
    return box.addButton(button)->text();
}

} // namespace

// Qt's standard buttons speak Japanese whatever the locale: from Qt's own
// translation, or from the program's texts where that is not installed.
class QtJapaneseTests : public QObject {
    Q_OBJECT

private slots:
    void buttonsWithoutQtsTranslation()
    {
        QTemporaryDir empty;
        QCOMPARE(InstallJapaneseQtTexts(*qApp, empty.path()), QtTextSource::ButtonsOnly);
        QMessageBox box;
        const std::pair<QMessageBox::StandardButton, QString> expected[] = {
            {QMessageBox::Yes, QStringLiteral("はい(&Y)")},
            {QMessageBox::No, QStringLiteral("いいえ(&N)")},
            {QMessageBox::Cancel, QStringLiteral("キャンセル")},
            {QMessageBox::Abort, QStringLiteral("中止")},
            {QMessageBox::Retry, QStringLiteral("再試行")},
            {QMessageBox::Ok, QStringLiteral("OK")},
        };
        for (const auto& [button, text] : expected) {
            QCOMPARE(ButtonText(box, button), text);
        }
        QDialogButtonBox buttons(QDialogButtonBox::Open | QDialogButtonBox::Cancel);
        QCOMPARE(buttons.button(QDialogButtonBox::Open)->text(), QStringLiteral("開く"));
        QCOMPARE(QLocale().language(), QLocale::Japanese);
    }

    void qtsOwnTranslation()
    {
        if (InstallJapaneseQtTexts(*qApp) != QtTextSource::Translation) {
            QSKIP("Qt's Japanese translation is not installed");
        }
        QMessageBox box;
        QVERIFY(ButtonText(box, QMessageBox::Yes).startsWith(QStringLiteral("はい")));
        QVERIFY(ButtonText(box, QMessageBox::No).startsWith(QStringLiteral("いいえ")));
        QVERIFY(ButtonText(box, QMessageBox::Cancel).startsWith(QStringLiteral("キャンセル")));
    }
};

QTEST_MAIN(QtJapaneseTests)
#include "QtJapaneseTests.moc"
