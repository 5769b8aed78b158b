#pragma once

// Refuses text that code page 932 cannot represent where it is typed or
// pasted: the field returns to its last good text and a message names the
// character.

class QLineEdit;
class QPlainTextEdit;

namespace tessaly {

class MessagePresenter;

void GuardShiftJisInput(QLineEdit* edit, MessagePresenter& messages);
void GuardShiftJisInput(QPlainTextEdit* edit, MessagePresenter& messages);

} // namespace tessaly
