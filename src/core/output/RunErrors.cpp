#include "core/output/RunErrors.h"

#include "core/text/Codepage.h"
#include "core/text/Paths.h"

namespace tessaly {

std::filesystem::path RequireFsPath(const std::string& path)
{
    std::optional<std::filesystem::path> converted = ToFsPath(path);
    if (!converted) {
        throw RunFailure{"cannot convert the path " + SjisToUtf8Lossy(path) + " to a file name"};
    }
    return std::move(*converted);
}

std::string Utf8ForLog(const std::string& utf8)
{
    ConversionResult sjis = Utf8ToSjis(utf8);
    return sjis.ok ? std::move(sjis.text) : std::string();
}

} // namespace tessaly
