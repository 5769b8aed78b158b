// The bookmark reader on any bytes, and the import of what it reads.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/collection/LinkItem.h"
#include "core/collection/Project.h"
#include "core/reading/ReadingService.h"
#include "core/text/Codepage.h"
#include "core/text/DateTime.h"
#include "KanaReadings.h"
#include "core/tools/BookmarkFile.h"
#include "core/tools/BookmarkImport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    const tessaly::BookmarkFile file
        = tessaly::ReadBookmarkFile(std::string_view(reinterpret_cast<const char*>(data), size));
    tessaly::Project project;
    const tessaly::FixedClock clock(*tessaly::EncodeDateTime({2024, 4, 1}));
    tessaly::ImportBookmarks(project, file.bookmarks, tessaly::fuzz::KanaReadings(), clock);
    for (const tessaly::Genre& genre : project.Genres) {
        for (const std::string& line : genre.Lines) {
            if (!tessaly::IsValidItemLine(line)) {
                __builtin_trap();
            }
        }
    }
    return 0;
}
