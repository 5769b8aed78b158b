#include "core/collection/UndoHistory.h"

#include <algorithm>
#include <string_view>
#include <unordered_set>

#include "core/collection/Project.h"

namespace tessaly {

namespace {

std::size_t BytesOf(const std::vector<std::string>& lines)
{
    std::size_t bytes = sizeof(lines) + lines.capacity() * sizeof(std::string);
    for (const std::string& line : lines) {
        bytes += line.capacity() > 15 ? line.capacity() + 1 : 0;
    }
    return bytes;
}

const std::string kNoName;

// The same lines in another order: the order of a genre's lines follows the
// list's sorting as it is shown and is no change of its own.
bool SameLines(const std::vector<std::string>& a, const std::vector<std::string>& b)
{
    if (a.size() != b.size()) {
        return false;
    }
    if (a == b) {
        return true;
    }
    std::vector<std::string_view> sortedA(a.begin(), a.end());
    std::vector<std::string_view> sortedB(b.begin(), b.end());
    std::sort(sortedA.begin(), sortedA.end());
    std::sort(sortedB.begin(), sortedB.end());
    return sortedA == sortedB;
}

} // namespace

UndoHistory::UndoHistory(std::size_t memoryLimit)
    : memoryLimit_(memoryLimit)
{
}

UndoHistory::State UndoHistory::Capture(const Project& project, const std::optional<PendingGenre>& pending) const
{
    // What did not change is taken from the current state, so that steps
    // share it.
    const auto reuse = [](const Lines& known, const std::vector<std::string>& now, bool anyOrder) {
        return known && (anyOrder ? SameLines(*known, now) : *known == now)
            ? known
            : std::make_shared<const std::vector<std::string>>(now);
    };
    State state;
    state.genres.reserve(project.Genres.size());
    for (std::size_t i = 0; i < project.Genres.size(); ++i) {
        const Genre& genre = project.Genres[i];
        const std::vector<std::string>& lines = pending && pending->index == i ? pending->lines : genre.Lines;
        Lines known;
        // A genre keeps its lines when it moves or is renamed; look at the
        // same place first, then by name.
        if (i < current_.genres.size()
            && (current_.genres[i].name == genre.Name || SameLines(*current_.genres[i].lines, lines))) {
            known = current_.genres[i].lines;
        } else {
            const auto same = std::find_if(current_.genres.begin(), current_.genres.end(),
                [&genre](const GenreState& was) { return was.name == genre.Name; });
            if (same != current_.genres.end()) {
                known = same->lines;
            }
        }
        state.genres.push_back({genre.Name, reuse(known, lines, true)});
    }
    // The vocabularies' order is the user's.
    state.attributes = reuse(current_.attributes, project.Attributes, false);
    state.contents = reuse(current_.contents, project.Contents, false);
    Fields fields{{project.Title, project.AuthorName, project.AuthorKana, project.AuthorMail, project.RootDir,
                      project.BannerDir, project.DefaultFile, project.SubFile, project.ParentAnchor, project.ParentPath},
        project.SerialMax, project.Publishing};
    fields.texts.insert(fields.texts.end(), project.Templates.begin(), project.Templates.end());
    state.fields = current_.fields && *current_.fields == fields ? current_.fields
                                                                 : std::make_shared<const Fields>(std::move(fields));
    return state;
}

std::vector<std::size_t> UndoHistory::Apply(const State& from, const State& to, Project& project)
{
    std::vector<std::size_t> changed;
    // The project is in the state from: genres whose lines it holds already
    // move over, only the others are copied.
    std::vector<bool> taken(from.genres.size(), false);
    std::vector<Genre> genres;
    genres.reserve(to.genres.size());
    for (const GenreState& genre : to.genres) {
        Genre restored{genre.name, {}};
        std::size_t held = 0;
        while (held < from.genres.size() && (taken[held] || from.genres[held].lines != genre.lines)) {
            ++held;
        }
        if (held < from.genres.size() && held < project.Genres.size()) {
            taken[held] = true;
            restored.Lines = std::move(project.Genres[held].Lines);
        } else {
            restored.Lines = *genre.lines;
            changed.push_back(genres.size());
        }
        genres.push_back(std::move(restored));
    }
    project.Genres = std::move(genres);
    if (from.attributes != to.attributes) {
        project.Attributes = *to.attributes;
    }
    if (from.contents != to.contents) {
        project.Contents = *to.contents;
    }
    if (from.fields != to.fields) {
        const std::vector<std::string>& texts = to.fields->texts;
        std::string* fields[] = {&project.Title, &project.AuthorName, &project.AuthorKana, &project.AuthorMail,
            &project.RootDir, &project.BannerDir, &project.DefaultFile, &project.SubFile, &project.ParentAnchor,
            &project.ParentPath};
        for (std::size_t i = 0; i < std::size(fields); ++i) {
            *fields[i] = texts[i];
        }
        project.Templates.assign(texts.begin() + static_cast<std::ptrdiff_t>(std::size(fields)), texts.end());
        project.SerialMax = to.fields->serialMax;
        project.Publishing = to.fields->publishing;
    }
    return changed;
}

std::size_t UndoHistory::MemoryOf(const State& state, const State& sharedWith)
{
    std::unordered_set<const void*> shared;
    for (const GenreState& genre : sharedWith.genres) {
        shared.insert(genre.lines.get());
    }
    std::size_t bytes = 0;
    for (const GenreState& genre : state.genres) {
        bytes += sizeof(GenreState) + genre.name.capacity();
        if (!shared.contains(genre.lines.get())) {
            bytes += BytesOf(*genre.lines);
        }
    }
    if (state.attributes != sharedWith.attributes) {
        bytes += BytesOf(*state.attributes);
    }
    if (state.contents != sharedWith.contents) {
        bytes += BytesOf(*state.contents);
    }
    if (state.fields != sharedWith.fields) {
        bytes += BytesOf(state.fields->texts);
    }
    return bytes;
}

void UndoHistory::Reset(const Project& project, const std::optional<PendingGenre>& pending)
{
    steps_.clear();
    position_ = 0;
    savedPosition_ = 0;
    memory_ = 0;
    current_ = {};
    current_ = Capture(project, pending);
}

void UndoHistory::Rebase(const Project& project, const std::optional<PendingGenre>& pending)
{
    current_ = Capture(project, pending);
}

bool UndoHistory::Record(const Project& project, std::string name, const std::optional<PendingGenre>& pending)
{
    State now = Capture(project, pending);
    const bool same = now.genres.size() == current_.genres.size()
        && std::equal(now.genres.begin(), now.genres.end(), current_.genres.begin(),
            [](const GenreState& a, const GenreState& b) { return a.name == b.name && a.lines == b.lines; })
        && now.attributes == current_.attributes && now.contents == current_.contents && now.fields == current_.fields;
    if (same) {
        return false;
    }
    while (steps_.size() > position_) {
        memory_ -= steps_.back().memory;
        steps_.pop_back();
    }
    if (savedPosition_ > static_cast<std::ptrdiff_t>(position_)) {
        savedPosition_ = -1; // the saved state was undone and is gone now
    }
    Step step{std::move(name), std::move(current_), now, 0};
    step.memory = MemoryOf(step.before, step.after) + MemoryOf(step.after, step.before) / 2;
    memory_ += step.memory;
    current_ = std::move(now);
    steps_.push_back(std::move(step));
    ++position_;
    while (memory_ > memoryLimit_ && steps_.size() > 1) {
        DropOldest();
    }
    return true;
}

void UndoHistory::DropOldest()
{
    memory_ -= steps_.front().memory;
    steps_.pop_front();
    --position_;
    savedPosition_ = savedPosition_ > 0 ? savedPosition_ - 1 : -1;
}

const std::string& UndoHistory::UndoName() const
{
    return CanUndo() ? steps_[position_ - 1].name : kNoName;
}

const std::string& UndoHistory::RedoName() const
{
    return CanRedo() ? steps_[position_].name : kNoName;
}

bool UndoHistory::Undo(Project& project)
{
    if (!CanUndo()) {
        return false;
    }
    const Step& step = steps_[--position_];
    changedGenres_ = Apply(current_, step.before, project);
    current_ = step.before;
    return true;
}

bool UndoHistory::Redo(Project& project)
{
    if (!CanRedo()) {
        return false;
    }
    const Step& step = steps_[position_++];
    changedGenres_ = Apply(current_, step.after, project);
    current_ = step.after;
    return true;
}

} // namespace tessaly
