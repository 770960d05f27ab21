// The number of the next snapshot file, from the names in the working directory.
#pragma once

// The number after "frac" in an entry name, read as atoi reads it (white space, a sign,
// digits; saturated to the int range); 0 for a name that does not start with "frac".
int snapshotNumberOf(const char *name);

// The highest number after "frac" among the working directory's entry names, at least
// 0; 0 when the directory cannot be listed.
int nextSnapshotNumber();
