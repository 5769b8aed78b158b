#pragma once

// A main window with scripted services, opened on the bundled example, and
// helpers that answer the dialogs it opens.

#include <functional>
#include <memory>

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeView>

#include "platform/FileAssociation.h"
#include "ScriptedFileDialogs.h"
#include "gui/items/dlgLinkItem.h"
#include "gui/main/dlgMain.h"
#include "gui/model/dlgStrInput.h"
#include "core/settings/SettingsStore.h"
#include "support/RecordingShell.h"
#include "support/ScriptedMessages.h"
#include "core/text/Codepage.h"

namespace tessaly::test {

inline const QString kExample = QStringLiteral(TESSALY_EXAMPLES_DIR "/links.TSP");

inline QString Shown(const std::string& sjis)
{
    return QString::fromStdString(SjisToUtf8Lossy(sjis));
}

// Answers the next name dialog: types text and presses OK, then Cancel if
// the dialog refused the name and is still open.
inline void AnswerNameDialog(const QString& text)
{
    QTimer::singleShot(0, [text] {
        auto* dialog = qobject_cast<TForm_StrInput*>(QApplication::activeModalWidget());
        if (dialog == nullptr && QApplication::activeModalWidget() != nullptr) {
            QApplication::activeModalWidget()->close(); // another dialog came up: do not hang
        }
        QVERIFY(dialog != nullptr);
        dialog->findChild<QLineEdit*>("EditBox")->setText(text);
        QTest::mouseClick(dialog->findChild<QPushButton*>("Button1"), Qt::LeftButton);
        if (dialog->isVisible()) {
            dialog->reject();
        }
    });
}

// Fills the next item editor and presses OK.
inline void AnswerItemEditor(const std::function<void(TForm_LinkItem*)>& fill)
{
    QTimer::singleShot(0, [fill] {
        auto* dialog = qobject_cast<TForm_LinkItem*>(QApplication::activeModalWidget());
        QVERIFY(dialog != nullptr);
        fill(dialog);
        QTest::mouseClick(dialog->findChild<QPushButton*>("Button1"), Qt::LeftButton);
        if (dialog->isVisible()) {
            dialog->reject();
        }
    });
}

// Runs the code on the next modal dialog of type Dialog once it is open;
// closes any other dialog so that a failing test does not hang.
template <typename Dialog> void OnNextDialog(std::function<void(Dialog*)> act)
{
    QTimer::singleShot(0, [act] {
        QWidget* modal = QApplication::activeModalWidget();
        auto* dialog = qobject_cast<Dialog*>(modal);
        if (dialog == nullptr && modal != nullptr) {
            modal->close();
        }
        QVERIFY(dialog != nullptr);
        act(dialog);
        if (dialog->isVisible()) {
            dialog->reject();
        }
    });
}

// Presses a dialog button by its name.
inline void Click(QWidget* dialog, const char* button)
{
    QTest::mouseClick(dialog->findChild<QPushButton*>(button), Qt::LeftButton);
}

struct Harness {
    test::ScriptedMessages messages;
    test::ScriptedFileDialogs files;
    MemorySettingsStore settings;
    test::RecordingShell shell;
    QTemporaryDir xdg;
    FileAssociation association{"/usr/bin/tessaly", xdg.filePath("data"), xdg.filePath("config")};
    FixedClock clock{*EncodeDateTime({2026, 12, 8})};
    std::unique_ptr<TForm_Main> window;
    QStringList started;

    explicit Harness(StartOptions options = {}, int fileDrop = 0)
    {
        settings.WriteInteger("\\Software\\Brindlewood\\Tessaly\\UserInterface", "FileDrop", fileDrop);
        window = std::make_unique<TForm_Main>(
            MainServices{messages, files, settings, clock, shell, association, {1600, 1000, "ed", "/usr/bin/firefox"}},
            std::move(options));
        window->startProcess = [this](const QStringList& arguments) { started.append(arguments.join(' ')); };
    }
    QListWidget* Genres() { return window->findChild<QListWidget*>("ListBox_Genre"); }
    QTreeView* Items() { return window->findChild<QTreeView*>("ListView_Item"); }
    QAction* Action(const char* name) { return window->findChild<QAction*>(name); }
    void Open(const QString& file = kExample)
    {
        files.SetNextFile(file);
        Action("MM_OpenFile")->trigger();
    }
};

} // namespace tessaly::test
