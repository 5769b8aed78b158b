#pragma once

// Text whose encoding is part of its type, for the places where code page
// 932 (the program's own texts) and UTF-8 (the system's messages, the
// terminal) meet: results, reports and messages. The one conversion of each
// direction is the only way from one to the other, so a text in the wrong
// encoding does not compile.

#include <iosfwd>
#include <string>
#include <string_view>
#include <utility>

namespace tessaly {

template <typename Encoding> class EncodedText {
public:
    EncodedText() = default;
    explicit EncodedText(std::string bytes)
        : bytes_(std::move(bytes))
    {
    }

    const std::string& bytes() const& { return bytes_; }
    std::string bytes() && { return std::move(bytes_); }
    std::string_view view() const { return bytes_; }
    bool empty() const { return bytes_.empty(); }

    friend bool operator==(const EncodedText&, const EncodedText&) = default;

private:
    std::string bytes_;
};

struct Utf8Encoding;
struct SjisEncoding;

using Utf8Text = EncodedText<Utf8Encoding>;
using SjisText = EncodedText<SjisEncoding>;

// A UTF-8 text goes to a terminal as it is.
std::ostream& operator<<(std::ostream& out, const Utf8Text& text);

// Empty where code page 932 cannot hold the text (a system message in a
// code page 932 text is left out rather than garbled).
SjisText ToSjis(const Utf8Text& text);
// Bytes that are not code page 932 become U+FFFD.
Utf8Text ToUtf8(const SjisText& text);

} // namespace tessaly
