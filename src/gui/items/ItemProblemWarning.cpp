#include "gui/items/ItemProblemWarning.h"

namespace tessaly {

const char* ItemProblemWarning(ItemProblem problem)
{
    switch (problem) {
    case ItemProblem::TitleMissing: return "ページタイトルは必須項目です.";
    case ItemProblem::TitleKanaMissing: return "ページタイトル(かな)は必須項目です.";
    case ItemProblem::AuthorKanaMissing:
        return "作者名(かな)は必須項目です.\r\n不明の場合はタイトル(かな)と同値にします.";
    case ItemProblem::TitleKanaNotHiragana:
    case ItemProblem::AuthorKanaNotHiragana: return kReadingWarning;
    case ItemProblem::UrlMissing: return "ページURLは必須項目です.";
    case ItemProblem::None:
    case ItemProblem::DateInvalid:
    case ItemProblem::NoSerialLeft: break;
    }
    return "";
}

} // namespace tessaly
