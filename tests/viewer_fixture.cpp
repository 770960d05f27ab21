// Start-up of the viewer state for the unit tests, as main and the first reshape do it.
#include "viewer_fixture.h"

#include "app/window_shell.h"

void startViewer(int windowWidth, int windowHeight)
{
    releaseViewerBuffers();
    viewer = startViewerState();
    resetViews();
    viewer.mainWindow = MAIN_WINDOW;
    viewer.mandelWindow = MANDEL_WINDOW;
    viewer.juliaWindow = JULIA_WINDOW;
    viewer.helpWindow = HELP_WINDOW;
    fakeToolkit.shown.clear();
    fakeToolkit.shown.push_back(MAIN_WINDOW);
    fakeToolkit.shown.push_back(MANDEL_WINDOW);
    fakeToolkit.shown.push_back(JULIA_WINDOW);
    resetFakeToolkit(MAIN_WINDOW);
    onReshape(windowWidth, windowHeight);
    resetFakeToolkit(MAIN_WINDOW);
}
