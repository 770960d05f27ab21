// Showing and hiding the help card; helpVisible always tells its state.
#include "overlay/help_window.h"

#include "app/toolkit.h"
#include "app/viewer_state.h"
#include "overlay/centered_text.h"

#include <GL/gl.h>

void onSpecialKey(int key, int, int)
{
    // Everything else (other function keys, arrows, the Shift that arrives first as
    // a special key) does nothing.
    if (key == SPECIAL_KEY_F1) {
        toggleHelp();
    }
}

void toggleHelp()
{
    // F1 usually arrives in another window; showing and hiding act on the current one.
    setCurrentWindow(viewer.helpWindow);
    if (viewer.helpVisible) {
        hideCurrentWindow();
        viewer.helpVisible = false;
    } else {
        showCurrentWindow();
        viewer.helpVisible = true;
    }
}

void hideHelp()
{
    setCurrentWindow(viewer.helpWindow);
    hideCurrentWindow();
    viewer.helpVisible = false;
}

const char HELP_KEY_TEXT[] = "[0-9] - Choose palette\n"
                             "  [F] - Toggle fullscreen\n"
                             "  [I] - Toggle info\n"
                             "  [R] - Reset scale and shift\n"
                             "[+/-] - Increase/Decrease maximum\n"
                             "        number of iterations\n"
                             "  [S] - Save image to TGA file\n"
                             "        (the one pointed on by mouse)\n"
                             "[ESC] - Exit";

const char HELP_MOUSE_TEXT[] = "               Mouse:\n"
                               "      LMB + Drag - Shift view\n"
                               "RMB (Mandelbrot) - Set 'C' for Julia set\n"
                               "           Wheel - Zoom in/out";

void displayHelp()
{
    glClearColor(0.2f, 0.2f, 0.2f, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT);

    glColor3f(1.0f, 1.0f, 1.0f);
    glBegin(GL_LINE_LOOP);
    glVertex2i(5, 5);
    glVertex2i(395, 5);
    glVertex2i(395, 295);
    glVertex2i(5, 295);
    glEnd();

    drawCenteredText("HELP", FONT_9_BY_15, 200, 270, 1.0f, 1.0f, 1.0f);

    // Colour before raster position, each time (see drawCenteredText).
    glColor3f(1.0f, 1.0f, 1.0f);
    glRasterPos2i(50, 235);
    drawBitmapString(FONT_9_BY_15, HELP_KEY_TEXT);

    glColor3f(1.0f, 1.0f, 1.0f);
    glRasterPos2i(20, 75);
    drawBitmapString(FONT_9_BY_15, HELP_MOUSE_TEXT);

    glFlush();
}
