#include "core/design/SiteDirectories.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "core/design/DirectoryDesign.h"
#include "core/text/Codepage.h"
#include "core/text/Collation.h"
#include "core/text/EncodedText.h"
#include "core/text/Paths.h"

namespace tessaly {

namespace {

namespace fs = std::filesystem;

std::string Reason(const std::error_code& error)
{
    return ToSjis(Utf8Text(error.message())).bytes();
}

// The directories of the tree below (and including) root, level by level.
std::vector<std::vector<fs::path>> LevelsOf(const fs::path& root)
{
    std::vector<std::vector<fs::path>> levels{{root}};
    while (!levels.back().empty()) {
        std::vector<fs::path> next;
        for (const fs::path& directory : levels.back()) {
            std::error_code error;
            for (fs::directory_iterator entry(directory, error), end; !error && entry != end; entry.increment(error)) {
                std::error_code statusError;
                if (fs::is_directory(entry->symlink_status(statusError))) {
                    next.push_back(entry->path());
                }
            }
        }
        levels.push_back(std::move(next));
    }
    levels.pop_back();
    return levels;
}

void MakeWritable(const fs::path& directory)
{
    std::error_code ignored;
    fs::permissions(directory, fs::perms::owner_all, fs::perm_options::add, ignored);
}

void DeleteFilesIn(const fs::path& directory)
{
    MakeWritable(directory);
    std::error_code error;
    std::vector<fs::path> files;
    for (fs::directory_iterator entry(directory, error), end; !error && entry != end; entry.increment(error)) {
        std::error_code statusError;
        if (!fs::is_directory(entry->symlink_status(statusError))) {
            files.push_back(entry->path());
        }
    }
    for (const fs::path& file : files) {
        std::error_code ignored;
        fs::remove(file, ignored);
    }
}

} // namespace

SubdirectoryListing ListSiteSubdirectories(std::string_view directory, std::string_view bannerDirectory)
{
    SubdirectoryListing listing;
    const std::string parent = WithTrailingSlash(directory);
    const std::string banner = bannerDirectory.empty() ? std::string() : WithTrailingSlash(bannerDirectory);
    const std::optional<fs::path> path = ToFsPath(parent);
    if (!path) {
        listing.problems.push_back(SJ("ディレクトリ名をファイル名に変換できません."));
        return listing;
    }
    std::error_code error;
    for (fs::directory_iterator entry(*path, error), end; !error && entry != end; entry.increment(error)) {
        const std::string fsName = entry->path().filename().string();
        std::error_code statusError;
        const fs::file_status status = entry->symlink_status(statusError);
        if (statusError) {
            listing.problems.push_back(SJ("調べられない項目を飛ばしました: ")
                + ToSjis(Utf8Text(fsName + ": " + statusError.message())).bytes());
            continue;
        }
        if (fsName.starts_with(".") || !fs::is_directory(status)) {
            continue;
        }
        const std::optional<std::string> name = FromFsPath(entry->path().filename());
        if (!name) {
            listing.problems.push_back(SJ("Shift_JIS で表せない名前のディレクトリを出力しませんでした."));
            continue;
        }
        if (banner.empty() || !SameNameIgnoringAsciiCase(parent + *name + "/", banner)) {
            listing.names.push_back(*name);
        }
    }
    if (error) {
        listing.problems.push_back(SJ("ディレクトリの内容を調べられませんでした: ") + Reason(error));
    }
    std::sort(listing.names.begin(), listing.names.end());
    return listing;
}

bool HasDesignFile(std::string_view directory)
{
    const std::optional<fs::path> path = ToFsPath(WithTrailingSlash(directory) + std::string(kDesignFileName));
    std::error_code error;
    return path && fs::is_regular_file(*path, error);
}

DirectoryOperation MakeSiteDirectory(std::string_view directory, std::string_view name)
{
    if (!IsPlainName(name)) {
        return {false, SJ("ディレクトリ名として使えない名前です.")};
    }
    const std::optional<fs::path> path = ToFsPath(WithTrailingSlash(directory) + std::string(name));
    if (!path) {
        return {false, SJ("ディレクトリ名をファイル名に変換できません.")};
    }
    std::error_code error;
    if (!fs::create_directory(*path, error)) {
        return {false, error ? Reason(error) : SJ("同じ名前のファイルかディレクトリが既にあります.")};
    }
    return {};
}

DirectoryOperation RenameSiteDirectory(std::string_view directory, std::string_view newName)
{
    if (!IsPlainName(newName)) {
        return {false, SJ("ディレクトリ名として使えない名前です.")};
    }
    const std::optional<fs::path> from = ToFsPath(WithTrailingSlash(directory));
    if (!from) {
        return {false, SJ("ディレクトリ名をファイル名に変換できません.")};
    }
    const fs::path source = from->parent_path();
    const std::optional<fs::path> name = ToFsPath(newName);
    if (!name) {
        return {false, SJ("ディレクトリ名をファイル名に変換できません.")};
    }
    const fs::path target = source.parent_path() / *name;
    std::error_code error;
    // Renaming onto an existing directory would replace an empty one.
    if (fs::exists(fs::symlink_status(target, error)) && !fs::equivalent(source, target, error)) {
        return {false, SJ("同じ名前のファイルかディレクトリが既にあります.")};
    }
    fs::rename(source, target, error);
    if (error) {
        return {false, Reason(error)};
    }
    return {};
}

TreeDeletion DeleteDirectoryTree(std::string_view directory)
{
    TreeDeletion deletion;
    const std::optional<fs::path> root = ToFsPath(WithTrailingSlash(directory));
    if (!root) {
        deletion.failed = WithTrailingSlash(directory);
        deletion.error = SJ("ディレクトリ名をファイル名に変換できません.");
        return deletion;
    }
    const std::vector<std::vector<fs::path>> levels = LevelsOf(root->parent_path());
    for (const std::vector<fs::path>& level : levels) {
        for (const fs::path& each : level) {
            DeleteFilesIn(each);
        }
    }
    for (auto level = levels.rbegin(); level != levels.rend(); ++level) {
        for (const fs::path& each : *level) {
            std::error_code error;
            fs::remove(each, error);
            const std::string name = FromFsPath(each).value_or(std::string()) + "/";
            if (error) {
                if (deletion.failed.empty()) {
                    deletion.failed = name;
                    deletion.error = Reason(error);
                }
                continue;
            }
            deletion.removed.push_back(name);
        }
        if (!deletion.failed.empty()) {
            break;
        }
    }
    return deletion;
}

} // namespace tessaly
