#include "core/design/SimpleDesign.h"

#include <algorithm>
#include <cstdio>
#include <system_error>

#include "core/collection/Project.h"
#include "core/design/DirectoryLinks.h"
#include "core/templates/TemplateEngine.h"
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

std::string SimpleDesignPath(const Project& project)
{
    return WithTrailingSlash(project.RootDir) + std::string(kSimpleDesignFileName);
}

bool IsOfferedTemplate(const Project& project, std::string_view name)
{
    const std::vector<std::string> names = ItemTemplateNames(project);
    return std::find(names.begin(), names.end(), name) != names.end();
}

// Counts that size the pages: a value below 1 reads as no number.
int32_t PositiveOr(std::string_view value, int32_t fallback)
{
    const int32_t number = ParseInt32(value).value_or(fallback);
    return number >= 1 ? number : fallback;
}

} // namespace

bool DirectoryNameTaken(const SimpleDesignForm& form, std::string_view name, std::size_t exceptRow)
{
    for (std::size_t i = 0; i < form.rows.size(); ++i) {
        if (i != exceptRow && SameNameIgnoringAsciiCase(form.rows[i].directory, name)) {
            return true;
        }
    }
    return false;
}

SimpleDesignForm InitialSimpleDesign(const Project& project, std::string_view simpleDesignText)
{
    SimpleDesignForm form;
    form.nameDefault = project.DefaultFile;
    form.nameSub = project.SubFile;
    form.templateLink = SimpleTemplateName();
    form.parentFront = DefaultParentFront();
    form.parentRear = std::string(kDefaultParentRear);
    for (std::size_t g = 1; g < project.TrashIndex(); ++g) {
        form.rows.push_back({project.Genres[g].Name, {}});
    }
    ForEachKeyLine(simpleDesignText, [&](const std::string& key, std::string_view value) {
        if (key == "{namedef}")
            form.nameDefault = value;
        else if (key == "{namesub}")
            form.nameSub = value;
        else if (key == "{templatedef}")
            form.templateDefault = value;
        else if (key == "{templatesub}")
            form.templateSub = value;
        else if (key == "{division}")
            form.division = TextToBool(value, true);
        else if (key == "{divisioncount}")
            form.divisionCount = PositiveOr(value, 20);
        else if (key == "{column}")
            form.column = std::clamp(ParseInt32(value).value_or(2), kMinPageLinkColumns, kMaxPageLinkColumns);
        else if (key == "{parentfront}")
            form.parentFront = value;
        else if (key == "{parentrear}")
            form.parentRear = value;
        else if (key == "{templatelink}") {
            if (IsOfferedTemplate(project, value)) {
                form.templateLink = value;
            }
        } else if (key == "{dirs}") {
            const std::size_t slash = sjis::FindChar(value, '/');
            const std::string genre = UnescapeField(value.substr(0, slash));
            const std::string directory = slash == sjis::npos ? std::string() : UnescapeField(value.substr(slash + 1));
            if (std::string refused = RefusedSimpleDesignDirectory(directory); !refused.empty()) {
                form.refusedRows.push_back(std::move(refused));
                return true;
            }
            for (SimpleDesignRow& row : form.rows) {
                if (row.genre == genre) {
                    row.directory = directory;
                    break;
                }
            }
        }
        return true;
    });
    int n = 1;
    for (std::size_t i = 0; i < form.rows.size(); ++i) {
        if (!form.rows[i].directory.empty()) {
            continue;
        }
        for (;; ++n) {
            char name[32];
            std::snprintf(name, sizeof name, "genre%3.3d", n);
            if (!DirectoryNameTaken(form, name, i)) {
                form.rows[i].directory = name;
                break;
            }
        }
    }
    return form;
}

SimpleDesignForm InitialSimpleDesign(const Project& project)
{
    std::string text;
    if (!project.RootDir.empty()) {
        if (const auto path = ToFsPath(SimpleDesignPath(project))) {
            FileReadResult file = ReadWholeFile(*path);
            if (file.ok) {
                text = std::move(file.data);
            }
        }
    }
    return InitialSimpleDesign(project, text);
}

