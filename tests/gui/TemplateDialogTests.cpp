#include <QFile>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QToolBar>
#include <QTreeWidget>

#include "MainWindowHarness.h"
#include "core/collection/Project.h"
#include "gui/shell/dlgOptions.h"
#include "gui/shell/dlgOtherProg.h"
#include "gui/templates/dlgProjectTemplate.h"
#include "core/templates/TemplateEngine.h"

using namespace tessaly;
using test::AnswerNameDialog;
using test::Click;
using test::Harness;
using test::OnNextDialog;
using test::Shown;

namespace {

QListWidget* TemplateListBox(QWidget* dialog)
{
    return dialog->findChild<QListWidget*>("ListBox_Template");
}

QPlainTextEdit* Memo(QWidget* dialog, const char* name)
{
    return dialog->findChild<QPlainTextEdit*>(name);
}

QAction* Command(QWidget* dialog, const char* name)
{
    return dialog->findChild<QAction*>(name);
}

QStringList Names(QWidget* dialog)
{
    QStringList names;
    for (int i = 0; i < TemplateListBox(dialog)->count(); ++i) {
        names.append(TemplateListBox(dialog)->item(i)->text());
    }
    return names;
}

// Clicks a row of the template list as the user would.
void ClickTemplate(QWidget* dialog, int row)
{
    QListWidget* list = TemplateListBox(dialog);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(row)).center());
}

void DoubleClickSymbol(QWidget* dialog, int row)
{
    auto* symbols = dialog->findChild<QTreeWidget*>("ListView_Simbols");
    QTreeWidgetItem* item = symbols->topLevelItem(row);
    symbols->scrollToItem(item);
    const QPoint at = symbols->visualItemRect(item).center();
    QTest::mouseClick(symbols->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(symbols->viewport(), Qt::LeftButton, {}, at);
}

// "new", "rename" etc. of the dialog's tool bar.
void Run(QWidget* dialog, const char* command)
{
    QAction* action = Command(dialog, command);
    QVERIFY(action->isEnabled());
    action->trigger();
}

std::string Stored(const char* utf8Name, const char* header, const char* body)
{
    TTemplateRec rec{SJ(utf8Name), header, body, "", "[", "]", ","};
    return StoredTemplateForm(rec);
}

// The editor setting, through the options dialog as the user sets it.
void SetEditor(Harness& h, const QString& path)
{
    OnNextDialog<TForm_Options>([path](TForm_Options* dialog) {
        dialog->findChild<QLineEdit*>("TextEdotor")->setText(path);
        Click(dialog, "BtnOk");
    });
    h.Action("MM_Options")->trigger();
    QCOMPARE(Shown(h.window->Settings().editorPath), path);
}

// A shell script that stands in for the text editor.
QString EditorScript(const QTemporaryDir& dir, const QByteArray& commands)
{
    const QString path = dir.filePath(QStringLiteral("editor.sh"));
    QFile script(path);
    if (!script.open(QIODevice::WriteOnly)) {
        return {};
    }
    // Like a desktop editor it may return before the editing ends; it
    // leaves a mark when it has saved for the last time.
    script.write("#!/bin/sh\nLC_ALL=C\nexport LC_ALL\n" + commands + "\ntouch \"$1.saved\"\n");
    script.close();
    script.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    return path;
}

// Presses "編集を終了" in the wait dialog once the stand-in editor is done.
void EndEditingWhenSaved()
{
    OnNextDialog<TForm_OtherProg>([](TForm_OtherProg* wait) {
        const QString file = wait->WatchedFile();
        QTRY_VERIFY(QFile::exists(file + ".saved"));
        QFile::remove(file + ".saved");
        Click(wait, "BtnDone");
    });
}

} // namespace

class TemplateDialogTests : public QObject {
    Q_OBJECT

    // The offscreen and X11 runs of these tests may overlap: each has its
    // own directory for the editor's file.
    QTemporaryDir runtime_;

private slots:
    void initTestCase()
    {
        QVERIFY(runtime_.isValid());
        qputenv("XDG_RUNTIME_DIR", runtime_.path().toLocal8Bit());
    }

