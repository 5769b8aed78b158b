#include "core/site/PageTargets.h"

#include <algorithm>
#include <memory>
#include <utility>

#include <gumbo.h>

#include "core/text/Codepage.h"
#include "core/text/Paths.h"

namespace tessaly {

namespace {

bool IsHtmlSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\f' || c == '\r';
}

bool IsAsciiLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// True when text is name (given in small letters) in any case.
bool IsName(std::string_view text, std::string_view name)
{
    return text.size() == name.size() && std::equal(text.begin(), text.end(), name.begin(), [](char t, char n) {
        return (t >= 'A' && t <= 'Z' ? static_cast<char>(t - 'A' + 'a') : t) == n;
    });
}

struct Attribute {
    std::string_view name;
    std::string_view value; // as it stands in the page
    char quote = '\0'; // '"', '\'', or none
};

struct StartTag {
    std::string_view name;
    std::vector<Attribute> attributes;

    // The first attribute of that name (in small letters).
    const Attribute* Find(std::string_view attributeName) const
    {
        const auto found = std::find_if(
            attributes.begin(), attributes.end(), [&](const Attribute& a) { return IsName(a.name, attributeName); });
        return found == attributes.end() ? nullptr : &*found;
    }
};

// The start tags of a page, one after the other, passing over text,
// comments, end tags and the raw text of the elements whose content is no
// markup. A tag the page ends in is no tag.
class StartTags {
public:
    explicit StartTags(std::string_view html)
        : html_(html)
    {
    }

    bool Next(StartTag& tag)
    {
        while (pos_ < html_.size()) {
            const std::size_t open = html_.find('<', pos_);
            if (open == std::string_view::npos) {
                break;
            }
            pos_ = open + 1;
            const std::string_view rest = html_.substr(pos_);
            if (rest.starts_with("!--")) {
                SkipComment();
            } else if (rest.starts_with('!') || rest.starts_with('?')
                || (rest.starts_with('/') && (rest.size() < 2 || !IsAsciiLetter(rest[1])))) {
                SkipPast('>');
            } else if (rest.starts_with('/')) {
                ++pos_;
                ReadName();
                ReadAttributes(nullptr);
            } else if (!rest.empty() && IsAsciiLetter(rest.front())) {
                tag.name = ReadName();
                tag.attributes.clear();
                if (ReadAttributes(&tag.attributes)) {
                    SkipRawText(tag.name);
                    return true;
                }
            }
        }
        pos_ = html_.size();
        return false;
    }

private:
    std::string_view ReadName()
    {
        const std::size_t start = pos_;
        while (pos_ < html_.size() && !IsHtmlSpace(html_[pos_]) && html_[pos_] != '/' && html_[pos_] != '>') {
            ++pos_;
        }
        return html_.substr(start, pos_ - start);
    }

    void SkipSpaces()
    {
        while (pos_ < html_.size() && IsHtmlSpace(html_[pos_])) {
            ++pos_;
        }
    }

    void SkipPast(char c)
    {
        const std::size_t found = html_.find(c, pos_);
        pos_ = found == std::string_view::npos ? html_.size() : found + 1;
    }

    // Reads the attributes up to the ">" that ends the tag, into attributes
    // when given; false when the page ends first.
    bool ReadAttributes(std::vector<Attribute>* attributes)
    {
        for (;;) {
            while (pos_ < html_.size() && (IsHtmlSpace(html_[pos_]) || html_[pos_] == '/')) {
                ++pos_;
            }
            if (pos_ == html_.size()) {
                return false;
            }
            if (html_[pos_] == '>') {
                ++pos_;
                return true;
            }
            Attribute attribute;
            const std::size_t nameStart = pos_++; // a first "=" belongs to the name
            while (pos_ < html_.size() && !IsHtmlSpace(html_[pos_]) && html_[pos_] != '/' && html_[pos_] != '>'
                && html_[pos_] != '=') {
                ++pos_;
            }
            attribute.name = html_.substr(nameStart, pos_ - nameStart);
            SkipSpaces();
            if (pos_ < html_.size() && html_[pos_] == '=') {
                ++pos_;
                SkipSpaces();
                if (pos_ == html_.size()) {
                    return false;
                }
                if (html_[pos_] == '"' || html_[pos_] == '\'') {
                    attribute.quote = html_[pos_++];
                    const std::size_t end = html_.find(attribute.quote, pos_);
                    if (end == std::string_view::npos) {
                        return false;
                    }
                    attribute.value = html_.substr(pos_, end - pos_);
                    pos_ = end + 1;
                } else {
                    const std::size_t start = pos_;
                    while (pos_ < html_.size() && !IsHtmlSpace(html_[pos_]) && html_[pos_] != '>') {
                        ++pos_;
                    }
                    attribute.value = html_.substr(start, pos_ - start);
                }
            }
            if (attributes != nullptr) {
                attributes->push_back(attribute);
            }
        }
    }

