#pragma once

// The log of an output run: read-only text that the copy button and Ctrl+C
// put on the clipboard as a whole.

#include <QDialog>

#include <vector>

#include "core/text/EncodedText.h"

class QPlainTextEdit;

namespace tessaly {

class TForm_Log final : public QDialog {
    Q_OBJECT

public:
    explicit TForm_Log(const std::vector<SjisText>& log, QWidget* parent = nullptr);

    QString Text() const;
    void CopyAll();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPlainTextEdit* text_;
};

} // namespace tessaly
