#include "core/collection/ProjectFile.h"

#include <algorithm>
#include <unordered_set>

#include "core/collection/LinkItem.h"
#include "core/collection/Project.h"
#include "core/text/Codepage.h"
#include "core/util/FileStamp.h"
#include "core/text/Collation.h"
#include "core/text/FieldText.h"
#include "core/text/Kana.h"
#include "core/text/KeyFile.h"
#include "core/text/Paths.h"
#include "core/text/Sjis.h"
#include "core/text/Strings.h"
#include "core/util/AtomicFile.h"

namespace tessaly {

namespace {

enum class Key {
    Unknown,
    Title,
    Author,
    RootDir,
    BannerDir,
    DefaultFile,
    SubFile,
    ParentAnchor,
    ParentPath,
    PageEncoding,
    SiteSearch,
    Feed,
    Sitemap,
    BaseUrl,
    PublishCommand,
    Template,
    SerialMax,
    Genre,
    Attribute,
    Content,
    LinkItem,
};

Key KeyOf(std::string_view key)
{
    struct Entry {
        std::string_view name;
        Key key;
    };
    static constexpr Entry kKeys[] = {
        {"{linkitem}", Key::LinkItem},
        {"{title}", Key::Title},
        {"{author}", Key::Author},
        {"{rootdir}", Key::RootDir},
        {"{bannerdir}", Key::BannerDir},
        {"{defaultfile}", Key::DefaultFile},
        {"{subfile}", Key::SubFile},
        {"{parentanchor}", Key::ParentAnchor},
        {"{parentpath}", Key::ParentPath},
        {"{pageencoding}", Key::PageEncoding},
        {"{sitesearch}", Key::SiteSearch},
        {"{feed}", Key::Feed},
        {"{sitemap}", Key::Sitemap},
        {"{baseurl}", Key::BaseUrl},
        {"{publishcommand}", Key::PublishCommand},
        {"{template}", Key::Template},
        {"{serialmax}", Key::SerialMax},
        {"{genre}", Key::Genre},
        {"{attribute}", Key::Attribute},
        {"{content}", Key::Content},
    };
    for (const Entry& entry : kKeys) {
        if (SameNameIgnoringAsciiCase(key, entry.name)) {
            return entry.key;
        }
    }
    return Key::Unknown;
}

bool DirectoryExists(std::string_view path)
{
    const std::optional<std::filesystem::path> fsPath = ToFsPath(path);
    std::error_code error;
    return fsPath && !fsPath->empty() && std::filesystem::is_directory(*fsPath, error);
}

// A decimal integer as ParseInt32 reads it, whatever its size: blanks, an
// optional sign and digits.
bool IsDecimalNumber(std::string_view text)
{
    text = TrimLeft(text);
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        text.remove_prefix(1);
    }
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Names matched without regard to ASCII case, looked up by hashing so that
// reading many names stays linear.
class NameIndex {
public:
    explicit NameIndex(const std::vector<std::string>& names)
    {
        for (const std::string& name : names) {
            lowered_.insert(AsciiLower(name));
        }
    }
    // True when name was not there yet.
    bool Insert(std::string_view name) { return lowered_.insert(AsciiLower(name)).second; }

private:
    std::unordered_set<std::string> lowered_;
};

// Applies the lines of one file to a project.
class ProjectReader {
public:
    explicit ProjectReader(Project& project)
        : project_(project)
        , genreIndex_(project)
        , attributeIndex_(project.Attributes)
        , contentIndex_(project.Contents)
    {
    }

    LoadOutcome Read(std::string_view text, const LoadProgress& progress)
    {
        LoadOutcome outcome;
        const std::vector<std::string_view> lines = SplitLines(text);
        for (std::size_t i = 0; i < lines.size(); ++i) {
            if (progress) {
                progress(i, lines.size());
            }
            if (!ReadLine(lines[i], i + 1, outcome)) {
                outcome.result = LoadOutcome::Result::StoppedAtBadSerialMax;
                outcome.badLineNumber = i + 1;
                break;
            }
        }
        if (knownKeyLines_ == 0) {
            // Nothing was applied, so the project is as it was.
            outcome.result = LoadOutcome::Result::NotAProjectFile;
            outcome.skippedLines.clear();
            return outcome;
        }
        outcome.namesWithVerticalLine = AnyNameHasVerticalLine();
        return outcome;
    }

private:
    // False when the load has to stop here.
    bool ReadLine(std::string_view line, std::size_t lineNumber, LoadOutcome& outcome)
    {
        line = Trim(line);
        if (line.empty() || line.front() == '#') {
            return true;
        }
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos || equals == 0) {
            outcome.skippedLines.push_back({lineNumber, SkipReason::NoKey});
            return true;
        }
        const Key key = KeyOf(line.substr(0, equals));
        const std::string_view value = line.substr(equals + 1);
        if (key == Key::Unknown) {
            outcome.skippedLines.push_back({lineNumber, SkipReason::UnknownKey});
            return true;
        }
        ++knownKeyLines_;
        if (key == Key::SerialMax) {
            const std::optional<int32_t> serialMax = ParseInt32(value);
            if (!serialMax) {
                outcome.badValue = value;
                outcome.badValueOutOfRange = IsDecimalNumber(value);
                return false;
            }
            project_.SerialMax = *serialMax;
            return true;
        }
        if (const std::optional<SkipReason> skipped = Apply(key, value)) {
            outcome.skippedLines.push_back({lineNumber, *skipped});
        }
        return true;
    }

