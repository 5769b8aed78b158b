#include "gui/shell/HelpCommands.h"

#include <QAction>

#include "core/settings/ExternalPrograms.h"
#include "gui/host/ItemListHost.h"
#include "gui/host/MainServices.h"
#include "gui/host/MenuLayout.h"
#include "gui/shell/dlgHelp.h"
#include "gui/shell/dlgVersion.h"
#include "gui/shell/HelpTopics.h"

namespace tessaly {

HelpCommands::HelpCommands(ItemListHost& host)
    : CommandSet(host)
    , contents_(MakeAction("MM_Help", QStringLiteral("ヘルプ(&H)"),
          [this] { ShowHelp(host_.DialogParent(), help::kContents); }, Qt::Key_F1))
    // The program's pages are its own help: there is no web site to send
    // anyone to.
    , makerPage_(MakeAction("MM_ASPage", QStringLiteral("Brindlewood ウェブページ(&W)"),
          [this] { ShowHelp(host_.DialogParent(), help::kContents); }))
    , programPage_(MakeAction("MM_TSYPage", QStringLiteral("Tessaly ウェブページ(&H)"),
          [this] { ShowHelp(host_.DialogParent(), help::kContents); }))
    , about_(MakeAction("MM_About", QStringLiteral("バージョン情報(&A)..."), [this] { MM_AboutClick(); }))
{
}

void HelpCommands::Contribute(MenuLayout& layout)
{
    layout.Add(MenuPlace::Help, contents_);
    layout.AddSeparator(MenuPlace::Help);
    layout.Add(MenuPlace::Help, makerPage_);
    layout.Add(MenuPlace::Help, programPage_);
    layout.AddSeparator(MenuPlace::Help);
    layout.Add(MenuPlace::Help, about_);
}

void HelpCommands::MM_AboutClick()
{
    const AppSettings& settings = host_.Settings();
    MainServices& services = host_.Services();
    TForm_Version version(settings.mainWindow.girlDisabled, false, host_.DialogParent());
    // As for the menu's web pages: the program's help stands in for a site.
    version.openMakerPage = [&version] { ShowHelp(&version, help::kContents); };
    version.mailSupport = [&] { MailToOrSay(services.shell, services.messages, "support@brindlewood.example"); };
    version.exec();
}

} // namespace tessaly
