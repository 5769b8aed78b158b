#include "gui/shell/dlgHelp.h"

#include <QAction>
#include <QKeySequence>
#include <QPointer>
#include <QShortcut>
#include <QTextBrowser>
#include <QToolBar>
#include <QUrl>
#include <QVBoxLayout>

#include "gui/shell/HelpTopics.h"

static void InitHelpPages()
{
    Q_INIT_RESOURCE(help);
}

namespace tessaly {

namespace {

QUrl TopicUrl(const QString& topic)
{
    const qsizetype hash = topic.indexOf(QLatin1Char('#'));
    QUrl url(QStringLiteral("qrc:/help/%1.html").arg(topic.left(hash)));
    if (hash >= 0) {
        url.setFragment(topic.mid(hash + 1));
    }
    return url;
}

} // namespace

THelpWindow::THelpWindow(QWidget* parent)
    : QDialog(parent)
    , browser_(new QTextBrowser)
{
    InitHelpPages();
    setObjectName(QStringLiteral("THelpWindow"));
    setWindowTitle(QStringLiteral("Tessaly ヘルプ"));
    browser_->setObjectName(QStringLiteral("HelpBrowser"));
    browser_->setSearchPaths({QStringLiteral(":/help")});
    browser_->setOpenExternalLinks(false);

    auto* tools = new QToolBar;
    tools->setObjectName(QStringLiteral("HelpTools"));
    tools->setToolButtonStyle(Qt::ToolButtonTextOnly);
    QAction* back = tools->addAction(QStringLiteral("戻る"), browser_, &QTextBrowser::backward);
    back->setObjectName(QStringLiteral("HelpBack"));
    back->setShortcuts({QKeySequence(Qt::ALT | Qt::Key_Left), QKeySequence(Qt::Key_Backspace)});
    back->setEnabled(false);
    QAction* forward = tools->addAction(QStringLiteral("進む"), browser_, &QTextBrowser::forward);
    forward->setObjectName(QStringLiteral("HelpForward"));
    forward->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Right));
    forward->setEnabled(false);
    QAction* contents
        = tools->addAction(QStringLiteral("目次"), this, [this] { ShowTopic(QString(help::kContents)); });
    contents->setObjectName(QStringLiteral("HelpContents"));
    contents->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Home));
    connect(browser_, &QTextBrowser::backwardAvailable, back, &QAction::setEnabled);
    connect(browser_, &QTextBrowser::forwardAvailable, forward, &QAction::setEnabled);
    connect(browser_, &QTextBrowser::sourceChanged, this, [this] {
        const QString help = QStringLiteral("Tessaly ヘルプ");
        const QString page = browser_->documentTitle();
        setWindowTitle(page.isEmpty() || page == help ? help : page + QStringLiteral(" - ") + help);
    });

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(tools);
    layout->addWidget(browser_);
    resize(860, 680);
}

void THelpWindow::ShowTopic(const QString& topic)
{
    browser_->setSource(TopicUrl(topic));
}

QString THelpWindow::CurrentTitle() const
{
    return browser_->documentTitle();
}

namespace {

// The help window belongs to the window that asked for it, so that a modal
// dialog leaves it usable; when that dialog closes, it passes to the window
// below, so the page stays open where the user was reading.
void Entrust(THelpWindow* window, QWidget* owner)
{
    if (window->parentWidget() != owner) {
        const QRect place = window->geometry();
        window->setParent(owner, window->windowFlags());
        window->setGeometry(place);
    }
    if (auto* dialog = qobject_cast<QDialog*>(owner)) {
        QObject::connect(
            dialog, &QDialog::finished, window,
            [window, dialog] {
                QWidget* below = dialog->parentWidget();
                Entrust(window, below != nullptr ? below->window() : nullptr);
                window->show();
            },
            Qt::SingleShotConnection);
    }
}

} // namespace

void ShowHelp(QWidget* parent, const QString& topic)
{
    static QPointer<THelpWindow> window;
    if (window.isNull()) {
        window = new THelpWindow(parent);
        window->setAttribute(Qt::WA_DeleteOnClose);
    }
    Entrust(window, parent != nullptr ? parent->window() : nullptr);
    window->ShowTopic(topic);
    window->show();
    window->raise();
    window->activateWindow();
}

void SetHelpTopic(QWidget* dialog, const QString& topic)
{
    dialog->setProperty("helpTopic", topic);
    auto* f1 = new QShortcut(QKeySequence(Qt::Key_F1), dialog);
    f1->setContext(Qt::WidgetWithChildrenShortcut);
    QObject::connect(f1, &QShortcut::activated, dialog, [dialog, topic] { ShowHelp(dialog, topic); });
}

} // namespace tessaly
