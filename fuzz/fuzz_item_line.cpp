// The item line codec on any bytes: a line that passes the validity check
// must decode and encode without crashing, and re-encoding is stable.

#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/collection/LinkItem.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string input(reinterpret_cast<const char*>(data), size);
    if (!tessaly::IsValidItemLine(input)) {
        tessaly::LineToItem(input); // must not crash either
        return 0;
    }
    const std::string line = tessaly::ItemToLine(tessaly::LineToItem(input));
    if (tessaly::ItemToLine(tessaly::LineToItem(line)) != line) {
        std::abort();
    }
    tessaly::ItemToReadableText(tessaly::LineToItem(line));
    return 0;
}