std::string SimpleDesignFileText(const SimpleDesignForm& form, const Project& project)
{
    std::string text = KeyFileHeader("Simple Design File");
    const std::string_view nameDefault = Trim(form.nameDefault);
    const std::string_view nameSub = Trim(form.nameSub);
    if (nameDefault != project.DefaultFile) {
        AppendKeyLine(text, "{namedef}", nameDefault);
    }
    if (nameSub != project.SubFile) {
        AppendKeyLine(text, "{namesub}", nameSub);
    }
    AppendKeyLine(text, "{division}", BoolToText(form.division));
    AppendKeyLine(text, "{divisioncount}", std::to_string(form.divisionCount));
    if (!Trim(form.templateDefault).empty()) {
        AppendKeyLine(text, "{templatedef}", Trim(form.templateDefault));
    }
    if (!Trim(form.templateSub).empty()) {
        AppendKeyLine(text, "{templatesub}", Trim(form.templateSub));
    }
    if (form.templateLink != SimpleTemplateName()) {
        AppendKeyLine(text, "{templatelink}", form.templateLink);
    }
    for (const SimpleDesignRow& row : form.rows) {
        AppendKeyLine(text, "{dirs}", EscapeField(row.genre) + "/" + EscapeField(row.directory));
    }
    AppendKeyLine(text, "{column}", std::to_string(form.column));
    if (form.parentFront != DefaultParentFront()) {
        AppendKeyLine(text, "{parentfront}", form.parentFront);
    }
    if (form.parentRear != kDefaultParentRear) {
        AppendKeyLine(text, "{parentrear}", form.parentRear);
    }
    return text;
}

TDirectoryDesign SimpleRootDesign(const SimpleDesignForm& form, const DesignDefaults& defaults)
{
    TDirectoryDesign design;
    ResetDesign(design, defaults);
    design.dirTitle = SJ("トップメニュー");
    design.htmlOutputs = true;
    design.linkOutputs = false;
    design.succession = false;
    design.html.nameDef = Trim(form.nameDefault);
    design.html.nameSub = Trim(form.nameSub);
    if (!Trim(form.templateDefault).empty()) {
        design.html.templateDef = Trim(form.templateDefault);
    }
    if (!Trim(form.templateSub).empty()) {
        design.html.templateSub = Trim(form.templateSub);
    }
    design.squeeze.templateName = form.templateLink == SimpleTemplateName() ? std::string() : form.templateLink;
    design.html.division = form.division;
    design.html.divisionCount = form.divisionCount;
    for (const SimpleDesignRow& row : form.rows) {
        design.subLinks.links.push_back(SubLinkEntry({row.genre, row.directory + "/" + design.html.nameDef}));
    }
    design.subLinks.column = form.column;
    design.parentAdorn = {form.parentFront, form.parentRear};
    return design;
}

TDirectoryDesign SimpleGenreDesign(const TDirectoryDesign& rootDesign, const SimpleDesignRow& row)
{
    TDirectoryDesign design = rootDesign;
    design.dirTitle = row.genre;
    design.squeeze.genre = row.genre;
    design.linkOutputs = true;
    design.subLinks.links.clear();
    design.succession = true;
    return design;
}

std::string RefusedSimpleDesignName(const SimpleDesignForm& form)
{
    for (const std::string_view name : {Trim(form.nameDefault), Trim(form.nameSub)}) {
        if (!IsValidPageName(name)) {
            return SJ("ページのファイル名 \"") + std::string(name) + SJ("\" は使えません.");
        }
    }
    for (const SimpleDesignRow& row : form.rows) {
        if (std::string refused = RefusedSimpleDesignDirectory(row.directory); !refused.empty()) {
            return refused;
        }
    }
    return {};
}

std::string RefusedSimpleDesignDirectory(std::string_view directory)
{
    return IsPlainName(directory) ? std::string()
                                  : SJ("ディレクトリ名 \"") + std::string(directory) + SJ("\" は使えません.");
}

