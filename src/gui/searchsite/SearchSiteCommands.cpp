#include "gui/searchsite/SearchSiteCommands.h"

#include <QAction>
#include <QFileInfo>
#include <QMenu>

#include <filesystem>

#include "gui/FileDialogs.h"
#include "gui/GuiText.h"
#include "gui/main/ItemListHost.h"
#include "core/collection/ProjectFile.h"
#include "core/collection/ShownItems.h"
#include "gui/main/dlgMain.h"
#include "gui/searchsite/dlgOssSupport.h"
#include "gui/searchsite/dlgOutputDIZ.h"
#include "gui/shell/dlgSplash.h"
#include "core/templates/TemplateEngine.h"
#include "core/tools/SearchData.h"
#include "core/util/AtomicFile.h"
#include "core/util/Messages.h"

namespace tessaly {

SearchSiteCommands::SearchSiteCommands(ItemListHost& host, QObject* parent)
    : QObject(parent)
    , host_(host)
    , menu_(new QMenu(QStringLiteral("Vuzuva Derado Redovi(P)"), host.DialogParent()))
    , dizOutput_(new QAction(QStringLiteral("DIZ データ出力(&C)..."), this))
    , ossSupport_(new QAction(QStringLiteral("TSYOSS HTML 作成支援ツール..."), this))
{
    menu_->setObjectName(QStringLiteral("MM_Tsyoss"));
    menu_->menuAction()->setObjectName(QStringLiteral("MM_Tsyoss"));
    dizOutput_->setObjectName(QStringLiteral("MM_DizOutput"));
    dizOutput_->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F9));
    ossSupport_->setObjectName(QStringLiteral("MM_OssSupport"));
    ossSupport_->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F10));
    connect(dizOutput_, &QAction::triggered, this, &SearchSiteCommands::TSYOSS1Click);
    connect(ossSupport_, &QAction::triggered, this, &SearchSiteCommands::MM_OssSupportClick);
    menu_->addAction(dizOutput_);
    menu_->addAction(ossSupport_);
}

void SearchSiteCommands::AddTo(QMenu* menu)
{
    menu->addMenu(menu_);
}

void SearchSiteCommands::SetSearchMode(bool searching)
{
    dizOutput_->setEnabled(!searching);
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
        services.messages.Show(
            MessageKind::Error, FileWriteFailureMessage(written.failure, written.error, name), MessageButton::Ok);
    }
}

void SearchSiteCommands::MM_OssSupportClick()
{
    TForm_OssSupport dialog(host_.Services().messages, host_.CurrentProject(), host_.DialogParent());
    dialog.exec();
}

} // namespace tessaly
