// The desktop program.

#include <QApplication>
#include <QFile>
#include <QGuiApplication>
#include <QIcon>
#include <QScreen>
#include <QStandardPaths>
#include <QTimer>

#include "platform/FileAssociation.h"
#include "gui/FileDialogs.h"
#include "gui/MessageBoxPresenter.h"
#include "gui/QtJapanese.h"
#include "platform/QtSettingsStore.h"
#include "platform/QtShellServices.h"
#include "core/reading/KnownReadings.h"
#include "gui/main/dlgMain.h"
#include "gui/shell/dlgVersion.h"
#include "core/text/DateTime.h"

namespace {

// The programs the settings start with on this system.
tessaly::SettingsEnvironment Environment()
{
    tessaly::SettingsEnvironment environment;
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        environment.screenWidth = screen->geometry().width();
        environment.screenHeight = screen->geometry().height();
    }
    const auto firstProgram = [](std::initializer_list<const char*> names, const char* fallback) {
        for (const char* name : names) {
            const QString path = QStandardPaths::findExecutable(QString::fromLatin1(name));
            if (!path.isEmpty()) {
                return path.toStdString();
            }
        }
        return std::string(fallback);
    };
    // The user's own choice first; a launcher last, since it cannot say
    // which program edits (the wait ends with the user's word anyway).
    const QString visual = QStandardPaths::findExecutable(qEnvironmentVariable("VISUAL"));
    environment.editorPath = !visual.isEmpty()
        ? visual.toStdString()
        : firstProgram({"gnome-text-editor", "gedit", "kate", "kwrite", "mousepad", "pluma", "xed", "featherpad",
                           "xdg-open"},
            "/usr/bin/xdg-open");
    environment.browserPath = firstProgram({"firefox", "firefox-esr", "chromium"}, "/usr/bin/xdg-open");
    return environment;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tessaly"));
    QApplication::setOrganizationName(QStringLiteral("Brindlewood"));
    // The installed desktop entry and icon carry the application id.
    QGuiApplication::setDesktopFileName(QString::fromLatin1(tessaly::FileAssociation::kAppId));
    QApplication::setWindowIcon(QIcon::fromTheme(QString::fromLatin1(tessaly::FileAssociation::kAppId)));
    tessaly::InstallJapaneseQtTexts(application);

    tessaly::MessageBoxPresenter messages;
    tessaly::QtFileDialogs files;
    tessaly::QtSettingsStore settings;
    tessaly::QtShellServices shell;
    tessaly::FileAssociation association(QApplication::applicationFilePath());
    const tessaly::SystemClock clock;
    const tessaly::ReadingServiceStatus readings = tessaly::OpenReadingService();
    tessaly::TForm_Main window(
        {messages, files, settings, clock, shell, association, Environment(), readings.service.get(),
            tessaly::UserDictionaryPath()},
        tessaly::ParseCommandLine(QApplication::arguments().mid(1)));
    messages.SetParent(&window);
    if (window.StartScreen()) {
        // The start screen stays for a moment while the window comes up.
        auto* start = new tessaly::TForm_Version(window.Settings().mainWindow.girlDisabled, true);
        start->setAttribute(Qt::WA_DeleteOnClose);
        start->show();
        QTimer::singleShot(1500, start, &QWidget::close);
    }
    window.show();
    QTimer::singleShot(0, &window, &tessaly::TForm_Main::OpenPassedFiles);
    return QApplication::exec();
}
