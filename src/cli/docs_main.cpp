// Writes the manual page and the bash completion of tessaly-cli from the
// declarations --help prints, so that neither can fall behind it. Run by the
// build; not installed.

#include <iostream>
#include <string_view>

#include "cli/Docs.h"

int main(int argc, char** argv)
{
    const std::string_view what = argc > 1 ? argv[1] : "";
    if (what == "man" && argc == 3) {
        tessaly::cli::WriteManPage(std::cout, argv[2]);
    } else if (what == "bash-completion" && argc == 2) {
        tessaly::cli::WriteBashCompletion(std::cout);
    } else {
        std::cerr << "usage: tessaly-cli-docs man VERSION | bash-completion\n";
        return 2;
    }
    return std::cout.flush() ? 0 : 1;
}
