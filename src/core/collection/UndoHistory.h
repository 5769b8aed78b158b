#pragma once

// The history of changes to a collection, for taking them back and doing
// them again. A step holds what it changed: the line lists of the genres it
// touched, the vocabularies and the project's fields, before and after.
// Genres a step did not touch are shared with the steps around it, never
// copied; the history keeps one copy of the collection as it stands.

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/collection/Project.h"

namespace tessaly {

// A genre whose lines are being edited outside the project (the shown
// genre's rows) and are not yet written back.
struct PendingGenre {
    std::size_t index = 0;
    std::vector<std::string> lines;
};

class UndoHistory {
public:
    // By default the oldest steps go once the history holds more than this.
    static constexpr std::size_t kDefaultMemoryLimit = std::size_t{256} << 20;

    explicit UndoHistory(std::size_t memoryLimit = kDefaultMemoryLimit);

    // Starts anew from the project as it is (read, new or saved elsewhere);
    // this state counts as saved.
    void Reset(const Project& project, const std::optional<PendingGenre>& pending = {});
    // Compares the project with its state at the last step and, when
    // anything differs, adds a step named name (UTF-8). True when added.
    // A genre's lines in another order are no difference.
    // Steps that were undone are dropped.
    bool Record(const Project& project, std::string name, const std::optional<PendingGenre>& pending = {});
    // Takes the project's state as the current one without a step: a change
    // nobody needs to take back (the order a search mode leaves).
    void Rebase(const Project& project, const std::optional<PendingGenre>& pending = {});

    bool CanUndo() const { return position_ > 0; }
    bool CanRedo() const { return position_ < steps_.size(); }
    // The name of the step Undo or Redo would take; empty when none.
    const std::string& UndoName() const;
    const std::string& RedoName() const;
    // Puts the project back to its state before the last step, or after
    // the next one; false when there is none. Pending lines must be written
    // back first. The project's file name and
    // editing flag stay; see IsClean.
    bool Undo(Project& project);
    bool Redo(Project& project);
    // The genres whose items the last Undo or Redo changed, by their
    // indices now.
    const std::vector<std::size_t>& ChangedGenres() const { return changedGenres_; }

    // The project was saved: the state it now has is the saved one.
    void MarkSaved() { savedPosition_ = static_cast<std::ptrdiff_t>(position_); }
    // The project is in the state it was saved (or read) in.
    bool IsClean() const { return savedPosition_ == static_cast<std::ptrdiff_t>(position_); }

    std::size_t Steps() const { return steps_.size(); }
    // What the steps hold beyond the current state, in bytes (about).
    std::size_t MemoryUse() const { return memory_; }

private:
    using Lines = std::shared_ptr<const std::vector<std::string>>;
    struct GenreState {
        std::string name;
        Lines lines;
    };
    struct Fields {
        std::vector<std::string> texts; // title, owner, directories, files, parent link, templates
        std::int32_t serialMax = 0;
        SitePublishing publishing;
        bool operator==(const Fields&) const = default;
    };
    struct State {
        std::vector<GenreState> genres;
        Lines attributes;
        Lines contents;
        std::shared_ptr<const Fields> fields;
    };
    struct Step {
        std::string name;
        State before;
        State after;
        std::size_t memory = 0;
    };

    State Capture(const Project& project, const std::optional<PendingGenre>& pending) const;
    // Returns the genres of to whose lines from lacks.
    static std::vector<std::size_t> Apply(const State& from, const State& to, Project& project);
    static std::size_t MemoryOf(const State& state, const State& sharedWith);
    void DropOldest();

    std::size_t memoryLimit_;
    State current_;
    std::deque<Step> steps_;
    std::size_t position_ = 0; // steps before it are done
    std::ptrdiff_t savedPosition_ = 0; // -1: the saved state is gone from the history
    std::size_t memory_ = 0;
    std::vector<std::size_t> changedGenres_;
};

} // namespace tessaly
