#pragma once

// The check of a written site for links and images inside it whose files
// are not there: pages read from disk, their addresses resolved as a
// browser resolves them, and each file looked for once.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "core/collection/Project.h"
#include "core/site/PageTargets.h"

namespace tessaly {

struct SiteCheckOptions {
    // What a server gives for the address of a directory (UTF-8).
    std::string defaultFile{kDefaultFileName};
    // The path of the site's address ("/~hanako/links/", see BaseUrlPath),
    // against which root-absolute addresses ("/~hanako/links/a.html")
    // resolve; without it they are not checked.
    std::optional<std::string> basePath;
};

struct BrokenTarget {
    std::string page; // from the root, "/"-separated, UTF-8
    std::string target; // as the page gives it (UTF-8, character references decoded)
    TargetKind kind = TargetKind::Link;

    friend bool operator==(const BrokenTarget&, const BrokenTarget&) = default;
};

// A page or directory that could not be read.
struct SiteProblem {
    std::string path; // from the root, UTF-8
    std::string error; // the system's reason, naming the file
};

struct SiteCheckResult {
    std::vector<BrokenTarget> broken; // by page, then in the order of the page
    std::vector<SiteProblem> unread;
    std::size_t pages = 0; // pages read
};

// Checks the addresses of the pages (paths from the root as the file system
// spells them, "/"-separated) that lie inside the site, after the rules of
// a browser: addresses with a scheme ("http:", "mailto:", "javascript:",
// "data:"...) or a host ("//host/") and those of a fragment alone ("#top")
// are passed over; of the rest the query and the fragment are cut off, the
// path percent-decoded and resolved against the page's directory (or its
// <base>). Characters written as they are are read in the page's encoding,
// percent escapes as the bytes of the name on disk, whose names are UTF-8.
// An address that leads out of the root (or out of the base path) is not
// the site's and is passed over. An address is broken when no file is
// there, and when it names a directory without the default file.
SiteCheckResult CheckSite(
    const std::filesystem::path& root, std::vector<std::string> pages, const SiteCheckOptions& options = {});

struct SitePages {
    std::vector<std::string> pages; // sorted
    std::vector<SiteProblem> unread; // directories that could not be listed
};

// Every .html and .htm file under root (in any case), symbolic links to
// files included, to directories not followed.
SitePages FindSitePages(const std::filesystem::path& root);

} // namespace tessaly
