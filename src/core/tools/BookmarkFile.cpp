#include "core/tools/BookmarkFile.h"

#include <gumbo.h>

#include <algorithm>
#include <charconv>
#include <memory>

#include "core/collection/LinkItem.h"
#include "core/collection/Project.h"
#include "core/text/Codepage.h"
#include "core/text/Collation.h"
#include "core/text/FieldText.h"
#include "core/text/Html.h"
#include "core/text/Sjis.h"
#include "core/text/Strings.h"
#include "core/text/Url.h"

namespace tessaly {

namespace {

struct GumboOutputDeleter {
    void operator()(GumboOutput* output) const { gumbo_destroy_output(&kGumboDefaultOptions, output); }
};

const GumboNode* Child(const GumboNode* node, std::size_t index)
{
    return static_cast<const GumboNode*>(node->v.element.children.data[index]);
}

std::size_t ChildCount(const GumboNode* node)
{
    return node->type == GUMBO_NODE_ELEMENT ? node->v.element.children.length : 0;
}

bool IsText(const GumboNode* node)
{
    return node->type == GUMBO_NODE_TEXT || node->type == GUMBO_NODE_WHITESPACE || node->type == GUMBO_NODE_CDATA;
}

// The text of the node and everything in it.
std::string TextOf(const GumboNode* node)
{
    std::string text;
    std::vector<const GumboNode*> pending{node};
    while (!pending.empty()) {
        const GumboNode* next = pending.back();
        pending.pop_back();
        if (IsText(next)) {
            text += next->v.text.text;
        }
        for (std::size_t i = ChildCount(next); i > 0; --i) {
            pending.push_back(Child(next, i - 1));
        }
    }
    return text;
}

// The node's own text, without that of the elements in it (a folder's
// description holds the folder's list).
std::string OwnText(const GumboNode* node)
{
    std::string text;
    for (std::size_t i = 0; i < ChildCount(node); ++i) {
        if (IsText(Child(node, i))) {
            text += Child(node, i)->v.text.text;
        }
    }
    return text;
}

bool IsAsciiLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// Elements that hold nothing, or whose end the parser infers when the next
// one of their kind (or the list around them) begins: they add no depth.
bool AddsNoDepth(std::string_view lowerName)
{
    static constexpr std::string_view kNames[] = {"a", "area", "base", "basefont", "bgsound", "br", "col", "dd",
        "dt", "embed", "frame", "hr", "img", "input", "keygen", "li", "link", "meta", "option", "p", "param", "source",
        "track", "wbr"};
    return std::find(std::begin(kNames), std::end(kNames), lowerName) != std::end(kNames);
}

// The end of the text of a raw text element ("<script>" and the like) that
// begins at: where its end tag begins, or the end of the markup.
std::size_t RawTextEnd(std::string_view html, std::size_t at, const std::string& name)
{
    const std::string endTag = "</" + name;
    for (std::size_t end = html.find("</", at); end != std::string_view::npos; end = html.find("</", end + 2)) {
        if (AsciiLower(html.substr(end, endTag.size())) == endTag) {
            return end;
        }
    }
    return html.size();
}

// True when the markup nests deeper than the parser may be asked to build:
// start tags of elements that nest, less their end tags, in one pass over
// the bytes. Comments and the text of script, style and the like are passed
// over as the parser does.
bool NestsTooDeep(std::string_view html)
{
    static constexpr std::string_view kRawText[]
        = {"script", "style", "textarea", "title", "xmp", "iframe", "noembed", "noframes", "plaintext"};
    std::size_t depth = 0;
    std::size_t at = 0;
    while ((at = html.find('<', at)) != std::string_view::npos) {
        ++at;
        if (html.substr(at).starts_with("!--")) {
            const std::size_t end = html.find("-->", at + 3);
            at = end == std::string_view::npos ? html.size() : end + 3;
            continue;
        }
        const bool closing = at < html.size() && html[at] == '/';
        const std::size_t nameStart = at + (closing ? 1 : 0);
        if (nameStart >= html.size() || !IsAsciiLetter(html[nameStart])) {
            continue;
        }
        std::size_t nameEnd = nameStart;
        while (nameEnd < html.size() && (IsAsciiLetter(html[nameEnd]) || (html[nameEnd] >= '0' && html[nameEnd] <= '9'))) {
            ++nameEnd;
        }
        const std::string name = AsciiLower(html.substr(nameStart, nameEnd - nameStart));
        const std::size_t tagEnd = html.find('>', nameEnd);
        if (tagEnd == std::string_view::npos) {
            return false;
        }
        at = tagEnd + 1;
        if (AddsNoDepth(name) || html[tagEnd - 1] == '/') {
            continue;
        }
        if (closing) {
            depth -= depth > 0 ? 1 : 0;
        } else if (++depth > kMostBookmarkNesting) {
            return true;
        } else if (std::find(std::begin(kRawText), std::end(kRawText), name) != std::end(kRawText)) {
            at = RawTextEnd(html, at, name);
        }
    }
    return false;
}

std::string Attribute(const GumboNode* node, const char* name)
{
    const GumboAttribute* attribute = gumbo_get_attribute(&node->v.element.attributes, name);
    return attribute ? attribute->value : std::string();
}

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f';
}

// Runs of blanks and line breaks as one blank, none at the ends: titles are
// one line.
std::string OneLine(std::string_view text)
{
    std::string line;
    bool blank = false;
    for (const char c : text) {
        if (IsBlank(c)) {
            blank = !line.empty();
            continue;
        }
        if (blank) {
            line += ' ';
            blank = false;
        }
        line += c;
    }
    return line;
}

std::string TrimBlanks(std::string_view text)
{
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    return std::string(text);
}

// What the elements of the file say, taken in document order: an <H3>
// names the next list, wherever that list hangs (inside the <DT>, or inside
// a <DD> that describes the folder), and a <DD> describes the bookmark just
// before it.
class BookmarkCollector {
public:
    explicit BookmarkCollector(std::vector<Bookmark>& bookmarks)
        : bookmarks_(bookmarks)
    {
    }

