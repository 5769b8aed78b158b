#include "core/output/PageWriter.h"

#include "core/output/PageCharset.h"
#include "core/output/RunErrors.h"
#include "core/text/Codepage.h"

namespace tessaly {

namespace {

PageWrite LeftAlone(const std::string& fileName, const std::string& reason)
{
    return {PageState::Pending, fileName + reason};
}

} // namespace

PreparedPage PreparePage(const std::string& directory, const std::string& fileName, std::string assembled,
    PageEncoding encoding, bool ahead)
{
    PreparedPage page{EncodePage(PageFileText(std::move(assembled)), encoding), {}, {}};
    page.onDisk = ProbePage(RequireFsPath(directory + fileName), page.text);
    if (ahead && page.onDisk.existing == ExistingPage::Missing) {
        page.written = UnnamedFile::Write(RequireFsPath(directory), page.text);
    }
    return page;
}

PageWrite WritePage(const std::string& directory, const std::string& fileName, PreparedPage& page)
{
    switch (page.onDisk.existing) {
    case ExistingPage::Link: return LeftAlone(fileName, SJ(" はシンボリックリンクのため、書き込みませんでした."));
    case ExistingPage::NotAFile: return LeftAlone(fileName, SJ(" は通常のファイルではないため、書き込みませんでした."));
    case ExistingPage::Same: return {PageState::Skipped, {}};
    case ExistingPage::Missing:
    case ExistingPage::Different: break;
    }
    const std::filesystem::path file = RequireFsPath(directory + fileName);
    if (page.written) {
        if (page.written.Name(file)) {
            return {PageState::Created, {}};
        }
        // Something took the name meanwhile, or the file system would
        // not name the file: the page is written here, as without it.
        PreparedPage again{page.text, ProbePage(file, page.text), {}};
        return WritePage(directory, fileName, again);
    }
    // A new page has no old one to protect from a half-written file.
    const FileWriteResult written = page.onDisk.existing == ExistingPage::Missing
        ? WriteNewFile(file, page.text, Durability::Unsynced, SymbolicLinks::Refuse)
        : WriteFileAtomically(file, page.text, Durability::Unsynced, SymbolicLinks::Refuse);
    switch (written.failure) {
    case WriteFailure::None: break;
    case WriteFailure::ReadOnly: return LeftAlone(fileName, SJ(" は読み込み専用のため、書き込みませんでした."));
    case WriteFailure::Link:
    case WriteFailure::DanglingLink:
    case WriteFailure::NotAFile: return LeftAlone(fileName, SJ(" は通常のファイルではないため、書き込みませんでした."));
    case WriteFailure::UnsafeInPlace:
    case WriteFailure::TooLarge:
    case WriteFailure::ProjectFile:
    case WriteFailure::System: throw RunFailure{Utf8Text(written.error)};
    }
    return {page.onDisk.existing == ExistingPage::Different ? PageState::Updated : PageState::Created, {}};
}

} // namespace tessaly
