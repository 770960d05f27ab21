// The recording toolkit fake linked into the unit tests.
#include "fake_toolkit.h"

#include <algorithm>

FakeToolkit fakeToolkit;

void resetFakeToolkit(int current)
{
    fakeToolkit.current = current;
    fakeToolkit.calls.clear();
    fakeToolkit.texts.clear();
}

bool fakeWindowShown(int window)
{
    return std::find(fakeToolkit.shown.begin(), fakeToolkit.shown.end(), window) !=
           fakeToolkit.shown.end();
}

static void record(const std::string &call) { fakeToolkit.calls.push_back(call); }

int currentWindow() { return fakeToolkit.current; }

void setCurrentWindow(int window)
{
    fakeToolkit.current = window;
    record("set " + std::to_string(window));
}

void postWindowRedisplay(int window) { record("post " + std::to_string(window)); }

void showCurrentWindow()
{
    if (!fakeWindowShown(fakeToolkit.current)) {
        fakeToolkit.shown.push_back(fakeToolkit.current);
    }
    record("show");
}

void hideCurrentWindow()
{
    std::erase(fakeToolkit.shown, fakeToolkit.current);
    record("hide");
}

void raiseCurrentWindow() { record("raise"); }

void positionCurrentWindow(int x, int y)
{
    record("position " + std::to_string(x) + " " + std::to_string(y));
}

void resizeCurrentWindow(int width, int height)
{
    record("resize " + std::to_string(width) + " " + std::to_string(height));
}

void fullScreenCurrentWindow() { record("fullscreen"); }

int toolkitQuery(ToolkitQuery query) { return fakeToolkit.queryAnswers[query]; }

// The fixed-width font is 9 pixels a character; the proportional one gets a fixed
// stand-in width of 10 so that centring stays checkable.
int bitmapCharacterWidth(ToolkitFont font, unsigned char)
{
    return font == FONT_9_BY_15 ? 9 : 10;
}

void drawBitmapString(ToolkitFont, const char *text) { fakeToolkit.texts.push_back(text); }
