// The error box in a browser: a box on the page, captioned "Inconceivable!", that the page's
// shelvoyShowFailure draws (data/web/index.html); the line goes to the console as stderr does.
// Without a page (under node) the console line is the whole report.

#include "platform/error_box.h"

#include <emscripten.h>

#include <cstdio>

namespace {

// clang-format off
EM_JS(void, showOnPage, (const char* text), {
    if (typeof Module !== "undefined" && typeof Module["shelvoyShowFailure"] === "function")
        Module["shelvoyShowFailure"](UTF8ToString(text));
});
// clang-format on

}  // namespace

void showErrorBox(const std::string& text, const std::string& cause)
{
    const std::string report = cause.empty() ? text : text + " (" + cause + ")";
    std::fprintf(stderr, "Inconceivable!: %s\n", report.c_str());
    std::fflush(stderr);
    showOnPage(report.c_str());
}
