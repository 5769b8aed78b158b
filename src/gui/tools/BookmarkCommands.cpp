#include "gui/tools/BookmarkCommands.h"

#include <QAction>
#include <QMenu>

#include "gui/FileDialogs.h"
#include "gui/GuiText.h"
#include "gui/main/ItemListHost.h"
#include "core/collection/Project.h"
#include "core/collection/ProjectFile.h"
#include "core/collection/ShownItems.h"
#include "gui/main/dlgMain.h"
#include "core/text/Codepage.h"
#include "core/tools/BookmarkFile.h"
#include "core/tools/BookmarkImport.h"
#include "core/util/AtomicFile.h"
#include "core/util/Messages.h"

namespace tessaly {

namespace {

const QString kFilter = QStringLiteral("ブックマークファイル (*.html *.htm *.HTML *.HTM)");

} // namespace

BookmarkCommands::BookmarkCommands(ItemListHost& host, QObject* parent)
    : QObject(parent)
    , host_(host)
    , import_(new QAction(QStringLiteral("ブラウザのブックマーク(&B)..."), this))
    , export_(new QAction(QStringLiteral("ブラウザのブックマーク(&B)..."), this))
{
    import_->setObjectName(QStringLiteral("MM_InportBookmarks"));
    export_->setObjectName(QStringLiteral("MM_ExportBookmarks"));
    connect(import_, &QAction::triggered, this, &BookmarkCommands::MM_ImportBookmarksClick);
    connect(export_, &QAction::triggered, this, &BookmarkCommands::MM_ExportBookmarksClick);
}

void BookmarkCommands::AddTo(QMenu* importMenu, QMenu* exportMenu)
{
    importMenu->addAction(import_);
    exportMenu->addAction(export_);
}

void BookmarkCommands::SetSearchMode(bool searching)
{
    export_->setEnabled(!searching);
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
            SJ("読みを推測できないため、ブックマークを取り込めません.\r\n"
               "MeCab の辞書 (mecab-ipadic-utf8) をインストールして下さい."),
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
            ToSjisOrEmpty(*file) + "\r\n"
                + (!read.ok         ? ToSjisOrEmpty(QString::fromStdString(read.error))
                        : bookmarks.tooDeep ? SJ("入れ子が深すぎるため (ブラウザが書き出すファイルではありません) "
                                                 "読み込めませんでした.")
                                            : SJ("ブラウザのブックマークファイルではありません.")),
            MessageButton::Ok);
        return;
    }
    Project& project = host_.CurrentProject();
    host_.Shown().FlushGenre();
    const bool wasEditing = project.IsEditing;
    const BookmarkImportReport report = ImportBookmarks(project, bookmarks.bookmarks, *services.readings, services.clock);
    host_.SetIsEditing(project.IsEditing || wasEditing);
    host_.ShowCollectionAgain(0);
    services.messages.Show(MessageKind::Information, BookmarkImportMessage(report), MessageButton::Ok);
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
        services.messages.Show(
            MessageKind::Error, FileWriteFailureMessage(written.failure, written.error, *file), MessageButton::Ok);
    }
}

} // namespace tessaly
