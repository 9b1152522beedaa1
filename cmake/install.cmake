# =============================================================================================
# Installation and the Debian package. Included at the end of the top-level CMakeLists.txt.
#
#   cmake --install <build> --prefix <dir>   the program, desktop entry, icons, metainfo, docs
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
target_link_libraries(make_icons PRIVATE ZLIB::ZLIB)
tablewise_warnings(make_icons)
add_custom_target(icons
    COMMAND make_icons ${TABLEWISE_ICON_DIR}
    COMMENT "Generating resources/icons/tablewise-<size>.png"
    VERBATIM)
if(TABLEWISE_TESTS)
    add_test(NAME IconGeneratorReproducesCommittedIcons
             COMMAND make_icons --check ${TABLEWISE_ICON_DIR})
endif()

# --- What gets installed.
install(TARGETS tablewise RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES resources/${TABLEWISE_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES resources/${TABLEWISE_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
foreach(size ${TABLEWISE_ICON_SIZES})
    install(FILES ${TABLEWISE_ICON_DIR}/tablewise-${size}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
            RENAME tablewise.png)
endforeach()
install(FILES README.md LICENSE DESTINATION ${CMAKE_INSTALL_DOCDIR})

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
set(CPACK_PACKAGE_HOMEPAGE_URL "https://tablewise.example.org/")
set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_CURRENT_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "The Tablewise developers <maintainers@tablewise.example.org>")
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://tablewise.example.org/")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation2, libgl1")
include(CPack)
