#include "core/text/EncodedText.h"

#include <ostream>

#include "core/text/Codepage.h"

namespace tessaly {

std::ostream& operator<<(std::ostream& out, const Utf8Text& text)
{
    return out << text.view();
}

SjisText ToSjis(const Utf8Text& text)
{
    ConversionResult sjis = Utf8ToSjis(text.view());
    return SjisText(sjis.ok ? std::move(sjis.text) : std::string());
}

Utf8Text ToUtf8(const SjisText& text)
{
    return Utf8Text(SjisToUtf8Lossy(text.view()));
}

} // namespace tessaly
