#pragma once

// The small name input dialog: a prompt, one line of text, OK and Cancel.
// OK refuses empty names (beep), control characters, "|" and duplicates.

#include <QDialog>

#include <string>
#include <vector>

class QLabel;
class QLineEdit;

namespace tessaly {

class MessagePresenter;

class TForm_StrInput final : public QDialog {
    Q_OBJECT

public:
    TForm_StrInput(
        MessagePresenter& messages, const QString& caption, const QString& prompt, QWidget* parent = nullptr);

    void SetText(const QString& text);
    QString Text() const;
    // Names the text must differ from; renaming is the entry being renamed.
    void SetExisting(std::vector<std::string> names, int renaming = -1);

    void Button1Click();

private:
    MessagePresenter& messages_;
    QLabel* infoLabel_;
    QLineEdit* editBox_;
    std::vector<std::string> existing_;
    int renaming_ = -1;
};

} // namespace tessaly