    // Why the value was not taken, if it was not.
    std::optional<SkipReason> Apply(Key key, std::string_view value)
    {
        switch (key) {
        case Key::Title: project_.Title = UnescapeField(value); break;
        case Key::Author:
            if (!ReadAuthor(value)) {
                return SkipReason::BadAuthor;
            }
            break;
        case Key::RootDir:
        case Key::BannerDir:
            if (!ReadDirectory(value, key == Key::RootDir ? project_.RootDir : project_.BannerDir)) {
                return SkipReason::MissingDirectory;
            }
            break;
        case Key::DefaultFile: project_.DefaultFile = value; break;
        case Key::SubFile: project_.SubFile = value; break;
        case Key::ParentAnchor: project_.ParentAnchor = value; break;
        case Key::ParentPath: project_.ParentPath = value; break;
        case Key::PageEncoding:
            project_.Publishing.pageEncoding
                = SameNameIgnoringAsciiCase(value, "UTF-8") ? PageEncoding::Utf8 : PageEncoding::ShiftJis;
            break;
        case Key::SiteSearch: project_.Publishing.siteSearch = value == "1"; break;
        case Key::Feed: {
            const std::optional<int32_t> count = ParseInt32(value);
            if (!count || *count < 0) {
                return SkipReason::BadFeedCount;
            }
            project_.Publishing.feedCount = *count;
            break;
        }
        case Key::Sitemap: project_.Publishing.sitemap = value == "1"; break;
        case Key::BaseUrl: project_.Publishing.baseUrl = UnescapeField(value); break;
        case Key::PublishCommand: project_.Publishing.publishCommand = UnescapeField(value); break;
        case Key::Template:
            if (SplitList(std::string(value) + "/", '/').size() != 7) {
                return SkipReason::BadTemplate;
            }
            project_.Templates.emplace_back(value);
            break;
        case Key::Genre: ReadGenres(value); break;
        case Key::Attribute: ReadVocabulary(value, project_.Attributes, attributeIndex_); break;
        case Key::Content: ReadVocabulary(value, project_.Contents, contentIndex_); break;
        case Key::LinkItem:
            if (!ReadItem(value)) {
                return SkipReason::BadItemLine;
            }
            break;
        case Key::SerialMax:
        case Key::Unknown: break;
        }
        return std::nullopt;
    }

    bool ReadAuthor(std::string_view value)
    {
        // An empty mail part is accepted: owners without a mail address
        // are written that way.
        const std::vector<std::string_view> parts = SplitList(value, '/');
        if (parts.size() != 3 || parts[0].empty() || parts[1].empty() || !IsHiragana(parts[1])) {
            return false;
        }
        project_.AuthorName = UnescapeField(parts[0]);
        project_.AuthorKana = UnescapeField(parts[1]);
        project_.AuthorMail = UnescapeField(parts[2]);
        return true;
    }

    static bool ReadDirectory(std::string_view value, std::string& field)
    {
        std::string directory = UnescapeField(value);
        if (!DirectoryExists(directory)) {
            return false;
        }
        field = std::move(directory);
        return true;
    }

    void ReadGenres(std::string_view value)
    {
        for (const std::string_view part : sjis::Split(value, '/')) {
            std::string name = UnescapeField(part);
            if (name.empty() || genreIndex_.Contains(name) || SameNameIgnoringAsciiCase(name, TrashGenreName())) {
                continue;
            }
            const std::size_t genre = project_.AddGenre(std::move(name));
            genreIndex_.Add(project_.Genres[genre].Name, genre);
        }
    }

    static void ReadVocabulary(std::string_view value, std::vector<std::string>& vocabulary, NameIndex& index)
    {
        for (const std::string_view part : sjis::Split(value, '/')) {
            std::string name = UnescapeField(part);
            if (!name.empty() && index.Insert(name)) {
                vocabulary.push_back(std::move(name));
            }
        }
    }

