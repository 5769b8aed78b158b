#pragma once

// The ".TSP" association on a freedesktop system: the program's desktop
// entry as the default application of the project MIME type in the user's
// mimeapps.list. An installed program brings its desktop entry and MIME
// type (under share/ beside its bin/ directory) and only becomes the
// default; one run from elsewhere writes its own MIME type and desktop entry
// into the user's directories.

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

    // The desktop entry that Associate writes or would write when the
    // program is not installed.
    QString DesktopEntryName() const;

    static constexpr const char* kMimeType = "application/x-tessaly-project";
    // The application id: the name of the installed desktop entry, MIME
    // package and icon.
    static constexpr const char* kAppId = "jp.brindlewood.Tessaly";

private:
    // The installed desktop entry's name when the program's installation
    // holds it and the MIME type, else empty.
    QString InstalledEntry() const;
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
