#pragma once

#include "cli/commands/Command.h"

namespace tessaly::cli {

class ExportBookmarksCommand final : public Command {
public:
    ExportBookmarksCommand();

private:
    int Execute(const Arguments& args, Streams streams) const override;
};

} // namespace tessaly::cli
