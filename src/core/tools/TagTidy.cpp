#include "core/tools/TagTidy.h"

#include <algorithm>

#include "core/collection/LinkItem.h"
#include "core/collection/Project.h"
#include "core/text/Codepage.h"
#include "core/text/FieldText.h"
#include "core/text/Sjis.h"

namespace tessaly {

VocabularyOrder::VocabularyOrder(const std::vector<std::string>& vocabulary)
{
    escaped_.reserve(vocabulary.size());
    for (std::size_t i = 0; i < vocabulary.size(); ++i) {
        escaped_.push_back(EscapeField(vocabulary[i]));
        positions_[escaped_.back()].push_back(i);
    }
}

std::string VocabularyOrder::Apply(std::string_view list) const
{
    if (escaped_.empty()) {
        return std::string(list);
    }
    // An escaped name holds no "/", so "/name/" occurs in "/list/" exactly
    // when name is one of the list's parts.
    std::vector<std::size_t> kept;
    for (const std::string_view part : sjis::Split(list, '/')) {
        const auto found = positions_.find(std::string(part));
        if (found != positions_.end()) {
            kept.insert(kept.end(), found->second.begin(), found->second.end());
        }
    }
    std::sort(kept.begin(), kept.end());
    kept.erase(std::unique(kept.begin(), kept.end()), kept.end());
    std::string ordered;
    for (const std::size_t index : kept) {
        if (!ordered.empty()) {
            ordered += '/';
        }
        ordered += escaped_[index];
    }
    return ordered;
}

std::size_t TidyTagLists(Project& project, const GenreProgress& progress)
{
    const VocabularyOrder attributes(project.Attributes);
    const VocabularyOrder contents(project.Contents);
    // 1 when the list changed.
    const auto tidy = [](std::string& list, const VocabularyOrder& order) -> std::size_t {
        std::string ordered = order.Apply(list);
        if (ordered == list) {
            return 0;
        }
        list = std::move(ordered);
        return 1;
    };
    const std::size_t count = RewriteEveryItem(
        project, [&](TLinkItem& item) { return tidy(item.Attributes, attributes) + tidy(item.Contents, contents); },
        progress);
    if (count > 0) {
        project.IsEditing = true;
    }
    return count;
}

std::size_t CountUntidyLists(const Project& project)
{
    const VocabularyOrder attributes(project.Attributes);
    const VocabularyOrder contents(project.Contents);
    std::size_t count = 0;
    for (std::size_t g = 0; g < project.TrashIndex(); ++g) {
        for (const std::string& line : project.Genres[g].Lines) {
            const TLinkItem item = LineToItem(line);
            count += (attributes.Apply(item.Attributes) != item.Attributes ? 1u : 0u)
                + (contents.Apply(item.Contents) != item.Contents ? 1u : 0u);
        }
    }
    return count;
}

std::string TagTidyQuestion(std::size_t untidyLists)
{
    return SJ("アトリビュート・カテゴリ整理ツールは、\r\n"
              "順番が不定になったアトリビュート、カテゴリ各値を\r\n"
              "一覧の順番にソートします.\r\n")
        + SJ("整理される項目: ") + std::to_string(untidyLists) + SJ(" 件.\r\n\r\n実行しますか？");
}

const std::string& TagTidyProgressMessage()
{
    return SJ("アトリビュート、カテゴリ値を整理しています...");
}

std::string TagTidyResultMessage(std::size_t count)
{
    if (count == 0) {
        return SJ("終了しました.\r\n整理を要した項目はありませんでした.");
    }
    return SJ("終了しました.\r\n") + std::to_string(count) + SJ(" 件の項目を整理しました.");
}

} // namespace tessaly
