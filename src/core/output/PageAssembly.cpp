#include "core/output/PageAssembly.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <fstream>

#include "core/collection/Project.h"
#include "core/design/DirectoryLinks.h"
#include "core/text/Codepage.h"
#include "core/text/Collation.h"
#include "core/text/FieldText.h"
#include "core/text/Kana.h"
#include "core/text/KeywordText.h"
#include "core/text/Paths.h"
#include "core/text/Sjis.h"
#include "core/text/Strings.h"
#include "core/text/TagField.h"
#include "core/util/AtomicFile.h"
#include "core/util/Jpeg.h"

namespace tessaly {

namespace {

void ReplaceEvery(std::string& text, std::string_view from, std::string_view to)
{
    if (text.find(from) != std::string::npos) {
        text = sjis::ReplaceAll(text, from, to);
    }
}

std::string Format(const char* format, auto... values)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, format, values...);
    return buffer;
}

std::string LinkEntry(std::string_view front, std::string_view target, std::string_view caption, std::string_view rear)
{
    std::string entry(front);
    entry += "<A href=\"";
    entry += target;
    entry += "\">";
    entry += caption;
    entry += "</A>";
    entry += rear;
    return entry;
}

// The range of page items as selection criteria: both numbers give mode 2,
// neither mode 0, only the first mode 3, only the last mode 4.
TSqueeze PageRange(const TSqueeze& criteria, std::pair<int32_t, int32_t> range)
{
    TSqueeze squeeze = criteria;
    const auto [first, last] = range;
    squeeze.rangeStart = first;
    squeeze.rangeEnd = last;
    squeeze.rangeMode = first > 0 && last > 0 ? 2 : first > 0 ? 3 : last > 0 ? 4 : 0;
    return squeeze;
}

// Why a page template is not used, as the run log says it.
std::string TemplateProblem(ReadFailure failure)
{
    switch (failure) {
    case ReadFailure::NotFound: return SJ("\tテンプレートが見付かりません.");
    case ReadFailure::NotAFile: return SJ("\tテンプレートが通常のファイルではないため、使いませんでした.");
    case ReadFailure::TooLarge: return SJ("\tテンプレートが 16 MB を超えるため、使いませんでした.");
    default: return SJ("\tテンプレートを読み込めませんでした.");
    }
}

struct UrlAttributes {
    std::string_view tag;
    std::array<std::string_view, 5> attributes;
};

constexpr std::array<UrlAttributes, 16> kUrlAttributes{{
    {"A", {"href"}},
    {"AREA", {"href"}},
    {"BASE", {"href"}},
    {"BODY", {"background"}},
    {"FORM", {"action"}},
    {"IFRAME", {"src"}},
    {"IMG", {"src", "lowsrc", "usemap"}},
    {"INPUT", {"src", "usemap"}},
    {"INS", {"cite"}},
    {"LINK", {"href"}},
    {"OBJECT", {"classid", "codebase", "data", "archive", "usemap"}},
    {"Q", {"cite"}},
    {"SCRIPT", {"src", "for"}},
    {"TABLE", {"background"}},
    {"TD", {"background"}},
    {"TH", {"background"}},
}};

const UrlAttributes* UrlAttributesOf(std::string_view tagName)
{
    std::string upper(tagName);
    for (char& c : upper) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    for (const UrlAttributes& entry : kUrlAttributes) {
        if (entry.tag == upper) {
            return &entry;
        }
    }
    return nullptr;
}

bool IsDriveLetterPath(std::string_view value)
{
    const char c = value.empty() ? '\0' : value[0];
    return value.size() >= 4 && ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) && value[1] == ':'
        && value[2] == '\\';
}

// A tag changes only when it holds "%%" (the banner directory) or ":\\" (an
// absolute local path); both are this long.
constexpr std::size_t kLocalMarkSize = 2;

std::size_t NextLocalMark(std::string_view text, std::size_t from)
{
    return std::min(text.find("%%", from), text.find(":\\", from));
}

