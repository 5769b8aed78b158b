#pragma once

// What the desktop program is told on its command line.

#include <QStringList>

namespace tessaly {

// The command line: "-T"/"/T" toggles the start screen, "-W"/"/W" the saved
// window position (any case); other switches are ignored; the rest are files.
struct StartOptions {
    bool startScreen = true;
    bool restorePosition = true;
    QStringList passedFiles;
};

StartOptions ParseCommandLine(const QStringList& arguments);

} // namespace tessaly
