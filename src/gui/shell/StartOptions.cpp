#include "gui/shell/StartOptions.h"

namespace tessaly {

StartOptions ParseCommandLine(const QStringList& arguments)
{
    // Only these four are switches: every absolute path here begins with "/".
    StartOptions options;
    for (const QString& argument : arguments) {
        const bool switchLike = argument.size() == 2
            && (argument.front() == QLatin1Char('-') || argument.front() == QLatin1Char('/'));
        const QChar name = switchLike ? argument.back().toUpper() : QChar();
        if (name == QLatin1Char('T')) {
            options.startScreen = !options.startScreen;
        } else if (name == QLatin1Char('W')) {
            options.restorePosition = !options.restorePosition;
        } else {
            options.passedFiles.append(argument);
        }
    }
    return options;
}

} // namespace tessaly