    void FolderName(std::string_view text)
    {
        pendingFolder_ = OneLine(text);
        afterBookmark_ = false;
    }

    // An <A>; without an address it is no bookmark.
    void Link(const std::string* href, std::string_view tags, std::string_view addDate, std::string_view text)
    {
        pendingFolder_.reset();
        afterBookmark_ = false;
        if (href == nullptr) {
            return;
        }
        Bookmark& bookmark = bookmarks_.emplace_back();
        bookmark.folders = Folders();
        bookmark.title = OneLine(text);
        bookmark.url = TrimBlanks(*href);
        bookmark.tags = tags;
        bookmark.addDate = BookmarkDate(addDate);
        afterBookmark_ = true;
    }

    // A <DD> describes only the bookmark just before it.
    bool TakesDescription() const { return afterBookmark_; }
    void Description(std::string_view text)
    {
        if (afterBookmark_) {
            bookmarks_.back().description = TrimBlanks(text);
        }
        afterBookmark_ = false;
    }

    // A <DL> begins; true when it is a folder's, to be passed to ListEnd.
    bool ListStart()
    {
        sawList_ = true;
        afterBookmark_ = false;
        if (!pendingFolder_) {
            return false;
        }
        folders_.push_back(Folders().Inside(std::move(*pendingFolder_)));
        pendingFolder_.reset();
        return true;
    }
    void ListEnd(bool folder)
    {
        if (folder) {
            folders_.pop_back();
        }
    }

    bool SawList() const { return sawList_; }

private:
    const BookmarkFolders& Folders() const
    {
        static const BookmarkFolders kTopLevel;
        return folders_.empty() ? kTopLevel : folders_.back();
    }

