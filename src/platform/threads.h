#pragma once

// Whether the game can run work on threads of its own. A desktop system can (and says why not,
// with std::system_error, where one cannot be had at that moment); a page's WebAssembly cannot,
// and there the C++ library's asynchronous tasks would wait for a thread that never runs.

/// Whether std::thread and std::async(std::launch::async) may be asked for at all here.
bool threadsAvailable();