    bool ReadItem(std::string_view value)
    {
        if (!IsValidItemLine(value)) {
            return false;
        }
        // Field 1 is the genre name. An item never lands in the trash on
        // reading, or it would be lost at the next save.
        const std::size_t start = value.find('/') + 1;
        const std::string genreName = UnescapeField(value.substr(start, value.find('/', start) - start));
        project_.Genres[genreIndex_.FileUnder(genreName)].Lines.emplace_back(value);
        return true;
    }

    bool AnyNameHasVerticalLine() const
    {
        const auto hasBar = [](std::string_view name) { return sjis::FindChar(name, '|') != sjis::npos; };
        for (const Genre& genre : project_.Genres) {
            if (hasBar(genre.Name)) {
                return true;
            }
        }
        for (const auto* vocabulary : {&project_.Attributes, &project_.Contents}) {
            for (const std::string& name : *vocabulary) {
                if (hasBar(name)) {
                    return true;
                }
            }
        }
        return false;
    }

    Project& project_;
    GenreIndex genreIndex_;
    NameIndex attributeIndex_;
    NameIndex contentIndex_;
    std::size_t knownKeyLines_ = 0;
};

std::string NameList(const std::vector<std::string>& names)
{
    std::string list;
    for (const std::string& name : names) {
        list += EscapeField(name);
        list += '/';
    }
    return list;
}

} // namespace

LoadOutcome LoadProjectText(Project& project, std::string_view text, const LoadProgress& progress)
{
    return ProjectReader(project).Read(text, progress);
}

LoadOutcome LoadProjectFile(Project& project, const std::filesystem::path& path, const LoadProgress& progress)
{
    LoadOutcome outcome;
    std::error_code error;
    if (!std::filesystem::exists(path, error)) {
        outcome.result = LoadOutcome::Result::NotFound;
        return outcome;
    }
    const FileReadResult file = ReadWholeFile(path);
    if (!file.ok) {
        outcome.result
            = file.failure == ReadFailure::NotFound ? LoadOutcome::Result::NotFound : LoadOutcome::Result::ReadFailed;
        outcome.error = file.error;
        return outcome;
    }
    outcome = LoadProjectText(project, file.data, progress);
    if (outcome.result == LoadOutcome::Result::Loaded) {
        project.EditingName = path;
    }
    return outcome;
}

namespace {

// Written only where they differ from the classic site, so that projects
// without them keep their bytes; older readers skip these keys.
void AppendPublishing(std::string& text, const SitePublishing& publishing)
{
    if (publishing.pageEncoding == PageEncoding::Utf8) {
        AppendKeyLine(text, "{pageencoding}", "UTF-8");
    }
    if (publishing.siteSearch) {
        AppendKeyLine(text, "{sitesearch}", "1");
    }
    if (publishing.feedCount > 0) {
        AppendKeyLine(text, "{feed}", std::to_string(publishing.feedCount));
    }
    if (publishing.sitemap) {
        AppendKeyLine(text, "{sitemap}", "1");
    }
    if (!publishing.baseUrl.empty()) {
        AppendKeyLine(text, "{baseurl}", EscapeField(publishing.baseUrl));
    }
    if (!publishing.publishCommand.empty()) {
        AppendKeyLine(text, "{publishcommand}", EscapeField(publishing.publishCommand));
    }
}

} // namespace

std::string ProjectFileText(const Project& project)
{
    std::size_t size = 4096;
    for (const Genre& genre : project.Genres) {
        for (const std::string& line : genre.Lines) {
            size += line.size() + 14;
        }
    }
    std::string text;
    text.reserve(size);
    text += KeyFileHeader("Project File");
    if (!project.Title.empty()) {
        AppendKeyLine(text, "{title}", EscapeField(project.Title));
    }
    if (!project.AuthorName.empty()) {
        AppendKeyLine(text, "{author}",
            EscapeField(project.AuthorName) + "/" + EscapeField(project.AuthorKana) + "/"
                + EscapeField(project.AuthorMail) + "/");
    }
    if (!project.RootDir.empty()) {
        AppendKeyLine(text, "{rootdir}", EscapeField(project.RootDir));
    }
    if (!project.BannerDir.empty()) {
        AppendKeyLine(text, "{bannerdir}", EscapeField(project.BannerDir));
    }
    if (project.DefaultFile != kDefaultFileName) {
        AppendKeyLine(text, "{defaultfile}", project.DefaultFile);
    }
    if (project.SubFile != kDefaultSubFileName) {
        AppendKeyLine(text, "{subfile}", project.SubFile);
    }
    if (!project.ParentAnchor.empty()) {
        AppendKeyLine(text, "{parentanchor}", project.ParentAnchor);
    }
    if (!project.ParentPath.empty()) {
        AppendKeyLine(text, "{parentpath}", project.ParentPath);
    }
    AppendPublishing(text, project.Publishing);
    for (const std::string& stored : project.Templates) {
        AppendKeyLine(text, "{template}", stored);
    }
    AppendKeyLine(text, "{serialmax}", std::to_string(project.SerialMax));
    if (project.UserGenreCount() > 0) {
        std::string genres;
        for (std::size_t i = 1; i < project.TrashIndex(); ++i) {
            genres += EscapeField(project.Genres[i].Name);
            genres += '/';
        }
        AppendKeyLine(text, "{genre}", genres);
    }
    if (!project.Attributes.empty()) {
        AppendKeyLine(text, "{attribute}", NameList(project.Attributes));
    }
    if (!project.Contents.empty()) {
        AppendKeyLine(text, "{content}", NameList(project.Contents));
    }
    for (std::size_t i = 0; i < project.TrashIndex(); ++i) {
        for (const std::string& line : project.Genres[i].Lines) {
            AppendKeyLine(text, "{linkitem}", line);
        }
    }
    return text;
}

