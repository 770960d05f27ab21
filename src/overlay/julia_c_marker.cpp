// The marker of C: its position and the red cross.
#include "overlay/julia_c_marker.h"

#include <GL/gl.h>

// Truncation toward zero. Far outside the view (extreme zoom) the value is held at a
// bound instead, so that the conversion and the arms' +-10 stay within int; GL clips
// the cross either way.
static int markerCoordinate(double value)
{
    constexpr double BOUND = 1e9;
    if (!(value > -BOUND)) {
        return -int(BOUND);
    }
    if (value > BOUND) {
        return int(BOUND);
    }
    return int(value);
}

MarkerPosition juliaCMarkerPosition(FractalView mandelView, PlanePoint c, int width, int height)
{
    const double cx = mandelView.centerX;
    const double cy = mandelView.centerY;
    const double s = mandelView.scale;
    const int halfWidth = width / 2;
    const int halfHeight = height / 2;
    // The order of operations is that of the pick, so that the two stay each other's inverse.
    const double x = (c.re * 0.25 - cx * 0.25 / 700.0) / s * 700.0 + halfWidth;
    const double y = halfHeight - (c.im * 0.25 + cy * 0.25 / 700.0) / s * 700.0;
    return {markerCoordinate(x), markerCoordinate(y)};
}

void drawJuliaCMarker()
{
    const MarkerPosition at =
        juliaCMarkerPosition(viewer.mandelView, viewer.juliaC, viewer.viewWidth, viewer.viewHeight);
    glColor3f(1.0f, 0.0f, 0.0f);
    glBegin(GL_LINES);
    glVertex2i(at.x - 10, at.y);
    glVertex2i(at.x + 10, at.y);
    glVertex2i(at.x, at.y - 10);
    glVertex2i(at.x, at.y + 10);
    glEnd();
}
