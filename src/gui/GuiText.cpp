#include "gui/GuiText.h"

#include <QList>

#include "core/collection/ProjectFile.h"
#include "core/text/Codepage.h"

namespace tessaly {

QString ToQString(std::string_view sjis)
{
    return QString::fromStdString(SjisToUtf8Lossy(sjis));
}

std::optional<std::string> ToSjis(const QString& text, QString* badCharacter)
{
    ConversionResult converted = Utf8ToSjis(text.toStdString());
    if (!converted.ok) {
        if (badCharacter != nullptr) {
            *badCharacter = QString::fromStdString(converted.badCharacter);
        }
        return std::nullopt;
    }
    return std::move(converted.text);
}

std::string UnrepresentableMessage(const QString& character)
{
    const QList<uint> codes = character.toUcs4();
    const uint code = codes.isEmpty() ? 0 : codes.front();
    const QString name = QStringLiteral("U+%1").arg(code, 4, 16, QLatin1Char('0')).toUpper();
    return ToSjisOrEmpty(
        QStringLiteral("%1 の文字は Shift_JIS で表せないため使えません.\r\n別の文字に置き換えて下さい.").arg(name));
}

std::string ToSjisOrEmpty(const QString& text)
{
    return ToSjis(text).value_or(std::string());
}

std::string FileWriteFailureMessage(WriteFailure failure, const std::string& systemError, const QString& fileName)
{
    std::string message = SaveFailureMessage(failure, ToSjisOrEmpty(fileName));
    if (failure == WriteFailure::System || failure == WriteFailure::UnsafeInPlace) {
        message += "\r\n" + ToSjisOrEmpty(QString::fromStdString(systemError));
    }
    return message;
}

} // namespace tessaly
