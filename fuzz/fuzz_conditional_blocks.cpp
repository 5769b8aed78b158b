// The conditional-block expander on any text: it must finish without
// crashing, and leave no block it could have resolved.

#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/templates/TemplateEngine.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1) {
        return 0;
    }
    // The first byte decides what the evaluator answers.
    const int answer = data[0] % 3;
    const std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);
    const std::string expanded
        = tessaly::ExpandConditionalBlocks(text, [answer](std::string_view, std::string_view) { return answer; });
    if (expanded.size() > text.size() || expanded.find("<!--if ") != std::string::npos) {
        std::abort();
    }
    tessaly::TLinkItem item;
    item.Author = "a";
    tessaly::RenderItem(item, {"t", "", text, "", "[", "]", ","}, "../");
    return 0;
}
