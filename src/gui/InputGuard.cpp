#include "gui/InputGuard.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <memory>

#include "gui/GuiText.h"
#include "core/util/Messages.h"

namespace tessaly {

namespace {

// Keeps the last text that code page 932 can hold: a change that brings in a
// character it cannot hold is undone, and the warning names the character.
template <typename Edit, typename Signal, typename Read, typename Write>
void Guard(Edit* edit, Signal changed, MessagePresenter& messages, Read read, Write write)
{
    auto lastGood = std::make_shared<QString>(read(edit));
    QObject::connect(edit, changed, edit, [edit, &messages, lastGood, read, write] {
        QString bad;
        const QString text = read(edit);
        if (ToSjis(text, &bad)) {
            *lastGood = text;
            return;
        }
        {
            const QSignalBlocker blocker(edit);
            write(edit, *lastGood);
        }
        messages.Show(MessageKind::Warning, SjisText(UnrepresentableMessage(bad)), MessageButton::Retry);
    });
}

} // namespace

void GuardShiftJisInput(QLineEdit* edit, MessagePresenter& messages)
{
    Guard(
        edit, &QLineEdit::textChanged, messages, [](const QLineEdit* e) { return e->text(); },
        [](QLineEdit* e, const QString& text) { e->setText(text); });
}

void GuardShiftJisInput(QPlainTextEdit* edit, MessagePresenter& messages)
{
    Guard(
        edit, &QPlainTextEdit::textChanged, messages, [](const QPlainTextEdit* e) { return e->toPlainText(); },
        [](QPlainTextEdit* e, const QString& text) {
            e->setPlainText(text);
            e->moveCursor(QTextCursor::End);
        });
}

} // namespace tessaly
