#pragma once

#include "cli/commands/Command.h"

namespace tessaly::cli {

class DizCommand final : public Command {
public:
    DizCommand();

private:
    int Execute(const Arguments& args, Streams streams) const override;
};

} // namespace tessaly::cli