// Rebuilds the inner text of one tag when one of its URL values changes.
std::optional<std::string> RewriteTag(std::string_view inner, std::string_view directory, std::string_view bannerPrefix)
{
    TTagField tag(inner);
    const UrlAttributes* known = tag.Count() >= 2 ? UrlAttributesOf(tag.Name(0)) : nullptr;
    if (known == nullptr) {
        return std::nullopt;
    }
    bool changed = false;
    for (const std::string_view attribute : known->attributes) {
        const int index = attribute.empty() ? -1 : tag.IndexOf(attribute, true);
        if (index < 1) {
            continue;
        }
        const std::string& value = tag.Value(index);
        if (value.starts_with("%%")) {
            tag.SetValue(index, std::string(bannerPrefix) + value.substr(2));
            changed = true;
        } else if (IsDriveLetterPath(value)) {
            tag.SetValue(index, RelativeLink(directory, value));
            changed = true;
        }
    }
    return changed ? std::optional<std::string>(tag.Text()) : std::nullopt;
}

} // namespace

std::string SitePath(std::string_view root, std::string_view path)
{
    return path.starts_with("/") ? std::string(path) : ResolveRelative(root, path);
}

PageAssembler::PageAssembler(
    const Project& project, const ItemCatalog& catalog, std::string rootDirectory, DesignDefaults defaults, RunLog log)
    : project_(project)
    , catalog_(catalog)
    , root_(WithTrailingSlash(rootDirectory))
    , defaults_(std::move(defaults))
    , log_(std::move(log))
    , itemCount_(catalog.size() - catalog.FirstFiled())
{
}

std::string Utf8FileNote(std::string_view file, const Utf8Conversion& conversion)
{
    std::string note = std::string(file) + SJ(" は UTF-8 で書かれているため、Shift_JIS に変換して読みました.");
    if (!conversion.leftOut.empty()) {
        note += SJ(" Shift_JIS にない文字は除きました:");
        for (const std::string& character : conversion.leftOut) {
            note += " " + CodePointName(character);
        }
    }
    return note;
}

const TDirectoryDesign& PageAssembler::AncestorDesign(const std::string& directory, bool& exists)
{
    auto found = ancestors_.find(directory);
    if (found == ancestors_.end()) {
        TDirectoryDesign design;
        const bool existed = ReadDesignWithSuccession(root_, directory, design, defaults_);
        found = ancestors_.emplace(directory, std::make_pair(existed, std::move(design))).first;
    }
    exists = found->second.first;
    return found->second.second;
}

std::string PageAssembler::LoadPageTemplate(std::string_view path, std::string_view directory)
{
    if (path.empty()) {
        return std::string(resources::TEMPLATE_OUTPUTHTML);
    }
    const std::string sitePath = SitePath(root_, path);
    auto found = templateFiles_.find(sitePath);
    if (found == templateFiles_.end()) {
        const auto fsPath = ToFsPath(sitePath);
        FileReadResult file = fsPath ? ReadWholeFile(*fsPath, kTemplateFileLimit)
                                     : FileReadResult{false, ReadFailure::NotFound, {}, {}};
        // Said once per file, for the first directory that uses it.
        if (file.ok) {
            UserFileText text = UserFileToSjis(std::move(file.data));
            file.data = std::move(text.text);
            if (text.conversion.fromUtf8) {
                log_(SJ("警告\t") + std::string(directory));
                log_("\t" + Utf8FileNote(sitePath, text.conversion));
                log_("");
            }
        }
        found = templateFiles_.emplace(sitePath, std::move(file)).first;
    }
    if (found->second.ok) {
        return found->second.data;
    }
    log_(SJ("警告\t") + std::string(directory));
    log_(TemplateProblem(found->second.failure));
    log_("");
    return std::string(resources::TEMPLATE_OUTPUTHTML);
}

