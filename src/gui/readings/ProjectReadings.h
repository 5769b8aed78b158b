#pragma once

// The readings the desktop program suggests while a project is open: the
// user's dictionary and the collection first, then the dictionaries. What
// the user gives instead of a suggestion is learned.

#include <optional>
#include <string_view>

#include "core/reading/KnownReadings.h"

namespace tessaly {

class Project;
struct TLinkItem;
struct MainServices;

class ProjectReadings {
public:
    ProjectReadings(MainServices& services, const Project& project);
    ProjectReadings(const ProjectReadings&) = delete;
    ProjectReadings& operator=(const ProjectReadings&) = delete;

    // Null without a dictionary service (no MeCab).
    const ReadingService* Service() const { return service_ ? &*service_ : nullptr; }

    // The reading the user gave the text (code page 932) is learned when it
    // is not what would have been suggested; a dictionary that cannot be
    // written is said once.
    void Learn(std::string_view text, std::string_view reading);
    // The readings of the item's title and author.
    void LearnItem(const TLinkItem& item);

private:
    MainServices& services_;
    KnownReadings known_;
    std::optional<LearnedReadingService> service_;
    bool failureShown_ = false;
};

} // namespace tessaly
