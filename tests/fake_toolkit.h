// A recording stand-in for the toolkit seam: every window call is logged in order,
// and a test sets what the queries answer.
#pragma once

#include "app/toolkit.h"

#include <string>
#include <vector>

struct FakeToolkit {
    int current;                      // the current window
    std::vector<std::string> calls;   // e.g. "set 2", "position 10 10", "post 3"
    int queryAnswers[4];              // indexed by ToolkitQuery
    std::vector<int> shown;           // windows shown and not hidden since
    std::vector<std::string> texts;   // strings drawn with drawBitmapString
};

extern FakeToolkit fakeToolkit;

// Forgets the log and the texts and sets the current window; query answers stay.
void resetFakeToolkit(int current = 0);

bool fakeWindowShown(int window);
