#pragma once

// The keyword reference of the template dialog: every symbol a template may
// hold, where it may stand and what it means.

#include <string>
#include <string_view>
#include <vector>

namespace tessaly {

struct TemplateKeyword {
    std::string Symbol;
    std::string Place; // "本体のみ" (body only) or empty (anywhere)
    std::string Kind; // "キーワード" or "条件分岐"
    std::string Description;

    // Body-only symbols go into the body only.
    bool BodyOnly() const { return !Place.empty(); }
    bool InsertableInto(bool bodyPart) const { return bodyPart || !BodyOnly(); }

    friend bool operator==(const TemplateKeyword&, const TemplateKeyword&) = default;
};

// One row per line: the text before the first tab, between the first and
// second, between the second and third, and all after the third; a line
// with fewer tabs leaves the later fields empty.
std::vector<TemplateKeyword> ParseTemplateKeywords(std::string_view text);

// The rows of the built-in reference list.
const std::vector<TemplateKeyword>& TemplateKeywords();

} // namespace tessaly
