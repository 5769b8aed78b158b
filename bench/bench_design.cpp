// Times the detailed design dialog over a large collection whose site has
// one directory per genre (made by the simple design): opening the dialog,
// and moving the selection from directory to directory (each move saves
// the directory left and shows the one selected).
//   QT_QPA_PLATFORM=offscreen bench-design [ITEMS GENRES]

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <algorithm>
#include <iostream>
#include <string>
#include <vector>

#include "gui/FileDialogs.h"
#include "LargeCollection.h"
#include "gui/MessageBoxPresenter.h"
#include "gui/design/SiteDirectoryTree.h"
#include "core/collection/ShownItems.h"
#include "gui/design/dlgProjectDesign.h"
#include "gui/search/frmSqueeze.h"
#include "core/templates/TemplateEngine.h"
#include "core/text/DateTime.h"

namespace {

double Seconds(const QElapsedTimer& timer)
{
    return static_cast<double>(timer.nsecsElapsed()) / 1e9;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    const std::size_t items = argc > 1 ? std::stoul(argv[1]) : 100000;
    const std::size_t genres = argc > 2 ? std::stoul(argv[2]) : 100;
    tessaly::Project project = tessaly::bench::MakeLargeCollection(items, genres);
    QTemporaryDir site;
    const tessaly::SystemClock clock;
    if (!tessaly::bench::MakeLargeSite(project, site.path().toStdString(), clock.Today())) {
        return 1;
    }
    tessaly::MessageBoxPresenter messages;
    tessaly::QtFileDialogs files;

    QElapsedTimer timer;
    timer.start();
    tessaly::ProjectDesignSite designSite{project.RootDir, project.BannerDir,
        {project.DefaultFile, project.SubFile, clock.Today()}, tessaly::ItemTemplateNames(project), QString()};
    tessaly::TForm_ProjectDesign dialog(messages, files, designSite,
        tessaly::SqueezeChoicesOf(project, {}, clock.Today()));
    dialog.show();
    QApplication::processEvents();
    std::cout << "open the detailed design (" << items << " items, " << genres
              << " genre directories): " << Seconds(timer) << " s  (target < 0.5 s)\n";

    tessaly::SiteDirectoryTree* tree = dialog.Tree();
    QTreeWidgetItem* root = tree->Root();
    std::vector<double> moves;
    for (int i = 0; i < root->childCount(); ++i) {
        timer.restart();
        tree->setCurrentItem(root->child(i));
        QApplication::processEvents();
        moves.push_back(Seconds(timer) * 1000);
    }
    std::sort(moves.begin(), moves.end());
    std::cout << "select a directory (save + show), " << moves.size() << " moves: median "
              << moves[moves.size() / 2] << " ms, slowest " << moves.back() << " ms  (target < 50 ms)\n";
    return 0;
}
