#pragma once

// Item templates, conditional blocks and the rendering of link items.

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/collection/LinkItem.h"

namespace tessaly {

class Project;

struct TTemplateRec {
    std::string Name;
    std::string Header;
    std::string Body;
    std::string Footer;
    std::string AttrTop;
    std::string AttrEnd;
    std::string AttrQuot;

    friend bool operator==(const TTemplateRec&, const TTemplateRec&) = default;
};

// Page and item template files larger than this are not used.
inline constexpr std::size_t kTemplateFileLimit = std::size_t{16} << 20;

const std::string& SimpleTemplateName(); // "標準簡易"
const std::string& DetailTemplateName(); // "標準詳細"
TTemplateRec BuiltinSimpleTemplate();
TTemplateRec BuiltinDetailTemplate();

// The stored form: the seven fields escaped and joined by "/".
std::string StoredTemplateForm(const TTemplateRec& rec);
std::optional<TTemplateRec> ParseStoredTemplate(std::string_view stored);

// The built-ins by their names, else the first user template of that exact
// name, else the standard simple template.
TTemplateRec FindItemTemplate(const Project& project, std::string_view name);
// The names a template list offers: the two built-ins, then the name of
// each user template in list order (its first line, should it hold a line
// break).
std::vector<std::string> ItemTemplateNames(const Project& project);

// Result of a condition: 0 not recognised, 1 true, 2 false.
using ConditionEvaluator = std::function<int(std::string_view operation, std::string_view argument)>;

// Resolves every "<!--if op arg-->then<!--else-->else<!--end-->" block,
// innermost (last) first.
std::string ExpandConditionalBlocks(std::string text, const ConditionEvaluator& evaluator);

int EvaluateItemCondition(const LinkItemView& item, std::string_view operation, std::string_view argument);

struct PageConditionFlags {
    bool Root = false;
    bool Default = false;
    bool Dirs = false;
    bool Hits = false;
    bool Links = false;
};

int EvaluatePageCondition(const PageConditionFlags& flags, std::string_view operation, std::string_view argument);

// One item through the template's body.
std::string RenderItem(const LinkItemView& item, const TTemplateRec& rec, std::string_view bannerPrefix);

// Appends the header, the bodies and the footer, without blanks at line
// ends and without empty lines (of the list: the text in front of it in out
// stays as it is).
void AppendItemList(std::string& out, const TTemplateRec& rec, const std::vector<const LinkItemView*>& items,
    std::string_view bannerPrefix);

} // namespace tessaly
