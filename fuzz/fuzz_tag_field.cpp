// Tag attribute parsing on any bytes: no crash, and once rebuilt, a tag text
// parses and rebuilds to itself. (The first rebuild may drop degenerate
// fields such as an empty name without value; control bytes at the ends of
// the text are trimmed away by every parse, so such texts are only run.)

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/text/TagField.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string input(reinterpret_cast<const char*>(data), size);
    const tessaly::TTagField tag(input);
    const std::string text = tessaly::TTagField(tag.Text()).Text();
    const bool hasControlBytes
        = std::any_of(input.begin(), input.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20; });
    if (!hasControlBytes && tessaly::TTagField(text).Text() != text) {
        std::abort();
    }
    for (int i = 0; i < tag.Count(); ++i) {
        tag.IndexOf(tag.Name(i), true);
    }
    return 0;
}
