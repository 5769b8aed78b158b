// The RKM import on any bytes: it must not crash or hang, and every link it
// stores must be read back when the project is saved and opened again.

#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/collection/LinkItem.h"
#include "core/collection/Project.h"
#include "core/collection/ProjectFile.h"
#include "core/tools/RkmImport.h"

namespace {

std::size_t ItemCount(const tessaly::Project& project)
{
    std::size_t count = 0;
    for (const tessaly::Genre& genre : project.Genres) {
        count += genre.Lines.size();
    }
    return count;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string input(reinterpret_cast<const char*>(data), size);
    tessaly::Project project;
    const tessaly::RkmImportResult result
        = tessaly::ImportRkmText(project, input, *tessaly::EncodeDateTime({2004, 3, 1}));
    if (ItemCount(project) != result.stored || !project.Genres.back().Lines.empty()) {
        std::abort();
    }
    for (const tessaly::Genre& genre : project.Genres) {
        for (const std::string& line : genre.Lines) {
            if (!tessaly::IsValidItemLine(line)) {
                std::abort();
            }
        }
    }
    tessaly::Project reread;
    tessaly::LoadProjectText(reread, tessaly::ProjectFileText(project));
    if (ItemCount(reread) != result.stored) {
        std::abort();
    }
    return 0;
}