    void commandIsOnTheProjectMenuAndToolBar()
    {
        Harness h;
        QAction* menuEntry = h.Action("MM_ProjectTemplate");
        QVERIFY(menuEntry != nullptr);
        QCOMPARE(menuEntry->text(), QStringLiteral("アイテムテンプレート設計(&T)..."));
        QCOMPARE(menuEntry->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_F5));
        QAction* button = h.Action("TB_ProjectTemplate");
        QVERIFY(button != nullptr);
        QCOMPARE(button->toolTip(), QStringLiteral("アイテムテンプレート"));
        QVERIFY(!button->icon().isNull());
        auto* tools = h.window->findChild<QToolBar*>("ToolBar_Project");
        QVERIFY(tools->actions().contains(button));
        // Search mode leaves the command alone.
        h.Open();
        h.Action("MM_SearchAll")->trigger();
        QVERIFY(menuEntry->isEnabled());
        QVERIFY(button->isEnabled());
    }

    // New, rename, erase and moves through the tool bar, each with its
    // selection, and the list written back in the dialog's order.
    void createRenameEraseReorder()
    {
        Harness h;
        h.Open();
        const std::vector<std::string> before = h.window->CurrentProject().Templates;
        QCOMPARE(before.size(), std::size_t{2});
        OnNextDialog<TForm_ProjectTemplate>([](TForm_ProjectTemplate* dialog) {
            QCOMPARE(dialog->windowTitle(), QStringLiteral("アイテムテンプレート設定"));
            QCOMPARE(Names(dialog),
                QStringList({QStringLiteral("標準簡易"), QStringLiteral("標準詳細"), QStringLiteral("カード型"),
                    QStringLiteral("バナー一覧")}));
            QCOMPARE(TemplateListBox(dialog)->currentRow(), 0);

            AnswerNameDialog(QStringLiteral(" 新しい/型 "));
            Run(dialog, "TB_TemplateNew");
            QCOMPARE(dialog->GetTemplateCount(), 5);
            QCOMPARE(TemplateListBox(dialog)->currentRow(), 4);
            QCOMPARE(Names(dialog).last(), QStringLiteral(" 新しい/型 ")); // as typed
            QCOMPARE(Memo(dialog, "Memo_Body")->toPlainText(), QString());
            QCOMPARE(dialog->findChild<QLineEdit*>("Edit_AttrQuot")->text(), QStringLiteral(","));
            Memo(dialog, "Memo_Body")->setPlainText(QStringLiteral("<LI>%title;"));

            AnswerNameDialog(QStringLiteral("改名"));
            Run(dialog, "TB_TemplateEdit");
            QCOMPARE(Names(dialog).last(), QStringLiteral("改名"));
            QCOMPARE(Memo(dialog, "Memo_Body")->toPlainText(), QStringLiteral("<LI>%title;"));

            Run(dialog, "TB_TemplateUp");
            Run(dialog, "TB_TemplateUp");
            QCOMPARE(TemplateListBox(dialog)->currentRow(), 2);
            QVERIFY(!Command(dialog, "TB_TemplateUp")->isEnabled());
            QCOMPARE(Names(dialog).mid(2),
                QStringList({QStringLiteral("改名"), QStringLiteral("カード型"), QStringLiteral("バナー一覧")}));
            Run(dialog, "TB_TemplateDown");
            QCOMPARE(TemplateListBox(dialog)->currentRow(), 3);

            // Erasing selects the successor, or the one before the last.
            ClickTemplate(dialog, 2);
            Run(dialog, "TB_TemplateErase");
            QCOMPARE(TemplateListBox(dialog)->currentRow(), 2);
            QCOMPARE(Names(dialog).at(2), QStringLiteral("改名"));
            QCOMPARE(Memo(dialog, "Memo_Body")->toPlainText(), QStringLiteral("<LI>%title;"));
            ClickTemplate(dialog, 3);
            Run(dialog, "TB_TemplateErase");
            QCOMPARE(TemplateListBox(dialog)->currentRow(), 2);
            QCOMPARE(dialog->GetTemplateCount(), 3);
            QVERIFY(!Command(dialog, "TB_TemplateDown")->isEnabled());
            Click(dialog, "Button1");
        });
        h.Action("MM_ProjectTemplate")->trigger();
        QVERIFY(h.window->IsEditing());
        const std::vector<std::string> after = h.window->CurrentProject().Templates;
        QCOMPARE(after, std::vector<std::string>({Stored("改名", "", "<LI>%title;")}));
    }

    void enablingRules()
    {
        Harness h;
        h.Open();
        OnNextDialog<TForm_ProjectTemplate>([](TForm_ProjectTemplate* dialog) {
            const auto enabled = [dialog](const char* name) { return Command(dialog, name)->isEnabled(); };
            auto* callEditor = dialog->findChild<QPushButton*>("CallEditor");
            for (int row : {0, 1}) {
                ClickTemplate(dialog, row);
                QVERIFY(enabled("TB_TemplateNew"));
                QVERIFY(!enabled("TB_TemplateEdit") && !enabled("TB_TemplateErase"));
                QVERIFY(!enabled("TB_TemplateUp") && !enabled("TB_TemplateDown"));
                QVERIFY(!callEditor->isEnabled());
            }
            ClickTemplate(dialog, 2);
            QVERIFY(enabled("TB_TemplateEdit") && enabled("TB_TemplateErase"));
            QVERIFY(!enabled("TB_TemplateUp") && enabled("TB_TemplateDown"));
            QVERIFY(callEditor->isEnabled()); // the harness's editor setting
            QVERIFY(!Memo(dialog, "Memo_Header")->isReadOnly());
            ClickTemplate(dialog, 3);
            QVERIFY(enabled("TB_TemplateUp") && !enabled("TB_TemplateDown"));
            // Nothing selected: read-only, empty, the default marks.
            QListWidget* list = TemplateListBox(dialog);
            QTest::mouseClick(
                list->viewport(), Qt::LeftButton, Qt::ControlModifier, list->visualItemRect(list->item(3)).center());
            QCOMPARE(list->selectedItems().size(), 0);
            QVERIFY(!enabled("TB_TemplateEdit") && !enabled("TB_TemplateUp"));
            QVERIFY(enabled("TB_TemplateNew"));
            QVERIFY(Memo(dialog, "Memo_Body")->isReadOnly());
            QCOMPARE(Memo(dialog, "Memo_Body")->toPlainText(), QString());
            QCOMPARE(dialog->findChild<QLineEdit*>("Edit_AttrTop")->text(), QStringLiteral("["));
            QCOMPARE(dialog->findChild<QLineEdit*>("Edit_AttrEnd")->text(), QStringLiteral("]"));
            Click(dialog, "Button2");
        });
        h.Action("MM_ProjectTemplate")->trigger();

        // Without an editor setting there is no external editing.
        SetEditor(h, QString());
        OnNextDialog<TForm_ProjectTemplate>([](TForm_ProjectTemplate* dialog) {
            ClickTemplate(dialog, 2);
            QVERIFY(!dialog->findChild<QPushButton*>("CallEditor")->isEnabled());
            Click(dialog, "Button2");
        });
        h.Action("MM_ProjectTemplate")->trigger();
    }

    void builtinsAreReadOnlyAndTheirNamesTaken()
    {
        Harness h;
        OnNextDialog<TForm_ProjectTemplate>([&h](TForm_ProjectTemplate* dialog) {
            QCOMPARE(dialog->GetTemplateCount(), 2);
            ClickTemplate(dialog, 1);
            QVERIFY(Memo(dialog, "Memo_Body")->isReadOnly());
            QVERIFY(dialog->findChild<QLineEdit*>("Edit_AttrTop")->isReadOnly());
            QCOMPARE(Memo(dialog, "Memo_Body")->toPlainText(),
                Shown(BuiltinDetailTemplate().Body).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
            QCOMPARE(dialog->GetTemplateString(1), StoredTemplateForm(BuiltinDetailTemplate()));
            // A keyword does not go into a built-in.
            Memo(dialog, "Memo_Body")->setFocus();
            dialog->findChild<QTabWidget*>("PageControl_Template")->setCurrentIndex(1);
            DoubleClickSymbol(dialog, 15);
            QCOMPARE(dialog->GetTemplateString(1), StoredTemplateForm(BuiltinDetailTemplate()));

            for (const QString& taken : {QStringLiteral("標準簡易"), QStringLiteral(" 標準詳細 ")}) {
                AnswerNameDialog(taken);
                Run(dialog, "TB_TemplateNew");
                QCOMPARE(dialog->GetTemplateCount(), 2);
                QCOMPARE(Shown(h.messages.shown.back().text),
                    QStringLiteral("文字列が重複しています.\r\n各文字列は互いにユニークでなければなりません."));
            }
            AnswerNameDialog(QStringLiteral("a|b"));
            Run(dialog, "TB_TemplateNew");
            AnswerNameDialog(QStringLiteral("a\tb"));
            Run(dialog, "TB_TemplateNew");
            QCOMPARE(Shown(h.messages.shown.back().text),
                QStringLiteral(
                    "コントロールコードが含まれています.\r\n文字列には通常文字以外を含めることは出来ません."));
            AnswerNameDialog(QStringLiteral("  "));
            Run(dialog, "TB_TemplateNew");
            QCOMPARE(h.messages.beeps, 1);
            QCOMPARE(h.messages.shown.size(), std::size_t{4});
            QCOMPARE(dialog->GetTemplateCount(), 2);
            // Renaming a template to its own name is no duplicate; to another's is.
            AnswerNameDialog(QStringLiteral("mine"));
            Run(dialog, "TB_TemplateNew");
            AnswerNameDialog(QStringLiteral("mine"));
            Run(dialog, "TB_TemplateEdit");
            QCOMPARE(h.messages.shown.size(), std::size_t{4});
            AnswerNameDialog(QStringLiteral("標準簡易"));
            Run(dialog, "TB_TemplateEdit");
            QCOMPARE(h.messages.shown.size(), std::size_t{5});
            QCOMPARE(Names(dialog).last(), QStringLiteral("mine"));
            Click(dialog, "Button2");
        });
        h.Action("MM_ProjectTemplate")->trigger();
    }

    void keywordInsertion()
    {
        Harness h;
        h.Open();
        OnNextDialog<TForm_ProjectTemplate>([](TForm_ProjectTemplate* dialog) {
            auto* tabs = dialog->findChild<QTabWidget*>("PageControl_Template");
            QCOMPARE(tabs->tabText(0), QStringLiteral("ヘッダー"));
            QCOMPARE(tabs->tabText(1), QStringLiteral("本体"));
            QCOMPARE(tabs->tabText(2), QStringLiteral("フッター"));
            auto* symbols = dialog->findChild<QTreeWidget*>("ListView_Simbols");
            QCOMPARE(symbols->topLevelItemCount(), 41);
            QCOMPARE(symbols->headerItem()->text(3), QStringLiteral("説明"));
            QCOMPARE(symbols->topLevelItem(0)->text(1), QStringLiteral("本体のみ"));
            QCOMPARE(symbols->topLevelItem(15)->text(0), QStringLiteral("%project;"));

            ClickTemplate(dialog, 2);
            QPlainTextEdit* header = Memo(dialog, "Memo_Header");
            QPlainTextEdit* body = Memo(dialog, "Memo_Body");
            const QString headerBefore = header->toPlainText();
            tabs->setCurrentIndex(0);
            DoubleClickSymbol(dialog, 0); // "%title;": body only
            QCOMPARE(header->toPlainText(), headerBefore);
            header->moveCursor(QTextCursor::Start);
            DoubleClickSymbol(dialog, 15); // "%project;": anywhere
            QCOMPARE(header->toPlainText(), QStringLiteral("%project;") + headerBefore);
            QCOMPARE(dialog->focusWidget(), static_cast<QWidget*>(header));

            tabs->setCurrentIndex(2);
            DoubleClickSymbol(dialog, 0);
            QVERIFY(!Memo(dialog, "Memo_Footer")->toPlainText().contains(QStringLiteral("%title;")));

            tabs->setCurrentIndex(1);
            body->setPlainText(QStringLiteral("[x]"));
            QTextCursor cursor = body->textCursor();
            cursor.setPosition(1);
            cursor.setPosition(2, QTextCursor::KeepAnchor);
            body->setTextCursor(cursor);
            DoubleClickSymbol(dialog, 25); // replaces the selection
            QCOMPARE(body->toPlainText(), QStringLiteral("[<!--if is author--><!--end-->]"));
            QCOMPARE(dialog->focusWidget(), static_cast<QWidget*>(body));
            Click(dialog, "Button1");
        });
        h.Action("MM_ProjectTemplate")->trigger();
        const std::optional<TTemplateRec> card = ParseStoredTemplate(h.window->CurrentProject().Templates.at(0));
        QVERIFY(card.has_value());
        QVERIFY(card->Header.starts_with("%project;"));
        QCOMPARE(card->Body, std::string("[<!--if is author--><!--end-->]"));
    }

    // What is typed reaches the template when the focus leaves the editing
    // panel; untouched templates come back byte for byte.
    void editsAreKeptWhenTheSelectionMoves()
    {
        Harness h;
        h.Open();
        const std::vector<std::string> before = h.window->CurrentProject().Templates;
        OnNextDialog<TForm_ProjectTemplate>([&before](TForm_ProjectTemplate* dialog) {
            // Focus moves only in the active window.
            dialog->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(dialog));
            ClickTemplate(dialog, 3);
            QLineEdit* quot = dialog->findChild<QLineEdit*>("Edit_AttrQuot");
            quot->setFocus();
            quot->selectAll();
            QTest::keyClicks(quot, QStringLiteral(" / "));
            QCOMPARE(dialog->GetTemplateString(3), before[1]); // not yet
            dialog->findChild<QTreeWidget*>("ListView_Simbols")->setFocus();
            QVERIFY(dialog->GetTemplateString(3).ends_with("/ &sl; "));
            ClickTemplate(dialog, 2);
            QCOMPARE(dialog->GetTemplateString(2), before[0]);
            QVERIFY(dialog->GetTemplateString(3) != before[1]);
            ClickTemplate(dialog, 3);
            QCOMPARE(quot->text(), QStringLiteral(" / "));
            Click(dialog, "Button1");
        });
        h.Action("MM_ProjectTemplate")->trigger();
        const std::vector<std::string>& after = h.window->CurrentProject().Templates;
        QCOMPARE(after.size(), std::size_t{2});
        QCOMPARE(after[0], before[0]);
        QVERIFY(after[1].ends_with("/ &sl; "));
        QCOMPARE(after[1].substr(0, after[1].rfind('/')), before[1].substr(0, before[1].rfind('/')));
    }

    void cancelKeepsTheProjectsTemplates()
    {
        Harness h;
        h.Open();
        Project& project = h.window->CurrentProject();
        project.Templates.push_back("broken/only/four/fields");
        const std::vector<std::string> before = project.Templates;
        OnNextDialog<TForm_ProjectTemplate>([](TForm_ProjectTemplate* dialog) {
            QCOMPARE(dialog->GetTemplateCount(), 4); // the broken one is left out
            AnswerNameDialog(QStringLiteral("追加"));
            Run(dialog, "TB_TemplateNew");
            AnswerNameDialog(QStringLiteral("別名"));
            Run(dialog, "TB_TemplateEdit");
            Run(dialog, "TB_TemplateUp");
            Memo(dialog, "Memo_Header")->setPlainText(QStringLiteral("changed"));
            ClickTemplate(dialog, 2);
            Run(dialog, "TB_TemplateErase");
            Click(dialog, "Button2");
        });
        h.Action("MM_ProjectTemplate")->trigger();
        QCOMPARE(project.Templates, before);
        QVERIFY(!h.window->IsEditing());

        // OK without a change: the same strings, the broken one gone.
        OnNextDialog<TForm_ProjectTemplate>([](TForm_ProjectTemplate* dialog) { Click(dialog, "Button1"); });
        h.Action("MM_ProjectTemplate")->trigger();
        QCOMPARE(project.Templates, std::vector<std::string>(before.begin(), before.begin() + 2));
        QVERIFY(h.window->IsEditing());
    }

    // The editor rewrites the file; what it wrote comes back into the
    // editors, each line followed by a line break, and the file stays.
    void externalEditRoundTrip()
    {
        QTemporaryDir dir;
        Harness h;
        h.Open();
        SetEditor(h, EditorScript(dir, "sed -i -e 's/BODY/EDITED本文/' -e 's/^FOOT/FOOTER/' -e '$a\\\nadded' \"$1\""));
        OnNextDialog<TForm_ProjectTemplate>([this](TForm_ProjectTemplate* dialog) {
            ClickTemplate(dialog, 2);
            Memo(dialog, "Memo_Header")->setPlainText(QStringLiteral("<DL>"));
            Memo(dialog, "Memo_Body")->setPlainText(QStringLiteral("BODY %title;\n\t<DD>\n"));
            Memo(dialog, "Memo_Footer")->setPlainText(QStringLiteral("FOOT"));
            EndEditingWhenSaved();
            Click(dialog, "CallEditor");
            QCOMPARE(Memo(dialog, "Memo_Header")->toPlainText(), QStringLiteral("<DL>\n"));
            QCOMPARE(Memo(dialog, "Memo_Body")->toPlainText(), QStringLiteral("EDITED本文 %title;\n\t<DD>\n"));
            QCOMPARE(Memo(dialog, "Memo_Footer")->toPlainText(), QStringLiteral("FOOTER\nadded\n"));
            QCOMPARE(
                QFileInfo(dialog->TemporaryFilePath()).absolutePath(), QFileInfo(runtime_.path()).absoluteFilePath());
            QFile file(dialog->TemporaryFilePath());
            QVERIFY(file.open(QIODevice::ReadOnly));
            const QByteArray bytes = file.readAll();
            QVERIFY(bytes.startsWith("<!--\r\nTessaly "));
            QVERIFY(bytes.contains("\r\nEDITED本文 %title;\r\n\t<DD>\r\n")); // UTF-8, as editors here write
            Click(dialog, "Button1");
        });
        h.Action("MM_ProjectTemplate")->trigger();
        QVERIFY(h.messages.shown.empty());
        const std::optional<TTemplateRec> card = ParseStoredTemplate(h.window->CurrentProject().Templates.at(0));
        QVERIFY(card.has_value());
        QCOMPARE(card->Header, std::string("<DL>\r\n"));
        QCOMPARE(card->Body, SJ("EDITED本文 %title;\r\n\t<DD>\r\n"));
        QCOMPARE(card->Footer, std::string("FOOTER\r\nadded\r\n"));
        QCOMPARE(Shown(card->Name), QStringLiteral("カード型"));
    }

    void externalEditFileDeleted()
    {
        QTemporaryDir dir;
        Harness h;
        h.Open();
        SetEditor(h, EditorScript(dir, "rm -f \"$1\""));
        h.messages.SetNextAnswer(MessageButton::Abort);
        OnNextDialog<TForm_ProjectTemplate>([&h](TForm_ProjectTemplate* dialog) {
            ClickTemplate(dialog, 3);
            Memo(dialog, "Memo_Body")->setPlainText(QStringLiteral("kept"));
            EndEditingWhenSaved();
            Click(dialog, "CallEditor");
            QCOMPARE(h.messages.shown.size(), std::size_t{1});
            QCOMPARE(h.messages.shown[0].kind, MessageKind::Warning);
            QCOMPARE(h.messages.shown[0].buttons.Bits(), MessageButtons(MessageButton::Abort).Bits());
            QCOMPARE(Shown(h.messages.shown[0].text), QStringLiteral("テンポラリファイルが削除されています."));
            QCOMPARE(Memo(dialog, "Memo_Body")->toPlainText(), QStringLiteral("kept"));
            Click(dialog, "Button1");
        });
        h.Action("MM_ProjectTemplate")->trigger();
        QCOMPARE(ParseStoredTemplate(h.window->CurrentProject().Templates.at(1))->Body, std::string("kept"));
    }

    void externalEditorFailsToStart()
    {
        QTemporaryDir dir;
        Harness h;
        h.Open();
        SetEditor(h, dir.filePath(QStringLiteral("no-such-editor")));
        const std::vector<std::string> before = h.window->CurrentProject().Templates;
        OnNextDialog<TForm_ProjectTemplate>([&h, &dir](TForm_ProjectTemplate* dialog) {
            ClickTemplate(dialog, 2);
            const QString header = Memo(dialog, "Memo_Header")->toPlainText();
            Click(dialog, "CallEditor");
            QCOMPARE(h.messages.shown.size(), std::size_t{1});
            QCOMPARE(h.messages.shown[0].kind, MessageKind::Warning);
            QVERIFY(Shown(h.messages.shown[0].text)
                        .startsWith(QStringLiteral("指定のエディタの起動に失敗しました.\r\n") + dir.filePath("no-such-editor")));
            QCOMPARE(Memo(dialog, "Memo_Header")->toPlainText(), header);
            QVERIFY(QFile::exists(dialog->TemporaryFilePath())); // left in place
            Click(dialog, "Button1");
        });
        h.Action("MM_ProjectTemplate")->trigger();
        QCOMPARE(h.window->CurrentProject().Templates, before);
    }

    // A damaged marker: the lines up to the next marker are dropped.
    void externalEditDamagedHeaderMarker()
    {
        QTemporaryDir dir;
        Harness h;
        h.Open();
        SetEditor(h, EditorScript(dir, "sed -i 's/^<!-- Template Header /<!-- Template Header  /' \"$1\""));
        OnNextDialog<TForm_ProjectTemplate>([](TForm_ProjectTemplate* dialog) {
            ClickTemplate(dialog, 2);
            Memo(dialog, "Memo_Header")->setPlainText(QStringLiteral("lost"));
            Memo(dialog, "Memo_Body")->setPlainText(QStringLiteral("body"));
            EndEditingWhenSaved();
            Click(dialog, "CallEditor");
            QCOMPARE(Memo(dialog, "Memo_Header")->toPlainText(), QString());
            QCOMPARE(Memo(dialog, "Memo_Body")->toPlainText(), QStringLiteral("body\n"));
            Click(dialog, "Button2");
        });
        h.Action("MM_ProjectTemplate")->trigger();
    }
};

QTEST_MAIN(TemplateDialogTests)
#include "TemplateDialogTests.moc"
