// The toolkit seam on freeglut, linked into the program.
#include "app/toolkit.h"

#include <GL/freeglut.h>

static void *glutFont(ToolkitFont font)
{
    return font == FONT_HELVETICA_18 ? GLUT_BITMAP_HELVETICA_18 : GLUT_BITMAP_9_BY_15;
}

static GLenum glutQueryName(ToolkitQuery query)
{
    switch (query) {
    case QUERY_WINDOW_X: return GLUT_WINDOW_X;
    case QUERY_WINDOW_Y: return GLUT_WINDOW_Y;
    case QUERY_WINDOW_BORDER_WIDTH: return GLUT_WINDOW_BORDER_WIDTH;
    case QUERY_WINDOW_HEADER_HEIGHT: return GLUT_WINDOW_HEADER_HEIGHT;
    }
    return GLUT_WINDOW_X;
}

int currentWindow() { return glutGetWindow(); }
void setCurrentWindow(int window) { glutSetWindow(window); }
void postWindowRedisplay(int window) { glutPostWindowRedisplay(window); }
void showCurrentWindow() { glutShowWindow(); }
void hideCurrentWindow() { glutHideWindow(); }
void raiseCurrentWindow() { glutPopWindow(); }
void positionCurrentWindow(int x, int y) { glutPositionWindow(x, y); }
void resizeCurrentWindow(int width, int height) { glutReshapeWindow(width, height); }
void fullScreenCurrentWindow() { glutFullScreen(); }
int toolkitQuery(ToolkitQuery query) { return glutGet(glutQueryName(query)); }

int bitmapCharacterWidth(ToolkitFont font, unsigned char character)
{
    return glutBitmapWidth(glutFont(font), character);
}

void drawBitmapString(ToolkitFont font, const char *text)
{
    glutBitmapString(glutFont(font), reinterpret_cast<const unsigned char *>(text));
}