std::string PageAssembler::BuildReturnLinks(const DirectoryPages& pages)
{
    const TParentAdorn& adorn = pages.design.parentAdorn;
    std::string links;
    std::string ancestor = pages.directory;
    for (int level = 1; ancestor != root_ && ancestor.size() > root_.size(); ++level) {
        ancestor.pop_back();
        ancestor.erase(ancestor.rfind('/') + 1);
        bool exists = false;
        const TDirectoryDesign& design = AncestorDesign(ancestor, exists);
        if (!exists || !design.htmlOutputs) {
            continue;
        }
        const std::string caption = design.dirTitle.empty() ? Format("%d", level) + SJ(" レベル上へ") : design.dirTitle;
        links += LinkEntry(adorn.front, RepeatText("../", level) + design.html.nameDef, caption, adorn.rear);
    }
    if (!project_.ParentPath.empty()) {
        const std::string caption = project_.ParentAnchor.empty() ? SJ("最上位へ") : project_.ParentAnchor;
        links += LinkEntry(
            adorn.front, RelativeLink(pages.directory, SitePath(root_, project_.ParentPath)), caption, adorn.rear);
    }
    return links;
}

void PageAssembler::AppendLinks(
    std::string& out, const DirectoryPages& pages, std::size_t pageIndex, const TSqueeze& range) const
{
    const auto [first, last] = RangeBounds(pages.selection.size(), range);
    std::vector<const LinkItemView*> items;
    items.reserve(last - first);
    for (std::size_t i = first; i < last; ++i) {
        const LinkItemView& item = catalog_[pages.selection[i]].item;
        items.push_back(&item);
        // The items of a page lie all over the collection: ask for their
        // texts at once rather than wait for each in turn.
        for (const std::string_view text : {item.Title, item.Author, item.Url, item.Banner, item.Comment}) {
            __builtin_prefetch(text.data());
        }
    }
    pages.bars.AppendTo(out, pageIndex);
    AppendItemList(out, itemTemplate_, items, pages.bannerPrefix);
    pages.bars.AppendTo(out, pageIndex);
}

void PageAssembler::StartDirectory(const DirectoryPages& pages)
{
    const TDirectoryDesign& design = pages.design;
    returns_ = BuildReturnLinks(pages);
    directoryLinks_ = BuildDirectoryLinks(design.subLinks);
    itemTemplate_ = FindItemTemplate(project_, design.squeeze.templateName);
    defTemplate_ = LoadPageTemplate(design.html.templateDef, pages.directory);
    NoteProgramBanner(defTemplate_);
    subTemplate_.clear();
}

void PageAssembler::StartSubPages(const DirectoryPages& pages)
{
    subTemplate_ = LoadPageTemplate(pages.design.html.templateSub, pages.directory);
    NoteProgramBanner(subTemplate_);
}

void PageAssembler::NoteProgramBanner(const std::string& pageTemplate)
{
    refersToProgramBanner_ = refersToProgramBanner_
        || pageTemplate.find("%%" + std::string(resources::kBannerImageName)) != std::string::npos;
}

void PageAssembler::InsertLinks(
    std::string& text, const DirectoryPages* pages, std::size_t pageIndex, const TSqueeze& range) const
{
    // As replacing every "%links;" of the text, the links made right in
    // their place: pages are long.
    constexpr std::string_view kKeyword = "%links;";
    std::size_t hit = text.find(kKeyword);
    if (hit == std::string::npos) {
        return;
    }
    std::string page;
    std::optional<std::pair<std::size_t, std::size_t>> first; // where the links went first
    std::size_t copied = 0;
    for (; hit != std::string::npos; hit = text.find(kKeyword, copied)) {
        page.append(text, copied, hit - copied);
        if (pages != nullptr && !first) {
            const std::size_t start = page.size();
            AppendLinks(page, *pages, pageIndex, range);
            first.emplace(start, page.size() - start);
        } else if (first) {
            page += std::string(page, first->first, first->second);
        }
        copied = hit + kKeyword.size();
    }
    page.append(text, copied);
    text = std::move(page);
}

