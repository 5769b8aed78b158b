#include "Commands.h"

#include <array>
#include <filesystem>
#include <string>

#include "collection/Project.h"
#include "collection/ProjectFile.h"
#include "text/Codepage.h"
#include "text/FieldText.h"
#include "text/Sjis.h"

namespace tessaly::cli {

namespace {

std::string Shown(std::string_view sjisText)
{
    return SjisToUtf8Lossy(sjisText);
}

// Loads a project for a command; prints why and returns false when it
// cannot be used.
bool LoadForCommand(Project& project, const std::filesystem::path& path, Streams streams, LoadOutcome& outcome)
{
    outcome = LoadProjectFile(project, path);
    switch (outcome.result) {
    case LoadOutcome::Result::Loaded:
        break;
    case LoadOutcome::Result::NotFound:
        streams.err << "tessaly-cli: " << path.string() << ": no such project file\n";
        return false;
    case LoadOutcome::Result::ReadFailed:
        streams.err << "tessaly-cli: cannot read " << outcome.error << '\n';
        return false;
    case LoadOutcome::Result::StoppedAtBadSerialMax:
        streams.err << "tessaly-cli: " << path.string() << ":" << outcome.badLineNumber
                    << ": {serialmax} is not a number ('" << Shown(outcome.badValue)
                    << "'); the rest of the file was not read\n";
        break;
    }
    if (outcome.namesWithVerticalLine) {
        streams.err << "warning: " << Shown(VerticalLineWarning()) << '\n';
    }
    return true;
}

std::string TemplateName(std::string_view stored)
{
    return UnescapeField(stored.substr(0, sjis::FindChar(stored, '/')));
}

int Info(std::span<const std::string_view> args, Streams streams)
{
    if (args.size() != 1) {
        streams.err << "tessaly-cli info: expected one project file\n";
        return 2;
    }
    Project project;
    LoadOutcome outcome;
    if (!LoadForCommand(project, std::filesystem::path(args[0]), streams, outcome)) {
        return 1;
    }
    std::ostream& out = streams.out;
    out << "Title:          " << Shown(project.Title) << '\n';
    out << "Owner:          " << Shown(project.AuthorName) << '\n';
    out << "Serial maximum: " << project.SerialMax << '\n';
    std::size_t items = 0;
    out << "Genres:\n";
    for (std::size_t i = 0; i < project.TrashIndex(); ++i) {
        const Genre& genre = project.Genres[i];
        out << "  " << Shown(genre.Name) << "  " << genre.Lines.size() << '\n';
        items += genre.Lines.size();
    }
    out << "Items:          " << items << '\n';
    out << "Attributes:     " << project.Attributes.size() << '\n';
    out << "Contents:       " << project.Contents.size() << '\n';
    out << "Templates:     ";
    for (const std::string& stored : project.Templates) {
        out << ' ' << Shown(TemplateName(stored));
    }
    out << '\n';
    return outcome.result == LoadOutcome::Result::Loaded ? 0 : 1;
}

int Resave(std::span<const std::string_view> args, Streams streams)
{
    if (args.size() != 2) {
        streams.err << "tessaly-cli resave: expected an input and an output project file\n";
        return 2;
    }
    Project project;
    LoadOutcome outcome;
    if (!LoadForCommand(project, std::filesystem::path(args[0]), streams, outcome)) {
        return 1;
    }
    if (outcome.result != LoadOutcome::Result::Loaded) {
        streams.err << "tessaly-cli resave: not saving a project that was read only in part\n";
        return 1;
    }
    const SaveOutcome saved = SaveProjectFile(project, std::filesystem::path(args[1]));
    if (!saved.ok) {
        streams.err << "tessaly-cli: cannot save " << saved.error << '\n';
        return 1;
    }
    return 0;
}

constexpr std::array kCommands{
    Command{"info", "show what a project file holds",
            "PROJECT.TSP\n\n"
            "Prints the title, serial maximum, each genre with its item count, the sizes of\n"
            "the attribute and content vocabularies, the user template names and any\n"
            "warning from reading the file.\n",
            Info},
    Command{"resave", "read a project file and write it again",
            "IN.TSP OUT.TSP\n\n"
            "Reads IN.TSP and writes it to OUT.TSP in the program's own form. Item lines\n"
            "are written exactly as they were read, so a file the program wrote comes back\n"
            "byte for byte. OUT.TSP is replaced only when the whole file was written.\n",
            Resave},
};

} // namespace

std::span<const Command> AllCommands()
{
    return kCommands;
}

} // namespace tessaly::cli
