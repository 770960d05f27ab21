// Bitmap text centred on an x coordinate.
#pragma once

#include "app/toolkit.h"

// x at which a text of textWidth pixels starts when centred on centreX: never left
// of the window's edge.
int centeredTextX(int textWidth, int centreX);

int bitmapTextWidth(ToolkitFont font, const char *text);

// Colour, then raster position, then string: GL fixes the colour of bitmap text
// when the raster position is set.
void drawCenteredText(const char *text, ToolkitFont font, int centreX, int y, float red,
                      float green, float blue);
