#include "GuiText.h"

#include "text/Codepage.h"

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

std::string ToSjisOrEmpty(const QString& text)
{
    return ToSjis(text).value_or(std::string());
}

} // namespace tessaly
