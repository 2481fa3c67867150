# The licences a self-contained package carries, into its licenses/ folder: the font's, and the
# copyright file of each library linked into the game, which scripts/build-windows.sh and
# scripts/build-web.sh put under share/doc/<package>/ in the prefix they build the libraries in
# (CMAKE_PREFIX_PATH).

set(SHELVOY_FONT_LICENSE /usr/share/doc/fonts-dejavu-core/copyright CACHE FILEPATH
    "Licence of the font file installed as Receipt.ttf")

# Installs licenses/Receipt.ttf.txt and licenses/<package>.txt for each package named after
# `what` (the packages' name in the message when one is missing).
function(shelvoy_install_licenses what)
    set(licenses "Receipt.ttf|${SHELVOY_FONT_LICENSE}")
    foreach(package IN LISTS ARGN)
        find_file(SHELVOY_LICENSE_${package} copyright PATH_SUFFIXES share/doc/${package} NO_DEFAULT_PATH
            PATHS ${CMAKE_PREFIX_PATH})
        list(APPEND licenses "${package}|${SHELVOY_LICENSE_${package}}")
    endforeach()
    foreach(entry IN LISTS licenses)
        string(REPLACE "|" ";" entry "${entry}")
        list(GET entry 0 name)
        list(GET entry 1 file)
        if(NOT EXISTS "${file}")
            message(FATAL_ERROR "No licence file for ${name} (${file}): ${what} must carry it. "
                "The scripts that build the libraries put theirs in the prefix they build them in.")
        endif()
        install(FILES ${file} DESTINATION licenses RENAME ${name}.txt)
    endforeach()
endfunction()
