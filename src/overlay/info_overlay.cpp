// The info overlay: its lines, formatted without a display, and their drawing.
#include "overlay/info_overlay.h"

#include "app/toolkit.h"
#include "overlay/centered_text.h"
#include "render/palettes.h"

#include <GL/gl.h>

#include <cstdio>

void formatOverlayText(const ViewerState &state, bool juliaView, OverlayText &text)
{
    const FractalView &view = juliaView ? state.juliaView : state.mandelView;
    std::snprintf(text.title, sizeof text.title, "%s", juliaView ? "Julia set" : "Mandelbrot set");
    std::snprintf(text.scale, sizeof text.scale, "   scale: %g", 1.0 / view.scale);
    std::snprintf(text.position, sizeof text.position, "position:% f %+f i",
                  view.centerX * 0.25 * 4.0 / 700.0, view.centerY * 0.25 * 4.0 / 700.0);
    text.juliaC[0] = '\0';
    text.limits[0] = '\0';
    if (juliaView) {
        std::snprintf(text.juliaC, sizeof text.juliaC, "      C =% f %+f i", state.juliaC.re,
                      state.juliaC.im);
        const char *name = state.paletteIndex < PALETTE_COUNT ? paletteNames[state.paletteIndex] : "";
        std::snprintf(text.limits, sizeof text.limits, "iterations: %i\npalette: %s",
                      state.maxIterations, name);
    }
    text.titleBoxWidth = juliaView ? 77 : 134;
    text.bandHeight = juliaView ? 55 : 40;
}

// Colour before raster position: GL fixes the colour of bitmap text with the position.
static void drawOverlayLine(const char *line, int x, int y)
{
    glColor3f(1.0f, 0.5f, 0.5f);
    glRasterPos2i(x, y);
    drawBitmapString(FONT_9_BY_15, line);
}

void drawInfoOverlay(int window)
{
    const bool juliaView = window == viewer.juliaWindow;
    OverlayText text;
    formatOverlayText(viewer, juliaView, text);
    const int w = viewer.viewWidth;
    const int h = viewer.viewHeight;
    const int halfBox = text.titleBoxWidth / 2;

    // Black at alpha 0.7 over the pixels (blending is on in the views): the title box
    // at the top edge and the band along the bottom.
    glColor4f(0.0f, 0.0f, 0.0f, 0.7f);
    glBegin(GL_QUADS);
    glVertex2i(w / 2 - halfBox, h);
    glVertex2i(w / 2 + halfBox, h);
    glVertex2i(w / 2 + halfBox, h - 25);
    glVertex2i(w / 2 - halfBox, h - 25);
    glVertex2i(0, 0);
    glVertex2i(w, 0);
    glVertex2i(w, text.bandHeight);
    glVertex2i(0, text.bandHeight);
    glEnd();

    drawCenteredText(text.title, FONT_HELVETICA_18, w / 2, h - 20, 1.0f, 0.2f, 0.2f);

    drawOverlayLine(text.scale, 5, 5);
    drawOverlayLine(text.position, 5, 20);
    if (juliaView) {
        drawOverlayLine(text.juliaC, 5, 35);
        // The line break continues one font line lower at the same x.
        drawOverlayLine(text.limits, w - 155, 20);
    }
}
