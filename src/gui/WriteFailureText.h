#pragma once

// The message for a user file that could not be written: the reason in
// words, and the system's own explanation where the system refused.

#include <string>

#include <QString>

#include "util/AtomicFile.h"

namespace tessaly {

// fileName as the user chose it; the result is code page 932.
std::string WriteFailureText(const QString& fileName, WriteFailure failure, const std::string& error);

} // namespace tessaly
