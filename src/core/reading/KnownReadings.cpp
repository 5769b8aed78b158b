#include "core/reading/KnownReadings.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "core/collection/LinkItem.h"
#include "core/collection/Project.h"
#include "core/text/Codepage.h"
#include "core/text/Kana.h"
#include "core/text/Sjis.h"
#include "core/text/Strings.h"
#include "core/util/AtomicFile.h"
#include "core/util/TextArena.h"

namespace tessaly {

namespace {

// The dictionary file's lines as (text, reading) in code page 932.
struct DictionaryLine {
    std::string text;
    std::string reading;
};

std::optional<DictionaryLine> ParseLine(std::string_view line)
{
    if (line.ends_with('\r')) {
        line.remove_suffix(1);
    }
    const std::size_t tab = line.find('\t');
    if (line.empty() || line.front() == '#' || tab == std::string_view::npos) {
        return std::nullopt;
    }
    const ConversionResult text = Utf8ToSjis(Trim(line.substr(0, tab)));
    const ConversionResult reading = Utf8ToSjis(Trim(line.substr(tab + 1)));
    if (!text.ok || !reading.ok || text.text.empty() || !IsHiragana(reading.text) || reading.text.empty()) {
        return std::nullopt;
    }
    return DictionaryLine{text.text, reading.text};
}

constexpr std::size_t kMostKnownBytes = 1024;

bool IsAsciiAlnum(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

// How texts are told apart: without spaces (half- and full-width), Latin
// letters in lower case.
std::string Key(std::string_view text)
{
    std::string key;
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t length = sjis::CharLength(text, pos);
        const std::string_view character = text.substr(pos, length);
        if (character != " " && character != "\x81\x40") {
            key += character.size() == 1 && character[0] >= 'A' && character[0] <= 'Z'
                ? static_cast<char>(character[0] - 'A' + 'a')
                : character[0];
            key.append(character.substr(1));
        }
        pos += length;
    }
    return key;
}

bool IsKanji(std::string_view text, std::size_t pos)
{
    const auto lead = static_cast<unsigned char>(text[pos]);
    return (lead >= 0x88 && lead <= 0x9F) || (lead >= 0xE0 && lead <= 0xEA)
        || text.substr(pos).starts_with("\x81\x58"); // 々
}

// A text that can be found inside others: two characters or more, one of
// them a kanji (a lone kanji or a kana word is too common to trust), or a
// Latin word of three letters or more.
bool CanBeAWord(std::string_view key)
{
    if (key.size() >= 3 && std::all_of(key.begin(), key.end(), IsAsciiAlnum)) {
        return true;
    }
    std::size_t characters = 0;
    bool kanji = false;
    for (std::size_t pos = 0; pos < key.size(); pos += sjis::CharLength(key, pos)) {
        ++characters;
        kanji = kanji || IsKanji(key, pos);
    }
    return characters >= 2 && kanji;
}

bool NeedsReading(std::string_view sjisText)
{
    for (std::size_t pos = 0; pos < sjisText.size(); pos += sjis::CharLength(sjisText, pos)) {
        const auto c = static_cast<unsigned char>(sjisText[pos]);
        if (std::isalnum(c) || c >= 0x82) {
            return true;
        }
    }
    return false;
}

} // namespace

void KnownReadings::Add(std::string_view text, std::string_view reading, bool confirmed)
{
    std::string key = Key(Trim(text));
    if (key.empty() || reading.empty() || key.size() > kMostKnownBytes || reading.size() > kMostKnownBytes) {
        return;
    }
    if (CanBeAWord(key)) {
        longest_ = std::max(longest_, key.size());
    }
    readings_.insert_or_assign(std::move(key), Known{std::string(reading), confirmed});
}

void KnownReadings::AddCollection(const Project& project)
{
    for (std::size_t genre = 0; genre < project.TrashIndex(); ++genre) {
        for (const std::string& line : project.Genres[genre].Lines) {
            TextArena decoded;
            const LinkItemView item = ViewItemLine(line, decoded);
            Add(item.Title, item.TitleKana, false);
            Add(item.Author, item.AuthorKana, false);
        }
    }
}

void KnownReadings::AddUserDictionary(const std::filesystem::path& path)
{
    const FileReadResult read = ReadWholeFile(path);
    if (!read.ok) {
        return;
    }
    for (const std::string_view line : SplitList(read.data, '\n')) {
        if (const std::optional<DictionaryLine> entry = ParseLine(line)) {
            Add(entry->text, entry->reading);
        }
    }
}

KnownReadings KnownReadingsOf(const Project& project, const std::filesystem::path& userDictionary)
{
    KnownReadings known;
    known.AddCollection(project);
    known.AddUserDictionary(userDictionary);
    return known;
}

const KnownReadings::Known* KnownReadings::Find(std::string_view text) const
{
    const auto found = readings_.find(Key(Trim(text)));
    return found == readings_.end() ? nullptr : &found->second;
}

std::size_t KnownReadings::KnownWordAt(std::string_view text, std::size_t pos, bool afterLatin) const
{
    if (text[pos] == ' ' || text.substr(pos).starts_with("\x81\x40")) {
        return 0;
    }
    // Spaces inside a known text do not count against its length.
    constexpr std::size_t kSpaceRoom = 16;
    std::vector<std::size_t> ends;
    for (std::size_t end = pos; end < text.size() && end - pos < longest_ + kSpaceRoom;) {
        end += sjis::CharLength(text, end);
        ends.push_back(end);
    }
    for (auto end = ends.rbegin(); end != ends.rend(); ++end) {
        const std::string_view candidate = text.substr(pos, *end - pos);
        const std::string key = Key(candidate);
        if (candidate.back() == ' ' || !CanBeAWord(key) || !readings_.contains(key)) {
            continue;
        }
        // A Latin word stands alone: "Tokyo" is in "Tokyo Tower", not in "Tokyoites".
        const bool latin = IsAsciiAlnum(key.front());
        if (!latin || (!afterLatin && (*end == text.size() || !IsAsciiAlnum(text[*end])))) {
            return candidate.size();
        }
    }
    return 0;
}

ReadingSuggestion LearnedReadingService::Suggest(std::string_view sjisText) const
{
    // A reading of the collection that is the dictionary's own guess is no
    // evidence: an import stored it.
    const auto judged = [this](std::string_view text, const KnownReadings::Known& known) {
        if (!known.confirmed) {
            ReadingSuggestion guess = dictionary_.Suggest(text);
            if (guess.reading == known.reading) {
                return guess;
            }
        }
        return ReadingSuggestion{known.reading, true, false};
    };
    if (const KnownReadings::Known* known = known_.Find(sjisText)) {
        return judged(sjisText, *known);
    }
    // Known words where they are, the dictionary for the text between them.
    ReadingSuggestion suggestion{{}, true, false};
    bool foundWord = false;
    const auto append = [&](const ReadingSuggestion& part, std::string_view text) {
        suggestion.reading += part.reading;
        suggestion.uncertain = suggestion.uncertain || part.uncertain;
        suggestion.complete = suggestion.complete && (part.complete || (part.reading.empty() && !NeedsReading(text)));
    };
    std::size_t restBegin = 0;
    bool afterLatin = false;
    for (std::size_t pos = 0; pos < sjisText.size();) {
        if (const std::size_t length = known_.KnownWordAt(sjisText, pos, afterLatin); length > 0) {
            if (const std::string_view rest = sjisText.substr(restBegin, pos - restBegin); !rest.empty()) {
                append(dictionary_.Suggest(rest), rest);
            }
            const std::string_view word = sjisText.substr(pos, length);
            append(judged(word, *known_.Find(word)), word);
            foundWord = true;
            pos += length;
            restBegin = pos;
            afterLatin = false;
        } else {
            afterLatin = IsAsciiAlnum(sjisText[pos]);
            pos += sjis::CharLength(sjisText, pos);
        }
    }
    if (!foundWord) {
        return dictionary_.Suggest(sjisText);
    }
    if (const std::string_view rest = sjisText.substr(restBegin); !rest.empty()) {
        append(dictionary_.Suggest(rest), rest);
    }
    return suggestion;
}

std::filesystem::path UserDictionaryPath()
{
    const char* dataHome = std::getenv("XDG_DATA_HOME");
    if (dataHome && *dataHome == '/') {
        return std::filesystem::path(dataHome) / "tessaly" / "readings.txt";
    }
    const char* home = std::getenv("HOME");
    return std::filesystem::path(home ? home : "") / ".local" / "share" / "tessaly" / "readings.txt";
}

bool LearnReading(
    const std::filesystem::path& path, std::string_view text, std::string_view reading, std::string& error)
{
    const ConversionResult textUtf8 = SjisToUtf8(Trim(text));
    const ConversionResult readingUtf8 = SjisToUtf8(reading);
    if (!textUtf8.ok || !readingUtf8.ok || textUtf8.text.empty()
        || textUtf8.text.find_first_of("\t\r\n") != std::string::npos || !IsHiragana(reading) || reading.empty()) {
        error = "not a text and a reading in hiragana";
        return false;
    }
    const FileReadResult read = ReadWholeFile(path);
    if (!read.ok && read.failure != ReadFailure::NotFound) {
        error = read.error;
        return false;
    }
    std::string data = read.ok ? std::string()
                               : std::string("# Readings learned by Tessaly: text, a tab, its reading in hiragana.\n");
    // The text's earlier line goes, everything else (comments too) stays.
    for (const std::string_view line : SplitList(read.data, '\n')) {
        const std::optional<DictionaryLine> entry = ParseLine(line);
        if (entry && entry->text == Trim(text)) {
            continue;
        }
        if (!line.empty()) {
            data.append(line).push_back('\n');
        }
    }
    data += textUtf8.text + '\t' + readingUtf8.text + '\n';
    std::error_code ignored;
    std::filesystem::create_directories(path.parent_path(), ignored);
    const FileWriteResult written = WriteFileAtomically(path, data);
    if (!written.ok) {
        error = written.error;
        return false;
    }
    return true;
}

} // namespace tessaly
