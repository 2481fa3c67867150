#pragma once

#include <string>

/// Face size of all text drawn through this cache, in units of the current transform.
constexpr int textFaceSize = 32;

/// Makes sure the cache holds a filled and an outline font of `size` (points at 72 dpi),
/// loading each once; fonts stay for the rest of the run. Needs a current GL context
/// (glyphs first touched without one stay empty for good).
void ensureFonts(int size);

/// Draws `text` (ASCII) white with a black rim at face size 32, its baseline on the x axis
/// from the current origin: proportional, or fixed-pitch when `monospaced`. Leaves line
/// width 2 and the colour white. An empty string draws nothing and loads no font.
void drawText(const std::string& text, bool monospaced);

/// The width `drawText(text, true)` covers: length * the widest character's advance.
float textWidth(const std::string& text);
