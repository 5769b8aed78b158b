#pragma once

// Readings the user has already given are the best evidence for new ones:
// those stored with the collection's titles and authors, and those he typed
// or corrected, kept in his dictionary of readings (a plain text file he
// may edit: UTF-8, "TEXT<TAB>READING" a line, "#" starts a comment).

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "core/reading/ReadingService.h"

namespace tessaly {

class Project;

class KnownReadings {
public:
    struct Known {
        std::string reading; // code page 932
        // The user gave it (his dictionary). A reading of the collection may
        // be a guess an import stored, and counts only where it is not the
        // dictionary's own uncertain guess.
        bool confirmed = false;
    };

    // Texts and readings in code page 932; a later reading of a text
    // replaces an earlier one. Texts are told apart without their spaces and
    // the case of Latin letters ("岡本 宙" is "岡本宙", "Piano" "piano"); a
    // text or reading beyond 1 KB is no name anyone types and is passed over.
    void Add(std::string_view text, std::string_view reading, bool confirmed = true);
    // Every item's title and author with their readings, unconfirmed.
    void AddCollection(const Project& project);
    // The user's dictionary; a missing file is an empty one, a line that is
    // not "TEXT<TAB>READING" in hiragana is passed over.
    void AddUserDictionary(const std::filesystem::path& path);

    const Known* Find(std::string_view text) const;
    // The length in bytes of the longest known word that begins at pos: a
    // text of two or more characters with a kanji, or a Latin word of three
    // letters or more standing alone (afterLatin: a Latin letter or digit is
    // just before pos); 0 when none.
    std::size_t KnownWordAt(std::string_view text, std::size_t pos, bool afterLatin) const;

private:
    std::unordered_map<std::string, Known> readings_;
    std::size_t longest_ = 0; // bytes of the longest text that can be a word
};

// The readings of the project's items, then those of the user's
// dictionary, which win.
KnownReadings KnownReadingsOf(const Project& project, const std::filesystem::path& userDictionary);

// A service that asks the known readings first: a text read before gets
// its reading, known words inside a text theirs, and the rest comes from
// the dictionary service.
class LearnedReadingService final : public ReadingService {
public:
    LearnedReadingService(const ReadingService& dictionary, const KnownReadings& known)
        : dictionary_(dictionary)
        , known_(known)
    {
    }

    ReadingSuggestion Suggest(std::string_view sjisText) const override;

private:
    const ReadingService& dictionary_;
    const KnownReadings& known_;
};

// The user's dictionary of readings: $XDG_DATA_HOME/tessaly/readings.txt
// (~/.local/share when XDG_DATA_HOME is not set).
std::filesystem::path UserDictionaryPath();

// Puts the reading of the text (code page 932) into the user's dictionary,
// replacing the text's earlier reading. The file is read afresh first, so
// that edits made meanwhile by hand are kept, and replaced whole. False,
// with the reason in error, when it cannot be written.
bool LearnReading(
    const std::filesystem::path& path, std::string_view text, std::string_view reading, std::string& error);

} // namespace tessaly
