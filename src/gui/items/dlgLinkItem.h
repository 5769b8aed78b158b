#pragma once

// The link item editor: every field of one item, with the required-field
// and reading checks, hands back a complete record on OK.

#include <QDialog>

#include <string>
#include <vector>

#include "core/collection/LinkItem.h"

class QAction;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;

namespace tessaly {

class MessagePresenter;
class ReadingFiller;
class ReadingService;
class TFrame_DateTimePicker;

class TForm_LinkItem final : public QDialog {
    Q_OBJECT

public:
    TForm_LinkItem(MessagePresenter& messages, const std::vector<std::string>& attributes,
        const std::vector<std::string>& contents, TDateTime today, QWidget* parent = nullptr);
    ~TForm_LinkItem() override;

    void SetLinkItem(const TLinkItem& item);
    // Readings of the title and author are suggested from their text when
    // the field is left and its reading is empty (or an earlier suggestion),
    // and on "読みを推測" (Ctrl+R); none without a service.
    void SetReadingService(const ReadingService* readings);
    TLinkItem LinkItem() const;

    // Reacts to leaving the reading fields and the address fields.
    void LeaveReading(QLineEdit* edit);
    void FollowTitleReading();
    void LeaveAddress(QLineEdit* edit);
    void Button1Click();

    // The browser and the mailer (overridable by tests).
    std::function<void(const std::string& url)> openUrl;
    std::function<void(const std::string& address)> mailTo;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLineEdit* AddLine(const QString& name);
    // Fills the reading; focusTarget (for the explicit command) receives the
    // focus with the reading selected.
    void GuessReading(ReadingFiller& filler, QLineEdit* focusTarget);

    MessagePresenter& messages_;
    const std::vector<std::string>& attributeNames_;
    const std::vector<std::string>& contentNames_;
    TLinkItem carried_;
    QLabel* serialPanel_;
    QLabel* genrePanel_;
    QLineEdit* title_;
    QLineEdit* titleKana_;
    QLineEdit* page_;
    QLineEdit* banner_;
    QLineEdit* width_;
    QLineEdit* height_;
    TFrame_DateTimePicker* date_;
    QLineEdit* author_;
    QLineEdit* authorKana_;
    QLineEdit* mail_;
    QPlainTextEdit* comment_;
    QListWidget* attributes_;
    QListWidget* contents_;
    std::vector<QGroupBox*> sections_;
    const ReadingService* readings_ = nullptr;
    ReadingFiller* titleReading_;
    ReadingFiller* authorReading_;
    QAction* guessReading_ = nullptr;
    QLabel* status_;
};

} // namespace tessaly
