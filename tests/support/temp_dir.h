#pragma once

// A fresh directory for one test, removed with everything in it.

#include <filesystem>
#include <random>
#include <stdexcept>
#include <string>
#include <system_error>

class TempDir {
public:
    // Short, so that an error box naming paths in it fits on the screen.
    TempDir()
    {
        std::random_device random;
        for (int attempt = 0; attempt < 100; ++attempt) {
            const std::filesystem::path path =
                std::filesystem::temp_directory_path() / ("sv-" + std::to_string(random() % 1000000));
            std::error_code error;
            if (std::filesystem::create_directory(path, error)) {
                m_path = path;
                return;
            }
        }
        throw std::runtime_error("cannot make a temporary directory");
    }
    ~TempDir()
    {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return m_path; }
    /// The path of `name` in this directory, as a string.
    std::string operator/(const std::string& name) const { return (m_path / name).string(); }

private:
    std::filesystem::path m_path;
};