    std::vector<Bookmark>& bookmarks_;
    std::vector<BookmarkFolders> folders_; // the innermost last
    std::optional<std::string> pendingFolder_;
    bool afterBookmark_ = false;
    bool sawList_ = false;
};

// The HTML parser's tree to the collector, in document order.
void WalkTree(const GumboNode* root, BookmarkCollector& collector)
{
    struct Frame {
        const GumboNode* node;
        std::size_t next;
        bool folder;
    };
    // Takes what the node says; true when its children are to be walked.
    const auto enter = [&collector](const GumboNode* node, bool& folder) {
        if (node->type != GUMBO_NODE_ELEMENT) {
            return false;
        }
        switch (node->v.element.tag) {
        case GUMBO_TAG_H3: collector.FolderName(TextOf(node)); return false;
        case GUMBO_TAG_A: {
            const GumboAttribute* href = gumbo_get_attribute(&node->v.element.attributes, "href");
            const std::string url = href ? href->value : "";
            collector.Link(href ? &url : nullptr, Attribute(node, "tags"), Attribute(node, "add_date"), TextOf(node));
            return false;
        }
        case GUMBO_TAG_DD: collector.Description(collector.TakesDescription() ? OwnText(node) : ""); return true;
        case GUMBO_TAG_DL: folder = collector.ListStart(); return true;
        default: return true;
        }
    };
    std::vector<Frame> frames;
    if (enter(root, frames.emplace_back(Frame{root, 0, false}).folder)) {
        while (!frames.empty()) {
            Frame& frame = frames.back();
            if (frame.next == ChildCount(frame.node)) {
                collector.ListEnd(frame.folder);
                frames.pop_back();
                continue;
            }
            const GumboNode* child = Child(frame.node, frame.next++);
            bool folder = false;
            if (enter(child, folder)) {
                frames.push_back({child, 0, folder});
            }
        }
    }
}

// Characters the HTML parser reports or replaces (controls, noncharacters,
// NUL): a file holding one is left to it.
bool HoldsOddCharacters(std::string_view html)
{
    for (std::size_t i = 0; i < html.size(); ++i) {
        const auto c = static_cast<unsigned char>(html[i]);
        const auto next = [&](std::size_t ahead) {
            return i + ahead < html.size() ? static_cast<unsigned char>(html[i + ahead]) : 0;
        };
        if ((c < 0x20 && !IsBlank(static_cast<char>(c))) || c == 0x7F
            || (c == 0xC2 && next(1) >= 0x80 && next(1) <= 0x9F)
            || (c == 0xEF && next(1) == 0xB7 && next(2) >= 0x90 && next(2) <= 0xAF)
            || (c == 0xEF && next(1) == 0xBF && next(2) >= 0xBE) || (c >= 0xF0 && next(2) == 0xBF && next(3) >= 0xBE)) {
            return true;
        }
    }
    return false;
}

bool IsAsciiAlnum(char c)
{
    return IsAsciiLetter(c) || (c >= '0' && c <= '9');
}

// Files as browsers write them, read in one pass without a tree: the
// doctype, comments, <META>, <TITLE> and <H1> before the first list, then
// lists of <DT>, <H3>, <A>, <DD>, <P> and <HR>, each <H3> and <A> closed
// around plain text. Anything else, and anything the HTML parser would
// repair or read in its own way (misnested or stray tags, character
// references beyond the common few, carriage returns aside), makes Read
// give up and leave the file to the parser: its tree costs far more than
// the bookmarks.
class PlainBookmarkReader {
public:
    PlainBookmarkReader(std::string_view html, BookmarkCollector& collector)
        : html_(html)
        , collector_(collector)
    {
    }

