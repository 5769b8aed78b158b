#pragma once

// The list of the template dialog: the two built-in templates first, then
// the project's own, with the commands that change the list and the rules
// for which command applies to which entry. Each entry keeps its name as
// shown and the other six fields escaped as stored, so an entry that is not
// edited gives back the very string it was made from.

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/templates/TemplateEngine.h"

namespace tessaly {

enum class TemplateField { Header, Body, Footer, AttrTop, AttrEnd, AttrQuot };

inline constexpr int kBuiltinTemplateCount = 2;

// The seven fields of a stored template, still escaped; nothing when the
// string does not split into exactly seven.
std::optional<std::array<std::string, 7>> SplitStoredTemplate(std::string_view stored);

// What the dialog offers for the selected entry.
struct TemplateCommandState {
    bool editable = false; // the texts and marks can be changed
    bool rename = false;
    bool erase = false;
    bool up = false;
    bool down = false;

    friend bool operator==(const TemplateCommandState&, const TemplateCommandState&) = default;
};

class TemplateList {
public:
    struct Entry {
        std::string name; // plain
        std::array<std::string, 6> fields; // escaped, in TemplateField order
    };

    // The built-in templates.
    TemplateList();

    // Appends an entry from the seven escaped fields of a stored template.
    void AddTemplate(const std::array<std::string, 7>& escapedFields);
    // Appends every stored template that splits into seven fields and skips
    // the others; returns the number skipped.
    std::size_t AddStored(const std::vector<std::string>& stored);

    int Count() const { return static_cast<int>(entries_.size()); }
    static bool IsBuiltin(int index) { return index >= 0 && index < kBuiltinTemplateCount; }
    bool IsUser(int index) const { return index >= kBuiltinTemplateCount && index < Count(); }
    const std::string& Name(int index) const { return entries_.at(static_cast<std::size_t>(index)).name; }
    std::vector<std::string> Names() const;

    // The stored form of an entry; empty outside the list.
    std::string TemplateString(int index) const;
    // The stored forms of the user templates, in list order.
    std::vector<std::string> UserTemplateStrings() const;

    // A field as the editors show it, and its change; built-ins never change.
    std::string Field(int index, TemplateField field) const;
    void SetField(int index, TemplateField field, std::string_view plain);

    // The commands; each returns the position to select afterwards (-1 for
    // none) and leaves the built-ins alone.
    int AddNew(std::string name);
    void Rename(int index, std::string name);
    int Erase(int index);
    int MoveUp(int index);
    int MoveDown(int index);

    TemplateCommandState CommandsFor(int selected) const;

private:
    std::vector<Entry> entries_;
};

} // namespace tessaly
