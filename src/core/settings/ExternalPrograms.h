#pragma once

// Starting the browser and the mailer the way the settings say.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tessaly {

struct BrowserSettings;
class MessagePresenter;

// What the desktop offers; the platform layer implements it.
class ShellServices {
public:
    virtual ~ShellServices() = default;
    // Opens an address with the desktop's standard handler.
    virtual void OpenDocument(std::string_view address) = 0;
    // Asks a running browser by a DDE conversation; false when none answers
    // (always, where there is no DDE).
    virtual bool DdeOpenUrl(std::string_view service, std::string_view topic, std::string_view url) = 0;
    // Starts a program with arguments; failures are not reported.
    virtual void StartProgram(std::string_view program, const std::vector<std::string>& arguments) = 0;
    // Whether the desktop names a program for "mailto:" addresses; without
    // one they would open in whatever takes addresses, mostly a browser.
    virtual bool HasMailProgram() = 0;
};

// The standard handler, else the DDE conversation, else the browser program.
void OpenUrl(ShellServices& shell, const BrowserSettings& browser, std::string_view url);

// Opens a new mail to the address; false, opening nothing, when the desktop
// has no mail program.
bool MailTo(ShellServices& shell, std::string_view address);
// MailTo, telling the user when there is no mail program to open.
void MailToOrSay(ShellServices& shell, MessagePresenter& messages, std::string_view address);

// A browser preset of the options dialog: name, program, DDE service and topic.
struct BrowserPreset {
    std::string name; // code page 932
    std::string program;
    std::string ddeService;
    std::string ddeTopic;
};

// 0 and 1 fill the fields; 2 ("任意", any) leaves them as they are.
const std::vector<BrowserPreset>& BrowserPresets();
inline constexpr int32_t kAnyBrowserPreset = 2;

} // namespace tessaly