SaveOutcome SaveProjectFile(Project& project, const std::filesystem::path& path)
{
    const std::string text = ProjectFileText(project);
    // The reader takes no larger file: saved, the project could not be opened again.
    if (text.size() > kReadLimit) {
        return {false, WriteFailure::TooLarge,
            path.string() + ": the project would take " + std::to_string(text.size()) + " bytes, more than the "
                + std::to_string(kReadLimit) + " a project file may have; nothing was written"};
    }
    const FileWriteResult written = WriteFileAtomically(path, text);
    if (!written.ok) {
        return {false, written.failure, written.error};
    }
    std::error_code error;
    const std::filesystem::path saved = std::filesystem::canonical(path, error);
    if (!error) {
        RemoveLeftoverTemporaryFiles(saved.parent_path(), saved.filename().string());
    }
    project.EditingName = path;
    project.IsEditing = false;
    return {};
}

FileWriteResult WriteExportFile(
    const std::filesystem::path& projectFile, const std::filesystem::path& path, std::string_view data)
{
    // The same file is the same device and inode, through links too.
    const std::optional<FileStamp> out = StampOf(path);
    const std::optional<FileStamp> own = projectFile.empty() ? std::nullopt : StampOf(projectFile);
    if (out && own && out->device == own->device && out->inode == own->inode) {
        return {
            false, WriteFailure::ProjectFile, path.string() + ": this is the project file itself; nothing was written"};
    }
    return WriteFileAtomically(path, data);
}

FileWriteResult WriteExportFile(const Project& project, const std::filesystem::path& path, std::string_view data)
{
    return WriteExportFile(project.EditingName, path, data);
}

std::string ProjectNotFoundMessage(std::string_view fileName)
{
    return std::string(fileName) + SJ(" が見付かりません.");
}

std::string ProjectReadingMessage(std::string_view fileName)
{
    return std::string(fileName) + SJ(" を読み込んでいます...");
}

std::string ProjectInterpretingMessage(std::string_view fileName)
{
    return std::string(fileName) + SJ(" を解釈しています");
}

std::string NotAProjectFileMessage(std::string_view fileName)
{
    return std::string(fileName) + SJ(" はプロジェクトファイルではありません.");
}

std::string SaveFailureMessage(WriteFailure failure, std::string_view fileName)
{
    switch (failure) {
    case WriteFailure::ReadOnly: return std::string(fileName) + SJ(" は読み込み専用のため保存できません.");
    case WriteFailure::DanglingLink:
        return std::string(fileName) + SJ(" はリンク先のないシンボリックリンクのため保存できません.");
    case WriteFailure::NotAFile: return std::string(fileName) + SJ(" は通常のファイルではないため保存できません.");
    case WriteFailure::ProjectFile:
        return std::string(fileName)
            + SJ(" は開いているプロジェクトファイルのため書き出せません.\r\n別のファイルを指定して下さい.");
    case WriteFailure::TooLarge:
        return std::string(fileName) + SJ(" はプロジェクトファイルの上限 (512 MiB) を超えるため保存できません.");
    case WriteFailure::UnsafeInPlace:
        return std::string(fileName)
            + SJ(" のフォルダーには新しいファイルを作れず、元のファイルの控えも取れないため保存できません.\r\n"
                 "「名前を付けて保存」で別のフォルダーに保存して下さい.");
    default: return std::string(fileName) + SJ(" を保存できませんでした.");
    }
}

const std::string& VerticalLineWarning()
{
    return SJ("Version 1.02 より、ジャンル、アトリビュート、コンテンツには\r\n"
              "\"|\" Vertical Line (\\x7C)\r\n"
              "は利用できなくなりました.\r\n"
              "直ちに修正して下さい.");
}

} // namespace tessaly
