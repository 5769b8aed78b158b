#pragma once

// After an import: the review list of the links whose readings were
// guessed, and what the user corrects there stored and learned.

#include <vector>

#include "core/reading/DoubtfulReading.h"

namespace tessaly {

class ItemListHost;

void ReviewReadings(ItemListHost& host, const std::vector<DoubtfulReading>& doubtful);

} // namespace tessaly
