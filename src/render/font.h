#pragma once

#include <memory>
#include <string>

class FTPolygonFont;
class FTOutlineFont;

/// The game's font file name, looked for in the working directory, then beside the executable.
extern const char* const fontFileName;

/// Where "Receipt.ttf" is found. Throws std::runtime_error "Cannot load font "Receipt.ttf""
/// with every place tried when it is found nowhere.
std::string fontPath();

/// A filled font of the game's font file. Throws std::runtime_error naming the file when
/// FreeType cannot load it (a font that failed to load must never be sized or drawn).
std::unique_ptr<FTPolygonFont> loadPolygonFont();

/// An outline font of the game's font file; fails as loadPolygonFont does.
std::unique_ptr<FTOutlineFont> loadOutlineFont();
