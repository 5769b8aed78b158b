#include "core/templates/TemplateList.h"

#include <algorithm>
#include <utility>

#include "core/text/FieldText.h"
#include "core/text/Sjis.h"

namespace tessaly {

namespace {

TemplateList::Entry EntryOf(const TTemplateRec& rec)
{
    return {rec.Name,
        {EscapeField(rec.Header), EscapeField(rec.Body), EscapeField(rec.Footer), EscapeField(rec.AttrTop),
            EscapeField(rec.AttrEnd), EscapeField(rec.AttrQuot)}};
}

std::size_t Slot(TemplateField field)
{
    return static_cast<std::size_t>(field);
}

} // namespace

std::optional<std::array<std::string, 7>> SplitStoredTemplate(std::string_view stored)
{
    // Every field is escaped, so "/" occurs only between fields.
    const std::vector<std::string_view> parts = sjis::Split(stored, '/');
    if (parts.size() != 7) {
        return std::nullopt;
    }
    std::array<std::string, 7> fields;
    std::copy(parts.begin(), parts.end(), fields.begin());
    return fields;
}

TemplateList::TemplateList()
    : entries_{EntryOf(BuiltinSimpleTemplate()), EntryOf(BuiltinDetailTemplate())}
{
}

void TemplateList::AddTemplate(const std::array<std::string, 7>& escapedFields)
{
    Entry entry;
    entry.name = UnescapeField(escapedFields[0]);
    for (std::size_t i = 0; i < entry.fields.size(); ++i) {
        entry.fields[i] = escapedFields[i + 1];
    }
    entries_.push_back(std::move(entry));
}

std::size_t TemplateList::AddStored(const std::vector<std::string>& stored)
{
    std::size_t skipped = 0;
    for (const std::string& text : stored) {
        if (const std::optional<std::array<std::string, 7>> fields = SplitStoredTemplate(text)) {
            AddTemplate(*fields);
        } else {
            ++skipped;
        }
    }
    return skipped;
}

std::vector<std::string> TemplateList::Names() const
{
    std::vector<std::string> names;
    names.reserve(entries_.size());
    for (const Entry& entry : entries_) {
        names.push_back(entry.name);
    }
    return names;
}

std::string TemplateList::TemplateString(int index) const
{
    if (index < 0 || index >= Count()) {
        return {};
    }
    const Entry& entry = entries_[static_cast<std::size_t>(index)];
    std::string stored = EscapeField(entry.name);
    for (const std::string& field : entry.fields) {
        stored += '/';
        stored += field;
    }
    return stored;
}

std::vector<std::string> TemplateList::UserTemplateStrings() const
{
    std::vector<std::string> stored;
    for (int i = kBuiltinTemplateCount; i < Count(); ++i) {
        stored.push_back(TemplateString(i));
    }
    return stored;
}

std::string TemplateList::Field(int index, TemplateField field) const
{
    return UnescapeField(entries_.at(static_cast<std::size_t>(index)).fields[Slot(field)]);
}

void TemplateList::SetField(int index, TemplateField field, std::string_view plain)
{
    if (IsUser(index)) {
        entries_[static_cast<std::size_t>(index)].fields[Slot(field)] = EscapeField(plain);
    }
}

int TemplateList::AddNew(std::string name)
{
    Entry entry;
    entry.name = std::move(name);
    entry.fields[Slot(TemplateField::AttrTop)] = "[";
    entry.fields[Slot(TemplateField::AttrEnd)] = "]";
    entry.fields[Slot(TemplateField::AttrQuot)] = ",";
    entries_.push_back(std::move(entry));
    return Count() - 1;
}

void TemplateList::Rename(int index, std::string name)
{
    if (IsUser(index)) {
        entries_[static_cast<std::size_t>(index)].name = std::move(name);
    }
}

int TemplateList::Erase(int index)
{
    if (!IsUser(index)) {
        return index;
    }
    entries_.erase(entries_.begin() + index);
    return index < Count() ? index : Count() - 1;
}

int TemplateList::MoveUp(int index)
{
    if (!CommandsFor(index).up) {
        return index;
    }
    std::swap(entries_[static_cast<std::size_t>(index)], entries_[static_cast<std::size_t>(index - 1)]);
    return index - 1;
}

int TemplateList::MoveDown(int index)
{
    if (!CommandsFor(index).down) {
        return index;
    }
    std::swap(entries_[static_cast<std::size_t>(index)], entries_[static_cast<std::size_t>(index + 1)]);
    return index + 1;
}

TemplateCommandState TemplateList::CommandsFor(int selected) const
{
    TemplateCommandState state;
    if (IsUser(selected)) {
        state.editable = true;
        state.rename = true;
        state.erase = true;
        state.up = selected != kBuiltinTemplateCount;
        state.down = selected != Count() - 1;
    }
    return state;
}

} // namespace tessaly