std::string PageAssembler::AssemblePage(const DirectoryPages& pages, std::size_t pageIndex) const
{
    const TDirectoryDesign& design = pages.design;
    const PageConditionFlags flags{
        pages.isRoot, pageIndex == 0, !design.subLinks.links.empty(), pages.hits != 0, design.linkOutputs};
    std::string text = ExpandConditionalBlocks(
        pageIndex == 0 ? defTemplate_ : subTemplate_, [&flags](std::string_view operation, std::string_view argument) {
            return EvaluatePageCondition(flags, operation, argument);
        });
    ReplaceEvery(text, "%returns;", returns_);
    ReplaceEvery(text, "%directorylinks;", directoryLinks_);
    const std::pair<int32_t, int32_t> pageRange
        = pageIndex < pages.pageRanges.size() ? pages.pageRanges[pageIndex] : std::pair<int32_t, int32_t>{0, 0};
    const TSqueeze range = PageRange(design.squeeze, pageRange);
    InsertLinks(text, design.linkOutputs ? &pages : nullptr, pageIndex, range);
    ReplacePageKeywords(text, {project_, design, itemCount_, pages.hits, range});
    return RewriteLocalReferences(std::move(text), pages.directory, pages.bannerPrefix);
}

std::string BuildDirectoryLinks(const TSubLinks& subLinks)
{
    const std::size_t columns
        = static_cast<std::size_t>(std::clamp(subLinks.column, kMinPageLinkColumns, kMaxPageLinkColumns));
    const std::size_t n = subLinks.links.size();
    // Direction 0 fills column by column, the first n mod cols columns
    // taking one entry more; direction 1 deals the entries out in turn.
    std::vector<std::size_t> columnOf(n);
    for (std::size_t i = 0, column = 0, filled = 0; i < n; ++i) {
        if (subLinks.direction == 1) {
            columnOf[i] = i % columns;
            continue;
        }
        const std::size_t size = n / columns + (column < n % columns ? 1 : 0);
        if (filled == size) {
            ++column;
            filled = 0;
        }
        columnOf[i] = column;
        ++filled;
    }
    std::vector<std::string> columnText(columns);
    for (std::size_t i = 0; i < n; ++i) {
        const auto [caption, target] = ParseSubLinkEntry(subLinks.links[i]);
        std::string mark;
        switch (subLinks.style) {
        case 1: mark = SJ("<B><TT>・</TT></B>"); break;
        case 2:
            mark = "<IMG alt=\"\" src=\"" + subLinks.image + "\" width=" + std::to_string(subLinks.imageWidth)
                + " height=" + std::to_string(subLinks.imageHeight) + " border=0 hspace=0 vspace=0>";
            break;
        default: mark = "<B>" + std::to_string(i + 1) + ".</B>"; break;
        }
        columnText[columnOf[i]] += "\t\t\t\t<TR><TD align=right nowrap>" + mark + "</TD><TD nowrap><B><A href=\""
            + target + "\">" + caption + "</A></B></TD>\r\n";
    }
    std::string table;
    if (subLinks.width.empty()) {
        table = "<TABLE border=0 cellspacing=0 cellpadding=0>\r\n";
    } else if (subLinks.width.find('%') != std::string::npos) {
        table = "<TABLE border=0 width=\"" + subLinks.width + "\" cellspacing=0 cellpadding=0>\r\n";
    } else {
        table = "<TABLE border=0 width=" + subLinks.width + " cellspacing=0 cellpadding=0>\r\n";
    }
    table += "\t<TR>\r\n";
    const std::size_t share = 100 / columns;
    for (std::size_t c = 0; c < columns; ++c) {
        const std::size_t percent = c + 1 < columns ? share : 100 - share * (columns - 1);
        table += "\t\t<TD valign=top width=\"" + std::to_string(percent) + "%\">\r\n";
        table += "\t\t\t<TABLE border=0 cellspacing=4 cellpadding=0>\r\n";
        table += columnText[c];
        table += "\t\t\t</TABLE>\r\n";
        table += "\t\t</TD>\r\n";
    }
    table += "</TABLE>\r\n";
    return table;
}

PageBars::PageBars(const std::vector<std::string>& pageNames)
{
    if (pageNames.size() <= 1) {
        return;
    }
    linked_ = "<P align=center>\r\n\t";
    for (std::size_t i = 0; i < pageNames.size(); ++i) {
        if (i > 0) {
            linked_ += ' ';
        }
        const std::size_t start = linked_.size();
        linked_ += "[<B><A href=\"" + pageNames[i] + "\">" + std::to_string(i + 1) + "</A></B>]";
        links_.emplace_back(start, linked_.size());
    }
    linked_ += "\r\n</P>\r\n";
}

