#pragma once

#include "cli/commands/Command.h"

namespace tessaly::cli {

class ReadingsCommand final : public Command {
public:
    ReadingsCommand();

private:
    int Execute(const Arguments& args, Streams streams) const override;
};

} // namespace tessaly::cli
