#pragma once

// The ".TSP" association on a freedesktop system: a MIME type for the
// files, a desktop entry that opens them with the program, and the default
// application in mimeapps.list, all in the user's own directories.

#include <QString>

namespace tessaly {

class FileAssociation {
public:
    // dataDirectory: ~/.local/share, configDirectory: ~/.config by default;
    // program: the program's path.
    FileAssociation(QString program, QString dataDirectory = {}, QString configDirectory = {});

    bool IsAssociated() const;
    // Associates unless already associated; false when a file could not be
    // written (nothing is half-made: what was written is removed again).
    bool Associate();
    bool Unassociate();

    // The desktop entry that Associate writes or would write.
    QString DesktopEntryName() const;

    static constexpr const char* kMimeType = "application/x-tessaly-project";

private:
    QString DefaultEntry() const;
    QString EntryPath(const QString& name) const;
    QString ExecLine() const;
    bool EntryIsOurs(const QString& name) const;
    void Notify() const;

    QString program_;
    QString data_;
    QString config_;
};

} // namespace tessaly
