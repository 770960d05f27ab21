// Scanning the working directory for the highest "frac" number.
#include "export/snapshot_numbering.h"

#include <dirent.h>

#include <climits>
#include <cstdlib>
#include <cstring>

int snapshotNumberOf(const char *name)
{
    if (std::strncmp(name, "frac", 4) != 0) {
        return 0;
    }
    // strtol reads what atoi reads but defines the out-of-range case; long may be wider
    // than int, so saturate once more.
    const long value = std::strtol(name + 4, nullptr, 10);
    if (value > INT_MAX) {
        return INT_MAX;
    }
    if (value < INT_MIN) {
        return INT_MIN;
    }
    return int(value);
}

int nextSnapshotNumber()
{
    DIR *directory = opendir("./");
    if (directory == nullptr) {
        return 0;
    }
    int result = 0;
    // Every entry counts, whatever its kind; negative numbers never lift the result.
    while (const dirent *entry = readdir(directory)) {
        const int number = snapshotNumberOf(entry->d_name);
        if (number >= result) {
            result = number;
        }
    }
    closedir(directory);
    return result;
}
