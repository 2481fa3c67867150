#include "render/font.h"

#include <FTGL/ftgl.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cstdint>
#include <new>
#include <stdexcept>

#include "platform/data_file.h"

const char* const fontFileName = "Receipt.ttf";
const char* const fontCharacters = "0123456789:.! EHOPSTefilmnqrstu";

namespace {

constexpr std::uint64_t largestFontFile = 64u << 20;  // bytes: the largest real fonts are a few MiB
constexpr std::size_t fontSignatureSize = 4;          // bytes at the start of the file

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

// Every TrueType or OpenType file starts with one of these: TrueType outlines (version 1.0, or
// Apple's "true"), PostScript outlines ("OTTO"), a collection ("ttcf"), Apple's "typ1".
bool hasFontSignature(const unsigned char head[fontSignatureSize])
{
    static const unsigned char signatures[][fontSignatureSize] = {
        {0x00, 0x01, 0x00, 0x00}, {'t', 'r', 'u', 'e'}, {'O', 'T', 'T', 'O'},
        {'t', 't', 'c', 'f'},     {'t', 'y', 'p', '1'},
    };
    for (const auto& signature : signatures)
        if (std::equal(signature, signature + fontSignatureSize, head))
            return true;
    return false;
}

// The font file's bytes, refused (with the reason alone) before it is read whole when it is no
// font: too large for one, or starting without a font's signature.
std::vector<unsigned char> readCheckedFont(const std::string& path)
{
    RegularFile file(path);
    if (file.size() == 0)
        throw std::runtime_error("is empty");
    if (file.size() > largestFontFile) {
        // Whole mebibytes as they are; a size between two of them is "over" the lower one.
        const bool whole = (file.size() & ((1u << 20) - 1)) == 0;
        throw std::runtime_error("is " + std::string(whole ? "" : "over ") +
                                 std::to_string(file.size() >> 20) + " MiB, larger than any font (" +
                                 std::to_string(largestFontFile >> 20) + " MiB at most)");
    }
    std::vector<unsigned char> bytes(fontSignatureSize);
    if (file.read(bytes.data(), fontSignatureSize) < fontSignatureSize || !hasFontSignature(bytes.data()))
        throw std::runtime_error("is not a TrueType or OpenType font");

    // The size as it was opened, and not a byte more should the file be growing meanwhile.
    bytes.resize(static_cast<std::size_t>(file.size()));
    bytes.resize(fontSignatureSize +
                 file.read(bytes.data() + fontSignatureSize, bytes.size() - fontSignatureSize));
    const std::string problem = freeTypeProblem(bytes);
    if (!problem.empty())
        throw std::runtime_error(problem);
    return bytes;
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
    try {
        return readCheckedFont(path);
    } catch (const std::bad_alloc&) {
        throw std::runtime_error(from + "not enough memory to read it");
    } catch (const std::exception& why) {
        throw std::runtime_error(from + why.what());
    }
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
