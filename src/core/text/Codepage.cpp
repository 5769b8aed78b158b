#include "core/text/Codepage.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>
#include <mutex>
#include <stdexcept>

#include <unicode/ucnv.h>
#include <unicode/ucnv_cb.h>
#include <unicode/uchar.h>
#include <unicode/unorm2.h>

namespace tessaly {

namespace {

struct ConverterCloser {
    void operator()(UConverter* converter) const { ucnv_close(converter); }
};
using ConverterPtr = std::unique_ptr<UConverter, ConverterCloser>;

// Undecodable bytes show as U+FFFD in text meant for display.
void ToUnicodeReplacement(const void*, UConverterToUnicodeArgs* args, const char*, int32_t,
    UConverterCallbackReason reason, UErrorCode* error)
{
    if (reason == UCNV_UNASSIGNED || reason == UCNV_ILLEGAL || reason == UCNV_IRREGULAR) {
        *error = U_ZERO_ERROR;
        const UChar replacement = 0xFFFD;
        ucnv_cbToUWriteUChars(args, &replacement, 1, 0, error);
    }
}

// True when every byte is a character that code page 932 and Unicode give
// the same code: ASCII but for the three control codes the converter's
// table swaps (0x1A, 0x1C and 0x7F).
bool IsPlainAscii(std::string_view text)
{
    return std::all_of(text.begin(), text.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte < 0x7F && byte != 0x1A && byte != 0x1C;
    });
}

// One converter per thread: ICU converters keep state between calls.
UConverter* Cp932(bool stopOnError)
{
    thread_local ConverterPtr strict;
    thread_local ConverterPtr lenient;
    ConverterPtr& slot = stopOnError ? strict : lenient;
    if (!slot) {
        UErrorCode status = U_ZERO_ERROR;
        slot.reset(ucnv_open("windows-31j", &status));
        if (U_FAILURE(status)) {
            throw std::runtime_error("ICU has no converter for windows-31j");
        }
        if (stopOnError) {
            ucnv_setToUCallBack(slot.get(), UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
            ucnv_setFromUCallBack(slot.get(), UCNV_FROM_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
        } else {
            ucnv_setToUCallBack(slot.get(), ToUnicodeReplacement, nullptr, nullptr, nullptr, &status);
        }
    }
    ucnv_reset(slot.get());
    return slot.get();
}

std::string HexBytes(std::string_view bytes)
{
    std::string text;
    for (const char c : bytes) {
        char buffer[4];
        std::snprintf(buffer, sizeof buffer, "%02X", static_cast<unsigned>(static_cast<unsigned char>(c)));
        if (!text.empty()) {
            text += ' ';
        }
        text += "0x";
        text += buffer;
    }
    return text;
}

// Decodes UTF-8 strictly (no overlongs, surrogates or values past U+10FFFF);
// sets badOffset to the first bad byte, or npos.
std::u16string Utf16FromUtf8(std::string_view utf8, std::size_t* badOffset)
{
    std::u16string result;
    result.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        std::size_t length = 0;
        char32_t c = 0;
        char32_t minimum = 0;
        if (lead < 0x80) {
            length = 1;
            c = lead;
        } else if ((lead & 0xE0) == 0xC0) {
            length = 2;
            c = lead & 0x1Fu;
            minimum = 0x80;
        } else if ((lead & 0xF0) == 0xE0) {
            length = 3;
            c = lead & 0x0Fu;
            minimum = 0x800;
        } else if ((lead & 0xF8) == 0xF0) {
            length = 4;
            c = lead & 0x07u;
            minimum = 0x10000;
        }
        bool valid = length > 0 && i + length <= utf8.size();
        for (std::size_t k = 1; valid && k < length; ++k) {
            const auto next = static_cast<unsigned char>(utf8[i + k]);
            valid = (next & 0xC0) == 0x80;
            c = (c << 6) | (next & 0x3Fu);
        }
        if (!valid || c < minimum || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
            *badOffset = i;
            return {};
        }
        if (c < 0x10000) {
            result.push_back(static_cast<char16_t>(c));
        } else {
            result.push_back(static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10)));
            result.push_back(static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF)));
        }
        i += length;
    }
    *badOffset = std::string_view::npos;
    return result;
}

