#pragma once

// What the platform layer's Windows side shares: text between the game (UTF-8) and the system's
// wide functions (UTF-16), the system's error texts, and handles closed with their owner.

#include <windows.h>

#include <string>

/// `text` (UTF-8) as UTF-16, for the system's wide functions; invalid bytes become U+FFFD.
std::wstring utf16FromUtf8(const std::string& text);

/// `text` (UTF-16 from the system) as UTF-8.
std::string utf8FromUtf16(const std::wstring& text);

/// The system's own words for error `code` (a GetLastError value), from its message table in the
/// default language (FormatMessageW, the buffer freed with LocalFree), as UTF-8 and without the
/// line break the table ends them with; "Windows error <code>" when it has none.
std::string systemErrorText(unsigned long code);

/// A handle of the system's, closed when the object goes (null or INVALID_HANDLE_VALUE: none).
class OwnedHandle {
public:
    explicit OwnedHandle(HANDLE handle) : m_handle(handle) {}
    ~OwnedHandle()
    {
        if (valid())
            CloseHandle(m_handle);
    }
    OwnedHandle(const OwnedHandle&) = delete;
    OwnedHandle& operator=(const OwnedHandle&) = delete;
    OwnedHandle& operator=(OwnedHandle&& other) noexcept
    {
        if (this != &other) {
            if (valid())
                CloseHandle(m_handle);
            m_handle = other.release();
        }
        return *this;
    }

    bool valid() const { return m_handle && m_handle != INVALID_HANDLE_VALUE; }
    HANDLE get() const { return m_handle; }
    /// Gives the handle up to the caller, who closes it from now on.
    HANDLE release()
    {
        const HANDLE handle = m_handle;
        m_handle = nullptr;
        return handle;
    }

private:
    HANDLE m_handle;
};
