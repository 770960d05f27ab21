// Mouse buttons and motion with a button held: the drag pan of either view, the pick
// of the Julia constant on the Mandelbrot view, the wheel and the click on the help card.
#pragma once

#include "app/pixel_buffer.h"
#include "render/escape_time.h"

// Toolkit button numbers and states.
constexpr int MOUSE_LEFT_BUTTON = 0;
constexpr int MOUSE_MIDDLE_BUTTON = 1;
constexpr int MOUSE_RIGHT_BUTTON = 2;
constexpr int MOUSE_WHEEL_UP = 3;
constexpr int MOUSE_WHEEL_DOWN = 4;
constexpr int MOUSE_PRESS = 0;  // any other state is a release

void onMouseButton(int button, int state, int x, int y);
void onMouseDrag(int x, int y);

// Sets juliaC from the Mandelbrot pixel at (x, y) (top-left origin, y downward, so C
// is the mirror image in the real axis of the point shown there), restarts the Julia
// view at its start navigation, marks it dirty and posts it.
void pickJuliaC(int x, int y);

// The request that computes the strips a move of the picture by (dx, dy) exposes
// (dy > 0: the pointer moved down) in a width x height view.
ExposedStrips panStrips(int dx, int dy, int width, int height);

// Moves the picture dx pixels right and dy down in one overlapping move of the whole
// buffer; a move as long as the buffer or longer moves nothing.
void shiftPixels(PixelBuffer &pixels, int dx, int dy, int width);
