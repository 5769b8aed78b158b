#include "design/RootDirectory.h"

#include "collection/Project.h"
#include "text/Codepage.h"
#include "text/Paths.h"
#include "util/Messages.h"

namespace tessaly {

bool EnsureRootDirectory(Project& project, MessagePresenter& messages, const std::function<void()>& openProjectOptions)
{
    while (project.RootDir.empty()) {
        if (project.EditingName.empty()) {
            const MessageButton answer = messages.Show(MessageKind::Confirmation,
                SJ("プロジェクトルートディレクトリが設定されていません.\r\n"
                   "プロジェクト設計時にはルートディレクトリの設定が必要です.\r\n"
                   "プロジェクトオプションで設定して下さい.\r\nここで設定しますか？"),
                MessageButton::Yes | MessageButton::Cancel);
            if (answer != MessageButton::Yes) {
                return false;
            }
            openProjectOptions();
            continue;
        }
        const MessageButton answer = messages.Show(MessageKind::Confirmation,
            SJ("プロジェクトルートディレクトリが設定されていません.\r\n"
               "プロジェクト設計時にはルートディレクトリの設定が必要です.\r\n"
               "編集中のプロジェクトファイルが存在するディレクトリに設定してよろしいですか？"),
            MessageButton::Yes | MessageButton::Cancel);
        if (answer != MessageButton::Yes) {
            return false;
        }
        const std::optional<std::string> directory = FromFsPath(project.EditingName.parent_path());
        if (!directory || directory->empty()) {
            messages.Show(MessageKind::Error, SJ("プロジェクトファイルのディレクトリ名を Shift_JIS で表せません."),
                MessageButton::Ok);
            return false;
        }
        project.RootDir = *directory;
        if (project.BannerDir.empty()) {
            project.BannerDir = *directory;
        }
        project.IsEditing = true;
    }
    return true;
}

} // namespace tessaly
