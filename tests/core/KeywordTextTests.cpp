#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "core/text/Codepage.h"
#include "core/text/KeywordText.h"

using namespace tessaly;

namespace {

constexpr std::array<std::string_view, 4> kKeywords{"%title;", "%url;", "%x;", "%titlerange;"};

// The rule itself: each keyword in turn, over the whole text as the earlier
// ones left it.
std::string OneAfterTheOther(std::string text, const std::array<std::string, 4>& values)
{
    for (std::size_t i = 0; i < kKeywords.size(); ++i) {
        for (std::size_t hit = text.find(kKeywords[i]); hit != std::string::npos;
             hit = text.find(kKeywords[i], hit + values[i].size())) {
            text.replace(hit, kKeywords[i].size(), values[i]);
        }
    }
    return text;
}

struct KeywordCase {
    std::string text;
    std::array<std::string, 4> values;
};

} // namespace

TEST(ReplaceKeywordsInOrder, GivesWhatReplacingOneKindAfterTheOtherGives)
{
    const std::array<std::string, 4> plain{"T", "http://a/", "88", "a-z"};
    const std::vector<KeywordCase> cases{
        {"", plain},
        {"no keywords at all", plain},
        {"%title;|%url;|%x;|%titlerange;|%title;", plain},
        {"100% sure %title;", plain}, // a lone "%" far enough away
        {"%%title;", plain}, // right in front of a keyword
        {"%x%title;", {";", "U", "X", "R"}}, // "%x" and the value of %title; form %x;, replaced later
        {"%u%x;", {"T", "U", "rl;", "R"}}, // they form %url;, whose turn is over
        {"%ur%x;", {"T", "U", "l;", "R"}},
        {"%%x;", {"T", "U", "x;", "R"}},
        {"%title;", {"%url;", "U", "X", "R"}}, // a value that holds a later keyword
        {"%url;", {"T", "%title;", "X", "R"}}, // ... and an earlier one
        {"%x;%titlerange", {"T", "U", "%title", "R"}},
        {"%title;%url;", {"50%", "off;", "X", "R"}},
        {"%title %url; %x %titlerange;;", plain},
        {"a%b%c%title;%", plain},
    };
    for (const KeywordCase& c : cases) {
        std::vector<std::size_t> asked;
        const std::string replaced = ReplaceKeywordsInOrder(c.text, kKeywords, [&](std::size_t index) {
            asked.push_back(index);
            return c.values[index];
        });
        EXPECT_EQ(replaced, OneAfterTheOther(c.text, c.values)) << c.text;
        std::vector<std::size_t> once = asked;
        std::sort(once.begin(), once.end());
        EXPECT_EQ(std::unique(once.begin(), once.end()), once.end()) << "a value was asked for twice: " << c.text;
    }
}

// Text from someone else's file never reads as a keyword of the pages.
TEST(KeywordText, KeywordFormsFromOutsideAreDefused)
{
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"%comment;", SJ("％comment;")},
        {SJ("100% 無料; %title; %;"), SJ("100% 無料; ％title; %;")},
        {"%%attribute;", SJ("%％attribute;")},
        {"%x", "%x"},
        {SJ("ソ%date;"), SJ("ソ％date;")},
    };
    for (const auto& [text, defused] : cases) {
        EXPECT_EQ(DefusedKeywords(text), defused) << text;
    }
}
