#pragma once

#include "cli/commands/Command.h"

namespace tessaly::cli {

class SearchCommand final : public Command {
public:
    SearchCommand();

private:
    int Execute(const Arguments& args, Streams streams) const override;
};

} // namespace tessaly::cli
