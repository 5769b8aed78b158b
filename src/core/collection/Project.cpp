#include "core/collection/Project.h"

#include <limits>

#include "core/collection/LinkItem.h"
#include "core/settings/SettingsStore.h"
#include "core/text/Codepage.h"
#include "core/text/Collation.h"

namespace tessaly {

const std::string& UnfiledGenreName()
{
    static const std::string name = SJ("【未整理】");
    return name;
}

const std::string& TrashGenreName()
{
    static const std::string name = SJ("【ゴミ箱】");
    return name;
}

Project::Project()
    : Genres{{UnfiledGenreName(), {}}, {TrashGenreName(), {}}}
{
}

void Project::Reset(const SettingsStore* settings)
{
    *this = Project();
    if (settings != nullptr && settings->KeyExists(kOwnerDefaultsKey)) {
        AuthorName = settings->ReadString(kOwnerDefaultsKey, "Name").value_or("");
        AuthorKana = settings->ReadString(kOwnerDefaultsKey, "NameKana").value_or("");
        AuthorMail = settings->ReadString(kOwnerDefaultsKey, "Mail").value_or("");
    }
}

std::optional<int32_t> Project::NextSerial()
{
    // The largest number may already be an item's, and one past it would
    // wrap around.
    if (!HasSerialLeft()) {
        return std::nullopt;
    }
    ++SerialMax;
    // A serial the reader refuses would lose the item on the next open.
    if (SerialMax == kUnnumbered) {
        ++SerialMax;
    }
    return SerialMax;
}

const std::string& NoSerialLeftMessage()
{
    static const std::string message = SJ("通し番号をすべて使い切ったため、アイテムを追加できません.\r\n"
                                          "新しいプロジェクトに分けて下さい.");
    return message;
}

std::optional<std::size_t> Project::FindGenre(std::string_view name) const
{
    for (std::size_t i = 0; i < Genres.size(); ++i) {
        if (SameNameIgnoringAsciiCase(Genres[i].Name, name)) {
            return i;
        }
    }
    return std::nullopt;
}

std::size_t Project::AddGenre(std::string name)
{
    const std::size_t index = TrashIndex();
    Genres.insert(Genres.begin() + static_cast<std::ptrdiff_t>(index), Genre{std::move(name), {}});
    return index;
}

GenreIndex::GenreIndex(const Project& project)
{
    for (std::size_t i = 0; i < project.TrashIndex(); ++i) {
        Add(project.Genres[i].Name, i);
    }
}

bool GenreIndex::Contains(std::string_view name) const
{
    return byName_.contains(AsciiLower(name));
}

void GenreIndex::Add(std::string_view name, std::size_t genre)
{
    byName_.emplace(AsciiLower(name), genre);
}

std::size_t GenreIndex::FileUnder(std::string_view genreField) const
{
    if (genreField.empty()) {
        return 0;
    }
    const auto found = byName_.find(AsciiLower(genreField));
    return found == byName_.end() ? 0 : found->second;
}

bool AddVocabularyName(std::vector<std::string>& vocabulary, std::string name)
{
    if (name.empty() || FindVocabularyName(vocabulary, name)) {
        return false;
    }
    vocabulary.push_back(std::move(name));
    return true;
}

std::optional<std::size_t> FindVocabularyName(const std::vector<std::string>& vocabulary, std::string_view name)
{
    for (std::size_t i = 0; i < vocabulary.size(); ++i) {
        if (SameNameIgnoringAsciiCase(vocabulary[i], name)) {
            return i;
        }
    }
    return std::nullopt;
}

} // namespace tessaly
