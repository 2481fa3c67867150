// Box2D as a shared library (Linux): its imports of sinf, cosf, sincosf and atan2f are pointed at
// the game's functions once, as the executable starts (see physics_library_math.h). An import is
// a slot in the library's table of imported addresses, found through the relocations that the
// dynamic linker filled it by; after relocation that table is read-only (RELRO) and is made
// writable only for the moment of the change.

#include "platform/physics_library_math.h"

#include <elf.h>
#include <link.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstring>

#include "platform/float_math.h"

#if defined(__x86_64__)
#define SHELVOY_SLOT_RELOCATION(type) ((type) == R_X86_64_JUMP_SLOT || (type) == R_X86_64_GLOB_DAT)
#elif defined(__aarch64__)
#define SHELVOY_SLOT_RELOCATION(type) ((type) == R_AARCH64_JUMP_SLOT || (type) == R_AARCH64_GLOB_DAT)
#else
#error "which relocations fill an import's slot on this processor?"
#endif

namespace {

void sinCos(float x, float* s, float* c) { portableSinCos(x, *s, *c); }

struct Replacement {
    const char* name;
    void* function;
};

const Replacement replacements[] = {
    {"sinf", reinterpret_cast<void*>(&portableSin)},
    {"cosf", reinterpret_cast<void*>(&portableCos)},
    {"sincosf", reinterpret_cast<void*>(&sinCos)},
    {"atan2f", reinterpret_cast<void*>(&portableAtan2)},
};

bool isBox2d(const char* path)
{
    const char* name = std::strrchr(path, '/');
    name = name ? name + 1 : path;
    return std::strncmp(name, "libbox2d.so", 11) == 0;
}

// A pointer of the dynamic section: glibc has it relocated already, other loaders may not.
template <class T> T* dynamicAddress(ElfW(Addr) base, ElfW(Addr) value)
{
    return reinterpret_cast<T*>(value < base ? base + value : value);
}

// Writes `function` into the slot at `slot`, which may lie in the read-only RELRO range; false
// when the page could not be made writable (the slot then keeps the C library's function).
bool writeSlot(void** slot, void* function, ElfW(Addr) relroStart, ElfW(Addr) relroEnd)
{
    const auto address = reinterpret_cast<ElfW(Addr)>(slot);
    const bool relro = address >= relroStart && address < relroEnd;
    const auto page = static_cast<ElfW(Addr)>(sysconf(_SC_PAGESIZE));
    void* start = reinterpret_cast<void*>(address & ~(page - 1));
    if (relro && mprotect(start, page, PROT_READ | PROT_WRITE) != 0)
        return false;
    *slot = function;
    if (relro)
        mprotect(start, page, PROT_READ);
    return true;
}

// The imports of one loaded object, rebound; the number rebound, or -1 when a slot could not be
// written.
int rebind(const dl_phdr_info& object)
{
    const ElfW(Addr) base = object.dlpi_addr;
    const ElfW(Dyn)* dynamic = nullptr;
    ElfW(Addr) relroStart = 0;
    ElfW(Addr) relroEnd = 0;
    for (int i = 0; i < object.dlpi_phnum; ++i) {
        const ElfW(Phdr)& header = object.dlpi_phdr[i];
        if (header.p_type == PT_DYNAMIC)
            dynamic = reinterpret_cast<const ElfW(Dyn)*>(base + header.p_vaddr);
        if (header.p_type == PT_GNU_RELRO) {
            relroStart = base + header.p_vaddr;
            relroEnd = relroStart + header.p_memsz;
        }
    }
    if (!dynamic)
        return 0;
    const ElfW(Sym)* symbols = nullptr;
    const char* names = nullptr;
    const ElfW(Rela) * tables[2] = {nullptr, nullptr};
    ElfW(Xword) sizes[2] = {0, 0};
    for (const ElfW(Dyn)* entry = dynamic; entry->d_tag != DT_NULL; ++entry) {
        switch (entry->d_tag) {
        case DT_SYMTAB:
            symbols = dynamicAddress<const ElfW(Sym)>(base, entry->d_un.d_ptr);
            break;
        case DT_STRTAB:
            names = dynamicAddress<const char>(base, entry->d_un.d_ptr);
            break;
        case DT_JMPREL:
            tables[0] = dynamicAddress<const ElfW(Rela)>(base, entry->d_un.d_ptr);
            break;
        case DT_PLTRELSZ:
            sizes[0] = entry->d_un.d_val;
            break;
        case DT_RELA:
            tables[1] = dynamicAddress<const ElfW(Rela)>(base, entry->d_un.d_ptr);
            break;
        case DT_RELASZ:
            sizes[1] = entry->d_un.d_val;
            break;
        default:
            break;
        }
    }
    if (!symbols || !names)
        return 0;
    int rebound = 0;
    for (int t = 0; t < 2; ++t) {
        if (!tables[t])
            continue;
        for (ElfW(Xword) i = 0; i < sizes[t] / sizeof(ElfW(Rela)); ++i) {
            const ElfW(Rela)& relocation = tables[t][i];
            const auto type = ELF64_R_TYPE(relocation.r_info);
            if (!SHELVOY_SLOT_RELOCATION(type))
                continue;
            const char* name = names + symbols[ELF64_R_SYM(relocation.r_info)].st_name;
            for (const Replacement& replacement : replacements)
                if (std::strcmp(name, replacement.name) == 0) {
                    if (!writeSlot(reinterpret_cast<void**>(base + relocation.r_offset), replacement.function,
                                   relroStart, relroEnd))
                        return -1;
                    ++rebound;
                }
        }
    }
    return rebound;
}

int rebindBox2d()
{
    int rebound = 0;
    dl_iterate_phdr(
        [](dl_phdr_info* object, size_t, void* count) {
            if (object->dlpi_name && isBox2d(object->dlpi_name)) {
                const int rebound = rebind(*object);
                *static_cast<int*>(count) = rebound < 0 ? 0 : *static_cast<int*>(count) + rebound;
                return rebound < 0 ? 1 : 0;  // a slot left as it was: none can be trusted
            }
            return 0;
        },
        &rebound);
    return rebound;
}

// Before main, and before any static object of the game's could step a world.
const int bindings = rebindBox2d();

}  // namespace

int physicsLibraryMathBindings() { return bindings; }