    // False when the file is to be read by the parser.
    bool Read(bool& declared)
    {
        if (HoldsOddCharacters(html_)) {
            return false;
        }
        SkipBlanks();
        if (StartsWithIgnoringCase("<!doctype")) {
            at_ += 9;
            const std::size_t nameStart = at_;
            SkipBlanks();
            const std::size_t nameEnd = html_.find('>', at_);
            if (at_ == nameStart || nameEnd == std::string_view::npos
                || AsciiLower(TrimBlanks(html_.substr(at_, nameEnd - at_))) != "netscape-bookmark-file-1") {
                return false;
            }
            declared = true;
            at_ = nameEnd + 1;
        }
        bool inBody = false;
        while (SkipBlanks(), at_ < html_.size()) {
            if (html_[at_] != '<' && !inBody) {
                return false; // text before the lists
            }
            if (html_[at_] != '<') {
                at_ = std::min(html_.find('<', at_), html_.size());
                continue;
            }
            if (StartsWithIgnoringCase("<!--")) {
                if (!SkipComment()) {
                    return false;
                }
                continue;
            }
            if (!ReadTag()) {
                return false;
            }
            if (!inBody && (tag_ == "meta" || tag_ == "/meta" || tag_ == "title" || tag_ == "h1")) {
                std::string ignored;
                if ((tag_ == "title" || tag_ == "h1") && !ReadClosedText(ignored)) {
                    return false;
                }
                continue;
            }
            inBody = true;
            if (!BodyTag()) {
                return false;
            }
        }
        for (auto list = lists_.rbegin(); list != lists_.rend(); ++list) {
            collector_.ListEnd(*list);
        }
        return true;
    }

private:
    bool BodyTag()
    {
        if (tag_ == "/dl") {
            if (lists_.empty()) {
                return false;
            }
            collector_.ListEnd(lists_.back());
            lists_.pop_back();
        } else if (tag_ == "dl") {
            lists_.push_back(collector_.ListStart());
        } else if (tag_ == "h3") {
            std::string text;
            if (!ReadClosedText(text)) {
                return false;
            }
            collector_.FolderName(text);
        } else if (tag_ == "a") {
            std::string href;
            const bool hasHref = Attribute("href", href);
            std::string tags;
            std::string addDate;
            Attribute("tags", tags);
            Attribute("add_date", addDate);
            std::string text;
            if (!ReadClosedText(text)) {
                return false;
            }
            collector_.Link(hasHref ? &href : nullptr, tags, addDate, text);
        } else if (tag_ == "dd") {
            if (!collector_.TakesDescription()) {
                collector_.Description({});
                return true;
            }
            // Its text ends where the next entry or the list does.
            const std::size_t end = std::min(html_.find('<', at_), html_.size());
            std::string text;
            if (!Decode(html_.substr(at_, end - at_), false, text)) {
                return false;
            }
            at_ = end;
            collector_.Description(text);
            const std::size_t saved = at_;
            if (at_ < html_.size() && !(ReadTag() && (tag_ == "dt" || tag_ == "/dl"))) {
                return false;
            }
            at_ = saved;
        } else if (tag_ != "dt" && tag_ != "p" && tag_ != "hr") {
            return false;
        }
        return true;
    }

    void SkipBlanks()
    {
        while (at_ < html_.size() && IsBlank(html_[at_])) {
            ++at_;
        }
    }

    bool StartsWithIgnoringCase(std::string_view lowerText) const
    {
        return AsciiLower(html_.substr(at_, lowerText.size())) == lowerText;
    }

    bool SkipComment()
    {
        const std::size_t start = at_ + 4;
        const std::size_t end = html_.find("-->", start);
        if (end == std::string_view::npos || html_.substr(start).starts_with(">")
            || html_.substr(start).starts_with("->")) {
            return false;
        }
        if (html_.substr(start, end - start).find("--!>") != std::string_view::npos) {
            return false;
        }
        at_ = end + 3;
        return true;
    }

