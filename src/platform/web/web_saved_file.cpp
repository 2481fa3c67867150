// Saved files in a browser: the page's own storage (localStorage, kept per origin), a file being
// one key, "<folder>/<name>", its bytes as hexadecimal text. One setItem replaces a value whole,
// so a replacement is atomic by nature; a page runs its game on one thread, so the lock has
// nothing to keep out. Without storage (node, a browser that refuses it) nothing is kept, and
// writing says so.

#include "platform/saved_file.h"

#include <emscripten.h>

#include <cstdlib>

namespace {

// clang-format off
EM_JS(int, storageGet, (const char* key, int limit), {
    try {
        var value = localStorage.getItem(UTF8ToString(key));
        if (value === null)
            return 0;
        if (value.length > 2 * limit)
            return -2;
        Module["shelvoySavedValue"] = value;
        return 1;
    } catch (e) {
        return -1;
    }
});

EM_JS(int, storageTakeValue, (unsigned char* into, int size), {
    var value = Module["shelvoySavedValue"] || "";
    delete Module["shelvoySavedValue"];
    if (value.length !== 2 * size || /[^0-9a-f]/.test(value))
        return 0;
    for (var i = 0; i < size; ++i)
        HEAPU8[into + i] = parseInt(value.substr(2 * i, 2), 16);
    return 1;
});

EM_JS(int, storageValueLength, (), {
    return (Module["shelvoySavedValue"] || "").length;
});

EM_JS(int, storageSet, (const char* key, const unsigned char* bytes, int size), {
    try {
        var hex = "";
        for (var i = 0; i < size; ++i)
            hex += (HEAPU8[bytes + i] < 16 ? "0" : "") + HEAPU8[bytes + i].toString(16);
        localStorage.setItem(UTF8ToString(key), hex);
        return 1;
    } catch (e) {
        return 0;
    }
});

EM_JS(int, storageRename, (const char* from, const char* to), {
    try {
        var value = localStorage.getItem(UTF8ToString(from));
        if (value === null || localStorage.getItem(UTF8ToString(to)) !== null)
            return 0;
        localStorage.setItem(UTF8ToString(to), value);
        localStorage.removeItem(UTF8ToString(from));
        return 1;
    } catch (e) {
        return -1;
    }
});

EM_JS(int, storageAvailable, (), {
    try {
        return typeof localStorage !== "undefined" && localStorage !== null ? 1 : 0;
    } catch (e) {
        return 0;
    }
});
// clang-format on

std::string keyOf(const std::string& folder, const std::string& name) { return folder + "/" + name; }

}  // namespace

std::string savedDataFolder() { return "shelvoy"; }

std::string makeSavedDataFolder(const std::string& /*folder*/)
{
    return storageAvailable() ? std::string() : std::string("the page has no storage");
}

SavedRead readSavedFile(const std::string& folder, const std::string& name, std::size_t limit)
{
    SavedRead result;
    const int found = storageGet(keyOf(folder, name).c_str(), static_cast<int>(limit));
    if (found == 0)
        return result;
    if (found == -2) {
        result.status = SavedRead::Status::tooLarge;
        return result;
    }
    if (found < 0) {
        result.status = SavedRead::Status::unreadable;
        result.why = "the page's storage refuses it";
        return result;
    }
    const int length = storageValueLength();
    result.bytes.resize(static_cast<std::size_t>(length / 2));
    if (length % 2 != 0 || !storageTakeValue(result.bytes.data(), length / 2)) {
        storageTakeValue(nullptr, 0);  // let the value go
        result.bytes.clear();
        result.status = SavedRead::Status::unreadable;
        result.why = "not hexadecimal text";
        return result;
    }
    result.status = SavedRead::Status::read;
    return result;
}

std::string replaceSavedFile(const std::string& folder, const std::string& name,
                             const std::vector<unsigned char>& bytes)
{
    return storageSet(keyOf(folder, name).c_str(), bytes.data(), static_cast<int>(bytes.size()))
               ? std::string()
               : std::string("the page's storage is full or refuses it");
}

std::string setSavedFileAside(const std::string& folder, const std::string& name, std::string& why)
{
    for (int n = 1; n < 1000; ++n) {
        const std::string aside = name + (n == 1 ? ".bad" : ".bad-" + std::to_string(n));
        const int moved = storageRename(keyOf(folder, name).c_str(), keyOf(folder, aside).c_str());
        if (moved == 1)
            return aside;
        if (moved < 0)
            break;
    }
    why = "the page's storage refuses it";
    return {};
}

SavedDataLock::SavedDataLock(const std::string& /*folder*/) : m_handle(0) {}

SavedDataLock::~SavedDataLock() = default;
