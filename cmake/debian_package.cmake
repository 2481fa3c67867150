# Included by the top-level CMakeLists.txt on Linux and other Unix systems.
# Installation, two ways from one build tree:
#   cmake --install build [--prefix P]  GNUInstallDirs' layout: P/bin/shelvoy, and as
#                                       P/share/shelvoy/Receipt.ttf the build tree's link
#   cpack -G DEB                        the Debian package: /usr/games/shelvoy, where Debian puts
#                                       games, and Receipt.ttf a relative link to the font in
#                                       fonts-dejavu-core, which the package depends on
# What both share is the component "data"; "prefix" holds the executable and font of a plain
# install, "deb" (left out of a plain install) the package's. The package is made from "data"
# and "deb" alone (CPACK_INSTALL_CMAKE_PROJECTS below).
set(SHELVOY_APP_ID org.shelvoy.Shelvoy)
install(TARGETS shelvoy RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT prefix)
install(FILES ${SHELVOY_FONT} DESTINATION ${CMAKE_INSTALL_DATADIR}/shelvoy COMPONENT prefix)

install(TARGETS shelvoy RUNTIME DESTINATION games COMPONENT deb EXCLUDE_FROM_ALL)
# When stripping (CPACK_STRIP_FILES), also drop the sections dh_strip drops: the compilers'
# names in .comment and the bare .note.
install(CODE "if(CMAKE_INSTALL_DO_STRIP)
    execute_process(COMMAND \"${CMAKE_STRIP}\" --remove-section=.comment --remove-section=.note
        \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/games/shelvoy\" RESULT_VARIABLE failed)
    if(failed)
        message(FATAL_ERROR \"strip failed on games/shelvoy\")
    endif()
endif()" COMPONENT deb EXCLUDE_FROM_ALL)
set(SHELVOY_DEBIAN_FONT /usr/share/fonts/truetype/dejavu/DejaVuSansMono-Bold.ttf)
file(RELATIVE_PATH font_from_data /usr/${CMAKE_INSTALL_DATADIR}/shelvoy ${SHELVOY_DEBIAN_FONT})
file(MAKE_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/deb)
file(CREATE_LINK ${font_from_data} ${CMAKE_CURRENT_BINARY_DIR}/deb/Receipt.ttf SYMBOLIC)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/deb/Receipt.ttf DESTINATION ${CMAKE_INSTALL_DATADIR}/shelvoy
    COMPONENT deb EXCLUDE_FROM_ALL)
# The game finds its data at SHELVOY_DATA_FROM_BINDIR from its own directory, in games/ too.
file(RELATIVE_PATH data_from_games /usr/games /usr/${CMAKE_INSTALL_DATADIR}/shelvoy)
if(NOT data_from_games STREQUAL SHELVOY_DATA_FROM_BINDIR)
    message(WARNING "The .deb's /usr/games/shelvoy would look for its font in ${data_from_games}, "
        "not in ${SHELVOY_DATA_FROM_BINDIR}: cpack -G DEB needs bin and data one level below the prefix")
endif()

# The man page and the changelog, compressed as Debian wants them (-n: no name or time inside).
find_program(SHELVOY_GZIP gzip)
if(NOT SHELVOY_GZIP)
    message(FATAL_ERROR "gzip is needed to compress the man page and the changelog")
endif()
foreach(doc shelvoy.6 changelog)
    add_custom_command(OUTPUT doc/${doc}.gz
        COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_CURRENT_SOURCE_DIR}/data/${doc} doc/${doc}
        COMMAND ${SHELVOY_GZIP} -9nf doc/${doc}
        DEPENDS data/${doc} VERBATIM)
    list(APPEND SHELVOY_DOCS ${CMAKE_CURRENT_BINARY_DIR}/doc/${doc}.gz)
endforeach()
add_custom_target(shelvoy_docs ALL DEPENDS ${SHELVOY_DOCS})

install(FILES data/${SHELVOY_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications COMPONENT data)
install(FILES data/${SHELVOY_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo COMPONENT data)
install(FILES data/${SHELVOY_APP_ID}.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
    COMPONENT data)
# Bitmaps rendered from the SVG with rsvg-convert, for menus and docks that want a fixed size.
foreach(size 48x48 64x64 128x128 256x256)
    install(FILES data/icons/${size}/${SHELVOY_APP_ID}.png DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}/apps
        COMPONENT data)
endforeach()
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/doc/shelvoy.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6 COMPONENT data)
# A native package's changelog is changelog.gz, beside the copyright file.
install(FILES data/copyright ${CMAKE_CURRENT_BINARY_DIR}/doc/changelog.gz DESTINATION ${CMAKE_INSTALL_DOCDIR}
    COMPONENT data)

if(SHELVOY_TOP_LEVEL)
set(CPACK_PACKAGE_NAME shelvoy)
set(CPACK_PACKAGE_VENDOR "Shelvoy! developers")
set(CPACK_PACKAGE_CONTACT "Shelvoy! developers <dev@shelvoy.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "time-trial arcade game with a two-handed shopping trolley")
# Lines without indentation: CPack starts each with the single space after which dpkg and apt
# wrap a paragraph (more spaces would show the lines as they stand).
string(JOIN "\n" CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Push a shopping trolley through a supermarket and collect its 20 items against"
    "the clock. Each hand pushes one end of the handle: both forward drives straight"
    "on, one forward and the other back spins the trolley on the spot. Chase and"
    "overhead cameras, and an overlay of the physics shapes.")
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)  # adds the libraries' packages to these Depends
set(CPACK_DEBIAN_PACKAGE_DEPENDS fonts-dejavu-core)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_INSTALL_CMAKE_PROJECTS "${CMAKE_CURRENT_BINARY_DIR};shelvoy;data;/"
                                 "${CMAKE_CURRENT_BINARY_DIR};shelvoy;deb;/")
# Stripped, as Debian ships binaries; the build tree keeps the unstripped one for debugging.
set(CPACK_STRIP_FILES ON)
include(CPack)
endif()
