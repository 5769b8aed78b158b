#pragma once

// The help window: the program's help pages, with a contents page, links
// between the pages and the history of the pages read.

#include <QDialog>

class QTextBrowser;

namespace tessaly {

class THelpWindow final : public QDialog {
    Q_OBJECT

public:
    explicit THelpWindow(QWidget* parent = nullptr);

    // "contents", a page such as "HID00000023", or a page and an anchor
    // such as "menu-file#MM_SaveFile".
    void ShowTopic(const QString& topic);
    QString CurrentTitle() const;

private:
    QTextBrowser* browser_;
};

// Shows the topic in the one help window of the program, above the window
// that asks for it.
void ShowHelp(QWidget* parent, const QString& topic);

// F1 in the dialog opens the topic; the topic stays on the dialog as its
// "helpTopic" property.
void SetHelpTopic(QWidget* dialog, const QString& topic);

} // namespace tessaly
