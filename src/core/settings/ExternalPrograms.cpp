#include "core/settings/ExternalPrograms.h"

#include "core/settings/AppSettings.h"
#include "core/text/Codepage.h"
#include "core/util/Messages.h"

namespace tessaly {

void OpenUrl(ShellServices& shell, const BrowserSettings& browser, std::string_view url)
{
    if (url.empty()) {
        return;
    }
    if (browser.defShell) {
        shell.OpenDocument(url);
    } else if (!browser.ddeUse || !shell.DdeOpenUrl(browser.ddeService, browser.ddeTopic, url)) {
        shell.StartProgram(browser.appPath, {std::string(url)});
    }
}

bool MailTo(ShellServices& shell, std::string_view address)
{
    if (!shell.HasMailProgram()) {
        return false;
    }
    if (!address.empty()) {
        shell.OpenDocument("mailto:" + std::string(address));
    }
    return true;
}

void MailToOrSay(ShellServices& shell, MessagePresenter& messages, std::string_view address)
{
    if (!MailTo(shell, address)) {
        messages.Show(MessageKind::Warning,
            SjisText(SJ("メールを書くプログラムが設定されていません.\r\n"
                        "デスクトップの設定で、メールを扱うプログラムを選んで下さい.")),
            MessageButton::Ok);
    }
}

const std::vector<BrowserPreset>& BrowserPresets()
{
    // The two browsers a Linux desktop most often has; DDE does not exist
    // here, the fields only keep their meaning for settings shared with
    // other systems.
    static const std::vector<BrowserPreset> presets{
        {"Firefox", "/usr/bin/firefox", "Firefox", "WWW_OpenURL"},
        {"Chromium", "/usr/bin/chromium", "Chromium", "WWW_OpenURL"},
        {SJ("任意"), "", "", ""},
    };
    return presets;
}

} // namespace tessaly
