#include "core/text/TagField.h"

#include "core/text/Collation.h"
#include "core/text/Strings.h"

namespace tessaly {

void TTagField::Parse(std::string_view attributeText)
{
    // Blank, "=", CR and LF are below 0x40, so byte searches stay on
    // character boundaries.
    fields_.clear();
    std::string_view text = Trim(attributeText);
    while (!text.empty()) {
        const std::size_t found = text.find_first_of(" =\r\n");
        if (found == std::string_view::npos) {
            fields_.push_back({std::string(text), {}, TFieldRec::Unquoted});
            return;
        }
        const bool isLast = found + 1 == text.size();
        if (text[found] != '=' || isLast) {
            fields_.push_back({std::string(text.substr(0, found)), {}, TFieldRec::Unquoted});
            text = TrimLeft(text.substr(found + 1));
            continue;
        }
        TFieldRec field{std::string(text.substr(0, found)), {}, TFieldRec::Unquoted};
        text.remove_prefix(found + 1);
        const char quote = text.front();
        if (quote == '\'' || quote == '"') {
            field.Quote = quote == '\'' ? TFieldRec::SingleQuoted : TFieldRec::DoubleQuoted;
            const std::size_t closing = text.find(quote, 1);
            if (closing == std::string_view::npos) {
                field.Value = text.substr(1);
                fields_.push_back(std::move(field));
                return;
            }
            field.Value = text.substr(1, closing - 1);
            text.remove_prefix(closing + 1);
        } else {
            const std::size_t blank = text.find(' ');
            if (blank == std::string_view::npos) {
                field.Value = text;
                fields_.push_back(std::move(field));
                return;
            }
            field.Value = text.substr(0, blank);
            text.remove_prefix(blank);
        }
        fields_.push_back(std::move(field));
        text = TrimLeft(text);
    }
}

int TTagField::IndexOf(std::string_view name, bool ignoreCase) const
{
    for (std::size_t i = 0; i < fields_.size(); ++i) {
        const bool same = ignoreCase ? SameNameIgnoringAsciiCase(fields_[i].Name, name) : fields_[i].Name == name;
        if (same) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

std::string TTagField::Text() const
{
    std::string text;
    for (const TFieldRec& field : fields_) {
        if (&field != &fields_.front()) {
            text += ' ';
        }
        text += field.Name;
        switch (field.Quote) {
        case TFieldRec::Unquoted:
            if (!field.Value.empty()) {
                text += '=';
                text += field.Value;
            }
            break;
        case TFieldRec::SingleQuoted: text += "='" + field.Value + "'"; break;
        case TFieldRec::DoubleQuoted: text += "=\"" + field.Value + "\""; break;
        }
    }
    return text;
}

} // namespace tessaly