    // From just after "<": "<!-->", "<!--->" and comments ended by "-->" or
    // "--!>".
    void SkipComment()
    {
        std::size_t from = pos_ + 3;
        for (const std::string_view shortEnd : {">", "->"}) {
            if (html_.substr(from).starts_with(shortEnd)) {
                pos_ = from + shortEnd.size();
                return;
            }
        }
        for (;;) {
            const std::size_t dashes = html_.find("--", from);
            if (dashes == std::string_view::npos) {
                pos_ = html_.size();
                return;
            }
            const std::string_view after = html_.substr(dashes + 2);
            if (after.starts_with('>') || after.starts_with("!>")) {
                pos_ = dashes + (after.starts_with('>') ? 3 : 4);
                return;
            }
            from = dashes + 1;
        }
    }

    // After the start tag of an element whose content is text: on to its end
    // tag.
    void SkipRawText(std::string_view element)
    {
        static constexpr std::string_view kTextElements[]
            = {"script", "style", "xmp", "iframe", "noembed", "noframes", "textarea", "title"};
        if (IsName(element, "plaintext")) {
            pos_ = html_.size();
            return;
        }
        const auto* known = std::find_if(std::begin(kTextElements), std::end(kTextElements),
            [&](std::string_view name) { return IsName(element, name); });
        if (known == std::end(kTextElements)) {
            return;
        }
        for (std::size_t from = pos_;;) {
            const std::size_t end = html_.find("</", from);
            if (end == std::string_view::npos) {
                pos_ = html_.size();
                return;
            }
            const std::size_t after = end + 2 + known->size();
            if (IsName(html_.substr(end + 2, known->size()), *known)
                && (after == html_.size() || IsHtmlSpace(html_[after]) || html_[after] == '/' || html_[after] == '>')) {
                pos_ = end;
                return;
            }
            from = end + 2;
        }
    }

    std::string_view html_;
    std::size_t pos_ = 0;
};

struct TargetAttribute {
    std::string_view element; // empty: any
    std::string_view attribute;
    TargetKind kind;
    bool candidates = false; // a srcset: addresses with their widths or densities
};

constexpr TargetAttribute kTargetAttributes[] = {
    {"a", "href", TargetKind::Link},
    {"area", "href", TargetKind::Link},
    {"link", "href", TargetKind::Link},
    {"script", "src", TargetKind::Link},
    {"iframe", "src", TargetKind::Link},
    {"frame", "src", TargetKind::Link},
    {"embed", "src", TargetKind::Link},
    {"audio", "src", TargetKind::Link},
    {"video", "src", TargetKind::Link},
    {"track", "src", TargetKind::Link},
    {"source", "src", TargetKind::Link},
    {"object", "data", TargetKind::Link},
    {"img", "src", TargetKind::Image},
    {"img", "srcset", TargetKind::Image, true},
    {"input", "src", TargetKind::Image}, // of type image only
    {"source", "srcset", TargetKind::Image, true},
    {"video", "poster", TargetKind::Image},
    {"", "background", TargetKind::Image},
};

struct RawTarget {
    const Attribute* attribute;
    const TargetAttribute* declared;
};

// The target attributes of a tag, in the order of the tag.
std::vector<RawTarget> TargetsOfTag(const StartTag& tag)
{
    std::vector<RawTarget> found;
    for (const TargetAttribute& declared : kTargetAttributes) {
        if (!declared.element.empty() && !IsName(tag.name, declared.element)) {
            continue;
        }
        if (declared.element == "input") {
            const Attribute* type = tag.Find("type");
            if (type == nullptr || !IsName(type->value, "image")) {
                continue;
            }
        }
        if (const Attribute* attribute = tag.Find(declared.attribute)) {
            found.push_back({attribute, &declared});
        }
    }
    std::sort(
        found.begin(), found.end(), [](const RawTarget& a, const RawTarget& b) { return a.attribute < b.attribute; });
    return found;
}

// The charset="..." of a Content-Type value, as the HTML standard extracts
// it from a <meta>.
std::string_view CharsetOfContentType(std::string_view content)
{
    for (std::size_t pos = 0; pos + 7 <= content.size(); ++pos) {
        if (!IsName(content.substr(pos, 7), "charset")) {
            continue;
        }
        std::size_t at = pos + 7;
        while (at < content.size() && IsHtmlSpace(content[at])) {
            ++at;
        }
        if (at == content.size() || content[at] != '=') {
            continue;
        }
        ++at;
        while (at < content.size() && IsHtmlSpace(content[at])) {
            ++at;
        }
        const std::string_view value = content.substr(at);
        if (value.starts_with('"') || value.starts_with('\'')) {
            const std::size_t end = value.find(value.front(), 1);
            return end == std::string_view::npos ? std::string_view() : value.substr(1, end - 1);
        }
        return value.substr(0, std::min(value.find_first_of(" \t\n\f\r;"), value.size()));
    }
    return {};
}

// Whether a <meta> declares UTF-8; nothing when it declares no encoding.
std::optional<bool> DeclaresUtf8(const StartTag& meta)
{
    std::string_view label;
    if (const Attribute* charset = meta.Find("charset")) {
        label = charset->value;
    } else if (const Attribute* equiv = meta.Find("http-equiv");
               equiv != nullptr && IsName(equiv->value, "content-type")) {
        const Attribute* content = meta.Find("content");
        label = content == nullptr ? std::string_view() : CharsetOfContentType(content->value);
    }
    while (!label.empty() && IsHtmlSpace(label.front())) {
        label.remove_prefix(1);
    }
    while (!label.empty() && IsHtmlSpace(label.back())) {
        label.remove_suffix(1);
    }
    if (label.empty()) {
        return std::nullopt;
    }
    return IsName(label, "utf-8") || IsName(label, "utf8") || IsName(label, "unicode-1-1-utf-8");
}

// A value of a Shift_JIS page (ASCII aside) in UTF-8, as the file system spells the names
// of the program's pages (see ToFsPath); bytes that are no code page 932 as
// U+FFFD.
std::string Utf8Value(std::string_view value, bool utf8Page)
{
    if (utf8Page
        || std::all_of(value.begin(), value.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; })) {
        return std::string(value);
    }
    const std::optional<std::filesystem::path> name = ToFsPath(value);
    return name ? name->string() : SjisToUtf8Lossy(value);
}

