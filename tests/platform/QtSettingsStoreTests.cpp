#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include "platform/QtSettingsStore.h"
#include "core/settings/AppSettings.h"
#include "core/text/Codepage.h"

using namespace tessaly;

class QtSettingsStoreTests : public QObject {
    Q_OBJECT

private slots:
    void valuesSurviveANewStore()
    {
        QTemporaryDir dir;
        {
            QtSettingsStore store(dir.path());
            store.WriteString("\\Software\\Brindlewood\\Tessaly\\Editor", "EditorPath", SJ("/usr/bin/エディタ"));
            store.WriteInteger("\\Software\\Brindlewood\\Tessaly\\MainWindow", "Width", 800);
            store.WriteBinary("\\Software\\Brindlewood\\Tessaly\\MainWindow", "Column", {1, 2, 255});
        }
        QtSettingsStore store(dir.path());
        QCOMPARE(store.ReadString("\\Software\\Brindlewood\\Tessaly\\Editor", "EditorPath").value(),
            SJ("/usr/bin/エディタ"));
        QCOMPARE(store.ReadInteger("\\Software\\Brindlewood\\Tessaly\\MainWindow", "Width").value(), 800);
        QCOMPARE(store.ReadBinary("\\Software\\Brindlewood\\Tessaly\\MainWindow", "Column").value(),
            (SettingsBinary{1, 2, 255}));
        QVERIFY(!store.ReadInteger("\\Software\\Brindlewood\\Tessaly\\MainWindow", "Height").has_value());
        QVERIFY(QFileInfo::exists(dir.path() + "/Brindlewood/Tessaly.conf"));
    }

    void keysExistAndDelete()
    {
        QTemporaryDir dir;
        QtSettingsStore store(dir.path());
        QVERIFY(!store.KeyExists("\\Software\\Brindlewood\\Tessaly"));
        store.WriteInteger("\\Software\\Brindlewood\\Tessaly\\MainWindow", "Top", 1);
        QVERIFY(store.KeyExists("\\Software\\Brindlewood\\Tessaly"));
        QVERIFY(store.KeyExists("\\Software\\Brindlewood\\Tessaly\\MainWindow"));
        QVERIFY(!store.KeyExists("\\Software\\Brindlewood\\Tessaly\\Browser"));
        QVERIFY(store.KeyExists("\\Software\\Brindlewood"));
        QVERIFY(store.HasSubkeys("\\Software\\Brindlewood\\Tessaly"));
        store.DeleteKey("\\Software\\Brindlewood\\Tessaly\\MainWindow");
        QVERIFY(!store.KeyExists("\\Software\\Brindlewood\\Tessaly\\MainWindow"));
        store.WriteInteger("\\Software\\Brindlewood\\Other\\Window", "Top", 1);
        QFile kept(dir.path() + "/Brindlewood/notes.txt");
        QVERIFY(kept.open(QIODevice::WriteOnly));
        kept.close();
        store.DeleteKey("\\Software\\Brindlewood");
        QVERIFY(!store.KeyExists("\\Software\\Brindlewood"));
        QVERIFY(!QFileInfo::exists(dir.path() + "/Brindlewood/Other.conf"));
        QVERIFY(kept.exists()); // not the program's: it stays, and its folder with it
    }

    void migrationAndEraseOnRealFiles()
    {
        QTemporaryDir dir;
        QtSettingsStore store(dir.path());
        store.WriteInteger("\\Software\\BrindleSoft Works\\Tessaly\\MainWindow", "Width", 700);
        const AppSettings settings = LoadSettings(store, {}, true);
        QCOMPARE(settings.mainWindow.width, 700);
        QVERIFY(!store.KeyExists("\\Software\\BrindleSoft Works\\Tessaly"));
        QCOMPARE(store.ReadInteger("\\Software\\Brindlewood\\Tessaly\\MainWindow", "Width").value(), 700);
        EraseSettings(store);
        QVERIFY(!QFileInfo::exists(dir.path() + "/Brindlewood"));
    }
};

QTEST_GUILESS_MAIN(QtSettingsStoreTests)
#include "QtSettingsStoreTests.moc"
