// The whole output run over a small site whose design files and page names
// come from the fuzzer: it must not crash or hang, must change nothing
// outside the site root, and must leave the site's design files and page
// templates as they were.
//
// The input is split at lines "#--" into the designs of the root, "a",
// "a/b" and "c", and the project's default and sub page names (one line
// each).

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "core/collection/LinkItem.h"
#include "core/collection/Project.h"
#include "core/design/DirectoryDesign.h"
#include "core/output/OutputRun.h"
#include "core/output/PageAssembly.h"
#include "core/text/Codepage.h"
#include "core/text/Paths.h"
#include "core/text/Strings.h"

namespace {

namespace fs = std::filesystem;

std::string ReadFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream data;
    data << in.rdbuf();
    return data.str();
}

void WriteFile(const fs::path& path, std::string_view data)
{
    std::ofstream out(path, std::ios::binary);
    out.write(data.data(), static_cast<std::streamsize>(data.size()));
}

// Every entry below directory with its contents (files) or kind.
std::map<std::string, std::string> Snapshot(const fs::path& directory, const fs::path& skip = {})
{
    std::map<std::string, std::string> entries;
    std::error_code error;
    for (auto entry = fs::recursive_directory_iterator(directory, error);
         !error && entry != fs::recursive_directory_iterator(); entry.increment(error)) {
        if (entry->path() == skip) {
            entry.disable_recursion_pending();
            continue;
        }
        const fs::file_status status = entry->symlink_status();
        entries[entry->path().string()] = fs::is_regular_file(status) ? ReadFile(entry->path())
            : fs::is_symlink(status) ? "link to " + fs::read_symlink(entry->path()).string()
                                     : "other";
    }
    return entries;
}

// A sandbox with canaries around the site root, made once per process.
struct Sandbox {
    fs::path base;
    fs::path site;
    std::map<std::string, std::string> outside;
    tessaly::Project project;

    Sandbox()
    {
        const fs::path temporary = fs::exists("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path();
        std::string pattern = (temporary / "tessaly-fuzz-XXXXXX").string();
        base = ::mkdtemp(pattern.data());
        site = base / "outer" / "site";
        fs::create_directories(site);
        for (const fs::path& canary : {base / "canary.txt", base / "index.html", base / "outer" / "index.html",
                 base / "outer" / "pages002.html", base / "outer" / "_design.tsd"}) {
            WriteFile(canary, "canary " + canary.string());
        }
        outside = Snapshot(base, site);
        project.RootDir = *tessaly::FromFsPath(site);
        for (const std::string genre : {"A", "B"}) {
            const std::size_t index = project.AddGenre(genre);
            for (int i = 1; i <= 4; ++i) {
                tessaly::TLinkItem item;
                item.Serial = static_cast<int32_t>(index * 10 + static_cast<std::size_t>(i));
                item.GenreName = genre;
                item.Title = genre + std::to_string(i);
                item.TitleKana = SJ("あ");
                item.AuthorKana = SJ("い");
                item.Url = "example.jp/" + genre;
                item.Attributes = i % 2 == 0 ? "even" : "";
                project.Genres[index].Lines.push_back(tessaly::ItemToLine(item));
            }
        }
    }

    ~Sandbox()
    {
        std::error_code ignored;
        fs::remove_all(base, ignored);
    }

    // The site as each input starts: directories, designs and a template.
    void Reset(const std::vector<std::string_view>& designs)
    {
        fs::remove_all(site);
        fs::create_directories(site / "a" / "b");
        fs::create_directories(site / "c");
        WriteFile(site / "tpl.html", "<P>%links;</P>\r\n");
        WriteFile(site / "a" / "pages002.html", "<P>%directorylinks;</P>\r\n");
        const fs::path directories[] = {site, site / "a", site / "a" / "b", site / "c"};
        for (std::size_t i = 0; i < std::size(directories) && i < designs.size(); ++i) {
            WriteFile(directories[i] / "_design.tsd", designs[i]);
        }
    }
};

// The page templates that the designs of the site name, as the run reads
// them.
std::set<fs::path> TemplatesOfTheRun(const tessaly::Project& project)
{
    const std::string root = tessaly::WithTrailingSlash(project.RootDir);
    const tessaly::DesignDefaults defaults{project.DefaultFile, project.SubFile, tessaly::TDateTime{38000}};
    std::set<fs::path> templates;
    for (const char* directory : {"", "a/", "a/b/", "c/"}) {
        tessaly::TDirectoryDesign design;
        if (!tessaly::ReadDesignWithSuccession(root, root + directory, design, defaults) || !design.htmlOutputs) {
            continue;
        }
        for (const std::string* path : {&design.html.templateDef, &design.html.templateSub}) {
            const std::optional<fs::path> file = tessaly::ToFsPath(tessaly::SitePath(root, *path));
            std::error_code error;
            if (!path->empty() && file) {
                templates.insert(fs::weakly_canonical(*file, error));
            }
        }
    }
    return templates;
}

std::vector<std::string_view> Parts(std::string_view input)
{
    std::vector<std::string_view> parts;
    for (;;) {
        const std::size_t separator = input.find("\n#--\n");
        parts.push_back(input.substr(0, separator));
        if (separator == std::string_view::npos) {
            return parts;
        }
        input.remove_prefix(separator + 5);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static Sandbox sandbox;
    const std::vector<std::string_view> parts = Parts(std::string_view(reinterpret_cast<const char*>(data), size));
    sandbox.Reset(parts);
    tessaly::Project project = sandbox.project;
    if (parts.size() > 4) {
        const std::vector<std::string_view> names = tessaly::SplitLines(parts[4]);
        project.DefaultFile = names.empty() ? "index.html" : std::string(names[0]);
        project.SubFile = names.size() < 2 ? "pages.html" : std::string(names[1]);
    }
    const auto ownFiles = Snapshot(sandbox.site);
    tessaly::FixedClock clock{tessaly::TDateTime{38000}};
    tessaly::OutputObserver quiet;
    tessaly::RunOutput(project, project.RootDir, clock, quiet);

    if (Snapshot(sandbox.base, sandbox.site) != sandbox.outside) {
        std::abort(); // something outside the root changed
    }
    const std::set<fs::path> templates = TemplatesOfTheRun(project);
    const auto after = Snapshot(sandbox.site);
    for (const auto& [path, contents] : ownFiles) {
        std::error_code error;
        const bool own = path.ends_with("/_design.tsd") || templates.contains(fs::weakly_canonical(path, error));
        const auto now = after.find(path);
        if (own && (now == after.end() || now->second != contents)) {
            std::abort(); // a design file or page template was replaced or deleted
        }
    }
    return 0;
}
