// The project file reader on any bytes: it must not crash or hang, and what
// the writer makes of its result must read back to the same file.

#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/collection/Project.h"
#include "core/collection/ProjectFile.h"

namespace {

std::string Resaved(const std::string& text)
{
    tessaly::Project project;
    tessaly::LoadProjectText(project, text);
    return tessaly::ProjectFileText(project);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string input(reinterpret_cast<const char*>(data), size);
    // The first pass may still move items into genres declared after them.
    const std::string second = Resaved(Resaved(input));
    if (Resaved(second) != second) {
        std::abort();
    }
    return 0;
}
