#pragma once

#include <memory>
#include <string>

class FTOutlineFont;
class FTPolygonFont;
class World;

/// A screen's own pair of fonts of the game's font file, for the screen's duration.
/// Members go in reverse order: the outline font first, then the filled one.
struct ScreenFonts {
    std::unique_ptr<FTPolygonFont> fill;
    std::unique_ptr<FTOutlineFont> outline;
};

/// Loads both screen fonts at face `size` (points at 72 dpi). Needs the GL context.
ScreenFonts loadScreenFonts(unsigned size);

/// Builds, before the countdown's clock starts, what its first frames would otherwise build
/// while it runs: the glyphs of the four words in `fonts` and of every character the counters
/// show (and the splits', when there is a record to race), and the renderer's first drawing of the
/// scene and a word (drawn, not presented).
void prepareCountdown(World& world, ScreenFonts& fonts);

/// Over a frame drawn by renderFrame: the countdown `text` centred in the window at `scale`,
/// white over a 20-pixel black rim.
void drawCountdownWord(ScreenFonts& fonts, const std::string& text, float scale);

/// Over a frame drawn by renderFrame: the scene dimmed by half, `label` centred two thirds
/// up, `best` (unless empty) half way up, "Enter quits" one third up and "Space plays again" a
/// sixth up.
void drawResultsOverlay(ScreenFonts& fonts, const std::string& label, const std::string& best = {});

/// The opening countdown over the still store: "3", "2", "1", "SHOP!", one second each,
/// each word shrinking as its second runs out, and each word's beep asked of gameSound as its
/// first frame is drawn. The cameras update; the World is neither stepped nor sampled. Needs the
/// game window and gameSound.
void showCountdown(World& world);

/// The results screen over the frozen, dimmed store: "Time: " and the run time, `best` under
/// it (unless empty), with "Enter quits" and "Space plays again" below, until Enter is down
/// (tested before every frame, so a held Enter skips it): then it returns. Space, A or Start
/// pressed while it shows throw PlayAgain. It opens with gameSound's flourish, the brighter one
/// for `newBest`. Needs the game window and gameSound.
void showResults(World& world, const std::string& best = {}, bool newBest = false);