    // The tag at at_ into tag_ ("/name" for an end tag) and attributes_.
    bool ReadTag()
    {
        ++at_;
        closing_ = at_ < html_.size() && html_[at_] == '/';
        at_ += closing_ ? 1 : 0;
        const std::size_t nameStart = at_;
        while (at_ < html_.size() && IsAsciiAlnum(html_[at_])) {
            ++at_;
        }
        if (at_ == nameStart || at_ >= html_.size() || !IsAsciiLetter(html_[nameStart])
            || !(IsBlank(html_[at_]) || html_[at_] == '>')) {
            return false;
        }
        tag_ = (closing_ ? "/" : "") + AsciiLower(html_.substr(nameStart, at_ - nameStart));
        attributes_.clear();
        while (true) {
            SkipBlanks();
            if (at_ >= html_.size()) {
                return false;
            }
            if (html_[at_] == '>') {
                ++at_;
                return !closing_ || attributes_.empty();
            }
            if (!ReadAttribute()) {
                return false;
            }
        }
    }

    bool ReadAttribute()
    {
        const std::size_t nameStart = at_;
        while (at_ < html_.size()
            && (IsAsciiAlnum(html_[at_]) || html_[at_] == '-' || html_[at_] == '_' || html_[at_] == ':')) {
            ++at_;
        }
        if (at_ == nameStart || at_ >= html_.size()
            || !(IsBlank(html_[at_]) || html_[at_] == '=' || html_[at_] == '>')) {
            return false;
        }
        std::string name = AsciiLower(html_.substr(nameStart, at_ - nameStart));
        std::string value;
        SkipBlanks();
        if (at_ < html_.size() && html_[at_] == '=') {
            ++at_;
            SkipBlanks();
            if (at_ >= html_.size()) {
                return false;
            }
            std::size_t end = 0;
            std::size_t next = 0;
            if (html_[at_] == '"' || html_[at_] == '\'') {
                const char quote = html_[at_++];
                end = html_.find(quote, at_);
                next = end + 1;
            } else {
                end = html_.find_first_of(" \t\r\n\f>", at_);
                next = end;
                if (end == at_ || html_.substr(at_, end - at_).find_first_of("\"'<=`") != std::string_view::npos) {
                    return false;
                }
            }
            if (end == std::string_view::npos || !Decode(html_.substr(at_, end - at_), true, value)) {
                return false;
            }
            at_ = next;
        }
        // Of the same attribute twice the first counts.
        if (std::none_of(attributes_.begin(), attributes_.end(), [&](const auto& a) { return a.first == name; })) {
            attributes_.emplace_back(std::move(name), std::move(value));
        }
        return true;
    }

    bool Attribute(std::string_view name, std::string& value) const
    {
        for (const auto& [attribute, text] : attributes_) {
            if (attribute == name) {
                value = text;
                return true;
            }
        }
        return false;
    }

    // The text of the element just opened and its end tag, nothing between.
    bool ReadClosedText(std::string& text)
    {
        const std::string endTag = "/" + tag_;
        const std::size_t end = html_.find('<', at_);
        if (end == std::string_view::npos || !Decode(html_.substr(at_, end - at_), false, text)) {
            return false;
        }
        at_ = end;
        return ReadTag() && tag_ == endTag;
    }

