// A page of a written site as the site check reads it, in either encoding,
// with links of every kind: no crash or hang, and no more broken targets
// than the page gives.

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "core/site/PageTargets.h"
#include "core/site/SiteCheck.h"

namespace {

// A site of one page in a directory of its own, next to the default file.
std::filesystem::path MakeSite()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "tessaly-fuzz-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        std::abort();
    }
    std::filesystem::create_directory(std::filesystem::path(pattern) / "sub");
    std::ofstream(std::filesystem::path(pattern) / "sub" / "index.html") << "";
    return pattern;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const std::filesystem::path root = MakeSite();
    const std::string html(reinterpret_cast<const char*>(data), size);
    std::ofstream(root / "sub" / "page.html", std::ios::binary | std::ios::trunc) << html;
    const tessaly::PageTargets found = tessaly::FindPageTargets(html);
    tessaly::SiteCheckOptions options;
    options.basePath = "/links/";
    const tessaly::SiteCheckResult result = tessaly::CheckSite(root, {"sub/page.html"}, options);
    if (result.broken.size() > found.targets.size()) {
        std::abort();
    }
    return 0;
}
