#pragma once

#include "cli/commands/Command.h"

namespace tessaly::cli {

class CheckSiteCommand final : public Command {
public:
    CheckSiteCommand();

private:
    int Execute(const Arguments& args, Streams streams) const override;
};

} // namespace tessaly::cli
