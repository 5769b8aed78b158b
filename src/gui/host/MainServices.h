#pragma once

// The services the desktop program's windows and commands work through;
// the program passes the real ones, tests scripted ones.

#include <filesystem>

#include "core/settings/AppSettings.h"

namespace tessaly {

class Clock;
class FileAssociation;
class FileDialogs;
class MessagePresenter;
class ReadingService;
class SettingsStore;
class ShellServices;

struct MainServices {
    MessagePresenter& messages;
    FileDialogs& files;
    SettingsStore& settings;
    const Clock& clock;
    ShellServices& shell;
    FileAssociation& association;
    SettingsEnvironment environment;
    // Suggests readings of titles and names; none without MeCab.
    const ReadingService* readings = nullptr;
    // The user's dictionary of readings, which learns his corrections;
    // nothing is learned when empty.
    std::filesystem::path readingsDictionary = {};
};

} // namespace tessaly
