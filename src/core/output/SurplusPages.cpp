#include "core/output/SurplusPages.h"

#include <system_error>
#include <utility>

#include "core/output/RunErrors.h"
#include "core/text/Codepage.h"
#include "core/text/EncodedText.h"
#include "core/text/Paths.h"

namespace tessaly {

namespace fs = std::filesystem;

SurplusDeletion DeleteSurplusPages(
    const std::string& directory, const SurplusRule& rule, const ProtectedFiles& protectedFiles)
{
    SurplusDeletion deletion;
    const fs::path fsDirectory = RequireFsPath(directory);
    const DirectoryEntries listing = ReadDirectoryEntries(fsDirectory);
    std::vector<std::pair<fs::path, std::string>> surplus;
    for (const DirectoryEntry& entry : listing.entries) {
        if (entry.error) {
            deletion.problems.push_back(SJ("調べられない項目を飛ばしました: ")
                + ToSjis(Utf8Text(entry.name + ": " + entry.error.message())).bytes());
            continue;
        }
        if (entry.type != fs::file_type::regular) {
            continue;
        }
        const fs::path path = fsDirectory / entry.name;
        const std::optional<std::string> name = FromFsPath(entry.name);
        if (name && rule.IsSurplus(*name) && !protectedFiles.Contains(path)) {
            surplus.emplace_back(path, *name);
        }
    }
    if (listing.error) {
        deletion.problems.push_back(
            SJ("ディレクトリの内容を調べられませんでした: ") + ToSjis(Utf8Text(listing.error.message())).bytes());
    }
    for (const auto& [path, name] : surplus) {
        std::error_code error;
        if (fs::remove(path, error)) {
            ++deletion.deleted;
        } else if (error) {
            deletion.problems.push_back(
                name + SJ(" を削除できませんでした: ") + ToSjis(Utf8Text(error.message())).bytes());
        }
    }
    return deletion;
}

} // namespace tessaly
