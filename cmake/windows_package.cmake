# Included by the top-level CMakeLists.txt when building for Windows (scripts/build-windows.sh).
#
# One folder holds the whole game: shelvoy.exe with everything linked in, its font Receipt.ttf
# (Windows has no font package to link to), a short read-me, the copyright file and the licences
# of what the executable and the font carry. `cpack` packs it twice: a zip to unpack anywhere,
# and an NSIS installer with a Start-menu entry and an uninstaller registered with Windows (both
# also run silently with /S).

# The licences of the code linked into shelvoy.exe: the libraries' copyright files, which
# scripts/build-windows.sh puts under share/doc/<package>/ in the prefix it builds them in, and
# those of the compiler's runtime; and the font's.
include(cmake/package_licenses.cmake)
shelvoy_install_licenses("the Windows packages" box2d glfw3 freetype ftgl libsdl2 mingw-w64 gcc-mingw-w64)

install(TARGETS shelvoy RUNTIME DESTINATION .)
install(FILES ${SHELVOY_FONT} DESTINATION .)
install(FILES data/windows/README.txt data/windows/COPYRIGHT.txt DESTINATION .)

if(SHELVOY_TOP_LEVEL)
    set(CPACK_PACKAGE_NAME shelvoy)
    set(CPACK_PACKAGE_VENDOR "Shelvoy! developers")
    set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Time-trial arcade game with a two-handed shopping trolley")
    set(CPACK_PACKAGE_FILE_NAME shelvoy-${PROJECT_VERSION}-win64)
    set(CPACK_GENERATOR ZIP NSIS)
    set(CPACK_STRIP_FILES ON)
    set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_CURRENT_SOURCE_DIR}/data/windows/COPYRIGHT.txt)
    set(CPACK_PACKAGE_INSTALL_DIRECTORY Shelvoy)
    set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY Shelvoy)
    set(CPACK_NSIS_PACKAGE_NAME "Shelvoy!")
    set(CPACK_NSIS_DISPLAY_NAME "Shelvoy!")
    set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
    # The game stands at the top of its folder, not in bin\: one Start-menu entry for it.
    set(CPACK_NSIS_EXECUTABLES_DIRECTORY .)
    set(CPACK_PACKAGE_EXECUTABLES shelvoy "Shelvoy!")
    set(CPACK_NSIS_INSTALLED_ICON_NAME shelvoy.exe)
    set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)
    # A 64-bit installer for a 64-bit game: NSIS's default stub is 32-bit, which 64-bit Windows
    # runs only through WOW64 (and wine only with its 32-bit half installed).
    set(CPACK_NSIS_DEFINES "Target amd64-unicode")
    include(CPack)
endif()
