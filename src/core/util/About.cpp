#include "core/util/About.h"

#ifndef TESSALY_VERSION
#error "TESSALY_VERSION must name the program's version"
#endif

namespace tessaly {

std::string_view ProgramVersion()
{
    return TESSALY_VERSION;
}

} // namespace tessaly
