#include "gui/tools/BookmarkCommands.h"

#include <QAction>

#include "gui/FileDialogs.h"
#include "gui/GuiText.h"
#include "gui/host/ItemListHost.h"
#include "core/collection/Project.h"
#include "core/collection/ProjectFile.h"
#include "core/collection/ShownItems.h"
#include "gui/host/MainServices.h"
#include "gui/host/MenuLayout.h"
#include "gui/readings/ProjectReadings.h"
#include "gui/readings/ReadingReview.h"
#include "core/text/Codepage.h"
#include "core/tools/BookmarkFile.h"
#include "core/tools/BookmarkImport.h"
#include "core/util/AtomicFile.h"
#include "core/util/Messages.h"

namespace tessaly {

namespace {

const QString kFilter = QStringLiteral("ブックマークファイル (*.html *.htm *.HTML *.HTM)");

} // namespace

BookmarkCommands::BookmarkCommands(ItemListHost& host)
    : CommandSet(host)
    , import_(MakeAction("MM_InportBookmarks", QStringLiteral("ブラウザのブックマーク(&B)..."),
          [this] { MM_ImportBookmarksClick(); }))
    , export_(MakeAction("MM_ExportBookmarks", QStringLiteral("ブラウザのブックマーク(&B)..."),
          [this] { MM_ExportBookmarksClick(); }))
{
}

void BookmarkCommands::Contribute(MenuLayout& layout)
{
    layout.Add(MenuPlace::FileImport, import_);
    layout.Add(MenuPlace::FileExport, export_);
}

void BookmarkCommands::UpdateStates(const ItemListState& state)
{
    export_->setEnabled(!state.searchMode);
}

void BookmarkCommands::MM_ImportBookmarksClick()
{
    MainServices& services = host_.Services();
    // Found items are out of their genres: nothing is imported meanwhile.
    if (host_.Shown().SearchMode()) {
        return;
    }
    if (services.readings == nullptr) {
        services.messages.Show(MessageKind::Error,
            SjisText(SJ("読みを推測できないため、ブックマークを取り込めません.\r\n"
                        "MeCab の辞書 (mecab-ipadic-utf8) をインストールして下さい.")),
            MessageButton::Ok);
        return;
    }
    const std::optional<QString> file = services.files.OpenFile(
        host_.DialogParent(), QStringLiteral("ブラウザのブックマークのインポート"), kFilter);
    if (!file) {
        return;
    }
    const FileReadResult read = ReadWholeFile(file->toStdString());
    const BookmarkFile bookmarks = read.ok ? ReadBookmarkFile(read.data) : BookmarkFile{};
    if (!bookmarks.isBookmarkFile) {
        services.messages.Show(MessageKind::Error,
            SjisText(ToSjisOrEmpty(*file) + "\r\n"
                + (!read.ok ? ToSjisOrEmpty(QString::fromStdString(read.error))
                        : bookmarks.tooDeep ? SJ("入れ子が深すぎるため (ブラウザが書き出すファイルではありません) "
                                                 "読み込めませんでした.")
                                            : SJ("ブラウザのブックマークファイルではありません."))),
            MessageButton::Ok);
        return;
    }
    Project& project = host_.CurrentProject();
    host_.Shown().FlushGenre();
    const bool wasEditing = project.IsEditing;
    const ProjectReadings readings(services, project);
    const BookmarkImportReport report = ImportBookmarks(project, bookmarks.bookmarks, *readings.Service(), services.clock);
    // Shown from the new lines first: the change is taken from what is shown.
    host_.ShowCollectionAgain(0);
    host_.SetIsEditing(project.IsEditing || wasEditing);
    services.messages.Show(MessageKind::Information, SjisText(BookmarkImportMessage(report)), MessageButton::Ok);
    ReviewReadings(host_, report.doubtfulReadings);
}

void BookmarkCommands::MM_ExportBookmarksClick()
{
    MainServices& services = host_.Services();
    if (host_.Shown().SearchMode()) {
        return;
    }
    const std::optional<QString> file = services.files.SaveFile(
        host_.DialogParent(), QStringLiteral("ブラウザのブックマークへのエクスポート"), kFilter, QStringLiteral("html"));
    if (!file) {
        return;
    }
    host_.Shown().FlushGenre();
    const BookmarkExport exported = WriteBookmarkFile(host_.CurrentProject());
    const FileWriteResult written = WriteExportFile(host_.CurrentProject(), file->toStdString(), exported.text);
    if (!written.ok) {
        services.messages.Show(MessageKind::Error,
            SjisText(FileWriteFailureMessage(written.failure, written.error, *file)), MessageButton::Ok);
    }
}

} // namespace tessaly
