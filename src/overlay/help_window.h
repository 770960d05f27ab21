// The help card: its drawing, and F1 / hide from any window.
#pragma once

// Toolkit code of the F1 special key.
constexpr int SPECIAL_KEY_F1 = 1;

void onSpecialKey(int key, int x, int y);
void toggleHelp();
void hideHelp();

// The two texts of the card, drawn in the fixed-width font.
extern const char HELP_KEY_TEXT[];
extern const char HELP_MOUSE_TEXT[];

// Display callback of the help card: frame, "HELP" and the two texts.
void displayHelp();
