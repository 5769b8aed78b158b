#include "ExchangeCommands.h"

#include <QAction>
#include <QFileInfo>
#include <QMenu>
#include <memory>

#include "FileDialogs.h"
#include "GuiText.h"
#include "ItemListHost.h"
#include "collection/Project.h"
#include "collection/ProjectFile.h"
#include "collection/ShownItems.h"
#include "dlgCSVQuery.h"
#include "dlgMain.h"
#include "dlgSplash.h"
#include "tools/CsvExport.h"
#include "tools/RkmImport.h"
#include "util/AtomicFile.h"
#include "util/Messages.h"

namespace tessaly {

bool IsRkmFile(const QString& fileName)
{
    return QFileInfo(fileName).suffix().toUpper() == QLatin1String("TSM");
}

ExchangeCommands::ExchangeCommands(ItemListHost& host, QObject* parent)
    : QObject(parent)
    , host_(host)
    , importRkm_(new QAction(QStringLiteral("RKM ファイル(&L)"), this))
    , exportCsv_(new QAction(QStringLiteral("CSV 形式ファイル(&C)"), this))
{
    importRkm_->setObjectName(QStringLiteral("MM_InportRKM"));
    exportCsv_->setObjectName(QStringLiteral("MM_ExportCSV"));
    connect(importRkm_, &QAction::triggered, this, &ExchangeCommands::MM_InportRKMClick);
    connect(exportCsv_, &QAction::triggered, this, &ExchangeCommands::MM_ExportCSVClick);
}

void ExchangeCommands::AddTo(QMenu* fileMenu)
{
    importMenu_ = fileMenu->addMenu(QStringLiteral("インポート(&I)"));
    importMenu_->setObjectName(QStringLiteral("MM_Inport"));
    importMenu_->addAction(importRkm_);
    QMenu* exportMenu = fileMenu->addMenu(QStringLiteral("エクスポート(&E)"));
    exportMenu->setObjectName(QStringLiteral("MM_Export"));
    exportMenu->addAction(exportCsv_);
}

void ExchangeCommands::SetSearchMode(bool searching)
{
    importMenu_->setEnabled(!searching);
    importRkm_->setEnabled(!searching);
}

void ExchangeCommands::MM_InportRKMClick()
{
    if (host_.Shown().SearchMode()) {
        return;
    }
    const std::optional<QString> file = host_.Services().files.OpenFile(host_.DialogParent(),
        QStringLiteral("Rookmere ファイルのインクルード"), QStringLiteral("Rookmere データファイル (*.TSM *.tsm)"));
    if (file) {
        ImportRkm(*file);
    }
}

void ExchangeCommands::ImportRkm(const QString& fileName)
{
    Project& project = host_.CurrentProject();
    MainServices& services = host_.Services();
    const QString absolute = QFileInfo(fileName).absoluteFilePath();
    const std::string shownName = ToSjisOrEmpty(absolute);
    host_.Shown().FlushGenre();
    std::unique_ptr<TSplashWindow> splash;
    const bool wasEditing = project.IsEditing;
    const RkmImportResult result = ImportRkmFile(project, absolute.toStdString(), services.clock.Today(),
        [&](std::size_t line, std::size_t lastLine) {
            if (!splash) {
                splash = std::make_unique<TSplashWindow>(host_.DialogParent());
                splash->SetSplashMes(ToQString(ProjectInterpretingMessage(shownName)));
                splash->SetMax(static_cast<int>(lastLine));
                splash->show();
            }
            // Repainting every line would cost more than reading it.
            if (line % 1024 == 0) {
                splash->SetPos(static_cast<int>(line));
            }
        },
        services.readings);
    splash.reset();
    switch (result.status) {
    case RkmImportResult::Status::NotFound:
        services.messages.Show(MessageKind::Error, RkmNotFoundMessage(shownName), MessageButton::Abort);
        return;
    case RkmImportResult::Status::ReadFailed:
        services.messages.Show(MessageKind::Error,
            shownName + "\r\n" + ToSjisOrEmpty(QString::fromStdString(result.error)), MessageButton::Abort);
        return;
    case RkmImportResult::Status::Imported: break;
    }
    host_.SetIsEditing(project.IsEditing || wasEditing);
    host_.ShowCollectionAgain(0);
    if (const std::string refused = RkmRefusedLinksMessage(result); !refused.empty()) {
        services.messages.Show(MessageKind::Warning, refused, MessageButton::Ok);
    }
}

void ExchangeCommands::MM_ExportCSVClick()
{
    if (host_.SelectedRows().empty()) {
        return;
    }
    TForm_CSVQuery query(host_.DialogParent());
    if (query.exec() != QDialog::Accepted) {
        return;
    }
    MainServices& services = host_.Services();
    const std::optional<QString> file = services.files.SaveFile(host_.DialogParent(),
        QStringLiteral("CSV ファイルのエクスポート"), QStringLiteral("CSV ファイル (*.CSV *.csv)"), QStringLiteral("CSV"));
    if (!file) {
        return;
    }
    const FileWriteResult written = WriteExportFile(
        host_.CurrentProject(), file->toStdString(), CsvText(host_.Shown().Rows(), query.CommentMode()));
    if (!written.ok) {
        services.messages.Show(
            MessageKind::Error, FileWriteFailureMessage(written.failure, written.error, *file), MessageButton::Ok);
    }
}

} // namespace tessaly
