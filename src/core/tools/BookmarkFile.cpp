#include "tools/BookmarkFile.h"

#include <gumbo.h>

#include <algorithm>
#include <charconv>
#include <memory>

#include "collection/LinkItem.h"
#include "collection/Project.h"
#include "text/Codepage.h"
#include "text/Collation.h"
#include "text/FieldText.h"
#include "text/Html.h"
#include "text/Sjis.h"
#include "text/Strings.h"
#include "text/Url.h"

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

// Bookmarks in document order, with the folders they lie in: an <H3> names
// the next list, wherever the parser hung that list (inside the <DT>, or
// inside a <DD> that describes the folder).
class BookmarkWalker {
public:
    explicit BookmarkWalker(std::vector<Bookmark>& bookmarks)
        : bookmarks_(bookmarks)
    {
    }

    void Walk(const GumboNode* root)
    {
        struct Frame {
            const GumboNode* node;
            std::size_t next;
            bool folder;
        };
        std::vector<Frame> frames;
        if (Enter(root, frames.emplace_back(Frame{root, 0, false}).folder)) {
            while (!frames.empty()) {
                Frame& frame = frames.back();
                if (frame.next == ChildCount(frame.node)) {
                    if (frame.folder) {
                        folders_.pop_back();
                    }
                    frames.pop_back();
                    continue;
                }
                const GumboNode* child = Child(frame.node, frame.next++);
                bool folder = false;
                if (Enter(child, folder)) {
                    frames.push_back({child, 0, folder});
                }
            }
        }
    }

    bool SawList() const { return sawList_; }

private:
    // Takes what the node says; true when its children are to be walked.
    bool Enter(const GumboNode* node, bool& folder)
    {
        if (node->type != GUMBO_NODE_ELEMENT) {
            return false;
        }
        switch (node->v.element.tag) {
        case GUMBO_TAG_H3:
            pendingFolder_ = OneLine(TextOf(node));
            afterBookmark_ = false;
            return false;
        case GUMBO_TAG_A: {
            pendingFolder_.reset();
            afterBookmark_ = false;
            if (gumbo_get_attribute(&node->v.element.attributes, "href") == nullptr) {
                return false;
            }
            Bookmark& bookmark = bookmarks_.emplace_back();
            bookmark.folders = Folders();
            bookmark.title = OneLine(TextOf(node));
            bookmark.url = TrimBlanks(Attribute(node, "href"));
            bookmark.tags = Attribute(node, "tags");
            bookmark.addDate = BookmarkDate(Attribute(node, "add_date"));
            afterBookmark_ = true;
            return false;
        }
        case GUMBO_TAG_DD:
            if (afterBookmark_) {
                bookmarks_.back().description = TrimBlanks(OwnText(node));
            }
            afterBookmark_ = false;
            return true;
        case GUMBO_TAG_DL:
            sawList_ = true;
            afterBookmark_ = false;
            if (pendingFolder_) {
                folders_.push_back(Folders().Inside(std::move(*pendingFolder_)));
                pendingFolder_.reset();
                folder = true;
            }
            return true;
        default: return true;
        }
    }

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

// The file as UTF-8 without a byte order mark: a view of the bytes when
// they are UTF-8 (a large file is not copied), else converted into text.
std::string_view FileAsUtf8(std::string_view bytes, std::string& converted)
{
    if (bytes.starts_with("\xEF\xBB\xBF")) {
        bytes.remove_prefix(3);
    }
    if (!Utf8ToUtf16(bytes)) {
        if (ConversionResult fromCp932 = SjisToUtf8(bytes); fromCp932.ok) {
            converted = std::move(fromCp932.text);
            return converted;
        }
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
    const std::string_view html = FileAsUtf8(bytes, converted);
    if (NestsTooDeep(html)) {
        BookmarkFile refused;
        refused.tooDeep = true;
        return refused;
    }
    GumboOptions options = kGumboDefaultOptions;
    options.max_errors = 0;
    const std::unique_ptr<GumboOutput, GumboOutputDeleter> output(
        gumbo_parse_with_options(&options, html.data(), html.size()));
    BookmarkFile file;
    if (!output) {
        return file;
    }
    BookmarkWalker walker(file.bookmarks);
    walker.Walk(output->root);
    const GumboDocument& document = output->document->v.document;
    const bool declared
        = document.has_doctype && document.name && std::string_view(document.name) == "netscape-bookmark-file-1";
    file.isBookmarkFile = declared || (walker.SawList() && !file.bookmarks.empty());
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
