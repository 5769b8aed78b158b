#pragma once

#include "cli/commands/Command.h"

namespace tessaly::cli {

class TidyCommand final : public Command {
public:
    TidyCommand();

private:
    int Execute(const Arguments& args, Streams streams) const override;
};

} // namespace tessaly::cli
