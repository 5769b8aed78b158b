#include "InputGuard.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <memory>

#include "GuiText.h"
#include "util/Messages.h"

namespace tessaly {

void GuardShiftJisInput(QLineEdit* edit, MessagePresenter& messages)
{
    auto lastGood = std::make_shared<QString>(edit->text());
    QObject::connect(edit, &QLineEdit::textChanged, edit, [edit, &messages, lastGood](const QString& text) {
        QString bad;
        if (ToSjis(text, &bad)) {
            *lastGood = text;
            return;
        }
        const QSignalBlocker blocker(edit);
        edit->setText(*lastGood);
        messages.Show(MessageKind::Warning, UnrepresentableMessage(bad), MessageButton::Ok);
    });
}

void GuardShiftJisInput(QPlainTextEdit* edit, MessagePresenter& messages)
{
    auto lastGood = std::make_shared<QString>(edit->toPlainText());
    QObject::connect(edit, &QPlainTextEdit::textChanged, edit, [edit, &messages, lastGood] {
        QString bad;
        const QString text = edit->toPlainText();
        if (ToSjis(text, &bad)) {
            *lastGood = text;
            return;
        }
        const QSignalBlocker blocker(edit);
        edit->setPlainText(*lastGood);
        edit->moveCursor(QTextCursor::End);
        messages.Show(MessageKind::Warning, UnrepresentableMessage(bad), MessageButton::Ok);
    });
}

} // namespace tessaly
