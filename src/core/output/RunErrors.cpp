#include "core/output/RunErrors.h"

#include "core/text/Paths.h"

namespace tessaly {

std::filesystem::path RequireFsPath(const std::string& path)
{
    std::optional<std::filesystem::path> converted = ToFsPath(path);
    if (!converted) {
        throw RunFailure{Utf8Text("cannot convert the path " + ToUtf8(SjisText(path)).bytes() + " to a file name")};
    }
    return std::move(*converted);
}

} // namespace tessaly
