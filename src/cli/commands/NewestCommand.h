#pragma once

#include "cli/commands/Command.h"

namespace tessaly::cli {

class NewestCommand final : public Command {
public:
    NewestCommand();

private:
    int Execute(const Arguments& args, Streams streams) const override;
};

} // namespace tessaly::cli
