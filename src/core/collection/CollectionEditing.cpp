#include "core/collection/CollectionEditing.h"

#include <algorithm>
#include <functional>

#include "core/collection/ItemClipboard.h"
#include "core/collection/LinkItem.h"
#include "core/collection/Project.h"
#include "core/collection/ShownItems.h"
#include "core/text/Codepage.h"
#include "core/text/FieldText.h"
#include "core/text/Sjis.h"
#include "core/text/Strings.h"

namespace tessaly {

namespace {

std::string& ListOf(TLinkItem& item, Vocabulary vocabulary)
{
    return vocabulary == Vocabulary::Attributes ? item.Attributes : item.Contents;
}

// Applies change to every item: the shown rows, and the stored lines of
// every genre but the shown one (whose lines the rows replace at the next
// flush). Lines are rewritten only when their item changed.
void ForEveryItem(Project& project, ShownItems& shown, const std::function<bool(TLinkItem&)>& change)
{
    for (TLinkItem& row : shown.Rows()) {
        change(row);
    }
    for (std::size_t g = 0; g < project.Genres.size(); ++g) {
        if (g == shown.SelectedGenre() && !shown.SearchMode()) {
            continue;
        }
        for (std::string& line : project.Genres[g].Lines) {
            TLinkItem item = LineToItem(line);
            if (change(item)) {
                line = ItemToLine(item);
            }
        }
    }
}

} // namespace

NameCheck CheckName(std::string_view text, const std::vector<std::string>& existing, int renaming)
{
    const std::string_view name = Trim(text);
    if (name.empty()) {
        return NameCheck::Empty;
    }
    if (std::any_of(name.begin(), name.end(), [](char c) { return static_cast<unsigned char>(c) < 32; })) {
        return NameCheck::ControlCode;
    }
    if (sjis::FindChar(name, '|') != sjis::npos) {
        return NameCheck::VerticalLine;
    }
    for (std::size_t i = 0; i < existing.size(); ++i) {
        if (static_cast<int>(i) != renaming && existing[i] == name) {
            return NameCheck::Duplicate;
        }
    }
    return NameCheck::Ok;
}

std::string ValidNameOf(std::string_view sjisText)
{
    std::string name;
    name.reserve(sjisText.size());
    for (const std::string_view character : sjis::Characters(sjisText)) {
        if (character.size() == 1 && static_cast<unsigned char>(character[0]) < 32) {
            name += ' ';
        } else if (character == "|") {
            name += SJ("｜");
        } else if (character == "<" || character == ">" || character == "&" || character == "\"") {
            name += character == "<" ? SJ("＜") : character == ">" ? SJ("＞") : character == "&" ? SJ("＆") : SJ("”");
        } else if (SjisToUtf8(character).ok) {
            name += character;
        }
    }
    return std::string(Trim(name));
}

std::string NameCheckMessage(NameCheck check)
{
    switch (check) {
    case NameCheck::ControlCode:
        return SJ("コントロールコードが含まれています.\r\n文字列には通常文字以外を含めることは出来ません.");
    case NameCheck::VerticalLine:
        return SJ(
            "\"|\" Vertical Line (\\x7C) が含まれています.\r\nVersion 1.02 より \"|\" を使うことは出来なくなりました.");
    case NameCheck::Duplicate: return SJ("文字列が重複しています.\r\n各文字列は互いにユニークでなければなりません.");
    default: return {};
    }
}

std::vector<std::string> GenreNames(const Project& project)
{
    std::vector<std::string> names;
    for (const Genre& genre : project.Genres) {
        names.push_back(genre.Name);
    }
    return names;
}

bool RenameGenre(Project& project, ShownItems& shown, std::size_t index, const std::string& name)
{
    if (!project.IsUserGenre(index) || project.Genres[index].Name == name) {
        return false;
    }
    project.Genres[index].Name = name;
    if (index == shown.SelectedGenre() && !shown.SearchMode()) {
        for (TLinkItem& row : shown.Rows()) {
            row.GenreName = name;
        }
        shown.FlushGenre();
    }
    return true;
}

bool EraseGenre(Project& project, ShownItems& shown, std::size_t index)
{
    if (!project.IsUserGenre(index)) {
        return false;
    }
    if (index == shown.SelectedGenre()) {
        shown.FlushGenre();
    }
    std::vector<std::string>& trash = project.Genres.back().Lines;
    std::vector<std::string>& lines = project.Genres[index].Lines;
    trash.insert(trash.end(), std::make_move_iterator(lines.begin()), std::make_move_iterator(lines.end()));
    project.Genres.erase(project.Genres.begin() + static_cast<std::ptrdiff_t>(index));
    shown.SelectGenre(index - 1);
    shown.LoadGenreIntoList();
    return true;
}

bool MoveGenreUp(Project& project, ShownItems& shown, std::size_t index)
{
    if (index < 2 || index >= project.TrashIndex()) {
        return false;
    }
    std::swap(project.Genres[index], project.Genres[index - 1]);
    if (shown.SelectedGenre() == index) {
        shown.SelectGenre(index - 1);
    } else if (shown.SelectedGenre() == index - 1) {
        shown.SelectGenre(index);
    }
    return true;
}

bool MoveGenreDown(Project& project, ShownItems& shown, std::size_t index)
{
    return index >= 1 && index + 2 < project.Genres.size() && MoveGenreUp(project, shown, index + 1);
}

std::vector<std::string>& VocabularyOf(Project& project, Vocabulary vocabulary)
{
    return vocabulary == Vocabulary::Attributes ? project.Attributes : project.Contents;
}

std::string ReplaceInTagList(std::string_view list, std::string_view oldName, const std::string* newName)
{
    const std::string from = "/" + EscapeField(oldName) + "/";
    const std::string to = newName == nullptr ? std::string("/") : "/" + EscapeField(*newName) + "/";
    std::string wrapped = sjis::ReplaceAll("/" + std::string(list) + "/", from, to);
    wrapped.erase(0, 1);
    if (!wrapped.empty()) {
        wrapped.pop_back();
    }
    return wrapped;
}

bool RenameTag(Project& project, ShownItems& shown, Vocabulary vocabulary, std::size_t index, const std::string& name)
{
    std::vector<std::string>& names = VocabularyOf(project, vocabulary);
    if (index >= names.size() || names[index] == name) {
        return false;
    }
    const std::string old = names[index];
    names[index] = name;
    ForEveryItem(project, shown, [&](TLinkItem& item) {
        std::string& list = ListOf(item, vocabulary);
        std::string changed = ReplaceInTagList(list, old, &name);
        const bool differs = changed != list;
        list = std::move(changed);
        return differs;
    });
    return true;
}

bool EraseTag(Project& project, ShownItems& shown, Vocabulary vocabulary, std::size_t index)
{
    std::vector<std::string>& names = VocabularyOf(project, vocabulary);
    if (index >= names.size()) {
        return false;
    }
    const std::string old = names[index];
    names.erase(names.begin() + static_cast<std::ptrdiff_t>(index));
    ForEveryItem(project, shown, [&](TLinkItem& item) {
        std::string& list = ListOf(item, vocabulary);
        std::string changed = ReplaceInTagList(list, old, nullptr);
        const bool differs = changed != list;
        list = std::move(changed);
        return differs;
    });
    return true;
}

bool MoveTag(Project& project, Vocabulary vocabulary, std::size_t index, bool up)
{
    std::vector<std::string>& names = VocabularyOf(project, vocabulary);
    if (index >= names.size() || (up && index == 0) || (!up && index + 1 >= names.size())) {
        return false;
    }
    std::swap(names[index], names[up ? index - 1 : index + 1]);
    return true;
}

std::string TagList(const std::vector<std::string>& checkedNames)
{
    std::string list;
    for (const std::string& name : checkedNames) {
        if (!list.empty()) {
            list += '/';
        }
        list += EscapeField(name);
    }
    return list;
}

bool AssignTags(ShownItems& shown, Vocabulary vocabulary, const std::vector<std::size_t>& rows, const std::string& list)
{
    bool changed = false;
    for (const std::size_t row : rows) {
        if (row < shown.Rows().size()) {
            std::string& current = ListOf(shown.Rows()[row], vocabulary);
            changed = changed || current != list;
            current = list;
        }
    }
    return changed;
}

bool MoveRowsToGenre(Project& project, ShownItems& shown, std::vector<std::size_t> rows, std::size_t target)
{
    if (target >= project.Genres.size() || (target == shown.SelectedGenre() && !shown.SearchMode()) || rows.empty()) {
        return false;
    }
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    const std::string genreName = GenreFieldOf(project, target);
    for (auto row = rows.rbegin(); row != rows.rend(); ++row) {
        if (*row >= shown.Rows().size()) {
            continue;
        }
        TLinkItem& item = shown.Rows()[*row];
        item.GenreName = genreName;
        project.Genres[target].Lines.push_back(ItemToLine(item));
        shown.Rows().erase(shown.Rows().begin() + static_cast<std::ptrdiff_t>(*row));
    }
    return true;
}

bool DeleteRowsToTrash(Project& project, ShownItems& shown, std::vector<std::size_t> rows)
{
    if (rows.empty()) {
        return false;
    }
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    for (auto row = rows.rbegin(); row != rows.rend(); ++row) {
        if (*row < shown.Rows().size()) {
            project.Genres.back().Lines.push_back(ItemToLine(shown.Rows()[*row]));
            shown.Rows().erase(shown.Rows().begin() + static_cast<std::ptrdiff_t>(*row));
        }
    }
    return true;
}

} // namespace tessaly
