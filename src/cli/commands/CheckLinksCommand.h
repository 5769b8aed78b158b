#pragma once

#include "cli/commands/Command.h"

namespace tessaly::cli {

class CheckLinksCommand final : public Command {
public:
    CheckLinksCommand();

private:
    int Execute(const Arguments& args, Streams streams) const override;
};

} // namespace tessaly::cli
