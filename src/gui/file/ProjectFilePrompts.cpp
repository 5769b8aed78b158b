#include "gui/file/ProjectFilePrompts.h"

#include <QFileInfo>
#include <QLabel>

#include <memory>

#include "core/text/Codepage.h"
#include "core/util/AtomicFile.h"
#include "core/util/Messages.h"
#include "gui/FileDialogs.h"
#include "gui/GuiText.h"
#include "gui/shell/dlgSplash.h"

namespace tessaly {

namespace {

QString ShownPath(const std::filesystem::path& path)
{
    return QString::fromStdString(path.string());
}

} // namespace

QString ProjectFileFilter()
{
    return QStringLiteral("TSYプロジェクトファイル (*.TSP)");
}

std::optional<std::filesystem::path> AskProjectFileName(MessagePresenter& messages, FileDialogs& files, QWidget* parent)
{
    const std::optional<QString> chosen = files.SaveFile(parent, QString(), ProjectFileFilter(), QStringLiteral("TSP"));
    if (!chosen) {
        return std::nullopt;
    }
    QString path = *chosen;
    if (QFileInfo(path).suffix().toUpper() != QLatin1String("TSP")) {
        const MessageButton answer = messages.Show(MessageKind::Warning,
            SjisText(SJ("拡張子は TSP でなければなりません.\r\n変更してよろしいですか？")),
            MessageButton::Ok | MessageButton::Cancel);
        if (answer == MessageButton::Ok) {
            const QFileInfo info(path);
            path = info.path() + QLatin1Char('/') + info.completeBaseName() + QStringLiteral(".TSP");
        }
    }
    return QFileInfo(path).absoluteFilePath().toStdString();
}

ChangedFileChoice AskAboutChangedFile(MessagePresenter& messages, const std::filesystem::path& name)
{
    const MessageButton answer = messages.ShowWith(MessageKind::Warning,
        SjisText(ToSjisOrEmpty(ShownPath(name)
            + QStringLiteral(" は、読み込んだ後にほかのプログラムによって変更されています.\r\n"
                             "上書きすると、その変更は失われます."))),
        MessageButton::Yes | MessageButton::No | MessageButton::Cancel,
        {MessageButton::Cancel,
            {{MessageButton::Yes, SjisText(SJ("上書き"))}, {MessageButton::No, SjisText(SJ("名前を付けて保存"))}}});
    return answer == MessageButton::Yes ? ChangedFileChoice::Overwrite
        : answer == MessageButton::No   ? ChangedFileChoice::SaveElsewhere
                                        : ChangedFileChoice::Cancel;
}

bool OfferInPlaceWriteCopy(MessagePresenter& messages, const QString& fileName)
{
    const std::filesystem::path path = fileName.toStdString();
    const std::optional<std::filesystem::path> copy = InPlaceWriteCopy(path);
    if (!copy) {
        return true;
    }
    const MessageButton answer = messages.ShowWith(MessageKind::Warning,
        SjisText(ToSjisOrEmpty(fileName
            + QStringLiteral(" の前回の保存は終わっていません. ファイルが途中で切れているおそれがあります.\r\n"
                             "保存前の内容の写しが残っています: ")
            + ShownPath(*copy) + QStringLiteral("\r\n写しの内容に戻して開きますか？"))),
        MessageButton::Yes | MessageButton::No | MessageButton::Cancel,
        {MessageButton::Yes,
            {{MessageButton::Yes, SjisText(SJ("写しに戻して開く"))},
                {MessageButton::No, SjisText(SJ("写しを捨てて開く"))}}});
    if (answer == MessageButton::Cancel) {
        return false;
    }
    if (answer == MessageButton::No) {
        DiscardInPlaceWriteCopy(path);
        return true;
    }
    const FileWriteResult restored = RestoreInPlaceWriteCopy(path);
    if (!restored.ok) {
        messages.Show(MessageKind::Error, SjisText(FileWriteFailureMessage(restored.failure, restored.error, fileName)),
            MessageButton::Ok);
        return false;
    }
    return true;
}

std::optional<ReadProjectOutcome> ReadProjectWithProgress(
    MessagePresenter& messages, QWidget* parent, QLabel& status, const QString& passedName, Project& into)
{
    // The title and every prompt name the file by its absolute path.
    const QString fileName = QFileInfo(passedName).absoluteFilePath();
    const std::string shownName = ToSjisOrEmpty(fileName);
    status.setText(ToQString(ProjectReadingMessage(shownName)));
    if (!OfferInPlaceWriteCopy(messages, fileName)) {
        return std::nullopt;
    }
    // Taken before reading: a change made while the file is read shows at
    // the next save.
    const std::optional<FileStamp> stamp = StampOf(fileName.toStdString());
    std::unique_ptr<TSplashWindow> splash;
    const LoadOutcome outcome
        = LoadProjectFile(into, fileName.toStdString(), [&](std::size_t line, std::size_t lines) {
              if (line == 0) {
                  status.clear();
                  splash = std::make_unique<TSplashWindow>(parent);
                  splash->SetSplashMes(ToQString(ProjectInterpretingMessage(shownName)));
                  splash->SetMax(static_cast<int>(lines) - 1);
                  splash->show();
              }
              // Repainting every line would cost more than reading it.
              if (line % 1024 == 0) {
                  splash->SetPos(static_cast<int>(line));
              }
          });
    splash.reset();
    status.clear();
    switch (outcome.result) {
    case LoadOutcome::Result::NotFound:
        messages.Show(MessageKind::Warning, SjisText(ProjectNotFoundMessage(shownName)), MessageButton::Cancel);
        return std::nullopt;
    case LoadOutcome::Result::ReadFailed:
        messages.Show(
            MessageKind::Error, SjisText(ToSjisOrEmpty(QString::fromStdString(outcome.error))), MessageButton::Ok);
        return std::nullopt;
    case LoadOutcome::Result::NotAProjectFile:
        messages.Show(MessageKind::Warning, SjisText(NotAProjectFileMessage(shownName)), MessageButton::Ok);
        return std::nullopt;
    case LoadOutcome::Result::StoppedAtBadSerialMax:
        messages.Show(MessageKind::Error,
            SjisText(SJ("'") + outcome.badValue + SJ("' は整数ではありません.\r\n")
                + SJ("この行以降は読み込まれていません: ") + std::to_string(outcome.badLineNumber)),
            MessageButton::Ok);
        break;
    case LoadOutcome::Result::Loaded: break;
    }
    return ReadProjectOutcome{outcome, stamp};
}

} // namespace tessaly
