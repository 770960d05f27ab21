// Centred bitmap text, shared by the overlay titles and the help card.
#include "overlay/centered_text.h"

#include <GL/gl.h>

int centeredTextX(int textWidth, int centreX)
{
    const int x = centreX - textWidth / 2;
    return x < 0 ? 0 : x;
}

int bitmapTextWidth(ToolkitFont font, const char *text)
{
    int width = 0;
    for (const char *c = text; *c != '\0'; ++c) {
        width += bitmapCharacterWidth(font, static_cast<unsigned char>(*c));
    }
    return width;
}

void drawCenteredText(const char *text, ToolkitFont font, int centreX, int y, float red,
                      float green, float blue)
{
    const int x = centeredTextX(bitmapTextWidth(font, text), centreX);
    glColor3f(red, green, blue);
    glRasterPos2i(x, y);
    drawBitmapString(font, text);
}
