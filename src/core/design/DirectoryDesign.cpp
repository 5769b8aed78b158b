#include "design/DirectoryDesign.h"

#include <algorithm>

#include "collection/ProjectFile.h"
#include "text/Codepage.h"
#include "text/Collation.h"
#include "text/FieldText.h"
#include "text/Html.h"
#include "text/Paths.h"
#include "text/Sjis.h"
#include "text/Strings.h"
#include "util/AtomicFile.h"

namespace tessaly {

namespace {

void AddLine(std::string& text, std::string_view key, std::string_view value)
{
    text += key;
    text += '=';
    text += value;
    text += kLineBreak;
}

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

std::vector<std::string> NameList(std::string_view value)
{
    return SplitSlashList(value);
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
    AddLine(text, "{dirtitle}", design.dirTitle);
    AddLine(text, "{htmloutputs}", BoolToText(design.htmlOutputs));
    AddLine(text, "{linkoutputs}", BoolToText(design.linkOutputs));
    if (design.succession) {
        AddLine(text, "{succession}", "TRUE");
    } else {
        AddLine(text, "{succession}", "FALSE");
        AddLine(text, "{namedef}", design.html.nameDef);
        AddLine(text, "{namesub}", design.html.nameSub);
        AddLine(text, "{templatedef}", design.html.templateDef);
        AddLine(text, "{templatesub}", design.html.templateSub);
        AddLine(text, "{templatelink}", squeeze.templateName);
        AddLine(text, "{division}", BoolToText(design.html.division));
        AddLine(text, "{divisioncount}", std::to_string(design.html.divisionCount));
        if (design.parentAdorn.front != DefaultParentFront()) {
            AddLine(text, "{parentfront}", design.parentAdorn.front);
        }
        if (design.parentAdorn.rear != kDefaultParentRear) {
            AddLine(text, "{parentrear}", design.parentAdorn.rear);
        }
    }
    if (!squeeze.genre.empty()) {
        AddLine(text, "{genre}", squeeze.genre);
    }
    if (squeeze.dateMode >= 1 && squeeze.dateMode <= 4) {
        AddLine(text, "{date}", DateCriteriaText(squeeze));
    }
    if (squeeze.status >= 1 && squeeze.status <= 7) {
        AddLine(text, "{status}", std::to_string(squeeze.status - 1));
    }
    if (squeeze.sortBy != 0) {
        AddLine(text, "{sortby}", std::to_string(squeeze.sortBy));
    }
    if (squeeze.sortDir != 0) {
        AddLine(text, "{sortdir}", std::to_string(squeeze.sortDir));
    }
    if (KanaRangeIsPartial(squeeze.titleRange)) {
        AddLine(text, "{titlerange}", KanaRangeToText(squeeze.titleRange));
    }
    if (KanaRangeIsPartial(squeeze.authorRange)) {
        AddLine(text, "{authorrange}", KanaRangeToText(squeeze.authorRange));
    }
    const std::pair<std::string_view, const std::vector<std::string>*> lists[] = {
        {"{attrand}", &squeeze.attrAnd},       {"{attror}", &squeeze.attrOr},
        {"{attrnot}", &squeeze.attrNot},       {"{contentand}", &squeeze.contentAnd},
        {"{contentor}", &squeeze.contentOr},   {"{contentnot}", &squeeze.contentNot},
    };
    for (const auto& [key, names] : lists) {
        if (!names->empty()) {
            AddLine(text, key, JoinNames(*names));
        }
    }
    const TSubLinks& subLinks = design.subLinks;
    if (!subLinks.links.empty()) {
        for (const std::string& entry : subLinks.links) {
            AddLine(text, "{pagelink}", entry);
        }
        AddLine(text, "{pagelinkcolumn}", std::to_string(subLinks.column));
    }
    if (subLinks.style != 0) {
        AddLine(text, "{pagelinkstyle}", std::to_string(subLinks.style));
    }
    if (subLinks.direction != 0) {
        AddLine(text, "{pagelinkdirection}", std::to_string(subLinks.direction));
    }
    if (!subLinks.image.empty()) {
        AddLine(text, "{pagelinkimage}", subLinks.image);
        AddLine(text, "{pagelinkimagewidth}", std::to_string(subLinks.imageWidth));
        AddLine(text, "{pagelinkimageheight}", std::to_string(subLinks.imageHeight));
    }
    if (!subLinks.width.empty()) {
        AddLine(text, "{pagelinkwidth}", subLinks.width);
    }
    return text;
}

void ParseDesignText(std::string_view fileText, TDirectoryDesign& design)
{
    TSqueeze& squeeze = design.squeeze;
    TSubLinks& subLinks = design.subLinks;
    for (const std::string_view line : SplitLines(fileText)) {
        if (line.empty() || line.front() == '#') {
            continue;
        }
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos) {
            continue;
        }
        const std::string key = AsciiLower(line.substr(0, equals));
        const std::string_view value = line.substr(equals + 1);
        const auto text = [&] { return std::string(value); };
        if (key == "{dirtitle}") design.dirTitle = text();
        else if (key == "{htmloutputs}") design.htmlOutputs = TextToBool(value, true);
        else if (key == "{linkoutputs}") design.linkOutputs = TextToBool(value, true);
        else if (key == "{succession}") design.succession = TextToBool(value, true);
        else if (key == "{namedef}") design.html.nameDef = text();
        else if (key == "{namesub}") design.html.nameSub = text();
        else if (key == "{templatedef}") design.html.templateDef = text();
        else if (key == "{templatesub}") design.html.templateSub = text();
        else if (key == "{templatelink}") squeeze.templateName = text();
        else if (key == "{division}") design.html.division = TextToBool(value, true);
        else if (key == "{divisioncount}") design.html.divisionCount = PositiveOr(value, 20);
        else if (key == "{parentfront}") design.parentAdorn.front = text();
        else if (key == "{parentrear}") design.parentAdorn.rear = text();
        else if (key == "{genre}") squeeze.genre = text();
        else if (key == "{date}") ReadDateCriteria(value, squeeze);
        else if (key == "{status}") {
            if (const auto code = SmallNumber(value, 6)) {
                squeeze.status = static_cast<uint8_t>(*code + 1);
            }
        } else if (key == "{sortby}") squeeze.sortBy = SmallNumber(value, 4).value_or(squeeze.sortBy);
        else if (key == "{sortdir}") squeeze.sortDir = SmallNumber(value, 1).value_or(squeeze.sortDir);
        else if (key == "{titlerange}") TextToKanaRange(value, squeeze.titleRange);
        else if (key == "{authorrange}") TextToKanaRange(value, squeeze.authorRange);
        else if (key == "{attrand}") squeeze.attrAnd = NameList(value);
        else if (key == "{attror}") squeeze.attrOr = NameList(value);
        else if (key == "{attrnot}") squeeze.attrNot = NameList(value);
        else if (key == "{contentand}") squeeze.contentAnd = NameList(value);
        else if (key == "{contentor}") squeeze.contentOr = NameList(value);
        else if (key == "{contentnot}") squeeze.contentNot = NameList(value);
        else if (key == "{pagelink}") subLinks.links.push_back(text());
        else if (key == "{pagelinkcolumn}") subLinks.column = std::max(1, ParseInt32(value).value_or(2));
        else if (key == "{pagelinkstyle}") subLinks.style = SmallNumber(value, 2).value_or(subLinks.style);
        else if (key == "{pagelinkdirection}") subLinks.direction = SmallNumber(value, 1).value_or(subLinks.direction);
        else if (key == "{pagelinkimage}") subLinks.image = text();
        else if (key == "{pagelinkimagewidth}") subLinks.imageWidth = ParseInt32(value).value_or(0);
        else if (key == "{pagelinkimageheight}") subLinks.imageHeight = ParseInt32(value).value_or(0);
        else if (key == "{pagelinkwidth}") subLinks.width = text();
    }
}

bool ReadDesign(std::string_view rootDirectory, std::string_view directory, TDirectoryDesign& design,
                const DesignDefaults& defaults)
{
    ResetDesign(design, defaults);
    bool existed = false;
    if (const auto path = ToFsPath(DesignFilePath(directory))) {
        const FileReadResult file = ReadWholeFile(*path);
        if (file.ok) {
            existed = true;
            ParseDesignText(file.data, design);
        }
    }
    if (WithTrailingSlash(directory) == WithTrailingSlash(rootDirectory)) {
        design.succession = false;
    }
    return existed;
}

bool ReadDesignWithSuccession(std::string_view rootDirectory, std::string_view directory,
                              TDirectoryDesign& design, const DesignDefaults& defaults)
{
    const bool existed = ReadDesign(rootDirectory, directory, design, defaults);
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
        return {false, false, "the directory name cannot be converted to a file name"};
    }
    const FileUpdateResult result = WriteFileIfChanged(*path, DesignFileText(design));
    return {result.ok, result.update != FileUpdate::Unchanged, result.error};
}

} // namespace tessaly
