#pragma once

// What opening a path as the game's data file says, for the platform tests of each system.

#include <stdexcept>
#include <string>

#include "platform/data_file.h"

/// The error opening `path` as a RegularFile gives; "opened" when it succeeds.
inline std::string verdict(const std::string& path)
{
    try {
        const RegularFile file(path);
        return "opened";
    } catch (const std::runtime_error& e) {
        return e.what();
    }
}
