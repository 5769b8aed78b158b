// The help: every command of the menus and every dialog has its section,
// every page is reached from the contents and every link leads somewhere.

#include <QDirIterator>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QRegularExpression>
#include <QSet>
#include <QTest>
#include <QToolBar>

#include "MainWindowHarness.h"
#include "gui/shell/HelpTopics.h"
#include "gui/shell/dlgHelp.h"
#include "gui/tools/dlgCSVQuery.h"
#include "support/ActiveWindow.h"

using namespace tessaly;

namespace {

struct HelpPage {
    QString text;
    QSet<QString> anchors;
    QStringList links; // as written: "page.html", "page.html#anchor"
    QStringList images;
};

QMap<QString, HelpPage> ReadHelpPages()
{
    THelpWindow initialisesTheResources;
    static const QRegularExpression anchor(QStringLiteral("<a name=\"([^\"]+)\""));
    static const QRegularExpression link(QStringLiteral("<a href=\"([^\"]+)\""));
    static const QRegularExpression image(QStringLiteral("<img src=\"([^\"]+)\""));
    QMap<QString, HelpPage> pages;
    QDirIterator files(QStringLiteral(":/help"), {QStringLiteral("*.html")});
    while (files.hasNext()) {
        const QString path = files.next();
        QFile file(path);
        file.open(QIODevice::ReadOnly);
        HelpPage page;
        page.text = QString::fromUtf8(file.readAll());
        const auto all = [&page](const QRegularExpression& expression) {
            QStringList found;
            for (auto matches = expression.globalMatch(page.text); matches.hasNext();) {
                found.append(matches.next().captured(1));
            }
            return found;
        };
        const QStringList anchors = all(anchor);
        page.anchors = QSet<QString>(anchors.begin(), anchors.end());
        page.links = all(link);
        page.images = all(image);
        pages.insert(QFileInfo(path).fileName(), page);
    }
    return pages;
}

void CollectCommands(const QList<QAction*>& actions, QStringList& names)
{
    for (QAction* action : actions) {
        if (action->menu() != nullptr) {
            CollectCommands(action->menu()->actions(), names);
        } else if (!action->isSeparator() && !action->objectName().isEmpty()) {
            names.append(action->objectName());
        }
    }
}

// "page#anchor" or "page.html#anchor" is a page that exists with that anchor.
bool Leads(const QMap<QString, HelpPage>& pages, const QString& target)
{
    const QString file = target.section(QLatin1Char('#'), 0, 0);
    const QString page = file.endsWith(QStringLiteral(".html")) ? file : file + QStringLiteral(".html");
    const QString fragment = target.section(QLatin1Char('#'), 1);
    return pages.contains(page) && (fragment.isEmpty() || pages[page].anchors.contains(fragment));
}

} // namespace

class HelpTests : public QObject {
    Q_OBJECT

private slots:
    void everyCommandHasItsSection()
    {
        const QMap<QString, HelpPage> pages = ReadHelpPages();
        test::Harness h;
        h.Open();
        QStringList commands;
        CollectCommands(h.window->menuBar()->actions(), commands);
        for (const QToolBar* bar : h.window->findChildren<QToolBar*>()) {
            CollectCommands(bar->actions(), commands);
        }
        QVERIFY(commands.size() > 100);
        QSet<QString> anchored;
        for (const HelpPage& page : pages) {
            anchored.unite(page.anchors);
        }
        for (const QString& command : commands) {
            // A tool bar button or pop-up entry shares the section of its
            // menu command.
            const QString menuCommand = QStringLiteral("MM_") + command.section(QLatin1Char('_'), 1);
            const bool ownSection = anchored.contains(command) || anchored.contains(menuCommand);
            QVERIFY2(ownSection, qPrintable(command));
        }
    }

    void everyPageIsReachedAndEveryLinkLeadsToAPage()
    {
        const QMap<QString, HelpPage> pages = ReadHelpPages();
        QSet<QString> reached{QStringLiteral("contents.html")};
        QStringList queue{QStringLiteral("contents.html")};
        while (!queue.isEmpty()) {
            const QString name = queue.takeFirst();
            const HelpPage& page = pages[name];
            QVERIFY2(page.text.contains(QStringLiteral("<meta charset=\"utf-8\">")), qPrintable(name));
            QVERIFY2(name == QStringLiteral("contents.html") || page.text.contains(QStringLiteral("href=\"contents.html\"")),
                qPrintable(name));
            for (const QString& link : page.links) {
                const QString target = link.startsWith(QLatin1Char('#')) ? name + link : link;
                QVERIFY2(Leads(pages, target), qPrintable(name + QStringLiteral(": ") + link));
                const QString file = target.section(QLatin1Char('#'), 0, 0);
                if (!reached.contains(file)) {
                    reached.insert(file);
                    queue.append(file);
                }
            }
            for (const QString& image : page.images) {
                QVERIFY2(QFile::exists(QStringLiteral(":/help/") + image), qPrintable(name + QStringLiteral(": ") + image));
            }
        }
        for (auto page = pages.keyBegin(); page != pages.keyEnd(); ++page) {
            QVERIFY2(reached.contains(*page), qPrintable(*page));
        }
        for (const QLatin1String topic : help::kDialogTopics) {
            QVERIFY2(Leads(pages, topic), topic.data());
        }
    }

    void f1OpensTheDialogsPage()
    {
        TForm_CSVQuery dialog;
        QCOMPARE(dialog.property("helpTopic").toString(), QString(help::kCsvQuery));
        if (!test::MakeActive(&dialog)) {
            QSKIP("the dialog cannot be made active here");
        }
        QTest::keyClick(&dialog, Qt::Key_F1);
        auto* window = dialog.findChild<THelpWindow*>();
        QVERIFY(window != nullptr && window->isVisible());
        QCOMPARE(window->CurrentTitle(), QStringLiteral("CSV 形式ファイルのエクスポート"));
        // The page stays open when the dialog closes.
        QPointer<THelpWindow> kept(window);
        dialog.reject();
        QVERIFY(!kept.isNull() && kept->isVisible() && kept->parentWidget() == nullptr);
        kept->close();
    }
};

QTEST_MAIN(HelpTests)
#include "HelpTests.moc"
