#include "platform/QtShellServices.h"

#include <QDesktopServices>
#include <QProcess>
#include <QStringList>
#include <QUrl>

#include "core/text/Codepage.h"

namespace tessaly {

namespace {

QString FromSjis(std::string_view text)
{
    return QString::fromStdString(SjisToUtf8Lossy(text));
}

} // namespace

void QtShellServices::OpenDocument(std::string_view address)
{
    QDesktopServices::openUrl(QUrl::fromUserInput(FromSjis(address)));
}

bool QtShellServices::DdeOpenUrl(std::string_view, std::string_view, std::string_view)
{
    return false;
}

void QtShellServices::StartProgram(std::string_view program, const std::vector<std::string>& arguments)
{
    QStringList list;
    for (const std::string& argument : arguments) {
        list.append(FromSjis(argument));
    }
    QProcess::startDetached(FromSjis(program), list);
}

bool QtShellServices::HasMailProgram()
{
    QProcess query;
    query.start(QStringLiteral("xdg-mime"), {QStringLiteral("query"), QStringLiteral("default"),
                                                QStringLiteral("x-scheme-handler/mailto")});
    if (!query.waitForFinished(3000) || query.exitCode() != 0) {
        return false;
    }
    return !query.readAllStandardOutput().trimmed().isEmpty();
}

} // namespace tessaly
