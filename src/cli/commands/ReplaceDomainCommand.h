#pragma once

#include "cli/commands/Command.h"

namespace tessaly::cli {

class ReplaceDomainCommand final : public Command {
public:
    ReplaceDomainCommand();

private:
    int Execute(const Arguments& args, Streams streams) const override;
};

} // namespace tessaly::cli
