#include "core/design/RootDirectory.h"

#include "core/collection/Project.h"
#include "core/text/Codepage.h"
#include "core/text/Paths.h"
#include "core/util/Messages.h"

namespace tessaly {

namespace {

constexpr const char* kNoRootDirectory = "プロジェクトルートディレクトリが設定されていません.\r\n"
                                         "プロジェクト設計時にはルートディレクトリの設定が必要です.\r\n";

bool AskYes(MessagePresenter& messages, const char* question)
{
    return messages.Show(MessageKind::Confirmation, SjisText(SJ(kNoRootDirectory) + SJ(question)),
               MessageButton::Yes | MessageButton::Cancel)
        == MessageButton::Yes;
}

} // namespace

bool EnsureRootDirectory(Project& project, MessagePresenter& messages, const std::function<void()>& openProjectOptions)
{
    while (project.RootDir.empty()) {
        if (project.EditingName.empty()) {
            if (!AskYes(messages, "プロジェクトオプションで設定して下さい.\r\nここで設定しますか？")) {
                return false;
            }
            openProjectOptions();
            continue;
        }
        if (!AskYes(messages, "編集中のプロジェクトファイルが存在するディレクトリに設定してよろしいですか？")) {
            return false;
        }
        const std::optional<std::string> directory = FromFsPath(project.EditingName.parent_path());
        if (!directory || directory->empty()) {
            messages.Show(MessageKind::Error,
                SjisText(SJ("プロジェクトファイルのディレクトリ名を Shift_JIS で表せません.")), MessageButton::Ok);
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
