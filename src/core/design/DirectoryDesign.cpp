#include "core/design/DirectoryDesign.h"

#include <algorithm>
#include <filesystem>
#include <unordered_map>

#include "core/text/Codepage.h"
#include "core/text/Collation.h"
#include "core/text/FieldText.h"
#include "core/text/Html.h"
#include "core/text/KeyFile.h"
#include "core/text/Paths.h"
#include "core/text/Sjis.h"
#include "core/text/Strings.h"
#include "core/util/AtomicFile.h"

namespace tessaly {

namespace {

std::string JoinNames(const std::vector<std::string>& names)
{
    std::string lines;
    for (const std::string& name : names) {
        if (!lines.empty()) {
            lines += kLineBreak;
        }
        lines += name;
    }
    return JoinSlashList(lines);
}

// A small whole number in 0..maximum, or nothing.
std::optional<uint8_t> SmallNumber(std::string_view value, int maximum)
{
    const std::optional<int32_t> number = ParseInt32(value);
    if (!number || *number < 0 || *number > maximum) {
        return std::nullopt;
    }
    return static_cast<uint8_t>(*number);
}

void ReadDateCriteria(std::string_view value, TSqueeze& squeeze)
{
    const std::size_t dash = value.find('-');
    if (dash == std::string_view::npos) {
        if (const auto date = ParseDateTime(value)) {
            squeeze.dateMode = 1;
            squeeze.date1 = *date;
        }
        return;
    }
    const std::optional<TDateTime> from = ParseDateTime(value.substr(0, dash));
    const std::optional<TDateTime> to = ParseDateTime(value.substr(dash + 1));
    if (from && to) {
        squeeze.dateMode = 2;
        squeeze.date1 = *from;
        squeeze.date2 = *to;
    } else if (from && Trim(value.substr(dash + 1)).empty()) {
        squeeze.dateMode = 3;
        squeeze.date1 = *from;
    } else if (to && Trim(value.substr(0, dash)).empty()) {
        squeeze.dateMode = 4;
        squeeze.date2 = *to;
    }
}

std::string DateCriteriaText(const TSqueeze& squeeze)
{
    switch (squeeze.dateMode) {
    case 1: return DateToText(squeeze.date1);
    case 2: return DateToText(squeeze.date1) + "-" + DateToText(squeeze.date2);
    case 3: return DateToText(squeeze.date1) + "-";
    case 4: return "-" + DateToText(squeeze.date2);
    default: return {};
    }
}

// Items per page: a count below 1 would divide by zero, so it reads like a
// value that is not a number.
int32_t PositiveOr(std::string_view value, int32_t fallback)
{
    const int32_t number = ParseInt32(value).value_or(fallback);
    return number >= 1 ? number : fallback;
}

// A name list of a criterion; empty names name nothing and are left out.
std::vector<std::string> NameList(std::string_view value)
{
    std::vector<std::string> names = SplitSlashList(value);
    std::erase(names, std::string());
    return names;
}

// Small numbers outside 0..maximum leave the field as it was.
void SetSmallNumber(uint8_t& field, std::string_view value, int maximum)
{
    field = SmallNumber(value, maximum).value_or(field);
}

// The count of directory-link columns: not a number gives 2, others are
// held to what the design dialogs offer, since the count sizes the table.
int32_t PageLinkColumns(std::string_view value)
{
    return std::clamp(ParseInt32(value).value_or(2), kMinPageLinkColumns, kMaxPageLinkColumns);
}

std::string DesignFilePath(std::string_view directory)
{
    return WithTrailingSlash(directory) + std::string(kDesignFileName);
}

std::string ParentOf(std::string_view directory)
{
    std::string path = WithTrailingSlash(directory);
    path.pop_back();
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

} // namespace

bool IsPlainName(std::string_view name)
{
    // The longest name a Linux file system takes, in its own encoding.
    constexpr std::size_t kLongestName = 255;
    const bool hasControl
        = std::any_of(name.begin(), name.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20; });
    if (name.empty() || name == "." || name == ".." || hasControl || !HasOnlyFileNameCharacters(name)) {
        return false;
    }
    const std::optional<std::filesystem::path> onDisk = ToFsPath(name);
    return onDisk && onDisk->native().size() <= kLongestName;
}

bool IsValidPageName(std::string_view name)
{
    return IsPlainName(name) && !SameNameIgnoringAsciiCase(name, kDesignFileName)
        && !SameNameIgnoringAsciiCase(name, kSimpleDesignFileName);
}

const std::string& DefaultParentFront()
{
    static const std::string front = SJ("⇒<B>");
    return front;
}

std::string WithTrailingSlash(std::string_view directory)
{
    std::string path(directory);
    while (path.size() > 1 && path.back() == '/') {
        path.pop_back();
    }
    if (path.empty() || path.back() != '/') {
        path += '/';
    }
    return path;
}

void ResetSqueeze(TSqueeze& squeeze, TDateTime today)
{
    squeeze = TSqueeze{};
    squeeze.date1 = today;
    squeeze.date2 = today;
}

void ResetDesign(TDirectoryDesign& design, const DesignDefaults& defaults)
{
    design = TDirectoryDesign{};
    design.html.nameDef = defaults.defaultFile;
    design.html.nameSub = defaults.subFile;
    ResetSqueeze(design.squeeze, defaults.today);
    design.parentAdorn = {DefaultParentFront(), std::string(kDefaultParentRear)};
}

std::string DesignFileText(const TDirectoryDesign& design)
{
    const TSqueeze& squeeze = design.squeeze;
    std::string text = KeyFileHeader("Directory Design File");
    AppendKeyLine(text, "{dirtitle}", design.dirTitle);
    AppendKeyLine(text, "{htmloutputs}", BoolToText(design.htmlOutputs));
    AppendKeyLine(text, "{linkoutputs}", BoolToText(design.linkOutputs));
    if (design.succession) {
        AppendKeyLine(text, "{succession}", "TRUE");
    } else {
        AppendKeyLine(text, "{succession}", "FALSE");
        AppendKeyLine(text, "{namedef}", design.html.nameDef);
        AppendKeyLine(text, "{namesub}", design.html.nameSub);
        AppendKeyLine(text, "{templatedef}", design.html.templateDef);
        AppendKeyLine(text, "{templatesub}", design.html.templateSub);
        AppendKeyLine(text, "{templatelink}", squeeze.templateName);
        AppendKeyLine(text, "{division}", BoolToText(design.html.division));
        AppendKeyLine(text, "{divisioncount}", std::to_string(design.html.divisionCount));
        if (design.parentAdorn.front != DefaultParentFront()) {
            AppendKeyLine(text, "{parentfront}", design.parentAdorn.front);
        }
        if (design.parentAdorn.rear != kDefaultParentRear) {
            AppendKeyLine(text, "{parentrear}", design.parentAdorn.rear);
        }
    }
    if (!squeeze.genre.empty()) {
        AppendKeyLine(text, "{genre}", squeeze.genre);
    }
    if (squeeze.dateMode >= 1 && squeeze.dateMode <= 4) {
        AppendKeyLine(text, "{date}", DateCriteriaText(squeeze));
    }
    if (squeeze.status >= 1 && squeeze.status <= 7) {
        AppendKeyLine(text, "{status}", std::to_string(squeeze.status - 1));
    }
    if (squeeze.sortBy != 0) {
        AppendKeyLine(text, "{sortby}", std::to_string(squeeze.sortBy));
    }
    if (squeeze.sortDir != 0) {
        AppendKeyLine(text, "{sortdir}", std::to_string(squeeze.sortDir));
    }
    if (KanaRangeIsPartial(squeeze.titleRange)) {
        AppendKeyLine(text, "{titlerange}", KanaRangeToText(squeeze.titleRange));
    }
    if (KanaRangeIsPartial(squeeze.authorRange)) {
        AppendKeyLine(text, "{authorrange}", KanaRangeToText(squeeze.authorRange));
    }
    const std::pair<std::string_view, const std::vector<std::string>*> lists[] = {
        {"{attrand}", &squeeze.attrAnd},
        {"{attror}", &squeeze.attrOr},
        {"{attrnot}", &squeeze.attrNot},
        {"{contentand}", &squeeze.contentAnd},
        {"{contentor}", &squeeze.contentOr},
        {"{contentnot}", &squeeze.contentNot},
    };
    for (const auto& [key, names] : lists) {
        if (!names->empty()) {
            AppendKeyLine(text, key, JoinNames(*names));
        }
    }
    const TSubLinks& subLinks = design.subLinks;
    if (!subLinks.links.empty()) {
        for (const std::string& entry : subLinks.links) {
            AppendKeyLine(text, "{pagelink}", entry);
        }
        AppendKeyLine(text, "{pagelinkcolumn}", std::to_string(subLinks.column));
    }
    if (subLinks.style != 0) {
        AppendKeyLine(text, "{pagelinkstyle}", std::to_string(subLinks.style));
    }
    if (subLinks.direction != 0) {
        AppendKeyLine(text, "{pagelinkdirection}", std::to_string(subLinks.direction));
    }
    if (!subLinks.image.empty()) {
        AppendKeyLine(text, "{pagelinkimage}", subLinks.image);
        AppendKeyLine(text, "{pagelinkimagewidth}", std::to_string(subLinks.imageWidth));
        AppendKeyLine(text, "{pagelinkimageheight}", std::to_string(subLinks.imageHeight));
    }
    if (!subLinks.width.empty()) {
        AppendKeyLine(text, "{pagelinkwidth}", subLinks.width);
    }
    return text;
}

void ParseDesignText(std::string_view fileText, TDirectoryDesign& design)
{
    using Reader = void (*)(TDirectoryDesign&, std::string_view);
    static const std::unordered_map<std::string_view, Reader> kReaders{
        {"{dirtitle}", [](TDirectoryDesign& d, std::string_view v) { d.dirTitle = v; }},
        {"{htmloutputs}", [](TDirectoryDesign& d, std::string_view v) { d.htmlOutputs = TextToBool(v, true); }},
        {"{linkoutputs}", [](TDirectoryDesign& d, std::string_view v) { d.linkOutputs = TextToBool(v, true); }},
        {"{succession}", [](TDirectoryDesign& d, std::string_view v) { d.succession = TextToBool(v, true); }},
        {"{namedef}", [](TDirectoryDesign& d, std::string_view v) { d.html.nameDef = v; }},
        {"{namesub}", [](TDirectoryDesign& d, std::string_view v) { d.html.nameSub = v; }},
        {"{templatedef}", [](TDirectoryDesign& d, std::string_view v) { d.html.templateDef = v; }},
        {"{templatesub}", [](TDirectoryDesign& d, std::string_view v) { d.html.templateSub = v; }},
        {"{templatelink}", [](TDirectoryDesign& d, std::string_view v) { d.squeeze.templateName = v; }},
        {"{division}", [](TDirectoryDesign& d, std::string_view v) { d.html.division = TextToBool(v, true); }},
        {"{divisioncount}", [](TDirectoryDesign& d, std::string_view v) { d.html.divisionCount = PositiveOr(v, 20); }},
        {"{parentfront}", [](TDirectoryDesign& d, std::string_view v) { d.parentAdorn.front = v; }},
        {"{parentrear}", [](TDirectoryDesign& d, std::string_view v) { d.parentAdorn.rear = v; }},
        {"{genre}", [](TDirectoryDesign& d, std::string_view v) { d.squeeze.genre = v; }},
        {"{date}", [](TDirectoryDesign& d, std::string_view v) { ReadDateCriteria(v, d.squeeze); }},
        {"{status}",
            [](TDirectoryDesign& d, std::string_view v) {
                if (const auto code = SmallNumber(v, 6)) {
                    d.squeeze.status = static_cast<uint8_t>(*code + 1);
                }
            }},
        {"{sortby}", [](TDirectoryDesign& d, std::string_view v) { SetSmallNumber(d.squeeze.sortBy, v, 4); }},
        {"{sortdir}", [](TDirectoryDesign& d, std::string_view v) { SetSmallNumber(d.squeeze.sortDir, v, 1); }},
        {"{titlerange}", [](TDirectoryDesign& d, std::string_view v) { TextToKanaRange(v, d.squeeze.titleRange); }},
        {"{authorrange}", [](TDirectoryDesign& d, std::string_view v) { TextToKanaRange(v, d.squeeze.authorRange); }},
        {"{attrand}", [](TDirectoryDesign& d, std::string_view v) { d.squeeze.attrAnd = NameList(v); }},
        {"{attror}", [](TDirectoryDesign& d, std::string_view v) { d.squeeze.attrOr = NameList(v); }},
        {"{attrnot}", [](TDirectoryDesign& d, std::string_view v) { d.squeeze.attrNot = NameList(v); }},
        {"{contentand}", [](TDirectoryDesign& d, std::string_view v) { d.squeeze.contentAnd = NameList(v); }},
        {"{contentor}", [](TDirectoryDesign& d, std::string_view v) { d.squeeze.contentOr = NameList(v); }},
        {"{contentnot}", [](TDirectoryDesign& d, std::string_view v) { d.squeeze.contentNot = NameList(v); }},
        {"{pagelink}", [](TDirectoryDesign& d, std::string_view v) { d.subLinks.links.emplace_back(v); }},
        {"{pagelinkcolumn}", [](TDirectoryDesign& d, std::string_view v) { d.subLinks.column = PageLinkColumns(v); }},
        {"{pagelinkstyle}", [](TDirectoryDesign& d, std::string_view v) { SetSmallNumber(d.subLinks.style, v, 2); }},
        {"{pagelinkdirection}",
            [](TDirectoryDesign& d, std::string_view v) { SetSmallNumber(d.subLinks.direction, v, 1); }},
        {"{pagelinkimage}", [](TDirectoryDesign& d, std::string_view v) { d.subLinks.image = v; }},
        {"{pagelinkimagewidth}",
            [](TDirectoryDesign& d, std::string_view v) { d.subLinks.imageWidth = ParseInt32(v).value_or(0); }},
        {"{pagelinkimageheight}",
            [](TDirectoryDesign& d, std::string_view v) { d.subLinks.imageHeight = ParseInt32(v).value_or(0); }},
        {"{pagelinkwidth}", [](TDirectoryDesign& d, std::string_view v) { d.subLinks.width = v; }},
    };
    ForEachKeyLine(fileText, [&design](const std::string& key, std::string_view value) {
        if (const auto reader = kReaders.find(key); reader != kReaders.end()) {
            reader->second(design, value);
        }
        return true;
    });
}

bool ReadDesign(std::string_view rootDirectory, std::string_view directory, TDirectoryDesign& design,
    const DesignDefaults& defaults, std::string* problem, Utf8Conversion* conversion)
{
    ResetDesign(design, defaults);
    bool existed = false;
    if (const auto path = ToFsPath(DesignFilePath(directory))) {
        FileReadResult file = ReadWholeFile(*path, kDesignFileLimit);
        if (file.ok) {
            existed = true;
            UserFileText text = UserFileToSjis(std::move(file.data));
            ParseDesignText(text.text, design);
            if (conversion != nullptr) {
                *conversion = std::move(text.conversion);
            }
        } else if (problem != nullptr && file.failure != ReadFailure::NotFound) {
            *problem = file.error;
        }
    }
    if (WithTrailingSlash(directory) == WithTrailingSlash(rootDirectory)) {
        design.succession = false;
    }
    return existed;
}

bool ReadDesignWithSuccession(std::string_view rootDirectory, std::string_view directory, TDirectoryDesign& design,
    const DesignDefaults& defaults, std::string* problem, Utf8Conversion* conversion)
{
    const bool existed = ReadDesign(rootDirectory, directory, design, defaults, problem, conversion);
    if (!design.succession) {
        return existed;
    }
    const std::string root = WithTrailingSlash(rootDirectory);
    std::string ancestor = WithTrailingSlash(directory);
    TDirectoryDesign inherited;
    // Never above the root; a directory outside the root stops at "/".
    while (ancestor != root && ancestor.size() > root.size() && ancestor.starts_with(root)) {
        ancestor = ParentOf(ancestor);
        ReadDesign(root, ancestor, inherited, defaults);
        if (!inherited.succession) {
            design.html = inherited.html;
            design.squeeze.templateName = inherited.squeeze.templateName;
            design.parentAdorn = inherited.parentAdorn;
            break;
        }
    }
    return existed;
}

DesignWriteResult WriteDesign(std::string_view directory, const TDirectoryDesign& design)
{
    const auto path = ToFsPath(DesignFilePath(directory));
    if (!path) {
        return {false, false, Utf8Text("the directory name cannot be converted to a file name")};
    }
    const FileUpdateResult result = WriteFileIfChanged(*path, DesignFileText(design));
    return {result.ok, result.update != FileUpdate::Unchanged, Utf8Text(result.error)};
}

} // namespace tessaly
