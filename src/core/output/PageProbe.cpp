#include "core/output/PageProbe.h"

#include <cstdint>

#include <sys/stat.h>

#include "core/text/ByteScan.h"
#include "core/text/Strings.h"
#include "core/util/AtomicFile.h"

namespace tessaly {

namespace {

// True when every line of text ends in CR LF and there is no other CR or
// LF: the text does not end in a CR, and a byte is an LF exactly where the
// byte before it is a CR. Most pages pass, and they are long: eight bytes
// are looked at in one step.
bool IsCrLfLines(std::string_view text)
{
    if (!text.empty() && !text.ends_with(kLineBreak)) {
        return false;
    }
    std::size_t i = 0;
    if constexpr (kWordScan) {
        uint64_t previousCrs = 0; // of the last word
        for (; i + 8 <= text.size(); i += 8) {
            const uint64_t word = WordAt(text, i);
            const uint64_t crs = ByteMatches(word, '\r');
            if (((crs << 8) | (previousCrs >> 56)) != ByteMatches(word, '\n')) {
                return false;
            }
            previousCrs = crs;
        }
    }
    for (; i < text.size(); ++i) {
        if ((text[i] == '\n') != (i > 0 && text[i - 1] == '\r')) {
            return false;
        }
    }
    return true;
}

} // namespace

PageOnDisk ProbePage(const std::filesystem::path& file, std::string_view text)
{
    struct stat status { };
    if (::lstat(file.c_str(), &status) != 0) {
        return {ExistingPage::Missing, false};
    }
    if (S_ISLNK(status.st_mode)) {
        return {ExistingPage::Link, false};
    }
    if (!S_ISREG(status.st_mode)) {
        return {ExistingPage::NotAFile, false};
    }
    const bool shared = status.st_nlink > 1;
    // A larger file cannot be the same page.
    const FileReadResult existing = ReadWholeFile(file, text.size());
    if (existing.ok && (existing.data == text || PageFileText(existing.data) == text)) {
        return {ExistingPage::Same, shared};
    }
    return {existing.failure == ReadFailure::NotFound ? ExistingPage::Missing : ExistingPage::Different, shared};
}

std::string PageFileText(std::string text)
{
    // Same as splitting into lines and ending each with CR LF, in one pass;
    // most pages are in that form already.
    if (IsCrLfLines(text)) {
        return text;
    }
    std::string lines;
    lines.reserve(text.size() + 2);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r') {
            if (i + 1 < text.size() && text[i + 1] == '\n') {
                ++i;
            }
            lines += kLineBreak;
        } else if (c == '\n') {
            lines += kLineBreak;
        } else {
            lines += c;
        }
    }
    if (!lines.empty() && !lines.ends_with(kLineBreak)) {
        lines += kLineBreak;
    }
    return lines;
}

} // namespace tessaly