void PageBars::AppendTo(std::string& out, std::size_t pageIndex) const
{
    if (pageIndex >= links_.size()) {
        out += linked_;
        return;
    }
    const auto [start, end] = links_[pageIndex];
    out.append(linked_, 0, start);
    out += "[<B>";
    out += std::to_string(pageIndex + 1);
    out += "</B>]";
    out.append(linked_, end);
}

void ReplacePageKeywords(std::string& text, const PageKeywords& keywords)
{
    static constexpr std::array<std::string_view, 11> kKeywords{"%directory;", "%project;", "%admin;",
        "%adminkana;", "%adminmail;", "%count;", "%hits;", "%titlerange;", "%authorrange;", "%begin;", "%end;"};
    const Project& project = keywords.project;
    const TSqueeze& range = keywords.range;
    const TSqueeze& criteria = keywords.design.squeeze;
    const int mode = range.rangeMode;
    text = ReplaceKeywordsInOrder(std::move(text), kKeywords, [&](std::size_t index) -> std::string {
        switch (index) {
        case 0: return keywords.design.dirTitle;
        case 1: return project.Title;
        case 2: return project.AuthorName;
        case 3: return project.AuthorKana;
        case 4: return project.AuthorMail;
        case 5: return std::to_string(keywords.itemCount);
        case 6: return std::to_string(keywords.hits);
        case 7: return KanaRangeToText(criteria.titleRange);
        case 8: return KanaRangeToText(criteria.authorRange);
        case 9: return mode == 0 || mode == 4 ? "1" : std::to_string(range.rangeStart);
        default:
            return mode == 1 || mode == 2 || mode == 4 ? std::to_string(range.rangeEnd)
                                                       : std::to_string(keywords.hits);
        }
    });
}

std::string RewriteLocalReferences(std::string page, std::string_view directory, std::string_view bannerPrefix)
{
    const std::string_view text = page;
    std::string result;
    std::size_t copied = 0; // text in front of this is in result
    std::size_t mark = 0; // the first value that may change at or behind the current tag
    for (std::size_t pos = 0;;) {
        const std::size_t open = text.find('<', pos);
        const std::size_t close = open == std::string_view::npos ? open : text.find('>', open + 1);
        if (close == std::string_view::npos) {
            break;
        }
        if (mark <= open) {
            mark = NextLocalMark(text, open + 1);
            if (mark == std::string_view::npos) {
                break;
            }
        }
        // Only a tag that holds a mark can change.
        if (mark + kLocalMarkSize <= close) {
            if (const std::optional<std::string> rebuilt
                = RewriteTag(text.substr(open + 1, close - open - 1), directory, bannerPrefix)) {
                result.append(text.substr(copied, open + 1 - copied));
                result += *rebuilt;
                copied = close;
            }
        }
        pos = close;
    }
    if (copied == 0) {
        return page; // unchanged
    }
    result.append(text.substr(copied));
    return result;
}

std::pair<int32_t, int32_t> ReadImageSize(std::string_view path)
{
    const std::optional<std::filesystem::path> fsPath = ToFsPath(path);
    std::error_code error;
    if (!fsPath || !std::filesystem::is_regular_file(*fsPath, error)) {
        return {0, 0};
    }
    std::string extension = fsPath->extension().string();
    for (char& c : extension) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    if (extension == ".GIF") {
        std::ifstream in(*fsPath, std::ios::binary);
        unsigned char header[10] = {};
        if (!in.read(reinterpret_cast<char*>(header), sizeof header)) {
            return {0, 0};
        }
        return {header[6] | (header[7] << 8), header[8] | (header[9] << 8)};
    }
    if (extension == ".JPG" || extension == ".JPEG") {
        return ReadJpegSize(*fsPath);
    }
    return {0, 0};
}

} // namespace tessaly
