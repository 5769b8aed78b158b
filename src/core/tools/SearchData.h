#pragma once

// The search data file ("DIZ") for the site's search script: the project's
// owner, genres, vocabularies and one item template, then one record per
// item of the user genres; EUC-JP with LF line ends, TAB between fields.

#include <cstdint>
#include <string>

#include "core/output/WorkerPool.h"

namespace tessaly {

class Project;

// What the dialog collects.
struct DizSettings {
    std::string templateName; // an entry of ItemTemplateNames; unknown names give "標準簡易"
    bool eraseBreaks = false; // "改行・タブを全て削除": the template loses its line breaks and tabs
    uint8_t sortBy = 0; // 0 title reading, 1 author reading, 2 date (newest first), 3 title, 4 author
    uint8_t sortDir = 0; // 0 ascending, 1 descending
};

// The whole file: the items of every user genre (neither the unfiled genre
// nor the trash) in the order the settings sort them. The records are made
// on jobs threads; the file is the same for any number.
std::string DizText(const Project& project, const DizSettings& settings, unsigned jobs = DefaultJobs());

} // namespace tessaly
