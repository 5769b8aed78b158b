#pragma once

// Keywords of the form "%name;" replaced in a text one kind after the other.

#include <cstddef>
#include <functional>
#include <span>
#include <string>
#include <string_view>

namespace tessaly {

// Replaces every keyword of the list in text, in list order: a value put in
// by one keyword is open to the later ones. value(i) gives the value of
// keywords[i]; it is asked only for keywords text holds, once each. Each
// keyword starts with "%" and ends with ";", and holds neither inside.
std::string ReplaceKeywordsInOrder(std::string text, std::span<const std::string_view> keywords,
    const std::function<std::string(std::size_t index)>& value);

// Text from someone else's file with every "%" that begins a keyword's
// form ("%comment;") made the full-width "％": a value put in by one keyword
// is open to the later ones, so such text would pull other fields, markup
// included, into places they were never meant for. Code page 932 in and
// out; a "%" anywhere else ("100% free") stays.
std::string DefusedKeywords(std::string_view sjisText);

} // namespace tessaly
