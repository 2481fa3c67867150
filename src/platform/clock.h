#pragma once

/// Seconds on the system's monotonic clock, from an arbitrary origin, in double precision.
/// Throws std::runtime_error with the system's own text for errno when the clock cannot be read.
double monotonicSeconds();
