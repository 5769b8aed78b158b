#pragma once

#include "cli/commands/Command.h"

namespace tessaly::cli {

class InfoCommand final : public Command {
public:
    InfoCommand();

private:
    int Execute(const Arguments& args, Streams streams) const override;
};

} // namespace tessaly::cli
