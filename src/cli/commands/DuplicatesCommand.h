#pragma once

#include "cli/commands/Command.h"

namespace tessaly::cli {

class DuplicatesCommand final : public Command {
public:
    DuplicatesCommand();

private:
    int Execute(const Arguments& args, Streams streams) const override;
};

} // namespace tessaly::cli