std::vector<std::string> RootDesignChangesLost(const SimpleDesignForm& form, const Project& project, TDateTime today)
{
    const DesignDefaults defaults{project.DefaultFile, project.SubFile, today};
    TDirectoryDesign onDisk;
    if (project.RootDir.empty() || !ReadDesign(project.RootDir, project.RootDir, onDisk, defaults)) {
        return {};
    }
    TDirectoryDesign written = SimpleRootDesign(form, defaults);
    // The dates of an unused date condition are whatever day wrote them.
    written.squeeze.date1 = onDisk.squeeze.date1;
    written.squeeze.date2 = onDisk.squeeze.date2;

    std::vector<std::string> lost;
    const std::string writtenText = DesignFileText(written);
    // A part differs when taking it over from the disk changes the file.
    const auto differs = [&](auto takeOver) {
        TDirectoryDesign mixed = written;
        takeOver(mixed);
        return DesignFileText(mixed) != writtenText;
    };
    if (differs([&](TDirectoryDesign& d) { d.dirTitle = onDisk.dirTitle; })) {
        lost.push_back(SJ("ディレクトリのタイトル: ") + onDisk.dirTitle);
    }
    if (differs([&](TDirectoryDesign& d) {
            d.htmlOutputs = onDisk.htmlOutputs;
            d.linkOutputs = onDisk.linkOutputs;
            d.succession = onDisk.succession;
        })) {
        lost.push_back(SJ("ページ・リンクの出力と継承の設定"));
    }
    if (differs([&](TDirectoryDesign& d) { d.html = onDisk.html; })) {
        lost.push_back(SJ("ページのファイル名・テンプレート・分割の設定"));
    }
    if (differs([&](TDirectoryDesign& d) { d.squeeze = onDisk.squeeze; })) {
        lost.push_back(SJ("アイテムの絞り込みと並べ方"));
    }
    if (differs([&](TDirectoryDesign& d) {
            const std::vector<std::string> links = d.subLinks.links;
            d.subLinks = onDisk.subLinks;
            d.subLinks.links = links;
        })) {
        lost.push_back(SJ("ディレクトリリンクの表の設定 (列数・幅・スタイル・画像)"));
    }
    for (const std::string& link : onDisk.subLinks.links) {
        if (std::find(written.subLinks.links.begin(), written.subLinks.links.end(), link)
            == written.subLinks.links.end()) {
            const DirectoryLink parsed = ParseSubLinkEntry(link);
            lost.push_back(SJ("ディレクトリリンク: ") + parsed.anchor + " (" + parsed.target + ")");
        }
    }
    if (differs([&](TDirectoryDesign& d) { d.parentAdorn = onDisk.parentAdorn; })) {
        lost.push_back(SJ("親ディレクトリへのリンクの装飾"));
    }
    return lost;
}

SimpleDesignResult SaveSimpleDesign(const SimpleDesignForm& form, const Project& project, TDateTime today)
{
    const auto failure = [](std::string error) { return SimpleDesignResult{false, {}, std::move(error)}; };
    if (std::string refused = RefusedSimpleDesignName(form); !refused.empty()) {
        return {false, std::move(refused), {}};
    }
    const std::string root = WithTrailingSlash(project.RootDir);
    const auto tsgPath = ToFsPath(SimpleDesignPath(project));
    if (project.RootDir.empty() || !tsgPath) {
        return failure("the project has no usable root directory");
    }
    const FileWriteResult tsg = WriteFileAtomically(*tsgPath, SimpleDesignFileText(form, project));
    if (!tsg.ok) {
        return failure(tsg.error);
    }
    const TDirectoryDesign rootDesign = SimpleRootDesign(form, {project.DefaultFile, project.SubFile, today});
    if (const DesignWriteResult written = WriteDesign(root, rootDesign); !written.ok) {
        return failure(written.error.bytes());
    }
    for (const SimpleDesignRow& row : form.rows) {
        const std::string directory = root + row.directory + "/";
        const auto fsDirectory = ToFsPath(directory);
        std::error_code error;
        if (!fsDirectory
            || (!std::filesystem::is_directory(*fsDirectory, error)
                && !std::filesystem::create_directories(*fsDirectory, error))) {
            return failure("cannot create the directory " + SjisToUtf8Lossy(directory)
                + (error ? ": " + error.message() : std::string()));
        }
        if (const DesignWriteResult written = WriteDesign(directory, SimpleGenreDesign(rootDesign, row)); !written.ok) {
            return failure(written.error.bytes());
        }
    }
    return {};
}

} // namespace tessaly
