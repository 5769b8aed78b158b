#include "gui/searchsite/SearchSiteCommands.h"

#include <QAction>
#include <QMenu>
#include <QFileInfo>

#include <filesystem>

#include "gui/FileDialogs.h"
#include "gui/GuiText.h"
#include "gui/host/ItemListHost.h"
#include "core/collection/ProjectFile.h"
#include "core/collection/ShownItems.h"
#include "gui/host/MainServices.h"
#include "gui/host/MenuLayout.h"
#include "gui/searchsite/dlgOssSupport.h"
#include "gui/searchsite/dlgOutputDIZ.h"
#include "gui/shell/dlgSplash.h"
#include "core/templates/TemplateEngine.h"
#include "core/tools/SearchData.h"
#include "core/util/AtomicFile.h"
#include "core/util/Messages.h"

namespace tessaly {

SearchSiteCommands::SearchSiteCommands(ItemListHost& host)
    : CommandSet(host)
    , menu_(new QMenu(QStringLiteral("Vuzuva Derado Redovi(P)"), host.DialogParent()))
    , dizOutput_(MakeAction("MM_DizOutput", QStringLiteral("DIZ データ出力(&C)..."), [this] { TSYOSS1Click(); },
          Qt::CTRL | Qt::SHIFT | Qt::Key_F9))
    , ossSupport_(MakeAction("MM_OssSupport", QStringLiteral("TSYOSS HTML 作成支援ツール..."),
          [this] { MM_OssSupportClick(); }, Qt::CTRL | Qt::SHIFT | Qt::Key_F10))
{
    menu_->setObjectName(QStringLiteral("MM_Tsyoss"));
    menu_->menuAction()->setObjectName(QStringLiteral("MM_Tsyoss"));
    menu_->addAction(dizOutput_);
    menu_->addAction(ossSupport_);
}

void SearchSiteCommands::Contribute(MenuLayout& layout)
{
    layout.AddMenu(MenuPlace::ToolsSearchSite, menu_);
}

void SearchSiteCommands::UpdateStates(const ItemListState& state)
{
    dizOutput_->setEnabled(!state.searchMode);
}

void SearchSiteCommands::TSYOSS1Click()
{
    if (host_.Shown().SearchMode()) {
        return;
    }
    Project& project = host_.CurrentProject();
    TForm_OutputDIZ dialog(ItemTemplateNames(project), host_.DialogParent());
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    MainServices& services = host_.Services();
    const std::optional<QString> chosen
        = services.files.SaveFile(host_.DialogParent(), QStringLiteral("Tessaly Vuzuva Derado Redovi 用データの出力"),
            QStringLiteral("Vuzuva Derado Redovi データ(*.diz)"), QStringLiteral("diz"));
    if (!chosen) {
        return;
    }
    host_.Shown().FlushGenre();
    TSplashWindow splash(host_.DialogParent());
    splash.SetSplashMes(QStringLiteral("リンクアイテムを絞り込んでいます"));
    splash.show();
    const std::string text = DizText(project, dialog.Settings());
    splash.close();
    const QString name = QFileInfo(*chosen).absoluteFilePath();
    const FileWriteResult written = WriteExportFile(project, std::filesystem::path(name.toStdString()), text);
    if (!written.ok) {
        services.messages.Show(MessageKind::Error,
            SjisText(FileWriteFailureMessage(written.failure, written.error, name)), MessageButton::Ok);
    }
}

void SearchSiteCommands::MM_OssSupportClick()
{
    TForm_OssSupport dialog(host_.Services().messages, host_.CurrentProject(), host_.DialogParent());
    dialog.exec();
}

} // namespace tessaly
