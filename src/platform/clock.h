#pragma once

/// Seconds on the system's monotonic clock, from an arbitrary origin, in double precision.
/// Throws std::runtime_error with the system's own text for errno when the clock cannot be read.
double monotonicSeconds();

/// Returns once monotonicSeconds() has reached `deadline` (seconds on the same clock): sleeps
/// to just short of it, then spins the last fraction of a millisecond, so the wake-up is neither
/// early nor late by a timer's slack. Returns at once for a deadline already past.
void sleepUntilSeconds(double deadline);
