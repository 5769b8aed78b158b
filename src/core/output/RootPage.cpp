#include "core/output/RootPage.h"

#include <filesystem>
#include <optional>
#include <system_error>

#include "core/collection/Project.h"
#include "core/text/Codepage.h"
#include "core/text/Paths.h"

namespace tessaly {

RootPage FindRootPage(const Project& project, const DesignDefaults& defaults)
{
    if (project.RootDir.empty()) {
        return {{}, SJ("ルートディレクトリが設定されていません.\r\nプロジェクトオプションで設定して下さい.")};
    }
    const std::string root = WithTrailingSlash(project.RootDir);
    TDirectoryDesign design;
    if (!ReadDesign(root, root, design, defaults)) {
        return {{}, root + SJ("\r\nルートディレクトリの設計が為されていません.")};
    }
    const std::string page = root + design.html.nameDef;
    const std::optional<std::filesystem::path> fsPage = ToFsPath(page);
    std::error_code error;
    const bool exists = fsPage && std::filesystem::is_regular_file(*fsPage, error);
    if (!design.htmlOutputs && !exists) {
        return {{},
            SJ("ルートディレクトリはHTMLを生成しない設計になっています.\r\n"
               "また、デフォルトHTMLと思しきファイルも見付かりません.")};
    }
    if (!exists) {
        return {{}, SJ("デフォルトHTMLファイルが見付かりません.")};
    }
    return {page, {}};
}

} // namespace tessaly
