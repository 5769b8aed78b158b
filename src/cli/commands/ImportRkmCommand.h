#pragma once

#include "cli/commands/Command.h"

namespace tessaly::cli {

class ImportRkmCommand final : public Command {
public:
    ImportRkmCommand();

private:
    int Execute(const Arguments& args, Streams streams) const override;
};

} // namespace tessaly::cli
