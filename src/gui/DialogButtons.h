#pragma once

// The "OK" (default, Button1) and "キャンセル" (Button2) pair of the
// program's dialogs; OK runs the dialog's own check, Cancel rejects.

#include <functional>

class QDialog;
class QDialogButtonBox;

namespace tessaly {

QDialogButtonBox* OkCancelButtons(QDialog* dialog, const std::function<void()>& onOk);

} // namespace tessaly
