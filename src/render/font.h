#pragma once

#include <memory>
#include <string>
#include <vector>

class FTPolygonFont;
class FTOutlineFont;

/// The game's font file name, looked for in the working directory, then beside the executable,
/// then in the installed data directory.
extern const char* const fontFileName;

/// Every character the game ever draws: the counters, the countdown's words, the results screen.
extern const char* const fontCharacters;

/// Reads the font file at `path` whole (only a regular file, and without ever blocking on
/// anything else) and checks that FreeType can draw each of fontCharacters from it. A file larger
/// than any font (64 MiB) or starting without a TrueType or OpenType signature is refused before
/// it is read whole. Throws std::runtime_error "Cannot load font "Receipt.ttf" from <path>: <why>"
/// for every failure, the why in words: "is not a regular file", "permission denied", "is empty",
/// "is not a TrueType or OpenType font", "not a font FreeType can read: <FreeType's reason>", and
/// the like.
std::vector<unsigned char> readFontFile(const std::string& path);

/// The bytes of the game's font: found by the data-file lookup and read with readFontFile on the
/// first call, then kept for the rest of the program, since fonts made from them live that long.
/// Throws as readFontFile does, or "Cannot load font "Receipt.ttf" (tried <every place>)" when
/// the file is nowhere. The shell calls it at start-up, before any window opens, so that nothing
/// reads the disk after that.
const std::vector<unsigned char>& gameFontBytes();

/// A filled font of the game's font, made from gameFontBytes(): nothing is read from disk. Throws
/// std::runtime_error when FTGL cannot use the bytes (a font that failed to load must never be sized or
/// drawn).
std::unique_ptr<FTPolygonFont> loadPolygonFont();

/// An outline font of the game's font, made from gameFontBytes(); fails as loadPolygonFont does.
std::unique_ptr<FTOutlineFont> loadOutlineFont();
