#pragma once

#include "cli/commands/Command.h"

namespace tessaly::cli {

class ResaveCommand final : public Command {
public:
    ResaveCommand();

private:
    int Execute(const Arguments& args, Streams streams) const override;
};

} // namespace tessaly::cli
