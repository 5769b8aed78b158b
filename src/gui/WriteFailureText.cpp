#include "WriteFailureText.h"

#include "GuiText.h"
#include "collection/ProjectFile.h"

namespace tessaly {

std::string WriteFailureText(const QString& fileName, WriteFailure failure, const std::string& error)
{
    std::string message = SaveFailureMessage(failure, ToSjisOrEmpty(fileName));
    if (failure == WriteFailure::System) {
        // The system's text is UTF-8 and may name the file in it.
        message += "\r\n" + ToSjisOrEmpty(QString::fromStdString(error));
    }
    return message;
}

} // namespace tessaly