// The code point at i (a lone surrogate stands for itself); advances i.
char32_t NextCodePoint(std::u16string_view utf16, std::size_t& i)
{
    const char32_t unit = utf16[i++];
    if (unit >= 0xD800 && unit <= 0xDBFF && i < utf16.size() && utf16[i] >= 0xDC00 && utf16[i] <= 0xDFFF) {
        return 0x10000 + ((unit - 0xD800) << 10) + (utf16[i++] - 0xDC00u);
    }
    return unit;
}


// Linux input methods and clipboards give the JIS forms of a few characters
// (U+301C for the wave dash, say), while code page 932 holds them under other
// code points; each maps to the form the code page writes.
void MapJisFormsToCp932(std::u16string& utf16)
{
    for (char16_t& unit : utf16) {
        switch (unit) {
        case u'\u301C': unit = u'\uFF5E'; break;
        case u'\u2016': unit = u'\u2225'; break;
        case u'\u2212': unit = u'\uFF0D'; break;
        case u'\u00A2': unit = u'\uFFE0'; break;
        case u'\u00A3': unit = u'\uFFE1'; break;
        case u'\u00AC': unit = u'\uFFE2'; break;
        case u'\u2014': unit = u'\u2015'; break;
        default: break;
        }
    }
}

std::string Utf8FromUtf16(std::u16string_view utf16)
{
    std::string utf8;
    utf8.reserve(utf16.size() * 3);
    for (std::size_t i = 0; i < utf16.size();) {
        AppendUtf8(utf8, NextCodePoint(utf16, i));
    }
    return utf8;
}

} // namespace

void AppendUtf8(std::string& text, char32_t c)
{
    if (c < 0x80) {
        text += static_cast<char>(c);
    } else if (c < 0x800) {
        text += static_cast<char>(0xC0 | (c >> 6));
        text += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        text += static_cast<char>(0xE0 | (c >> 12));
        text += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        text += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        text += static_cast<char>(0xF0 | (c >> 18));
        text += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        text += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        text += static_cast<char>(0x80 | (c & 0x3F));
    }
}

ConversionResult Utf8ToSjis(std::string_view utf8)
{
    ConversionResult result;
    if (IsPlainAscii(utf8)) {
        result.text = utf8;
        return result;
    }
    std::size_t badUtf8 = 0;
    std::u16string utf16 = Utf16FromUtf8(utf8, &badUtf8);
    if (badUtf8 != std::string_view::npos) {
        result.ok = false;
        result.errorOffset = badUtf8;
        result.badCharacter = HexBytes(utf8.substr(badUtf8, 1));
        return result;
    }
    MapJisFormsToCp932(utf16);
    UConverter* converter = Cp932(true);
    result.text.resize(utf16.size() * 2 + 2);
    char* target = result.text.data();
    const UChar* source = utf16.data();
    UErrorCode status = U_ZERO_ERROR;
    ucnv_fromUnicode(
        converter, &target, target + result.text.size(), &source, source + utf16.size(), nullptr, true, &status);
    if (U_SUCCESS(status)) {
        result.text.resize(static_cast<std::size_t>(target - result.text.data()));
        return result;
    }
    // Name the first character that code page 932 cannot hold.
    result.ok = false;
    result.text.clear();
    std::size_t utf8Offset = 0;
    for (std::size_t i = 0; i < utf16.size();) {
        const std::size_t start = i;
        std::string character;
        AppendUtf8(character, NextCodePoint(utf16, i));
        UErrorCode charStatus = U_ZERO_ERROR;
        char buffer[8];
        ucnv_fromUChars(
            Cp932(true), buffer, sizeof buffer, utf16.data() + start, static_cast<int32_t>(i - start), &charStatus);
        if (U_FAILURE(charStatus)) {
            result.errorOffset = utf8Offset;
            result.badCharacter = character;
            return result;
        }
        utf8Offset += character.size();
    }
    return result;
}