    // Text or an attribute value with its character references decoded and
    // its line ends as LF, as the parser gives them; false for references
    // left to the parser.
    static bool Decode(std::string_view raw, bool inAttribute, std::string& out)
    {
        out.clear();
        for (std::size_t i = 0; i < raw.size(); ++i) {
            const char c = raw[i];
            if (c == '\r') {
                out += '\n';
                if (i + 1 < raw.size() && raw[i + 1] == '\n') {
                    ++i;
                }
                continue;
            }
            const char next = i + 1 < raw.size() ? raw[i + 1] : '\0';
            if (c != '&' || (next != '#' && !IsAsciiAlnum(next))) {
                out += c;
                continue;
            }
            std::size_t end = i + 1;
            if (next == '#') {
                const bool hex = i + 2 < raw.size() && (raw[i + 2] == 'x' || raw[i + 2] == 'X');
                const std::size_t digits = i + (hex ? 3 : 2);
                uint32_t code = 0;
                const auto [stop, error] = std::from_chars(
                    raw.data() + digits, raw.data() + std::min(raw.size(), digits + 7), code, hex ? 16 : 10);
                end = static_cast<std::size_t>(stop - raw.data());
                if (error != std::errc() || end >= raw.size() || raw[end] != ';'
                    || !((code >= 0x20 && code < 0x7F) || (code >= 0xA0 && code < 0xD800)
                        || (code >= 0xE000 && code < 0xFDD0) || (code >= 0xFDF0 && code < 0xFFFE))) {
                    return false;
                }
                AppendUtf8(out, static_cast<char32_t>(code));
                i = end;
                continue;
            }
            while (end < raw.size() && IsAsciiAlnum(raw[end])) {
                ++end;
            }
            if (end == raw.size() || raw[end] != ';') {
                // In an attribute a name longer than any the parser takes
                // without ";" is no reference.
                if (!inAttribute || end - i - 1 <= 6) {
                    return false;
                }
                out += c;
                continue;
            }
            static constexpr std::pair<std::string_view, char> kEntities[]
                = {{"amp", '&'}, {"lt", '<'}, {"gt", '>'}, {"quot", '"'}, {"apos", '\''}};
            const std::string_view name = raw.substr(i + 1, end - i - 1);
            const auto* entity = std::find_if(
                std::begin(kEntities), std::end(kEntities), [&](const auto& e) { return e.first == name; });
            if (entity == std::end(kEntities)) {
                return false;
            }
            out += entity->second;
            i = end;
        }
        return true;
    }

    std::string_view html_;
    BookmarkCollector& collector_;
    std::size_t at_ = 0;
    std::string tag_;
    bool closing_ = false;
    std::vector<std::pair<std::string, std::string>> attributes_;
    std::vector<bool> lists_; // open <DL>s, true for a folder's
};

// The file as UTF-8 without a byte order mark: a view of the bytes when
// they are UTF-8 (a large file is not copied), else converted into text.
std::string_view FileAsUtf8(std::string_view bytes, std::string& converted, bool& isUtf8)
{
    if (bytes.starts_with("\xEF\xBB\xBF")) {
        bytes.remove_prefix(3);
    }
    isUtf8 = true;
    if (!Utf8ToUtf16(bytes)) {
        if (ConversionResult fromCp932 = SjisToUtf8(bytes); fromCp932.ok) {
            converted = std::move(fromCp932.text);
            return converted;
        }
        isUtf8 = false;
    }
    return bytes;
}

} // namespace

std::optional<int64_t> BookmarkDate(std::string_view value)
{
    int64_t number = 0;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), number);
    if (error != std::errc() || end != value.data() + value.size() || number <= 0) {
        return std::nullopt;
    }
    if (number >= 100'000'000'000'000) {
        return number / 1'000'000;
    }
    if (number >= 100'000'000'000) {
        return number / 1'000;
    }
    return number;
}

BookmarkFolders::BookmarkFolders(std::initializer_list<std::string> names)
{
    for (const std::string& name : names) {
        *this = Inside(name);
    }
}

BookmarkFolders BookmarkFolders::Inside(std::string name) const
{
    BookmarkFolders inside;
    auto folder = std::make_shared<Folder>(Folder{std::move(name), innermost_, nullptr});
    folder->outermost = innermost_ ? innermost_->outermost : folder.get();
    inside.innermost_ = std::move(folder);
    return inside;
}

std::vector<std::string> BookmarkFolders::Names() const
{
    std::vector<std::string> names;
    for (const Folder* folder = innermost_.get(); folder != nullptr; folder = folder->parent.get()) {
        names.push_back(folder->name);
    }
    std::reverse(names.begin(), names.end());
    return names;
}

