#include "core/text/EucJp.h"

namespace tessaly {

namespace {

constexpr bool IsEucConvertibleLead(unsigned char byte)
{
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xEF);
}

constexpr bool IsTrail(unsigned char byte)
{
    return (byte >= 0x40 && byte <= 0x7E) || (byte >= 0x80 && byte <= 0xFC);
}

constexpr bool IsHalfWidthKatakana(unsigned char byte)
{
    return byte >= 0xA1 && byte <= 0xDF;
}

// One lead byte covers two JIS rows: trail bytes up to 0x9E the odd row,
// from 0x9F on the even one; 0x7F is no trail byte, so the codes above it
// move down by one.
char* WriteEucPair(char* out, unsigned char lead, unsigned char trail)
{
    const unsigned leadIndex = lead >= 0xE0 ? lead - 0xC1u : lead - 0x81u;
    unsigned row = leadIndex * 2 + 0x21;
    unsigned cell = 0;
    if (trail >= 0x9F) {
        ++row;
        cell = trail - 0x7Eu;
    } else {
        cell = (trail >= 0x80 ? trail - 1u : trail) - 0x1Fu;
    }
    *out++ = static_cast<char>(row | 0x80u);
    *out++ = static_cast<char>(cell | 0x80u);
    return out;
}

} // namespace

void AppendEucJp(std::string& out, std::string_view sjis)
{
    // No byte becomes more than two.
    const std::size_t start = out.size();
    out.resize(start + 2 * sjis.size());
    char* end = out.data() + start;
    for (std::size_t i = 0; i < sjis.size(); ++i) {
        const auto byte = static_cast<unsigned char>(sjis[i]);
        if (byte < 0x80) {
            *end++ = static_cast<char>(byte);
        } else if (IsHalfWidthKatakana(byte)) {
            *end++ = '\x8E';
            *end++ = static_cast<char>(byte);
        } else if (IsEucConvertibleLead(byte)) {
            const bool paired = i + 1 < sjis.size() && IsTrail(static_cast<unsigned char>(sjis[i + 1]));
            if (paired) {
                end = WriteEucPair(end, byte, static_cast<unsigned char>(sjis[++i]));
            } else {
                *end++ = ' ';
            }
        }
    }
    out.resize(static_cast<std::size_t>(end - out.data()));
}

} // namespace tessaly
