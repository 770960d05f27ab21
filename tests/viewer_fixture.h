// Shared set-up for tests that drive the viewer state: windows 1..4 created, the
// start values, and buffers sized by a first reshape.
#pragma once

#include "app/viewer_state.h"
#include "fake_toolkit.h"

#include <gtest/gtest.h>

enum TestWindow { MAIN_WINDOW = 1, MANDEL_WINDOW = 2, JULIA_WINDOW = 3, HELP_WINDOW = 4 };

// Puts the viewer in its state after start-up and the first reshape to
// windowWidth x windowHeight (buffers sized, both views dirty), with an empty log.
void startViewer(int windowWidth = 1030, int windowHeight = 520);

class ViewerTest : public ::testing::Test {
protected:
    void SetUp() override { startViewer(); }
    void TearDown() override { releaseViewerBuffers(); }
};
