#pragma once

#include "cli/commands/Command.h"

namespace tessaly::cli {

class PublishCommand final : public Command {
public:
    PublishCommand();

private:
    int Execute(const Arguments& args, Streams streams) const override;
};

} // namespace tessaly::cli
