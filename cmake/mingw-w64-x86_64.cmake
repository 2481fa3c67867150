# Toolchain file for 64-bit Windows, built on Debian with the mingw-w64 cross compilers
# (scripts/build-windows.sh uses it for the libraries and the game). Give the prefix that holds
# the Windows builds of the libraries in CMAKE_PREFIX_PATH:
#   cmake -S . -B build-win -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
#       -DCMAKE_PREFIX_PATH=$PWD/build-windows/deps
# find_package(), find_library() and pkg-config then look there and in mingw-w64's own root,
# never at the build machine's Linux libraries and headers.

set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

# The POSIX-threads flavour: GCC 12's win32-threads flavour has no std::thread or std::mutex.
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
# Resource scripts (.rc: the icon and the version information of the .exe).
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)

# Libraries, headers and packages come only from the Windows roots: mingw-w64's own (the Win32
# import libraries, GL/glu.h) and each prefix the caller gives. Paths already inside a root,
# like those pkg-config reports for the prefix, are taken as they are.
list(APPEND CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32 ${CMAKE_PREFIX_PATH})
list(REMOVE_DUPLICATES CMAKE_FIND_ROOT_PATH)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# Programs (pkg-config, wine, doxygen) run on the build machine, so they come from its PATH.
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)

include("${CMAKE_CURRENT_LIST_DIR}/cross_pkg_config.cmake")  # pkg-config sees these roots only

# With wine, ctest and gtest_discover_tests can run the .exe files built here.
find_program(WINE_EXECUTABLE NAMES wine wine64 DOC "wine, to run the Windows programs built here")
if(WINE_EXECUTABLE)
    set(CMAKE_CROSSCOMPILING_EMULATOR "${WINE_EXECUTABLE}")
endif()
