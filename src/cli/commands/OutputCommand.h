#pragma once

#include "cli/commands/Command.h"

namespace tessaly::cli {

class OutputCommand final : public Command {
public:
    OutputCommand();

private:
    int Execute(const Arguments& args, Streams streams) const override;
};

} // namespace tessaly::cli
