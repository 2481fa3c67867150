#pragma once

#include <string>

/// A pen origin in window pixels (origin bottom left, y up).
struct TextOrigin {
    float x;
    float y;
};

/// Face size of the countdown's fonts for a window `height` pixels tall (a third of it).
unsigned countdownFaceSize(int height);

/// Face size of the results screen's fonts for a window `width` pixels wide (a twelfth).
unsigned resultsFaceSize(int width);

/// The face size the results screen uses from now on, having used `current` so far, in a window
/// `width` pixels wide. `current` as a rule: the size is fixed when the screen starts. But once
/// that has proved too small to read (the screen started in a minimised or tiny window), the size
/// follows the window: the size for its current width, whenever that is legible. `following`
/// (false when the screen starts) records that the size has had to be retaken.
unsigned legibleResultsFaceSize(unsigned current, int width, bool& following);

/// The results screen's time line for the run time text: "Time: " followed by it.
std::string resultsLabel(const std::string& runTime);

/// The countdown's word for phase n: "3", "2", "1", then "SHOP!" for 0.
std::string countdownText(int n);

/// Scale of the countdown word `elapsed` seconds into its phase: 1 - 0.3 * elapsed, with the
/// elapsed time rounded to single precision first.
float countdownScale(double elapsed);

/// Baseline origin that centres a word of pen advance `advance` and face size `size`
/// (both unscaled), drawn at `scale`, in a `width` x `height` window.
TextOrigin countdownOrigin(int width, int height, float scale, float size, float advance);

/// Baseline origin of a results line of pen advance `advance` and face size `size`,
/// centred horizontally with its box centred `sixths` sixths (4, 3, 2 or 1) up the window.
TextOrigin resultsLineOrigin(int width, int height, int sixths, float size, float advance);

/// The results screen's line under the time: the record's ("Best: 0:37.300") when the run did
/// not beat it, the margin by which it did ("New best! -1.234"); empty when there was no record
/// before the run.
std::string bestLine(bool hadRecord, bool newBest, double previous, double best);
