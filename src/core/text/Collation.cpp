#include "core/text/Collation.h"

#include <memory>
#include <stdexcept>

#include <unicode/uchar.h>
#include <unicode/ucol.h>
#include <unicode/ustring.h>

#include "core/text/Codepage.h"
#include "core/text/Sjis.h"

namespace tessaly {

namespace {

struct CollatorCloser {
    void operator()(UCollator* collator) const { ucol_close(collator); }
};

UCollator* JapaneseCollator()
{
    thread_local std::unique_ptr<UCollator, CollatorCloser> collator = [] {
        UErrorCode status = U_ZERO_ERROR;
        std::unique_ptr<UCollator, CollatorCloser> opened(ucol_open("ja", &status));
        if (U_FAILURE(status)) {
            throw std::runtime_error("ICU has no Japanese collator");
        }
        return opened;
    }();
    return collator.get();
}

std::u16string Folded(std::string_view text)
{
    const std::u16string utf16 = SjisToUtf16Lossy(text);
    std::u16string folded(utf16.size() + 8, u'\0');
    for (;;) {
        UErrorCode status = U_ZERO_ERROR;
        const int32_t length = u_strFoldCase(folded.data(), static_cast<int32_t>(folded.size()), utf16.data(),
            static_cast<int32_t>(utf16.size()), U_FOLD_CASE_DEFAULT, &status);
        if (status == U_BUFFER_OVERFLOW_ERROR) {
            folded.assign(static_cast<std::size_t>(length) + 1, u'\0');
            continue;
        }
        folded.resize(U_SUCCESS(status) ? static_cast<std::size_t>(length) : 0);
        return folded;
    }
}

} // namespace

int CompareText(std::string_view a, std::string_view b)
{
    const std::u16string left = Folded(a);
    const std::u16string right = Folded(b);
    return ucol_strcoll(JapaneseCollator(), left.data(), static_cast<int32_t>(left.size()), right.data(),
        static_cast<int32_t>(right.size()));
}

std::string CollationKey(std::string_view text)
{
    const std::u16string folded = Folded(text);
    std::string key(folded.size() * 4 + 16, '\0');
    for (;;) {
        const int32_t length = ucol_getSortKey(JapaneseCollator(), folded.data(), static_cast<int32_t>(folded.size()),
            reinterpret_cast<uint8_t*>(key.data()), static_cast<int32_t>(key.size()));
        if (static_cast<std::size_t>(length) > key.size()) {
            key.assign(static_cast<std::size_t>(length), '\0');
            continue;
        }
        // The key ends with a zero byte that byte comparison does not need.
        key.resize(length > 0 ? static_cast<std::size_t>(length) - 1 : 0);
        return key;
    }
}

bool SameNameIgnoringAsciiCase(std::string_view a, std::string_view b)
{
    // Character by character; while the bytes agree, so do the character
    // boundaries of both texts.
    if (a.size() != b.size()) {
        return false;
    }
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    for (std::size_t pos = 0; pos < a.size();) {
        const std::size_t length = sjis::CharLength(a, pos);
        if (length == 1 ? lower(a[pos]) != lower(b[pos]) : a.substr(pos, length) != b.substr(pos, length)) {
            return false;
        }
        pos += length;
    }
    return true;
}

std::string AsciiLower(std::string_view text)
{
    std::string lowered(text);
    AsciiLowerInPlace(lowered);
    return lowered;
}

void AsciiLowerInPlace(std::string& text)
{
    for (std::size_t pos = 0; pos < text.size(); pos += sjis::CharLength(text, pos)) {
        char& c = text[pos];
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
}

std::string LatinLower(std::string_view text)
{
    // "Ａ".."Ｚ" are 0x82 0x60..0x79, "ａ".."ｚ" 0x82 0x81..0x9A.
    std::string lowered(text);
    for (std::size_t pos = 0; pos < lowered.size(); pos += sjis::CharLength(lowered, pos)) {
        char& c = lowered[pos];
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        } else if (c == '\x82' && pos + 1 < lowered.size() && lowered[pos + 1] >= '\x60'
            && lowered[pos + 1] <= '\x79') {
            lowered[pos + 1] = static_cast<char>(lowered[pos + 1] + 0x21);
        }
    }
    return lowered;
}

} // namespace tessaly
