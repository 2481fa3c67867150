# Included by the toolchain files of the cross builds, once CMAKE_FIND_ROOT_PATH holds their roots:
# pkg-config reads only the .pc files of those roots. PKG_CONFIG_LIBDIR replaces its default
# directories (the build machine's), and a PKG_CONFIG_PATH left in the environment could only point
# at the build machine's packages too. Not in try_compile's projects: they read the toolchain file
# again without the caller's CMAKE_PREFIX_PATH, and the environment they would set is the caller's
# too.
get_property(_cross_in_try_compile GLOBAL PROPERTY IN_TRY_COMPILE)
if(NOT _cross_in_try_compile)
    set(_cross_pkgconfig_dirs "")
    foreach(_cross_root IN LISTS CMAKE_FIND_ROOT_PATH)
        list(APPEND _cross_pkgconfig_dirs "${_cross_root}/lib/pkgconfig" "${_cross_root}/share/pkgconfig")
    endforeach()
    string(REPLACE ";" ":" _cross_pkgconfig_dirs "${_cross_pkgconfig_dirs}")
    set(ENV{PKG_CONFIG_LIBDIR} "${_cross_pkgconfig_dirs}")
    set(ENV{PKG_CONFIG_PATH} "")
endif()