struct GumboOutputDeleter {
    void operator()(GumboOutput* output) const { gumbo_destroy_output(&kGumboDefaultOptions, output); }
};

const GumboAttribute* FindAttribute(const GumboNode* node, const char* name)
{
    if (node->type != GUMBO_NODE_ELEMENT) {
        return nullptr;
    }
    if (const GumboAttribute* found = gumbo_get_attribute(&node->v.element.attributes, name)) {
        return found;
    }
    const GumboVector& children = node->v.element.children;
    for (unsigned i = 0; i < children.length; ++i) {
        if (const GumboAttribute* found = FindAttribute(static_cast<const GumboNode*>(children.data[i]), name)) {
            return found;
        }
    }
    return nullptr;
}

// The value with its character references decoded by gumbo, which knows
// every name the HTML standard does and its rules for them in values.
std::string DecodedByGumbo(std::string_view value, char quote)
{
    std::string html = "<a x=";
    if (quote != '\0') {
        html += quote;
    }
    html += value;
    if (quote != '\0') {
        html += quote;
    }
    html += '>';
    const std::unique_ptr<GumboOutput, GumboOutputDeleter> output(
        gumbo_parse_with_options(&kGumboDefaultOptions, html.data(), html.size()));
    const GumboAttribute* x = output ? FindAttribute(output->root, "x") : nullptr;
    return x == nullptr ? std::string(value) : std::string(x->value);
}

// The code point of a numeric reference's digits, when it is one that
// stands for itself (not 0, a surrogate, or one the standard maps to
// another).
std::optional<char32_t> ReferencedCodePoint(std::string_view digits, int base)
{
    if (digits.empty() || digits.size() > 6) {
        return std::nullopt;
    }
    char32_t c = 0;
    for (const char digit : digits) {
        const int value = digit >= '0' && digit <= '9' ? digit - '0'
            : base == 16 && IsAsciiLetter(digit)       ? (digit | 0x20) - 'a' + 10
                                                       : 99;
        if (value >= base) {
            return std::nullopt;
        }
        c = c * static_cast<char32_t>(base) + static_cast<char32_t>(value);
    }
    const bool valid = c != 0 && !(c >= 0x80 && c <= 0x9F) && !(c >= 0xD800 && c <= 0xDFFF) && c <= 0x10FFFF;
    return valid ? std::optional(c) : std::nullopt;
}

