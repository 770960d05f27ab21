// The window toolkit seam: the few window calls the viewer's logic makes.
// The program links the freeglut side (toolkit_glut.cpp); the unit tests link a
// recording fake. Like the toolkit, most calls act on the current window.
#pragma once

enum ToolkitQuery {
    QUERY_WINDOW_X,              // drawing area's screen x
    QUERY_WINDOW_Y,              // drawing area's screen y
    QUERY_WINDOW_BORDER_WIDTH,
    QUERY_WINDOW_HEADER_HEIGHT,  // title bar height
};

enum ToolkitFont {
    FONT_9_BY_15,
    FONT_HELVETICA_18,
};

int currentWindow();
void setCurrentWindow(int window);
void postWindowRedisplay(int window);
void showCurrentWindow();
void hideCurrentWindow();
void raiseCurrentWindow();
void positionCurrentWindow(int x, int y);
void resizeCurrentWindow(int width, int height);
void fullScreenCurrentWindow();
int toolkitQuery(ToolkitQuery query);

// Bitmap text: the width of one character, and drawing a string at the current
// raster position (a line break starts a new line at the raster x).
int bitmapCharacterWidth(ToolkitFont font, unsigned char character);
void drawBitmapString(ToolkitFont font, const char *text);
