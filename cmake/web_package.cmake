# Included by the top-level CMakeLists.txt when building for the web (scripts/build-web.sh).
#
# One folder holds the whole game, for any static web server: the page index.html, the game
# (shelvoy.js and shelvoy.wasm), its font Receipt.ttf, which the page loads into the game's file
# system before it starts, the web app manifest with the game's icons, the service worker that
# keeps the files under the game's version (for play offline), and the licences of what the game
# and the font carry. `cpack` packs it into shelvoy-<version>-web.zip.

include(cmake/package_licenses.cmake)
shelvoy_install_licenses("the web package" box2d glfw3 freetype ftgl libglu emscripten)

# The page beside the game, as the build tree has it too (scripts and tests serve that folder).
configure_file(data/web/index.html ${CMAKE_CURRENT_BINARY_DIR}/index.html COPYONLY)
configure_file(data/web/manifest.webmanifest ${CMAKE_CURRENT_BINARY_DIR}/manifest.webmanifest COPYONLY)
configure_file(data/web/service-worker.js ${CMAKE_CURRENT_BINARY_DIR}/service-worker.js @ONLY)
install(FILES $<TARGET_FILE:shelvoy> $<TARGET_FILE_DIR:shelvoy>/shelvoy.wasm ${SHELVOY_FONT}
    data/web/index.html data/web/manifest.webmanifest ${CMAKE_CURRENT_BINARY_DIR}/service-worker.js
    DESTINATION .)
foreach(size 48 64 128 256)
    configure_file(data/icons/${size}x${size}/org.shelvoy.Shelvoy.png
        ${CMAKE_CURRENT_BINARY_DIR}/icons/shelvoy-${size}.png COPYONLY)
    install(FILES data/icons/${size}x${size}/org.shelvoy.Shelvoy.png DESTINATION icons
        RENAME shelvoy-${size}.png)
endforeach()

if(SHELVOY_TOP_LEVEL)
    set(CPACK_PACKAGE_NAME shelvoy)
    set(CPACK_PACKAGE_VENDOR "Shelvoy! developers")
    set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Time-trial arcade game with a two-handed shopping trolley")
    set(CPACK_PACKAGE_FILE_NAME shelvoy-${PROJECT_VERSION}-web)
    set(CPACK_GENERATOR ZIP)
    include(CPack)
endif()
