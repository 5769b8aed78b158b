#include "gui/tools/ExchangeCommands.h"

#include <QAction>
#include <QFileInfo>
#include <memory>

#include "gui/FileDialogs.h"
#include "gui/GuiText.h"
#include "gui/host/ItemListHost.h"
#include "core/collection/Project.h"
#include "core/collection/ProjectFile.h"
#include "core/collection/ShownItems.h"
#include "gui/tools/dlgCSVQuery.h"
#include "gui/host/MainServices.h"
#include "gui/host/MenuLayout.h"
#include "gui/readings/ProjectReadings.h"
#include "gui/readings/ReadingReview.h"
#include "gui/shell/dlgSplash.h"
#include "core/text/Codepage.h"
#include "core/tools/CsvExport.h"
#include "core/tools/RkmImport.h"
#include "core/util/AtomicFile.h"
#include "core/util/Messages.h"

namespace tessaly {

bool IsRkmFile(const QString& fileName)
{
    return QFileInfo(fileName).suffix().toUpper() == QLatin1String("TSM");
}

ExchangeCommands::ExchangeCommands(ItemListHost& host)
    : CommandSet(host)
    , importRkm_(MakeAction("MM_InportRKM", QStringLiteral("RKM ファイル(&L)"), [this] { MM_InportRKMClick(); }))
    , exportCsv_(MakeAction("MM_ExportCSV", QStringLiteral("CSV 形式ファイル(&C)"), [this] { MM_ExportCSVClick(); }))
{
}

void ExchangeCommands::Contribute(MenuLayout& layout)
{
    layout.Add(MenuPlace::FileImport, importRkm_);
    layout.Add(MenuPlace::FileExport, exportCsv_);
}

void ExchangeCommands::UpdateStates(const ItemListState& state)
{
    importRkm_->setEnabled(!state.searchMode);
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
    const ProjectReadings readings(services, project);
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
        readings.Service());
    splash.reset();
    switch (result.status) {
    case RkmImportResult::Status::NotFound:
        services.messages.Show(MessageKind::Error, SjisText(RkmNotFoundMessage(shownName)), MessageButton::Abort);
        return;
    case RkmImportResult::Status::ReadFailed:
        services.messages.Show(MessageKind::Error,
            SjisText(shownName + "\r\n" + ToSjisOrEmpty(QString::fromStdString(result.error))), MessageButton::Abort);
        return;
    case RkmImportResult::Status::Imported: break;
    }
    // Shown from the new lines first: the change is taken from what is shown.
    host_.ShowCollectionAgain(0);
    host_.SetIsEditing(project.IsEditing || wasEditing);
    services.messages.Show(RkmImportHasWarnings(result) ? MessageKind::Warning : MessageKind::Information,
        SjisText(RkmImportMessage(result)), MessageButton::Ok);
    ReviewReadings(host_, result.doubtfulReadings);
}

void ExchangeCommands::MM_ExportCSVClick()
{
    if (host_.SelectedRows().empty()) {
        host_.Services().messages.Show(MessageKind::Information,
            SjisText(SJ("CSV ファイルに書き出すアイテムがありません.\r\nアイテム一覧でアイテムを選択して下さい.")),
            MessageButton::Ok);
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
    const std::vector<TLinkItem>& rows = host_.Shown().Rows();
    const FileWriteResult written = WriteExportFile(
        host_.CurrentProject(), file->toStdString(), CsvText(rows, query.CommentMode(), query.Formulas()));
    if (!written.ok) {
        services.messages.Show(MessageKind::Error,
            SjisText(FileWriteFailureMessage(written.failure, written.error, *file)), MessageButton::Ok);
        return;
    }
    // Cells someone else's file made formulas are worth a word either way.
    if (const std::size_t formulas = CsvFormulaCells(rows, query.CommentMode()); formulas > 0) {
        services.messages.Show(MessageKind::Information,
            SjisText(std::to_string(formulas)
                + (query.Formulas() == CsvFormulas::Defused
                        ? SJ(" 個のセルは表計算ソフトで数式として扱われるため、先頭に「'」を付けて文字列にしました.")
                        : SJ(" 個のセルは表計算ソフトで数式として扱われます.\r\n"
                             "信用できないデータなら、「表計算ソフトで数式として扱われるセルを文字列にする」を選んで書き出して下さい"
                             "."))),
            MessageButton::Ok);
    }
}

} // namespace tessaly
