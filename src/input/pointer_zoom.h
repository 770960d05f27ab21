// Where the pointer last moved with no button held, and the zoom about that point.
#pragma once

// Zoom directions of zoomAtPointer.
constexpr int ZOOM_IN = +1;
constexpr int ZOOM_OUT = -1;

// Passive-motion callback of both views and the help card: records the window and
// the position (top-left origin, y downward). Posts nothing.
void onPointerMove(int x, int y);

// Scales the view under the recorded pointer by 0.8 (+1) or 1.25 (-1) about the
// pointer, marks both views dirty and posts the pointer's window; renders nothing.
void zoomAtPointer(int direction);
