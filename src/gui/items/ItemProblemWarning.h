#pragma once

// What the editor and the review of readings say of an item that cannot be
// stored (UTF-8; nothing for problems they do not ask about).

#include "core/collection/LinkItem.h"

namespace tessaly {

inline constexpr const char* kReadingWarning
    = "不正な文字が含まれています.\r\nかなには全角平仮名のみ利用できます.\r\n長音符\"ー\"も読みに変換して下さい.";

const char* ItemProblemWarning(ItemProblem problem);

} // namespace tessaly
