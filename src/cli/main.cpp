#include <iostream>
#include <string_view>
#include <vector>

#include "cli/CommandLine.h"

int main(int argc, char** argv)
{
    const std::vector<std::string_view> args(argv + 1, argv + argc);
    return tessaly::cli::RunCommand(args, {std::cout, std::cerr});
}
