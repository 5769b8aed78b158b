#pragma once

// The button row of the program's dialogs: the default button (Button1)
// runs the dialog's own check, "キャンセル" (Button2) rejects, and "ヘルプ(&H)"
// (Button3), where a help topic is given, opens that topic, as F1 does.

#include <functional>

#include <QString>

class QDialog;
class QDialogButtonBox;

namespace tessaly {

QDialogButtonBox* DialogButtons(
    QDialog* dialog, const QString& okCaption, const std::function<void()>& onOk, const QString& helpTopic = {});

// "OK" and "キャンセル".
QDialogButtonBox* OkCancelButtons(QDialog* dialog, const std::function<void()>& onOk);

} // namespace tessaly
