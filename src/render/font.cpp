#include "render/font.h"

#include <FTGL/ftgl.h>

#include <stdexcept>
#include <vector>

#include "platform/data_file.h"

const char* const fontFileName = "Receipt.ttf";

namespace {

std::string cannotLoad() { return std::string("Cannot load font \"") + fontFileName + "\""; }

template <class Font> std::unique_ptr<Font> loadFont()
{
    const std::string path = fontPath();
    auto font = std::make_unique<Font>(path.c_str());
    if (font->Error() != 0)
        throw std::runtime_error(cannotLoad() + " from " + path + " (FreeType error " +
                                 std::to_string(font->Error()) + ")");
    return font;
}

}  // namespace

std::string fontPath()
{
    std::vector<std::string> tried;
    const std::string path = findDataFile(fontFileName, &tried);
    if (!path.empty())
        return path;
    std::string message = cannotLoad() + " (tried";
    for (size_t i = 0; i < tried.size(); ++i)
        message += (i ? ", " : " ") + tried[i];
    throw std::runtime_error(message + ")");
}

std::unique_ptr<FTPolygonFont> loadPolygonFont() { return loadFont<FTPolygonFont>(); }

std::unique_ptr<FTOutlineFont> loadOutlineFont() { return loadFont<FTOutlineFont>(); }
