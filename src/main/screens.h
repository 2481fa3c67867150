#pragma once

class World;

/// The opening countdown over the still store: "3", "2", "1", "SHOP!", one second each,
/// each word shrinking as its second runs out. The cameras update; the World is neither
/// stepped nor sampled. Needs the game window.
void showCountdown(World& world);

/// The results screen over the frozen, dimmed store: "Time: " and the run time, with
/// "Enter quits" below, until Enter is down (tested before every frame, so a held Enter
/// skips it). Needs the game window.
void showResults(World& world);
