#pragma once

// The log of an output run: read-only text that the copy button and Ctrl+C
// put on the clipboard as a whole.

#include <QDialog>

#include <string>
#include <vector>

class QPlainTextEdit;

namespace tessaly {

class TForm_Log final : public QDialog {
    Q_OBJECT

public:
    // log: code page 932 lines.
    explicit TForm_Log(const std::vector<std::string>& log, QWidget* parent = nullptr);

    QString Text() const;
    void CopyAll();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPlainTextEdit* text_;
};

} // namespace tessaly
