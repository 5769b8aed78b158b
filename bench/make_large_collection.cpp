// Writes a large collection for the benchmarks.
//   make-large-collection OUT.TSP [ITEMS=100000] [GENRES=100] [ATTRIBUTES=4]

#include <cstdlib>
#include <iostream>
#include <string>

#include "LargeCollection.h"
#include "core/collection/ProjectFile.h"

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::cerr << "usage: make-large-collection OUT.TSP [ITEMS] [GENRES] [ATTRIBUTES]\n";
        return 2;
    }
    const std::size_t items = argc > 2 ? std::stoul(argv[2]) : 100'000;
    const std::size_t genres = argc > 3 ? std::stoul(argv[3]) : 100;
    const std::size_t attributes = argc > 4 ? std::stoul(argv[4]) : 0;
    tessaly::Project project = tessaly::bench::MakeLargeCollection(items, genres);
    // A vocabulary grown over years, differing in more than letter case.
    for (std::size_t i = project.Attributes.size(); i < attributes; ++i) {
        project.Attributes.push_back("Attribute" + std::to_string(i));
    }
    const tessaly::SaveOutcome saved = tessaly::SaveProjectFile(project, argv[1]);
    if (!saved.ok) {
        std::cerr << saved.error << '\n';
        return 1;
    }
    return 0;
}