namespace {

// The code page 932 bytes of one character (a code point as UTF-16), or
// nothing.
std::optional<std::string> Cp932Character(std::u16string utf16)
{
    MapJisFormsToCp932(utf16);
    char buffer[16];
    UErrorCode status = U_ZERO_ERROR;
    const int32_t length = ucnv_fromUChars(
        Cp932(true), buffer, sizeof buffer, utf16.data(), static_cast<int32_t>(utf16.size()), &status);
    if (U_FAILURE(status) || length <= 0) {
        return std::nullopt;
    }
    return std::string(buffer, static_cast<std::size_t>(length));
}

std::u16string Normalized(const UNormalizer2* normalizer, std::u16string_view text)
{
    std::u16string result(text.size() * 4 + 8, u'\0');
    UErrorCode status = U_ZERO_ERROR;
    const int32_t length = unorm2_normalize(normalizer, text.data(), static_cast<int32_t>(text.size()),
        result.data(), static_cast<int32_t>(result.size()), &status);
    if (U_FAILURE(status)) {
        return std::u16string(text);
    }
    result.resize(static_cast<std::size_t>(length));
    return result;
}

// The dashes and waves that normalisation does not bring into code page 932.
char16_t NearestDash(char32_t c)
{
    switch (c) {
    case 0x02DC: case 0x2053: case 0x223C: case 0x3030: return u'\uFF5E'; // ～
    case 0x2012: case 0x2013: return u'\uFF0D'; // －
    case 0x2E3A: case 0x2E3B: return u'\u2015'; // ―
    default: return 0;
    }
}

std::optional<std::string> NearestCp932(char32_t c, std::u16string_view character)
{
    if (const char16_t dash = NearestDash(c)) {
        return Cp932Character(std::u16string(1, dash));
    }
    UErrorCode status = U_ZERO_ERROR;
    // Compatibility forms (full-width and half-width letters, ligatures,
    // circled digits) first, then the letter without its accents.
    if (const UNormalizer2* nfkc = unorm2_getNFKCInstance(&status); U_SUCCESS(status)) {
        const std::u16string compatible = Normalized(nfkc, character);
        if (compatible != character && !compatible.empty()) {
            if (std::optional<std::string> converted = Cp932Character(compatible)) {
                return converted;
            }
        }
    }
    if (const UNormalizer2* nfkd = unorm2_getNFKDInstance(&status); U_SUCCESS(status)) {
        std::u16string base;
        for (const char16_t unit : Normalized(nfkd, character)) {
            if (u_charType(unit) != U_NON_SPACING_MARK) {
                base += unit;
            }
        }
        if (!base.empty() && base != character) {
            return Cp932Character(base);
        }
    }
    return std::nullopt;
}

void AppendNearest(const std::u16string& utf16, NearestConversion& result)
{
    for (std::size_t i = 0; i < utf16.size();) {
        const std::size_t start = i;
        const char32_t c = NextCodePoint(utf16, i);
        const std::u16string character = utf16.substr(start, i - start);
        std::optional<std::string> converted = Cp932Character(character);
        if (!converted) {
            converted = NearestCp932(c, character);
        }
        if (converted) {
            result.text += *converted;
        } else {
            std::string shown;
            AppendUtf8(shown, c);
            result.leftOut.push_back(std::move(shown));
        }
    }
}

} // namespace

