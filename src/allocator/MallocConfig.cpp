// The allocator's settings, read by jemalloc when the program starts.
//
// A large collection makes the program touch a few hundred megabytes of
// fresh memory in a fraction of a second; with 4 KB pages most of that time
// goes to page faults, above all on virtual machines. Huge pages cut their
// number by a factor of 512. jemalloc asks for them on its own extents only,
// so memory that is freed still goes back to the system.

extern "C" {
// NOLINTNEXTLINE: the name and type are jemalloc's.
extern const char* malloc_conf;
const char* malloc_conf = "thp:always,metadata_thp:auto";
}
