#include "core/design/ProjectOptions.h"

#include <filesystem>

#include "core/collection/Project.h"
#include "core/settings/SettingsStore.h"
#include "core/site/SiteAddress.h"
#include "core/text/Codepage.h"
#include "core/text/Kana.h"
#include "core/text/Paths.h"
#include "core/text/Strings.h"
#include "core/util/Messages.h"

namespace tessaly {

namespace {

bool DirectoryExists(const std::string& path)
{
    const std::optional<std::filesystem::path> onDisk = ToFsPath(path);
    std::error_code error;
    return onDisk && std::filesystem::is_directory(*onDisk, error);
}

OptionsVerdict Refuse(MessagePresenter& messages, const char* message, OptionsField field)
{
    messages.Show(MessageKind::Warning, SjisText(SJ(message)), MessageButton::Retry);
    return {false, field};
}

// An empty file name: the usual one when the user agrees.
bool FillWhenAgreed(MessagePresenter& messages, const char* question, std::string& name, const char* usual)
{
    if (!name.empty()) {
        return true;
    }
    if (messages.Show(MessageKind::Confirmation, SjisText(SJ(question)), MessageButton::Yes | MessageButton::Retry)
        != MessageButton::Yes) {
        return false;
    }
    name = usual;
    return true;
}

} // namespace

ProjectOptions OptionsOf(const Project& project)
{
    return {project.Title, project.AuthorName, project.AuthorKana, project.AuthorMail, project.RootDir,
        project.BannerDir, project.DefaultFile, project.SubFile, project.ParentAnchor, project.ParentPath,
        project.Publishing};
}

void ApplyOptions(Project& project, const ProjectOptions& options)
{
    const auto trimmed = [](const std::string& text) { return std::string(Trim(text)); };
    project.Title = trimmed(options.Title);
    project.AuthorName = trimmed(options.AuthorName);
    project.AuthorKana = trimmed(options.AuthorKana);
    project.AuthorMail = trimmed(options.AuthorMail);
    project.RootDir = trimmed(options.RootDir);
    project.BannerDir = trimmed(options.BannerDir);
    project.DefaultFile = trimmed(options.DefaultFile);
    project.SubFile = trimmed(options.SubFile);
    project.ParentAnchor = trimmed(options.ParentAnchor);
    project.ParentPath = trimmed(options.ParentPath);
    project.Publishing = options.Publishing;
    project.Publishing.baseUrl = trimmed(options.Publishing.baseUrl);
    project.Publishing.publishCommand = trimmed(options.Publishing.publishCommand);
    project.IsEditing = true;
}

void StoreOwnerDefaults(SettingsStore& settings, const ProjectOptions& options)
{
    settings.WriteString(kOwnerDefaultsKey, "Name", std::string(Trim(options.AuthorName)));
    settings.WriteString(kOwnerDefaultsKey, "NameKana", std::string(Trim(options.AuthorKana)));
    settings.WriteString(kOwnerDefaultsKey, "Mail", std::string(Trim(options.AuthorMail)));
}

int OptionsTabOf(OptionsField field)
{
    switch (field) {
    case OptionsField::AuthorName:
    case OptionsField::AuthorKana: return 1;
    case OptionsField::None: return 0;
    case OptionsField::BaseUrl: return 4;
    default: return 2;
    }
}

bool CheckOwnerKana(const ProjectOptions& options, MessagePresenter& messages)
{
    const std::string_view kana = Trim(options.AuthorKana);
    if (kana.empty() || IsHiragana(kana)) {
        return true;
    }
    Refuse(messages, "不正な文字が含まれています.\r\nかなには全角平仮名のみ利用できます.", OptionsField::AuthorKana);
    return false;
}

OptionsVerdict CheckProjectOptions(ProjectOptions& options, MessagePresenter& messages)
{
    const bool hasName = !Trim(options.AuthorName).empty();
    const bool hasKana = !Trim(options.AuthorKana).empty();
    if (hasName != hasKana) {
        return Refuse(messages, "管理者の名前と名前(かな)は対で入力して下さい.",
            hasName ? OptionsField::AuthorKana : OptionsField::AuthorName);
    }
    if (!CheckOwnerKana(options, messages)) {
        return {false, OptionsField::AuthorKana};
    }
    const std::string root(Trim(options.RootDir));
    const std::string banner(Trim(options.BannerDir));
    if (!root.empty() && !DirectoryExists(root)) {
        return Refuse(messages, "ルートディレクトリが見付かりません.", OptionsField::RootDir);
    }
    if (!banner.empty() && !DirectoryExists(banner)) {
        return Refuse(messages, "バナーディレクトリが見付かりません.", OptionsField::BannerDir);
    }
    options.DefaultFile = std::string(Trim(options.DefaultFile));
    if (!FillWhenAgreed(messages,
            "デフォルトファイル名が設定されていません.\r\n一般的なデフォルトファイル名である index.html "
            "を設定します.\r\nよろしいですか？",
            options.DefaultFile, "index.html")
        || !IsValidFileName(options.DefaultFile, false, messages)) {
        return {false, OptionsField::DefaultFile};
    }
    options.SubFile = std::string(Trim(options.SubFile));
    if (!FillWhenAgreed(messages,
            "サブファイル名が設定されていません.\r\n初期設定である pages.html を設定します.\r\nよろしいですか？",
            options.SubFile, "pages.html")
        || !IsValidFileName(options.SubFile, false, messages)) {
        return {false, OptionsField::SubFile};
    }
    std::string& baseUrl = options.Publishing.baseUrl;
    baseUrl = std::string(Trim(baseUrl));
    if (!baseUrl.empty()) {
        const std::optional<std::string> usual = SiteBaseUrl(SjisToUtf8Lossy(baseUrl));
        if (!usual) {
            return Refuse(messages,
                "サイトのアドレスには、http:// か https:// で始まり、空白や ?・# などを含まない\r\n"
                "アドレスを入力して下さい. (例: https://example.jp/~hanako/)",
                OptionsField::BaseUrl);
        }
        baseUrl = Utf8ToSjisNearest(*usual).text;
    }
    return {};
}

} // namespace tessaly
