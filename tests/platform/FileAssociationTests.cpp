#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include "platform/FileAssociation.h"

using namespace tessaly;

namespace {

QString Read(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

void Write(const QString& path, const QString& text)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(text.toUtf8());
}

} // namespace

class FileAssociationTests : public QObject {
    Q_OBJECT

private slots:
    void associateAndRemove()
    {
        QTemporaryDir data;
        QTemporaryDir config;
        Write(config.filePath("mimeapps.list"),
            "[Default Applications]\ntext/plain=editor.desktop\n[Added Associations]\nx=y\n");
        FileAssociation association("/usr/bin/tessaly", data.path(), config.path());
        QVERIFY(!association.IsAssociated());
        QVERIFY(association.Associate());
        QVERIFY(association.IsAssociated());
        const QString mimeApps = Read(config.filePath("mimeapps.list"));
        QVERIFY(mimeApps.contains("application/x-tessaly-project=TSY_ProjectFile.desktop"));
        QVERIFY(mimeApps.contains("text/plain=editor.desktop"));
        QVERIFY(mimeApps.contains("[Added Associations]\nx=y"));
        QVERIFY(Read(data.filePath("applications/TSY_ProjectFile.desktop")).contains("Exec=\"/usr/bin/tessaly\" %f"));
        QVERIFY(Read(data.filePath("mime/packages/tessaly-project.xml")).contains("*.TSP"));

        QVERIFY(association.Unassociate());
        QVERIFY(!association.IsAssociated());
        QVERIFY(!QFile::exists(data.filePath("applications/TSY_ProjectFile.desktop")));
        QVERIFY(!Read(config.filePath("mimeapps.list")).contains("tessaly"));
        QVERIFY(Read(config.filePath("mimeapps.list")).contains("text/plain=editor.desktop"));
    }

    void installedProgram_data()
    {
        QTest::addColumn<bool>("entryInstalled");
        QTest::addColumn<bool>("mimeTypeInstalled");
        QTest::newRow("entry and MIME type") << true << true;
        QTest::newRow("entry only") << true << false;
        QTest::newRow("MIME type only") << false << true;
    }

    // An installed program makes its installed desktop entry the default and
    // writes nothing else; without both installed files it writes its own.
    void installedProgram()
    {
        QFETCH(bool, entryInstalled);
        QFETCH(bool, mimeTypeInstalled);
        QTemporaryDir prefix;
        QTemporaryDir data;
        QTemporaryDir config;
        const QString entry = prefix.filePath("share/applications/jp.brindlewood.Tessaly.desktop");
        const QString mimeType = prefix.filePath("share/mime/packages/jp.brindlewood.Tessaly.xml");
        if (entryInstalled) {
            Write(entry, "[Desktop Entry]\nExec=tessaly %F\n");
        }
        if (mimeTypeInstalled) {
            Write(mimeType, "<mime-info/>\n");
        }
        const bool installed = entryInstalled && mimeTypeInstalled;
        FileAssociation association(prefix.filePath("bin/tessaly"), data.path(), config.path());

        QVERIFY(association.Associate());
        QVERIFY(association.IsAssociated());
        QCOMPARE(Read(config.filePath("mimeapps.list"))
                     .contains("application/x-tessaly-project=jp.brindlewood.Tessaly.desktop\n"),
            installed);
        QCOMPARE(QDir(data.path()).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot), installed);
        // Another installation's entry is not this program's association.
        QVERIFY(!FileAssociation(data.filePath("bin/tessaly"), data.path(), config.path()).IsAssociated());

        QVERIFY(association.Unassociate());
        QVERIFY(!association.IsAssociated());
        QVERIFY(!Read(config.filePath("mimeapps.list")).contains("tessaly"));
        QCOMPARE(QFile::exists(entry), entryInstalled);
        QCOMPARE(QFile::exists(mimeType), mimeTypeInstalled);
    }

    void aNameTakenByAnotherProgramGetsANumber()
    {
        QTemporaryDir data;
        QTemporaryDir config;
        Write(data.filePath("applications/TSY_ProjectFile.desktop"), "[Desktop Entry]\nExec=\"/opt/other\" %f\n");
        FileAssociation association("/usr/bin/tessaly", data.path(), config.path());
        QCOMPARE(association.DesktopEntryName(), QStringLiteral("TSY_ProjectFile(1).desktop"));
        QVERIFY(association.Associate());
        QVERIFY(association.IsAssociated());
        QVERIFY(Read(data.filePath("applications/TSY_ProjectFile.desktop")).contains("/opt/other"));
        // Another program path is not associated.
        QVERIFY(!FileAssociation("/usr/local/bin/tessaly", data.path(), config.path()).IsAssociated());
    }
};

QTEST_GUILESS_MAIN(FileAssociationTests)
#include "FileAssociationTests.moc"
