#pragma once

#include "cli/commands/Command.h"

namespace tessaly::cli {

class SimpleDesignCommand final : public Command {
public:
    SimpleDesignCommand();

private:
    int Execute(const Arguments& args, Streams streams) const override;
};

} // namespace tessaly::cli
