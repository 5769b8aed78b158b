#include "core/templates/TemplateEditFile.h"

#include "core/text/Codepage.h"
#include "core/text/Strings.h"

namespace tessaly {

const std::string& TemplateHeaderMarker()
{
    static const std::string marker = SJ("<!-- Template Header ここより下にヘッダーを記述して下さい -->");
    return marker;
}

const std::string& TemplateBodyMarker()
{
    static const std::string marker = SJ("<!-- Template Body ここより下に本体を記述して下さい -->");
    return marker;
}

const std::string& TemplateFooterMarker()
{
    static const std::string marker = SJ("<!-- Template Footer ここより下にフッターを記述して下さい -->");
    return marker;
}

std::string TemplateEditFileText(const TemplateTexts& texts, std::string_view applicationTitle)
{
    std::string file;
    const auto line = [&file](std::string_view text) {
        file += text;
        file += kLineBreak;
    };
    const auto part = [&](const std::string& marker, std::string_view text) {
        line(marker);
        for (const std::string_view each : SplitLines(text)) {
            line(each);
        }
    };
    line("<!--");
    line(std::string(applicationTitle) + SJ(" が自動的に挿入しているコメントを編集しないで下さい."));
    line(SJ("編集終了後にテンプレートを正しく解釈できなくなる可能性があります."));
    line("-->");
    part(TemplateHeaderMarker(), texts.Header);
    part(TemplateBodyMarker(), texts.Body);
    part(TemplateFooterMarker(), texts.Footer);
    return file;
}

TemplateTexts ReadTemplateEditFile(std::string_view bytes)
{
    TemplateTexts texts;
    std::string* part = nullptr;
    for (const std::string_view line : SplitLines(bytes)) {
        if (line == TemplateHeaderMarker()) {
            part = &texts.Header;
        } else if (line == TemplateBodyMarker()) {
            part = &texts.Body;
        } else if (line == TemplateFooterMarker()) {
            part = &texts.Footer;
        } else if (part != nullptr) {
            *part += line;
            *part += kLineBreak;
        }
    }
    return texts;
}

std::string TemplateEditFileUtf8(const TemplateTexts& texts, std::string_view applicationTitle)
{
    return SjisToUtf8Lossy(TemplateEditFileText(texts, applicationTitle));
}

EditedTemplate ReadEditedTemplateFile(std::string_view bytes)
{
    EditedTemplate edited;
    if (!Utf8ToUtf16(bytes)) {
        // Not UTF-8: the editor kept the program's own code page.
        const ConversionResult asSjis = SjisToUtf8(bytes);
        if (!asSjis.ok) {
            edited.badCharacter = asSjis.badCharacter;
            return edited;
        }
        edited.ok = true;
        edited.texts = ReadTemplateEditFile(bytes);
        return edited;
    }
    const ConversionResult converted = Utf8ToSjis(bytes);
    if (!converted.ok) {
        edited.badCharacter = converted.badCharacter;
        return edited;
    }
    edited.ok = true;
    edited.texts = ReadTemplateEditFile(converted.text);
    return edited;
}

} // namespace tessaly
