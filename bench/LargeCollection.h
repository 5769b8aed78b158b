#pragma once

#include <cstddef>

#include "collection/Project.h"

namespace tessaly::bench {

// A collection of itemCount items spread over genreCount genres, with
// readings, banners, tags and comments of realistic length. Deterministic.
Project MakeLargeCollection(std::size_t itemCount, std::size_t genreCount);

} // namespace tessaly::bench
