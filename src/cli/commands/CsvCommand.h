#pragma once

#include "cli/commands/Command.h"

namespace tessaly::cli {

class CsvCommand final : public Command {
public:
    CsvCommand();

private:
    int Execute(const Arguments& args, Streams streams) const override;
};

} // namespace tessaly::cli
