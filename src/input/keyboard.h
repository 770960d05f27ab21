// The character-key commands, the same in every window.
#pragma once

constexpr unsigned char KEY_ESCAPE = 27;

// Keyboard callback of all four windows; the position that comes with the key is
// not used (the zoom keys use the one onPointerMove recorded).
void onKeyboard(unsigned char key, int x, int y);
