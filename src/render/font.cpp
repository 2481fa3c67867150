#include "render/font.h"

#include <FTGL/ftgl.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <stdexcept>

#include "platform/data_file.h"

const char* const fontFileName = "Receipt.ttf";
const char* const fontCharacters = "0123456789:.! EHOPSTefilmnqrstu";

namespace {

std::string cannotLoad() { return std::string("Cannot load font \"") + fontFileName + "\""; }

// FreeType's own words for an error code (its error-string table, built from its error list).
std::string freeTypeReason(FT_Error error)
{
    struct Entry {
        int code;
        const char* text;
    };
#undef FTERRORS_H_
#define FT_ERRORDEF(e, v, s) {v, s},
#define FT_ERROR_START_LIST static const Entry entries[] = {
#define FT_ERROR_END_LIST                                                                                    \
    }                                                                                                        \
    ;
#include FT_ERRORS_H
    for (const Entry& entry : entries)
        if (entry.code == error)
            return entry.text;
    return "FreeType error " + std::to_string(error);
}

// Why FreeType cannot draw the game's characters from `bytes`; empty when it can.
std::string freeTypeProblem(const std::vector<unsigned char>& bytes)
{
    FT_Library library = nullptr;
    if (const FT_Error error = FT_Init_FreeType(&library))
        return "FreeType cannot start: " + freeTypeReason(error);
    std::string problem;
    FT_Face face = nullptr;
    if (const FT_Error error =
            FT_New_Memory_Face(library, bytes.data(), static_cast<FT_Long>(bytes.size()), 0, &face)) {
        problem = "not a font FreeType can read: " + freeTypeReason(error);
    } else if (!FT_IS_SCALABLE(face)) {
        problem = "has no outlines to draw, only bitmaps";
    } else if (const FT_Error error = FT_Set_Char_Size(face, 0, 32 * 64, 72, 72)) {
        problem = "not a font FreeType can read: " + freeTypeReason(error);
    } else {
        for (const char* c = fontCharacters; *c && problem.empty(); ++c) {
            const FT_UInt glyph = FT_Get_Char_Index(face, static_cast<unsigned char>(*c));
            if (glyph == 0)
                problem = std::string("has no glyph for \"") + *c + "\"";
            else if (const FT_Error error = FT_Load_Glyph(face, glyph, FT_LOAD_NO_BITMAP))
                problem = std::string("not a font FreeType can read: ") + freeTypeReason(error) +
                          " (glyph \"" + *c + "\")";
        }
    }
    if (face)
        FT_Done_Face(face);
    FT_Done_FreeType(library);
    return problem;
}

template <class Font> std::unique_ptr<Font> loadFont()
{
    const std::vector<unsigned char>& bytes = gameFontBytes();
    auto font = std::make_unique<Font>(bytes.data(), bytes.size());
    if (font->Error() != 0)
        throw std::runtime_error(cannotLoad() + ": FTGL cannot use it: " + freeTypeReason(font->Error()));
    return font;
}

}  // namespace

std::vector<unsigned char> readFontFile(const std::string& path)
{
    const std::string from = cannotLoad() + " from " + path + ": ";
    std::vector<unsigned char> bytes;
    try {
        bytes = readRegularFile(path);
    } catch (const std::runtime_error& why) {
        throw std::runtime_error(from + why.what());
    }
    if (bytes.empty())
        throw std::runtime_error(from + "is empty");
    const std::string problem = freeTypeProblem(bytes);
    if (!problem.empty())
        throw std::runtime_error(from + problem);
    return bytes;
}

const std::vector<unsigned char>& gameFontBytes()
{
    // Never released: the text cache's fonts are made from these bytes and live to the end.
    static const std::vector<unsigned char>* bytes = nullptr;
    if (bytes)
        return *bytes;
    std::vector<std::string> tried;
    const std::string path = findDataFile(fontFileName, &tried);
    if (path.empty()) {
        std::string message = cannotLoad() + " (tried";
        for (size_t i = 0; i < tried.size(); ++i)
            message += (i ? ", " : " ") + tried[i];
        throw std::runtime_error(message + ")");
    }
    bytes = new std::vector<unsigned char>(readFontFile(path));
    return *bytes;
}

std::unique_ptr<FTPolygonFont> loadPolygonFont() { return loadFont<FTPolygonFont>(); }

std::unique_ptr<FTOutlineFont> loadOutlineFont() { return loadFont<FTOutlineFont>(); }
