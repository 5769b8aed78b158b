#include "core/site/SearchFold.h"

#include <unicode/unorm2.h>
#include <unicode/ustring.h>

#include "core/text/Codepage.h"

namespace tessaly {

namespace {

// Runs one of ICU's UTF-16 transformations, growing the room when the
// result is longer than the text (NFKC spells out "ﷺ" in 18 letters).
template <typename Transform> std::u16string Transformed(const std::u16string& text, Transform transform)
{
    std::u16string result(text.size() + 16, u'\0');
    for (int attempt = 0; attempt < 2; ++attempt) {
        UErrorCode status = U_ZERO_ERROR;
        const int32_t length = transform(text, result, status);
        if (status == U_BUFFER_OVERFLOW_ERROR) {
            result.assign(static_cast<std::size_t>(length), u'\0');
            continue;
        }
        if (U_FAILURE(status)) {
            return text;
        }
        result.resize(static_cast<std::size_t>(length));
        return result;
    }
    return text;
}

std::u16string Nfkc(const std::u16string& text)
{
    UErrorCode status = U_ZERO_ERROR;
    const UNormalizer2* nfkc = unorm2_getNFKCInstance(&status);
    if (U_FAILURE(status)) {
        return text;
    }
    return Transformed(text, [nfkc](const std::u16string& in, std::u16string& out, UErrorCode& error) {
        return unorm2_normalize(
            nfkc, in.data(), static_cast<int32_t>(in.size()), out.data(), static_cast<int32_t>(out.size()), &error);
    });
}

std::u16string Lower(const std::u16string& text)
{
    return Transformed(text, [](const std::u16string& in, std::u16string& out, UErrorCode& error) {
        return u_strToLower(
            out.data(), static_cast<int32_t>(out.size()), in.data(), static_cast<int32_t>(in.size()), "", &error);
    });
}

char16_t FoldedUnit(char16_t unit)
{
    if (unit >= u'\u30A1' && unit <= u'\u30F6') { // ァ..ヶ
        return static_cast<char16_t>(unit - 0x60);
    }
    switch (unit) {
    case u'\u30FD': return u'\u309D'; // ヽ
    case u'\u30FE': return u'\u309E'; // ヾ
    case u'\u301C': return u'~'; // 〜, as "～" folds
    case u'\u2212': return u'-'; // −, as "－" folds
    case u'\u2016': return u'\u2225'; // ‖
    case u'\u007F': return u' ';
    default: return unit < 0x20 ? u' ' : unit;
    }
}

} // namespace

std::string FoldForSearch(std::string_view utf8)
{
    std::u16string folded = Lower(Nfkc(Utf8ToUtf16(utf8).value_or(std::u16string())));
    for (char16_t& unit : folded) {
        unit = FoldedUnit(unit);
    }
    return Utf16ToUtf8(folded);
}

} // namespace tessaly
