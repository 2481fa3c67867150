#pragma once

#include <string>

/// Face size of all text drawn through this cache, in units of the current transform.
constexpr int textFaceSize = 32;

/// Makes sure the cache holds a filled and an outline font of `size` (points at 72 dpi),
/// loading each once; fonts stay for the rest of the run. Needs a current GL context
/// (glyphs first touched without one stay empty for good).
void ensureFonts(int size);

/// The face size of text drawn at `scale` (screen pixels per logical pixel): 32 * scale,
/// rounded, at least 1.
int scaledFaceSize(float scale);

/// A text colour: red, green and blue, 0 to 1.
struct TextColour {
    float red = 1.0f;
    float green = 1.0f;
    float blue = 1.0f;
};

/// Draws `text` (ASCII) in `colour` (white unless told) with a black rim at face size 32, its
/// baseline on the x axis from the current origin: proportional, or fixed-pitch when
/// `monospaced`. At a `scale` other than 1 (a HiDPI screen) the face size and both rim widths are
/// multiplied by it. Leaves line width 2 * scale and the colour `colour`. An empty string draws
/// nothing and loads no font.
void drawText(const std::string& text, bool monospaced, float scale = 1.0f, TextColour colour = {});

/// The width `drawText(text, true, scale)` covers: length * the widest character's advance.
float textWidth(const std::string& text, float scale = 1.0f);
/// The width `drawText(text, false, scale)` covers: the string's advance in the filled font.
float proportionalTextWidth(const std::string& text, float scale = 1.0f);

/// Builds the glyphs of every character of `characters` in both fonts of `scale`, so drawing
/// them later builds nothing (the first frame of the game then costs no more than any other).
void prepareText(const std::string& characters, float scale = 1.0f);
