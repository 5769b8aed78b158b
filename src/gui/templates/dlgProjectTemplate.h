#pragma once

// The item template dialog: the template list with its commands, the
// header, body and footer editors with the three list marks, the keyword
// reference, and editing in the external text editor.

#include <array>
#include <string>

#include <QDialog>

#include "core/templates/TemplateList.h"

class QAction;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;
class QTreeWidget;
class QTreeWidgetItem;

namespace tessaly {

class MessagePresenter;

class TForm_ProjectTemplate final : public QDialog {
    Q_OBJECT

public:
    // editorPath is the external editor setting (empty: no external editing).
    TForm_ProjectTemplate(MessagePresenter& messages, const QString& editorPath, QWidget* parent = nullptr);
    ~TForm_ProjectTemplate() override;

    // Appends a template from the seven fields of its stored form, escaped.
    void AddTemplate(const std::array<std::string, 7>& escapedFields);
    int GetTemplateCount() const;
    // The stored form of the entry at position (from 0); empty outside.
    std::string GetTemplateString(int position) const;

    // Where external editing writes its file; by default the user's runtime
    // directory, which the program's own directory seldom is on this system.
    void SetTemporaryDirectory(const QString& directory);
    QString TemporaryFilePath() const;

    void TB_TemplateNewClick();
    void TB_TemplateEditClick();
    void TB_TemplateEraseClick();
    void TB_TemplateUpClick();
    void TB_TemplateDownClick();
    void CallEditorClick();
    // Takes the parts of the file the editor saved, or says why not.
    void TakeEditedFile(const QString& path);
    void ListView_SimbolsDblClick(QTreeWidgetItem* row);
    void Button1Click();

private:
    static constexpr std::size_t kFieldCount = 6;

    int Selected() const;
    void FillList(int select);
    // Loads the selected entry into the editors when another one was shown,
    // and enables what applies to it.
    void ShowSelection();
    // The editors' texts into the entry they show.
    void Commit();
    // Every command starts here, so the shown texts are kept first.
    void FocusList();
    QString FieldText(std::size_t field) const;
    void SetFieldText(std::size_t field, const QString& text);
    QPlainTextEdit* ActiveEditor() const;

    MessagePresenter& messages_;
    QString editorPath_;
    QString temporaryDirectory_;
    TemplateList list_;
    int shownIndex_ = -1;
    // The texts as loaded: a field the user left alone keeps its stored bytes.
    std::array<QString, kFieldCount> loaded_;

    QListWidget* templates_;
    QAction* new_;
    QAction* rename_;
    QAction* erase_;
    QAction* up_;
    QAction* down_;
    QWidget* editPanel_;
    QTabWidget* tabs_;
    std::array<QPlainTextEdit*, 3> memos_;
    std::array<QLineEdit*, 3> marks_;
    QPushButton* callEditor_;
    QTreeWidget* symbols_;
};

} // namespace tessaly
