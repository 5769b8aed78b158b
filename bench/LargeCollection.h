#pragma once

#include <cstddef>
#include <filesystem>

#include "core/collection/Project.h"
#include "core/text/DateTime.h"

namespace tessaly::bench {

// A collection of itemCount items spread over genreCount genres, with
// readings, banners, tags and comments of realistic length. Deterministic.
Project MakeLargeCollection(std::size_t itemCount, std::size_t genreCount);
// The collection a benchmark's arguments ask for, [ITEMS=100000]
// [GENRES=100], said on the standard output.
Project LargeCollectionOfArguments(int argc, char** argv);

// The collection with its site in the fresh directory root: the simple
// design's top menu and one directory per genre. False (after saying why on
// stderr) when the designs could not be written.
bool MakeLargeSite(Project& project, const std::filesystem::path& root, TDateTime today);

} // namespace tessaly::bench
