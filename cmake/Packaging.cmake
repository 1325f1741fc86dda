# The Debian package: "cpack -G DEB" in the build folder makes korvalen_VERSION_ARCH.deb of
# what "cmake --install" installs, with the documentation Debian asks for.

set(pkg_doc ${CMAKE_INSTALL_DATADIR}/doc/korvalen)
set(pkg_build ${CMAKE_BINARY_DIR}/packaging)

# Debian wants its changelog and manual pages compressed, reproducibly (no name, no time).
find_program(GZIP gzip REQUIRED)
foreach(page korvalen.1 kvscript.1 korvalen-tool.1 changelog)
    set(source ${PROJECT_SOURCE_DIR}/packaging/${page})
    if(page STREQUAL changelog)
        set(source ${PROJECT_SOURCE_DIR}/packaging/changelog.in)
    endif()
    configure_file(${source} ${pkg_build}/${page} @ONLY)
    add_custom_command(OUTPUT ${pkg_build}/${page}.gz
                       COMMAND ${GZIP} -9nc ${pkg_build}/${page} > ${pkg_build}/${page}.gz
                       DEPENDS ${pkg_build}/${page} VERBATIM)
    list(APPEND pkg_compressed ${pkg_build}/${page}.gz)
endforeach()
add_custom_target(korvalen_packaging_docs ALL DEPENDS ${pkg_compressed})

install(FILES ${pkg_build}/korvalen.1.gz ${pkg_build}/kvscript.1.gz ${pkg_build}/korvalen-tool.1.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/copyright ${pkg_build}/changelog.gz
        DESTINATION ${pkg_doc})

set(CPACK_PACKAGE_NAME korvalen)
set(CPACK_PACKAGE_VENDOR "KORVALEN Software")
set(CPACK_PACKAGE_CONTACT "KORVALEN Software <support@korvalen.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "keyboard-driven data entry and verification")
# The synopsis is the summary above; these lines are the extended description.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "KORVALEN is a data-entry station: an operator keys fixed-length records from
paper documents into a fixed-width data file, field by field, on a
character-cell entry screen. A second operator keys the same documents again
in Verify mode over the stored records, and every mismatch must be confirmed.
.
The package holds the program, korvalen; kvscript, which replays a keying
session without a window; and korvalen-tool, which checks, exports, compares
and totals data files in batch.")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://korvalen.example/")
set(CPACK_GENERATOR DEB)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries from what the executables link, as dpkg-shlibdeps finds them; the font the
# entry screen is drawn in; the opener of the help page.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-dejavu-core")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# Only the program: the tests and benchmarks install nothing, and the build's own helper
# targets stay out.
set(CPACK_INSTALL_CMAKE_PROJECTS "${CMAKE_BINARY_DIR};${PROJECT_NAME};ALL;/")
include(CPack)
