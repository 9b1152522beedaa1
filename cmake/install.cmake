# =============================================================================================
# Installation and the Debian package. Included at the end of the top-level CMakeLists.txt.
#
#   cmake --install <build> --prefix <dir>   the program (in games/), desktop entry, icons,
#                                            metainfo, manual page, docs
#   cpack --config <build>/CPackConfig.cmake the .deb (also `make package` at the top level)
#
# The icons in resources/icons/ are committed; tools/make_icons.cpp draws them and
# `cmake --build <build> --target icons` rewrites them.
# =============================================================================================
include(GNUInstallDirs)

set(TABLEWISE_APP_ID io.github.tablewise.Tablewise)
set(TABLEWISE_ICON_SIZES 16 22 24 32 48 64 128 256)
set(TABLEWISE_ICON_DIR ${CMAKE_CURRENT_SOURCE_DIR}/resources/icons)

# --- The icon generator.
find_package(ZLIB REQUIRED)
add_executable(make_icons tools/make_icons.cpp)
if(TABLEWISE_SANITIZE)
    set_target_properties(make_icons PROPERTIES EXCLUDE_FROM_ALL ON)
endif()
target_link_libraries(make_icons PRIVATE ZLIB::ZLIB)
tablewise_warnings(make_icons)
add_custom_target(icons
    COMMAND make_icons ${TABLEWISE_ICON_DIR}
    COMMENT "Generating resources/icons/tablewise-<size>.png"
    VERBATIM)
if(TABLEWISE_DESKTOP_TESTS)
    add_test(NAME IconGeneratorReproducesCommittedIcons
             COMMAND make_icons --check ${TABLEWISE_ICON_DIR})
endif()

# --- The manual page and the Debian changelog, both installed compressed (gzip -9n: the same
# bytes on every build). The page is in section 6 and the program in games/, as the package's
# section (games) has them.
set(TABLEWISE_INSTALL_GAMESDIR games CACHE STRING "Where the program goes, under the prefix")
file(STRINGS packaging/changelog TABLEWISE_CHANGELOG_TOP LIMIT_COUNT 1)
if(NOT TABLEWISE_CHANGELOG_TOP MATCHES "^tablewise \\(${PROJECT_VERSION}\\) ")
    message(FATAL_ERROR "packaging/changelog does not begin with version ${PROJECT_VERSION}")
endif()
set(TABLEWISE_DOC_BUILD ${CMAKE_CURRENT_BINARY_DIR}/packaging)
configure_file(docs/tablewise.6 ${TABLEWISE_DOC_BUILD}/tablewise.6 @ONLY)
configure_file(packaging/changelog ${TABLEWISE_DOC_BUILD}/changelog COPYONLY)
add_custom_command(OUTPUT ${TABLEWISE_DOC_BUILD}/tablewise.6.gz ${TABLEWISE_DOC_BUILD}/changelog.gz
    COMMAND gzip -9nkf tablewise.6 changelog
    WORKING_DIRECTORY ${TABLEWISE_DOC_BUILD}
    DEPENDS ${TABLEWISE_DOC_BUILD}/tablewise.6 ${TABLEWISE_DOC_BUILD}/changelog
    VERBATIM)
add_custom_target(compressed_docs ALL
    DEPENDS ${TABLEWISE_DOC_BUILD}/tablewise.6.gz ${TABLEWISE_DOC_BUILD}/changelog.gz)

# --- What gets installed.
install(TARGETS tablewise RUNTIME DESTINATION ${TABLEWISE_INSTALL_GAMESDIR})
install(FILES ${TABLEWISE_DOC_BUILD}/tablewise.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
install(FILES resources/${TABLEWISE_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES resources/${TABLEWISE_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
foreach(size ${TABLEWISE_ICON_SIZES})
    install(FILES ${TABLEWISE_ICON_DIR}/tablewise-${size}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
            RENAME tablewise.png)
endforeach()
install(FILES README.md LICENSE packaging/copyright ${TABLEWISE_DOC_BUILD}/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DOCDIR})

# --- The Debian package. Its dependencies are what dpkg-shlibdeps finds the program linking
# (FLTK, libOpenGL, GLU, FreeType, fontconfig, X) plus two it needs at run time without linking
# them: the font that answers "Arial:bold" (looked up through fontconfig), and libgl1, the GLX
# side of GL that FLTK's GL windows draw through (it brings in Mesa's GLX driver).
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tablewise)
set(CPACK_PACKAGE_VENDOR "The Tablewise developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_PACKAGE_DESCRIPTION
"Tablewise shows the odds of a Texas Hold'em or Omaha Hold'em hand while you
play it: how the hand will finish, the chance to win, tie or lose against
random hands or against modelled opponents, and the expected gain.")
set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_CURRENT_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "The Tablewise developers <maintainers@tablewise.example.org>")
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation2, libgl1")
include(CPack)