// The value with the references pages write in addresses decoded ("&amp;",
// "&#38;", "&#x26;" and the like); nothing when it holds another.
std::optional<std::string> DecodedSimply(std::string_view value)
{
    static constexpr std::pair<std::string_view, char> kNamed[]
        = {{"amp;", '&'}, {"lt;", '<'}, {"gt;", '>'}, {"quot;", '"'}, {"apos;", '\''}};
    std::string decoded;
    for (std::size_t pos = 0;;) {
        const std::size_t amp = std::min(value.find('&', pos), value.size());
        decoded.append(value.substr(pos, amp - pos));
        if (amp == value.size()) {
            return decoded;
        }
        const std::string_view rest = value.substr(amp + 1);
        pos = amp + 1;
        if (rest.empty() || (!IsAsciiLetter(rest.front()) && rest.front() != '#')) {
            decoded += '&';
            continue;
        }
        const auto* named = std::find_if(
            std::begin(kNamed), std::end(kNamed), [&](const auto& entry) { return rest.starts_with(entry.first); });
        const std::size_t semicolon = rest.find(';');
        if (named != std::end(kNamed)) {
            decoded += named->second;
            pos += named->first.size();
        } else if (rest.front() == '#' && semicolon != std::string_view::npos) {
            const bool hex = rest.size() > 1 && (rest[1] == 'x' || rest[1] == 'X');
            const std::optional<char32_t> c
                = ReferencedCodePoint(rest.substr(hex ? 2 : 1, semicolon - (hex ? 2 : 1)), hex ? 16 : 10);
            if (!c) {
                return std::nullopt;
            }
            AppendUtf8(decoded, *c);
            pos += semicolon + 1;
        } else {
            return std::nullopt;
        }
    }
}

std::string AttributeValue(const Attribute& attribute, bool utf8Page)
{
    const std::string value = Utf8Value(attribute.value, utf8Page);
    std::optional<std::string> decoded = DecodedSimply(value);
    return decoded ? std::move(*decoded) : DecodedByGumbo(value, attribute.quote);
}

// The addresses of a srcset: each candidate's address, without its width
// or density.
std::vector<std::string_view> CandidateAddresses(std::string_view srcset)
{
    std::vector<std::string_view> addresses;
    std::size_t pos = 0;
    for (;;) {
        while (pos < srcset.size() && (IsHtmlSpace(srcset[pos]) || srcset[pos] == ',')) {
            ++pos;
        }
        if (pos == srcset.size()) {
            return addresses;
        }
        const std::size_t start = pos;
        while (pos < srcset.size() && !IsHtmlSpace(srcset[pos])) {
            ++pos;
        }
        std::string_view address = srcset.substr(start, pos - start);
        if (address.ends_with(',')) {
            while (address.ends_with(',')) {
                address.remove_suffix(1);
            }
        } else {
            // The descriptors, up to a comma outside parentheses.
            for (int depth = 0; pos < srcset.size() && (srcset[pos] != ',' || depth > 0); ++pos) {
                depth += srcset[pos] == '(' ? 1 : srcset[pos] == ')' && depth > 0 ? -1 : 0;
            }
        }
        if (!address.empty()) {
            addresses.push_back(address);
        }
    }
}

} // namespace

PageTargets FindPageTargets(std::string_view html)
{
    std::optional<bool> utf8;
    if (html.starts_with("\xEF\xBB\xBF")) {
        utf8 = true;
        html.remove_prefix(3);
    }
    // The attributes point into the tags, which the next tag reuses: keep
    // copies.
    std::vector<std::pair<Attribute, const TargetAttribute*>> found;
    std::optional<Attribute> base;
    StartTags tags(html);
    StartTag tag;
    while (tags.Next(tag)) {
        if (!utf8 && IsName(tag.name, "meta")) {
            utf8 = DeclaresUtf8(tag);
        }
        if (!base && IsName(tag.name, "base")) {
            if (const Attribute* href = tag.Find("href")) {
                base = *href;
            }
        }
        for (const RawTarget& target : TargetsOfTag(tag)) {
            found.emplace_back(*target.attribute, target.declared);
        }
    }
    PageTargets result;
    const bool utf8Page = utf8.value_or(false);
    for (const auto& [attribute, declared] : found) {
        const std::string value = AttributeValue(attribute, utf8Page);
        if (!declared->candidates) {
            result.targets.push_back({value, declared->kind});
            continue;
        }
        for (const std::string_view address : CandidateAddresses(value)) {
            result.targets.push_back({std::string(address), declared->kind});
        }
    }
    if (base) {
        result.base = AttributeValue(*base, utf8Page);
    }
    return result;
}

} // namespace tessaly
