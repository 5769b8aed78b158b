#pragma once

// The help window: one page per "HID…" topic and a contents page.

#include <QDialog>

class QTextBrowser;

namespace tessaly {

class THelpWindow final : public QDialog {
    Q_OBJECT

public:
    explicit THelpWindow(QWidget* parent = nullptr);

    // "contents" or a topic name such as "HID00000023".
    void ShowTopic(const QString& topic);
    QString CurrentTitle() const;

private:
    QTextBrowser* browser_;
};

// Shows the topic in the one help window of the program.
void ShowHelp(QWidget* parent, const QString& topic);

} // namespace tessaly
