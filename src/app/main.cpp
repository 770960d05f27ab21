// Start-up: processor count, start values, the four windows and their callbacks,
// then the toolkit's main loop.
#include "app/toolkit.h"
#include "app/viewer_state.h"
#include "app/window_shell.h"
#include "input/drag_pick.h"
#include "input/keyboard.h"
#include "input/pointer_zoom.h"
#include "overlay/help_window.h"

#include <GL/freeglut.h>
#include <omp.h>

#include <cstdio>
#include <cstdlib>

// Blending for the translucent overlay boxes, the view's callbacks, and an unpack
// alignment of 1 so that rows of any width follow each other with no gap.
static void initViewWindow()
{
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glutDisplayFunc(displayView);
    glutKeyboardFunc(onKeyboard);
    glutSpecialFunc(onSpecialKey);
    glutMouseFunc(onMouseButton);
    glutMotionFunc(onMouseDrag);
    glutPassiveMotionFunc(onPointerMove);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
}

int main(int argc, char **argv)
{
    std::atexit(releaseViewerBuffers);

    const int processors = omp_get_num_procs();
    std::printf("# of processors/cores: %i\n", processors);
    std::fflush(stdout);
    omp_set_num_threads(processors);

    resetViews();

    glutInit(&argc, argv);
    glutInitWindowSize(viewer.windowWidth, viewer.windowHeight);
    glutInitDisplayMode(GLUT_RGBA | GLUT_SINGLE | GLUT_ALPHA);

    char title[64];
    formatWindowTitle(title, sizeof title, processors);
    viewer.mainWindow = glutCreateWindow(title);
    glutDisplayFunc(displayView);
    glutReshapeFunc(onReshape);
    glutKeyboardFunc(onKeyboard);
    glutSpecialFunc(onSpecialKey);
    glutMouseFunc(onMouseButton);

    viewer.borderWidth = glutGet(GLUT_WINDOW_BORDER_WIDTH);
    const int border = viewer.borderWidth;
    const int w = viewer.viewWidth;
    const int h = viewer.viewHeight;

    viewer.mandelWindow = glutCreateSubWindow(viewer.mainWindow, border + 10, border + 10, w, h);
    initViewWindow();
    viewer.juliaWindow = glutCreateSubWindow(viewer.mainWindow, border + w + 20, border + 10, w, h);
    initViewWindow();

    viewer.helpWindow = glutCreateSubWindow(viewer.mainWindow, (viewer.windowWidth - 400) / 2,
                                            (viewer.windowHeight - 300) / 2, 400, 300);
    glutPopWindow();
    glutDisplayFunc(displayHelp);
    glutKeyboardFunc(onKeyboard);
    glutSpecialFunc(onSpecialKey);
    glutMouseFunc(onMouseButton);
    glutPassiveMotionFunc(onPointerMove);
    glutHideWindow();

    glutMainLoop();
    return 0;
}
