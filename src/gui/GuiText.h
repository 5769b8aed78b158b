#pragma once

// Text at the widget edge: the core's code page 932 bytes to QString and
// back. Text that code page 932 cannot hold is refused, never replaced.

#include <optional>
#include <string>
#include <string_view>

#include <QString>

#include "core/util/AtomicFile.h"

namespace tessaly {

QString ToQString(std::string_view sjis);

// Nothing when text holds a character code page 932 cannot represent; that
// character is then put into badCharacter when given.
std::optional<std::string> ToSjis(const QString& text, QString* badCharacter = nullptr);

// The message for text that holds a character code page 932 cannot
// represent; it names the character by its code ("U+1F600"), since the
// message itself is code page 932 text.
std::string UnrepresentableMessage(const QString& character);

// The message for a file the program could not write: what went wrong, and
// the system's reason where that is all there is to say.
std::string FileWriteFailureMessage(WriteFailure failure, const std::string& systemError, const QString& fileName);

// For fixed program texts, which always convert.
std::string ToSjisOrEmpty(const QString& text);

} // namespace tessaly
