#pragma once

// What the file in a page's place holds, and whether it is the page as the
// run would write it. Nothing is changed, so that pages can be looked at
// ahead of the writes on any thread.

#include <filesystem>
#include <string>
#include <string_view>

namespace tessaly {

enum class ExistingPage {
    Missing,
    Link, // a symbolic link: left alone
    NotAFile, // a directory, FIFO and the like: left alone
    Same, // the page as it would be written
    Different, // another text, or one that cannot be read
};

struct PageOnDisk {
    ExistingPage existing = ExistingPage::Missing;
    // The file has other names (hard links): writing one page in place can
    // change what another holds.
    bool shared = false;
};

// text: the page as it would be written (PageFileText).
PageOnDisk ProbePage(const std::filesystem::path& file, std::string_view text);

// A page text as lines ended by CR LF, the form in which pages are written
// and compared.
std::string PageFileText(std::string text);

} // namespace tessaly