UserFileText UserFileToSjis(std::string data)
{
    constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
    const bool marked = std::string_view(data).starts_with(kByteOrderMark);
    const std::string_view utf8 = std::string_view(data).substr(marked ? kByteOrderMark.size() : 0);
    const bool beyondAscii
        = std::any_of(utf8.begin(), utf8.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
    if (!(marked || beyondAscii) || !Utf8ToUtf16(utf8)) {
        return {std::move(data), {}};
    }
    NearestConversion converted = Utf8ToSjisNearest(utf8);
    return {std::move(converted.text), {true, std::move(converted.leftOut)}};
}

std::string CodePointName(const std::string& character)
{
    const std::optional<std::u16string> utf16 = Utf8ToUtf16(character);
    if (!utf16 || utf16->empty()) {
        return character;
    }
    char32_t c = (*utf16)[0];
    if (utf16->size() == 2) {
        c = 0x10000 + ((c - 0xD800) << 10) + ((*utf16)[1] - 0xDC00u);
    }
    char name[16];
    std::snprintf(name, sizeof name, "U+%04X", static_cast<unsigned>(c));
    return name;
}

NearestConversion Utf8ToSjisNearest(std::string_view utf8)
{
    NearestConversion result;
    if (ConversionResult whole = Utf8ToSjis(utf8); whole.ok) {
        result.text = std::move(whole.text);
        return result;
    }
    // Bytes that are not UTF-8 are named by their codes and left out.
    for (std::string_view rest = utf8; !rest.empty();) {
        std::size_t badOffset = 0;
        Utf16FromUtf8(rest, &badOffset);
        const std::size_t validLength = std::min(badOffset, rest.size());
        AppendNearest(Utf16FromUtf8(rest.substr(0, validLength), &badOffset), result);
        if (validLength < rest.size()) {
            result.leftOut.push_back(HexBytes(rest.substr(validLength, 1)));
            rest.remove_prefix(validLength + 1);
        } else {
            rest = {};
        }
    }
    return result;
}

namespace {

// Decodes with the converter's own error handling; on a stop, consumed
// tells how far the input was read.
std::u16string DecodeCp932(UConverter* converter, std::string_view sjis, UErrorCode& status, std::size_t& consumed)
{
    if (IsPlainAscii(sjis)) {
        // File names and addresses mostly are: no converter needed.
        consumed = sjis.size();
        return std::u16string(sjis.begin(), sjis.end());
    }
    std::u16string utf16(sjis.size() + 1, u'\0');
    UChar* target = utf16.data();
    const char* source = sjis.data();
    ucnv_toUnicode(
        converter, &target, target + utf16.size(), &source, sjis.data() + sjis.size(), nullptr, true, &status);
    consumed = static_cast<std::size_t>(source - sjis.data());
    utf16.resize(static_cast<std::size_t>(target - utf16.data()));
    return utf16;
}

} // namespace

ConversionResult SjisToUtf8(std::string_view sjis)
{
    ConversionResult result;
    if (IsPlainAscii(sjis)) {
        result.text = sjis;
        return result;
    }
    UConverter* converter = Cp932(true);
    UErrorCode status = U_ZERO_ERROR;
    std::size_t consumed = 0;
    const std::u16string utf16 = DecodeCp932(converter, sjis, status, consumed);
    if (U_FAILURE(status)) {
        result.ok = false;
        char bad[8];
        int8_t badLength = sizeof bad;
        UErrorCode ignored = U_ZERO_ERROR;
        ucnv_getInvalidChars(converter, bad, &badLength, &ignored);
        const auto length = static_cast<std::size_t>(badLength);
        result.errorOffset = consumed >= length ? consumed - length : 0;
        result.badCharacter = HexBytes(std::string_view(bad, length));
        return result;
    }
    result.text = Utf8FromUtf16(utf16);
    return result;
}

std::u16string SjisToUtf16Lossy(std::string_view sjis)
{
    UErrorCode status = U_ZERO_ERROR;
    std::size_t consumed = 0;
    return DecodeCp932(Cp932(false), sjis, status, consumed);
}

std::string SjisToUtf8Lossy(std::string_view sjis)
{
    return Utf8FromUtf16(SjisToUtf16Lossy(sjis));
}

std::optional<std::u16string> Utf8ToUtf16(std::string_view utf8)
{
    std::size_t badOffset = 0;
    std::u16string utf16 = Utf16FromUtf8(utf8, &badOffset);
    if (badOffset != std::string_view::npos) {
        return std::nullopt;
    }
    return utf16;
}

std::string Utf16ToUtf8(std::u16string_view utf16)
{
    return Utf8FromUtf16(utf16);
}

const std::string& SjisLiteral(const char* utf8)
{
    static std::mutex mutex;
    static std::map<const char*, std::string> cache;
    const std::lock_guard lock(mutex);
    auto found = cache.find(utf8);
    if (found == cache.end()) {
        ConversionResult converted = Utf8ToSjis(utf8);
        if (!converted.ok) {
            throw std::logic_error(std::string("program text not representable in code page 932: ") + utf8);
        }
        found = cache.emplace(utf8, std::move(converted.text)).first;
    }
    return found->second;
}

} // namespace tessaly
