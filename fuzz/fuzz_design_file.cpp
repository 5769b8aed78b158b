// The design file reader on any bytes: no crash, and the writer's text of
// what was read reads back to the same text.

#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/design/DirectoryDesign.h"

namespace {

std::string Rewritten(const std::string& text)
{
    tessaly::TDirectoryDesign design;
    tessaly::ResetDesign(design, {});
    tessaly::ParseDesignText(text, design);
    return tessaly::DesignFileText(design);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string once = Rewritten(std::string(reinterpret_cast<const char*>(data), size));
    const std::string twice = Rewritten(once);
    if (Rewritten(twice) != twice) {
        std::abort();
    }
    return 0;
}
