#pragma once
// Entries whose data overlaps another entry's: the mark of an archive built to make every
// entry decompress the same bytes again (a zip bomb without nesting). No archive writer
// produces them, so the batch operations refuse them without reading their data.
#include <vector>

class TZADirArray;

// One flag per entry of Dir: true when the entry's bytes overlap those of another entry.
// An entry takes at least its 30-byte local header plus its compressed size from its local
// header offset on; two entries overlap when these spans share a byte on the same volume
// (SameVolume: every entry counts as lying on one volume, as in a single-file archive).
// Folder entries (attribute 0x10), whose data the batch never reads, take no part.
// Sorting the spans makes this O(n log n).
std::vector<bool> ZAFindOverlappingEntries(const TZADirArray& Dir, bool SameVolume);
