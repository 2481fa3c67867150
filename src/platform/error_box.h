#pragma once

#include <string>

/// Reports a failure to the player: one line "Inconceivable!: <text>" on stderr, then a
/// modal error box captioned "Inconceivable!" with the same text that waits for OK. Where no
/// box can be shown (no display at all) the stderr line is the whole report. `cause`, when not
/// empty, is a library's own words for what went wrong: both show it as "<text> (<cause>)".
void showErrorBox(const std::string& text, const std::string& cause = "");
