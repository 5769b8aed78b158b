#pragma once

// Readings suggested from the text of a title or an author name. The
// dictionary work is MeCab's; without MeCab (or without its dictionary) no
// service opens, and callers go on without suggestions.

#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tessaly {

struct ReadingSuggestion {
    // Hiragana by the project reader's rule (code page 932); what could not
    // be read (Latin letters, digits) is left out.
    std::string reading;
    // Every letter and digit of the text was read. Punctuation and symbols
    // have no reading and do not count.
    bool complete = false;

    friend bool operator==(const ReadingSuggestion&, const ReadingSuggestion&) = default;
};

class ReadingService {
public:
    virtual ~ReadingService() = default;

    // The suggestion for a title or a name (code page 932).
    virtual ReadingSuggestion Suggest(std::string_view sjisText) const = 0;
};

struct ReadingServiceStatus {
    std::unique_ptr<ReadingService> service; // null when none could be opened
    std::string error; // why not, in English, for logs and the command line
};

// The MeCab service on the UTF-8 IPA dictionary in dictionaryDir, or, when
// none is given, in the first of the places distributions install it;
// never on the system's default dictionary, whatever /etc/mecabrc says.
ReadingServiceStatus OpenReadingService(const std::string& dictionaryDir = {});

// One word of the text as the dictionary splits it (UTF-8); reading is the
// dictionary's katakana, empty for a word it does not know.
struct ReadingToken {
    std::string surface;
    std::string reading;
};

// The suggestion made of the words: each word by its reading, or by itself
// when it is written in kana; a word that holds letters or digits and has
// neither makes the suggestion partial.
ReadingSuggestion ReadingOfTokens(std::span<const ReadingToken> tokens);

} // namespace tessaly
