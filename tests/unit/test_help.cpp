// The help card: its two texts byte for byte, what it draws, and F1 from every window.
#include "overlay/help_window.h"
#include "viewer_fixture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using Texts = std::vector<std::string>;

TEST(HelpTextTest, KeyAndMouseTextsByteForByte)
{
    EXPECT_STREQ(HELP_KEY_TEXT,
                 "[0-9] - Choose palette\n  [F] - Toggle fullscreen\n  [I] - Toggle info\n  [R] - Reset "
                 "scale and shift\n[+/-] - Increase/Decrease maximum\n        number of iterations\n  [S] "
                 "- Save image to TGA file\n        (the one pointed on by mouse)\n[ESC] - Exit");
    EXPECT_STREQ(HELP_MOUSE_TEXT,
                 "               Mouse:\n      LMB + Drag - Shift view\nRMB (Mandelbrot) - Set 'C' for "
                 "Julia set\n           Wheel - Zoom in/out");
}

static std::vector<std::string> linesOf(const std::string &text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
        lines.push_back(text.substr(start, end - start));
    }
    lines.push_back(text.substr(start));
    return lines;
}

// Leading spaces line up every " - " of the key text at column 5 and of the mouse text
// at column 16, and the key text's continuation lines at column 8.
TEST(HelpTextTest, LinesAndTheirColumns)
{
    struct Line {
        int leadingSpaces;
        const char *rest;
    };
    const std::vector<Line> keyLines = {
        {0, "[0-9] - Choose palette"},          {2, "[F] - Toggle fullscreen"},
        {2, "[I] - Toggle info"},               {2, "[R] - Reset scale and shift"},
        {0, "[+/-] - Increase/Decrease maximum"}, {8, "number of iterations"},
        {2, "[S] - Save image to TGA file"},    {8, "(the one pointed on by mouse)"},
        {0, "[ESC] - Exit"},
    };
    const std::vector<Line> mouseLines = {
        {15, "Mouse:"},
        {6, "LMB + Drag - Shift view"},
        {0, "RMB (Mandelbrot) - Set 'C' for Julia set"},
        {11, "Wheel - Zoom in/out"},
    };
    struct Text {
        const char *text;
        const std::vector<Line> &lines;
        size_t dashColumn;
    };
    const Text texts[] = {{HELP_KEY_TEXT, keyLines, 5}, {HELP_MOUSE_TEXT, mouseLines, 16}};
    for (const Text &t : texts) {
        const std::vector<std::string> got = linesOf(t.text);
        ASSERT_EQ(got.size(), t.lines.size());
        for (size_t i = 0; i < got.size(); ++i) {
            EXPECT_EQ(got[i], std::string(size_t(t.lines[i].leadingSpaces), ' ') + t.lines[i].rest);
            ASSERT_FALSE(got[i].empty());
            EXPECT_NE(got[i].back(), ' ') << got[i];
            const size_t dash = got[i].find(" - ");
            if (dash != std::string::npos) {
                EXPECT_EQ(dash, t.dashColumn) << got[i];
            } else if (t.text == HELP_KEY_TEXT) {
                EXPECT_EQ(got[i].find_first_not_of(' '), 8u) << got[i];
            }
        }
    }
}

class HelpCardTest : public ViewerTest {};

TEST_F(HelpCardTest, HelpCardDrawsHeadingThenKeyThenMouseText)
{
    resetFakeToolkit(HELP_WINDOW);
    displayHelp();
    EXPECT_EQ(fakeToolkit.texts, (Texts{"HELP", HELP_KEY_TEXT, HELP_MOUSE_TEXT}));
    // Drawing changes no window and no state.
    EXPECT_TRUE(fakeToolkit.calls.empty());
    EXPECT_FALSE(viewer.helpVisible);
}

TEST_F(HelpCardTest, F1ShowsAndHidesTheCardFromEveryWindow)
{
    const int windows[] = {MAIN_WINDOW, MANDEL_WINDOW, JULIA_WINDOW, HELP_WINDOW};
    for (const int window : windows) {
        // The card itself only gets key events while it is shown.
        const int first = window == HELP_WINDOW ? MAIN_WINDOW : window;
        resetFakeToolkit(first);
        onSpecialKey(SPECIAL_KEY_F1, 10, 10);
        EXPECT_TRUE(viewer.helpVisible) << "window " << window;
        EXPECT_TRUE(fakeWindowShown(HELP_WINDOW));
        EXPECT_EQ(fakeToolkit.current, HELP_WINDOW);
        EXPECT_EQ(fakeToolkit.calls, (Texts{"set 4", "show"}));

        resetFakeToolkit(window);
        onSpecialKey(SPECIAL_KEY_F1, 0, 0);
        EXPECT_FALSE(viewer.helpVisible) << "window " << window;
        EXPECT_FALSE(fakeWindowShown(HELP_WINDOW));
        EXPECT_EQ(fakeToolkit.current, HELP_WINDOW);
        EXPECT_EQ(fakeToolkit.calls, (Texts{"set 4", "hide"}));
        // Neither step touches the other windows.
        EXPECT_TRUE(fakeWindowShown(MAIN_WINDOW) && fakeWindowShown(MANDEL_WINDOW) &&
                    fakeWindowShown(JULIA_WINDOW));
    }
}

TEST_F(HelpCardTest, OtherSpecialKeysDoNothingInAnyWindow)
{
    // F2..F12, the arrows, page up/down, home, end, insert, and the modifier keys
    // (Shift arrives first as special key 112) in the toolkit's codes.
    const int keys[] = {2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 100, 101, 102, 103, 104, 105,
                        106, 107, 108, 109, 110, 111, 112, 113, 114, 115, 116, 117, 0, -1};
    const int windows[] = {MAIN_WINDOW, MANDEL_WINDOW, JULIA_WINDOW, HELP_WINDOW};
    for (const bool shown : {false, true}) {
        for (const int window : windows) {
            for (const int key : keys) {
                viewer.helpVisible = shown;
                resetFakeToolkit(window);
                onSpecialKey(key, 3, 4);
                EXPECT_TRUE(fakeToolkit.calls.empty()) << "key " << key << " window " << window;
                EXPECT_EQ(fakeToolkit.current, window);
                EXPECT_EQ(viewer.helpVisible, shown);
            }
        }
    }
}

TEST_F(HelpCardTest, HideHelpHidesTheCardFromAnyWindow)
{
    resetFakeToolkit(JULIA_WINDOW);
    toggleHelp();
    ASSERT_TRUE(viewer.helpVisible);
    resetFakeToolkit(MANDEL_WINDOW);
    hideHelp();
    EXPECT_FALSE(viewer.helpVisible);
    EXPECT_FALSE(fakeWindowShown(HELP_WINDOW));
    EXPECT_EQ(fakeToolkit.calls, (Texts{"set 4", "hide"}));
    // A second hide leaves it hidden, and F1 shows it again.
    hideHelp();
    EXPECT_FALSE(viewer.helpVisible);
    onSpecialKey(SPECIAL_KEY_F1, 0, 0);
    EXPECT_TRUE(viewer.helpVisible);
    EXPECT_TRUE(fakeWindowShown(HELP_WINDOW));
}
