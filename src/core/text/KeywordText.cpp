#include "core/text/KeywordText.h"

#include <algorithm>
#include <cctype>
#include <optional>
#include <vector>

#include "core/text/Codepage.h"
#include "core/text/Sjis.h"

namespace tessaly {

namespace {

constexpr std::size_t kNone = std::string::npos;

// The long way: one pass over the whole text per keyword it holds.
std::string ReplaceOneByOne(std::string text, std::span<const std::string_view> keywords,
    std::vector<std::optional<std::string>>& values, const std::function<std::string(std::size_t)>& value)
{
    for (std::size_t i = 0; i < keywords.size(); ++i) {
        const std::string_view keyword = keywords[i];
        if (text.find(keyword) == kNone) {
            continue;
        }
        if (!values[i]) {
            values[i] = value(i);
        }
        text = sjis::ReplaceAll(text, keyword, *values[i]);
    }
    return text;
}

} // namespace

std::string ReplaceKeywordsInOrder(std::string text, std::span<const std::string_view> keywords,
    const std::function<std::string(std::size_t index)>& value)
{
    // All at once in one pass when that gives the same text: when no value
    // holds a "%", a replacement can form a later keyword only together
    // with a "%" in the text that starts no keyword and stands closer to
    // the replaced keyword than the longest keyword is long.
    std::vector<std::optional<std::string>> values(keywords.size());
    std::size_t longest = 0;
    for (const std::string_view keyword : keywords) {
        longest = std::max(longest, keyword.size());
    }
    std::string result;
    std::size_t copied = 0;
    std::size_t lonePercent = kNone;
    for (std::size_t percent = text.find('%'); percent != kNone; percent = text.find('%', percent)) {
        const std::string_view rest = std::string_view(text).substr(percent);
        const auto known = std::find_if(
            keywords.begin(), keywords.end(), [rest](std::string_view keyword) { return rest.starts_with(keyword); });
        if (known == keywords.end()) {
            lonePercent = percent++;
            continue;
        }
        const auto index = static_cast<std::size_t>(known - keywords.begin());
        if (!values[index]) {
            values[index] = value(index);
        }
        if ((lonePercent != kNone && percent - lonePercent < longest) || values[index]->find('%') != kNone) {
            return ReplaceOneByOne(std::move(text), keywords, values, value);
        }
        result.append(text, copied, percent - copied);
        result += *values[index];
        percent += known->size();
        copied = percent;
    }
    if (copied == 0) {
        return text; // no keyword
    }
    result.append(text, copied);
    return result;
}

std::string DefusedKeywords(std::string_view sjisText)
{
    std::string text;
    text.reserve(sjisText.size());
    // "%" and the ASCII letters are never the second byte of a character,
    // so a byte search finds only real ones.
    for (std::size_t at = 0; at < sjisText.size(); ++at) {
        std::size_t end = at + 1;
        if (sjisText[at] == '%') {
            while (end < sjisText.size() && std::isalpha(static_cast<unsigned char>(sjisText[end])) != 0) {
                ++end;
            }
        }
        if (end > at + 1 && end < sjisText.size() && sjisText[end] == ';') {
            text += SJ("％");
        } else {
            text += sjisText[at];
        }
    }
    return text;
}

} // namespace tessaly