BookmarkFile ReadBookmarkFile(std::string_view bytes)
{
    std::string converted;
    bool isUtf8 = false;
    const std::string_view html = FileAsUtf8(bytes, converted, isUtf8);
    if (NestsTooDeep(html)) {
        BookmarkFile refused;
        refused.tooDeep = true;
        return refused;
    }
    BookmarkFile file;
    if (isUtf8) {
        BookmarkCollector collector(file.bookmarks);
        bool declared = false;
        if (PlainBookmarkReader(html, collector).Read(declared)) {
            file.isBookmarkFile = declared || (collector.SawList() && !file.bookmarks.empty());
            return file;
        }
        file.bookmarks = {};
    }
    GumboOptions options = kGumboDefaultOptions;
    options.max_errors = 0;
    const std::unique_ptr<GumboOutput, GumboOutputDeleter> output(
        gumbo_parse_with_options(&options, html.data(), html.size()));
    if (!output) {
        return file;
    }
    BookmarkCollector collector(file.bookmarks);
    WalkTree(output->root, collector);
    const GumboDocument& document = output->document->v.document;
    const bool declared
        = document.has_doctype && document.name && std::string_view(document.name) == "netscape-bookmark-file-1";
    file.isBookmarkFile = declared || (collector.SawList() && !file.bookmarks.empty());
    return file;
}

namespace {

std::string Utf8Of(std::string_view sjis)
{
    return SjisToUtf8Lossy(sjis);
}

void WriteItem(const TLinkItem& item, BookmarkExport& result)
{
    std::string& out = result.text;
    out += "        <DT><A HREF=\"" + HtmlEscape(Utf8Of(FullUrl(item.Url))) + "\" ADD_DATE=\""
        + std::to_string(UnixTimeOfLocalDateTime(item.Date)) + "\"";
    if (!item.Attributes.empty()) {
        std::string tags;
        for (const std::string& name : SplitSlashList(item.Attributes)) {
            if (sjis::FindChar(name, ',') != sjis::npos
                && std::find(result.tagsWithComma.begin(), result.tagsWithComma.end(), name)
                    == result.tagsWithComma.end()) {
                result.tagsWithComma.push_back(name);
            }
            tags += (tags.empty() ? "" : ",") + Utf8Of(sjis::ReplaceAll(name, ",", SJ("，")));
        }
        out += " TAGS=\"" + HtmlEscape(tags) + "\"";
    }
    out += ">" + HtmlEscape(Utf8Of(item.Title)) + "</A>\n";
    if (!item.Comment.empty()) {
        const std::string comment = ReplaceDelimiters(sjis::ReplaceAll(item.Comment, "\r\n", "\n"), "\r", '\n');
        out += "        <DD>" + HtmlEscape(Utf8Of(comment)) + "\n";
    }
}

} // namespace

BookmarkExport WriteBookmarkFile(const Project& project)
{
    BookmarkExport result;
    std::string& out = result.text;
    out = "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n"
          "<!-- This is an automatically generated file.\n"
          "     It will be read and overwritten.\n"
          "     DO NOT EDIT! -->\n"
          "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=UTF-8\">\n"
          "<TITLE>Bookmarks</TITLE>\n"
          "<H1>Bookmarks</H1>\n"
          "<DL><p>\n";
    for (std::size_t genre = 0; genre < project.TrashIndex(); ++genre) {
        const Genre& folder = project.Genres[genre];
        if (genre == 0 && folder.Lines.empty()) {
            continue;
        }
        out += "    <DT><H3>" + HtmlEscape(Utf8Of(folder.Name)) + "</H3>\n    <DL><p>\n";
        for (const std::string& line : folder.Lines) {
            WriteItem(LineToItem(line), result);
        }
        out += "    </DL><p>\n";
    }
    out += "</DL><p>\n";
    return result;
}

} // namespace tessaly
