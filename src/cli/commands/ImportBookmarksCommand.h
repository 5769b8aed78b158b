#pragma once

#include "cli/commands/Command.h"

namespace tessaly::cli {

class ImportBookmarksCommand final : public Command {
public:
    ImportBookmarksCommand();

private:
    int Execute(const Arguments& args, Streams streams) const override;
};

} // namespace tessaly::cli
