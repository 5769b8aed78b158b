#pragma once

// Readings suggested from the text of a title or an author name. The
// dictionary work is MeCab's, helped by the EDRDG's dictionaries of names
// and English words where they are installed; without MeCab (or without its
// dictionary) no service opens, and callers go on without suggestions.

#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tessaly {

class EnglishWords;
class HeadwordDictionary;

struct ReadingSuggestion {
    // Hiragana by the project reader's rule (code page 932); what could not
    // be read is left out.
    std::string reading;
    // Every letter and digit of the text was read. Punctuation and symbols
    // have no reading and do not count.
    bool complete = false;
    // Something was guessed: a word the dictionary does not know, a name
    // with other readings as likely, Latin letters or digits read by rule.
    bool uncertain = false;

    bool Certain() const { return complete && !uncertain; }

    friend bool operator==(const ReadingSuggestion&, const ReadingSuggestion&) = default;
};

class ReadingService {
public:
    virtual ~ReadingService() = default;

    // The suggestion for a title or a name (code page 932).
    virtual ReadingSuggestion Suggest(std::string_view sjisText) const = 0;
};

// The suggestion for a link's title (code page 932); a title of symbols
// only is read as the name of its site ("www.example.jp/a/" as "example"),
// a guess.
ReadingSuggestion SuggestTitleReading(const ReadingService& readings, std::string_view title, std::string_view url);

struct ReadingServiceStatus {
    std::unique_ptr<ReadingService> service; // null when none could be opened
    std::string error; // why not, in English, for logs and the command line
};

// Where the dictionaries are; empty means where Debian installs them. The
// EDRDG files are optional: without them names and English words are read
// by MeCab and rule alone.
struct ReadingDictionaryPaths {
    std::string mecabDir; // the UTF-8 IPA dictionary
    std::string names = "/usr/share/edict/enamdict";
    std::string words = "/usr/share/edict/edict";
};

// The MeCab service on the UTF-8 IPA dictionary, never on the system's
// default dictionary, whatever /etc/mecabrc says. The EDRDG files are read
// in the background and waited for by the first suggestion that needs them.
ReadingServiceStatus OpenReadingService(const ReadingDictionaryPaths& paths = {});

// One word of the text as the dictionary splits it (UTF-8).
struct ReadingToken {
    std::string surface;
    std::string reading; // the dictionary's katakana; empty for a word it does not know
    bool unknown = false; // not in the dictionary
    bool name = false; // a proper noun
    bool contested = false; // another reading of the same word ranks close
    bool person = false; // a proper noun that is a person's name
    bool noun = false;
};

struct ReadingDictionaries {
    const HeadwordDictionary* names = nullptr; // ENAMDICT
    const HeadwordDictionary* words = nullptr; // EDICT
    const EnglishWords* english = nullptr; // EDICT's katakana words
};

// The suggestion for the text (UTF-8, NFKC) made of its words: a name or
// work ENAMDICT knows as the whole text or as a run of words takes its
// reading there, and so does a compound EDICT knows when it reads the run
// otherwise; each other word its reading, or itself when written in kana;
// Latin letters and digits are read by rule. A word that holds
// letters or digits and gets no reading makes the suggestion partial.
ReadingSuggestion ComposeReading(
    std::string_view text, std::span<const ReadingToken> tokens, const ReadingDictionaries& dictionaries = {});

} // namespace tessaly
