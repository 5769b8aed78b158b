#include "platform/FileAssociation.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSaveFile>
#include <QStandardPaths>
#include <QTextStream>

#include "core/text/Paths.h"

namespace tessaly {

namespace {

constexpr const char* kTypeName = "TSY_ProjectFile";

bool WriteText(const QString& path, const QString& text)
{
    QDir().mkpath(QFileInfo(path).path());
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return false;
    }
    file.write(text.toUtf8());
    return file.commit();
}

QString ReadText(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// The value of key in the [Default Applications] group of mimeapps.list.
QString DefaultApplication(const QString& mimeApps, const QString& mimeType)
{
    bool inGroup = false;
    for (const QString& line : mimeApps.split(QLatin1Char('\n'))) {
        const QString trimmed = line.trimmed();
        if (trimmed.startsWith(QLatin1Char('['))) {
            inGroup = trimmed == QLatin1String("[Default Applications]");
        } else if (inGroup && trimmed.startsWith(mimeType + QLatin1Char('='))) {
            return trimmed.mid(mimeType.size() + 1).section(QLatin1Char(';'), 0, 0);
        }
    }
    return {};
}

// mimeApps with the mime type's default set to entry, or removed when entry
// is empty; other lines stay as they are.
QString WithDefaultApplication(const QString& mimeApps, const QString& mimeType, const QString& entry)
{
    QStringList lines = mimeApps.isEmpty() ? QStringList() : mimeApps.split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.back().isEmpty()) {
        lines.removeLast();
    }
    int group = -1;
    for (int i = 0; i < lines.size(); ++i) {
        const QString trimmed = lines[i].trimmed();
        if (trimmed == QLatin1String("[Default Applications]")) {
            group = i;
        } else if (group >= 0 && trimmed.startsWith(QLatin1Char('['))) {
            break;
        } else if (group >= 0 && trimmed.startsWith(mimeType + QLatin1Char('='))) {
            lines.removeAt(i--);
        }
    }
    if (!entry.isEmpty()) {
        if (group < 0) {
            lines.append(QStringLiteral("[Default Applications]"));
            group = static_cast<int>(lines.size()) - 1;
        }
        lines.insert(group + 1, mimeType + QLatin1Char('=') + entry);
    }
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

} // namespace

FileAssociation::FileAssociation(QString program, QString dataDirectory, QString configDirectory)
    : program_(std::move(program))
    , data_(dataDirectory.isEmpty() ? QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
                                    : std::move(dataDirectory))
    , config_(configDirectory.isEmpty() ? QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
                                        : std::move(configDirectory))
{
}

QString FileAssociation::EntryPath(const QString& name) const
{
    return data_ + QStringLiteral("/applications/") + name;
}

QString FileAssociation::ExecLine() const
{
    const std::string canonical = LongPathName(program_.toStdString());
    return QStringLiteral("Exec=\"%1\" %f").arg(QString::fromStdString(canonical));
}

bool FileAssociation::EntryIsOurs(const QString& name) const
{
    return ReadText(EntryPath(name)).split(QLatin1Char('\n')).contains(ExecLine(), Qt::CaseInsensitive);
}

QString FileAssociation::InstalledEntry() const
{
    const QString share
        = QDir::cleanPath(QFileInfo(program_).absolutePath() + QStringLiteral("/../share")) + QLatin1Char('/');
    const QString entry = QString::fromLatin1(kAppId) + QStringLiteral(".desktop");
    const bool installed = QFileInfo::exists(share + QStringLiteral("applications/") + entry)
        && QFileInfo::exists(
            share + QStringLiteral("mime/packages/") + QString::fromLatin1(kAppId) + QStringLiteral(".xml"));
    return installed ? entry : QString();
}

QString FileAssociation::DefaultEntry() const
{
    return DefaultApplication(ReadText(config_ + QStringLiteral("/mimeapps.list")), QString::fromLatin1(kMimeType));
}

QString FileAssociation::DesktopEntryName() const
{
    // The first free name: "TSY_ProjectFile", then "TSY_ProjectFile(1)", ...
    QString name = QString::fromLatin1(kTypeName);
    for (int n = 1; QFileInfo::exists(EntryPath(name + QStringLiteral(".desktop")))
         && !EntryIsOurs(name + QStringLiteral(".desktop"));
         ++n) {
        name = QStringLiteral("%1(%2)").arg(QString::fromLatin1(kTypeName)).arg(n);
    }
    return name + QStringLiteral(".desktop");
}

bool FileAssociation::IsAssociated() const
{
    const QString entry = DefaultEntry();
    return !entry.isEmpty() && (entry == InstalledEntry() || EntryIsOurs(entry));
}

bool FileAssociation::Associate()
{
    if (IsAssociated()) {
        return true;
    }
    const QString mimeApps = config_ + QStringLiteral("/mimeapps.list");
    const QString oldMimeApps = ReadText(mimeApps);
    if (const QString installed = InstalledEntry(); !installed.isEmpty()) {
        return WriteText(mimeApps, WithDefaultApplication(oldMimeApps, QString::fromLatin1(kMimeType), installed));
    }
    const QString entry = DesktopEntryName();
    const QString mimePackage = data_ + QStringLiteral("/mime/packages/tessaly-project.xml");
    const bool written
        = WriteText(mimePackage,
              QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                             "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
                             "  <mime-type type=\"%1\">\n"
                             "    <comment>Brindle TSY Project</comment>\n"
                             "    <glob pattern=\"*.TSP\" case-sensitive=\"false\"/>\n"
                             "  </mime-type>\n"
                             "</mime-info>\n")
                  .arg(QString::fromLatin1(kMimeType)))
        && WriteText(EntryPath(entry),
            QStringLiteral("[Desktop Entry]\nType=Application\nName=Brindle TSY Project\n"
                           "GenericName=プロジェクトを開く\n%1\nIcon=%2\n"
                           "MimeType=%3;\nNoDisplay=true\n")
                .arg(ExecLine(), QString::fromLatin1(kAppId), QString::fromLatin1(kMimeType)))
        && WriteText(mimeApps, WithDefaultApplication(oldMimeApps, QString::fromLatin1(kMimeType), entry));
    if (!written) {
        QFile::remove(EntryPath(entry));
        QFile::remove(mimePackage);
        return false;
    }
    Notify();
    return true;
}

bool FileAssociation::Unassociate()
{
    if (!IsAssociated()) {
        return true;
    }
    const QString entry = DefaultEntry();
    const QString mimeApps = config_ + QStringLiteral("/mimeapps.list");
    const bool defaultRemoved
        = WriteText(mimeApps, WithDefaultApplication(ReadText(mimeApps), QString::fromLatin1(kMimeType), {}));
    if (entry == InstalledEntry()) {
        // The installed entry and MIME type belong to the package.
        return defaultRemoved;
    }
    const bool removed = defaultRemoved && QFile::remove(EntryPath(entry));
    QFile::remove(data_ + QStringLiteral("/mime/packages/tessaly-project.xml"));
    if (removed) {
        Notify();
    }
    return removed;
}

void FileAssociation::Notify() const
{
    // Best effort: the desktop's caches are rebuilt when the tools exist.
    for (const auto& [tool, directory] :
        {std::pair{QStringLiteral("update-mime-database"), data_ + QStringLiteral("/mime")},
            std::pair{QStringLiteral("update-desktop-database"), data_ + QStringLiteral("/applications")}}) {
        const QString path = QStandardPaths::findExecutable(tool);
        if (!path.isEmpty()) {
            QProcess::execute(path, {directory});
        }
    }
}

} // namespace tessaly
