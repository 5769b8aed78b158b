#pragma once

// The owner's publish command: run after the output, through the shell,
// with the site's root in TESSALY_ROOT. Nothing of the collection goes
// into the command line; the command is the owner's own setting.

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

#include "core/text/EncodedText.h"

namespace tessaly {

struct PublishOutcome {
    enum class Status { Succeeded, Failed, NotStarted, Stopped };
    Status status = Status::NotStarted;
    int exitCode = 0; // as the command exited
    int signal = 0; // the signal that ended it, if one did
    Utf8Text error; // why it could not start
};

struct PublishWatch {
    // Each line the command writes, to its standard output or error, as it
    // comes; UTF-8 as far as the command wrote UTF-8.
    std::function<void(std::string_view line)> line;
    // Asked while the command runs; true ends it (and what it started).
    std::function<bool()> shouldStop;
};

// command: UTF-8, run by /bin/sh -c in root, standard input empty.
PublishOutcome RunPublishCommand(const Utf8Text& command, const std::filesystem::path& root, const PublishWatch& watch);

// The run log's lines for the end of a command (code page 932).
SjisText PublishOutcomeLine(const PublishOutcome& outcome);

// A line of the command's output for the run log: UTF-8 to code page 932,
// as near as it goes, and bytes that are not UTF-8 shown as such.
SjisText PublishOutputLine(std::string_view line);

} // namespace tessaly
