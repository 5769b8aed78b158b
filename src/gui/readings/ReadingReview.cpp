#include "gui/readings/ReadingReview.h"

#include <unordered_map>

#include "core/collection/Project.h"
#include "core/collection/ShownItems.h"
#include "gui/host/ItemListHost.h"
#include "gui/host/MainServices.h"
#include "gui/readings/ProjectReadings.h"
#include "gui/readings/dlgReadingReview.h"

namespace tessaly {

namespace {

struct LinePlace {
    std::size_t genre = 0;
    std::size_t line = 0;
    TLinkItem item; // as imported
};

} // namespace

void ReviewReadings(ItemListHost& host, const std::vector<DoubtfulReading>& doubtful)
{
    if (doubtful.empty()) {
        return;
    }
    Project& project = host.CurrentProject();
    host.Shown().FlushGenre();
    std::unordered_map<int32_t, bool> wanted;
    for (const DoubtfulReading& entry : doubtful) {
        wanted.emplace(entry.serial, entry.complete);
    }
    std::vector<ReviewedReading> readings;
    std::unordered_map<int32_t, LinePlace> places;
    for (std::size_t genre = 0; genre < project.TrashIndex(); ++genre) {
        const std::vector<std::string>& lines = project.Genres[genre].Lines;
        for (std::size_t line = 0; line < lines.size(); ++line) {
            TLinkItem item = LineToItem(lines[line]);
            if (const auto found = wanted.find(item.Serial); found != wanted.end()) {
                places.emplace(item.Serial, LinePlace{genre, line, item});
                readings.push_back({std::move(item), found->second});
            }
        }
    }
    TForm_ReadingReview dialog(host.Services().messages, readings, host.DialogParent());
    if (readings.empty() || dialog.exec() != QDialog::Accepted) {
        return;
    }
    ProjectReadings learned(host.Services(), project);
    bool changed = false;
    for (const TLinkItem& item : dialog.Items()) {
        const LinePlace& place = places.at(item.Serial);
        if (item != place.item) {
            project.Genres[place.genre].Lines[place.line] = ItemToLine(item);
            learned.LearnItem(item);
            changed = true;
        }
    }
    if (changed) {
        host.ShowGenreAgain();
        host.SetIsEditing(true);
    }
}

} // namespace tessaly
