#pragma once

// The EDRDG's dictionaries as Debian packages them (enamdict and edict:
// EUC-JP, one entry a line, "KEY [READING] /gloss/gloss/.../"), read for
// what suggestions need: the readings of proper names and works, those of
// words, and the katakana of English words.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tessaly {

// What a name names, as ENAMDICT's tags say.
enum NameKind : std::uint8_t {
    kSurname = 1,
    kGivenName = 2,
    kPerson = 4, // a full name of someone known
    kWork = 8, // a title of a work or a product
    kPlace = 16,
    kOrganisation = 32,
    kOtherName = 64,
    kCommonWord = 128, // EDICT's "(P)": a word of everyday use
};

enum class HeadwordFile {
    Names, // ENAMDICT: the tags say what a name names
    Words, // EDICT: common words are marked
};

struct HeadwordReading {
    std::string_view kana; // UTF-8, hiragana (katakana where the word has it)
    std::uint8_t kinds = 0;
};

// The headwords written with kanji or kana and their readings: ENAMDICT's
// proper names and titles of works, or EDICT's words.
class HeadwordDictionary {
public:
    // Nothing, with the reason in error, when the file cannot be read.
    static std::optional<HeadwordDictionary> Read(const std::string& path, HeadwordFile file, std::string& error);
    // From text in the file's own form, converted to UTF-8 already.
    static HeadwordDictionary Parse(std::string utf8, HeadwordFile file);

    // Every reading of the text (UTF-8), in the file's order.
    std::vector<HeadwordReading> Find(std::string_view text) const;

private:
    struct Entry {
        std::uint32_t key = 0;
        std::uint32_t reading = 0;
        std::uint16_t keyLength = 0;
        std::uint16_t readingLength = 0;
        std::uint8_t kinds = 0;
    };
    std::string_view Key(const Entry& entry) const
    {
        return std::string_view(text_).substr(entry.key, entry.keyLength);
    }

    std::string text_;
    std::vector<Entry> entries_; // by key, then in the file's order
};

// EDICT's katakana words by their English glosses: "piano" as "ピアノ".
class EnglishWords {
public:
    static EnglishWords Parse(std::string_view utf8);

    // The usual katakana of an English word (any case); nothing when no
    // entry glosses it as that one word.
    std::optional<std::string> Katakana(std::string_view word) const;

private:
    struct Word {
        std::string english; // lower case
        std::string katakana;
        int rank = 0; // lower is likelier
    };
    const Word* Find(const std::string& english) const;

    std::vector<Word> words_; // by english, best first
};

// A dictionary file in EUC-JP as UTF-8; nothing, with the reason in error,
// when it cannot be read.
std::optional<std::string> ReadEucJp(const std::string& path, std::string& error);

} // namespace tessaly
