// The window shell: layout of the views on a reshape, the display pass of the main
// window and the two fractal views, and full screen.
#pragma once

// One unit per pixel, origin at the bottom-left corner, y upward.
void setPixelProjection(int width, int height);

// Display title of the main window, "Mandelbrot & Julia sets - N processors/cores".
void formatWindowTitle(char *title, int size, int processors);

void onReshape(int width, int height);
void displayView();
void toggleFullscreen();
