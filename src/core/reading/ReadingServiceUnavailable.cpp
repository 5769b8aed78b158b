// Built without MeCab: no readings are suggested.

#include "core/reading/ReadingService.h"

namespace tessaly {

ReadingServiceStatus OpenReadingService(const ReadingDictionaryPaths&)
{
    return {nullptr, "this build of Tessaly suggests no readings (built without MeCab)"};
}

} // namespace tessaly
