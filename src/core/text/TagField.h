#pragma once

// The attributes of one HTML tag, parsed so that single values can be read
// and changed and the tag rebuilt.

#include <string>
#include <string_view>
#include <vector>

namespace tessaly {

struct TFieldRec {
    enum Quoting : unsigned char { Unquoted = 0, SingleQuoted = 1, DoubleQuoted = 2 };
    std::string Name;
    std::string Value;
    Quoting Quote = Unquoted;
};

class TTagField {
public:
    TTagField() = default;
    explicit TTagField(std::string_view attributeText) { Parse(attributeText); }

    void Parse(std::string_view attributeText);

    // Index of the first field called name, or -1.
    int IndexOf(std::string_view name, bool ignoreCase) const;
    int Count() const { return static_cast<int>(fields_.size()); }
    const std::string& Name(int index) const { return fields_.at(static_cast<std::size_t>(index)).Name; }
    const std::string& Value(int index) const { return fields_.at(static_cast<std::size_t>(index)).Value; }
    void SetValue(int index, std::string value)
    {
        fields_.at(static_cast<std::size_t>(index)).Value = std::move(value);
    }
    const TFieldRec& Field(int index) const { return fields_.at(static_cast<std::size_t>(index)); }

    // The fields again as attribute text, separated by single blanks.
    std::string Text() const;

private:
    std::vector<TFieldRec> fields_;
};

} // namespace tessaly
