#include "gui/shell/dlgHelp.h"

#include <QPointer>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

static void InitHelpPages()
{
    Q_INIT_RESOURCE(help);
}

namespace tessaly {

THelpWindow::THelpWindow(QWidget* parent)
    : QDialog(parent)
    , browser_(new QTextBrowser)
{
    InitHelpPages();
    setObjectName(QStringLiteral("THelpWindow"));
    setWindowTitle(QStringLiteral("Tessaly ヘルプ"));
    browser_->setObjectName(QStringLiteral("HelpBrowser"));
    browser_->setSearchPaths({QStringLiteral(":/help")});
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(browser_);
    resize(560, 420);
}

void THelpWindow::ShowTopic(const QString& topic)
{
    browser_->setSource(QUrl(QStringLiteral("qrc:/help/%1.html").arg(topic)));
}

QString THelpWindow::CurrentTitle() const
{
    return browser_->documentTitle();
}

void ShowHelp(QWidget* parent, const QString& topic)
{
    static QPointer<THelpWindow> window;
    if (window.isNull()) {
        window = new THelpWindow(parent);
        window->setAttribute(Qt::WA_DeleteOnClose);
    }
    window->ShowTopic(topic);
    window->show();
    window->raise();
}

} // namespace tessaly
