// Opens a large collection in the main window (offscreen), shows its largest
// genre, sorts it by each key, then lists every item and ends that search
// mode, timing each step.
//   QT_QPA_PLATFORM=offscreen bench-gui FILE.TSP

#include <QApplication>
#include <QElapsedTimer>
#include <QListWidget>
#include <QTemporaryDir>
#include <iostream>

#include "platform/FileAssociation.h"
#include "gui/FileDialogs.h"
#include "gui/MessageBoxPresenter.h"
#include "platform/QtShellServices.h"
#include "gui/items/ItemListViewCommands.h"
#include "gui/search/SearchCommands.h"
#include "gui/main/dlgMain.h"
#include "core/settings/SettingsStore.h"
#include "core/text/DateTime.h"

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    if (argc != 2) {
        std::cerr << "usage: bench-gui FILE.TSP\n";
        return 2;
    }
    tessaly::MessageBoxPresenter messages;
    tessaly::QtFileDialogs files;
    tessaly::MemorySettingsStore settings;
    tessaly::QtShellServices shell;
    const tessaly::SystemClock clock;
    QTemporaryDir xdg;
    tessaly::FileAssociation association(QApplication::applicationFilePath(), xdg.path(), xdg.path());
    tessaly::TForm_Main window({messages, files, settings, clock, shell, association, {1280, 800, {}, {}}}, {});
    window.show();
    QApplication::processEvents();

    QElapsedTimer timer;
    timer.start();
    window.LoadProject(QString::fromLocal8Bit(argv[1]));
    std::size_t largest = 0;
    const auto& genres = window.CurrentProject().Genres;
    for (std::size_t i = 0; i < genres.size(); ++i) {
        if (genres[i].Lines.size() > genres[largest].Lines.size()) {
            largest = i;
        }
    }
    window.findChild<QListWidget*>(QStringLiteral("ListBox_Genre"))->setCurrentRow(static_cast<int>(largest));
    QApplication::processEvents();
    std::cout << "open and show the largest genre (" << genres[largest].Lines.size()
              << " items): " << static_cast<double>(timer.nsecsElapsed()) / 1e9 << " s\n";
    const char* names[] = {"title", "author", "mail", "page URL", "banner URL", "date", "serial"};
    for (int key = 0; key < 7; ++key) {
        timer.restart();
        window.ViewCommands().SetSortKey(static_cast<tessaly::ItemSortKey>(key));
        QApplication::processEvents();
        std::cout << "sort by " << names[key] << ": " << static_cast<double>(timer.nsecsElapsed()) / 1e9 << " s\n";
    }
    timer.restart();
    window.Searches().MM_SearchAllClick();
    QApplication::processEvents();
    std::cout << "list all (" << window.Shown().Rows().size()
              << " items): " << static_cast<double>(timer.nsecsElapsed()) / 1e9 << " s\n";
    timer.restart();
    window.Searches().MM_SearchExitClick();
    QApplication::processEvents();
    std::cout << "end the search mode: " << static_cast<double>(timer.nsecsElapsed()) / 1e9 << " s\n";
    return 0;
}
