# SPDX-License-Identifier: GPL-3.0-or-later
# Installation of the data and the manual page, and the Debian package made by CPack.
# The two programs install themselves (app/CMakeLists.txt).

install(FILES ${PROJECT_SOURCE_DIR}/data/M3M ${PROJECT_SOURCE_DIR}/data/W3M
              ${PROJECT_SOURCE_DIR}/data/M10M ${PROJECT_SOURCE_DIR}/data/W10M
        DESTINATION ${CMAKE_INSTALL_DATADIR}/corvane-dive-analyzer/sample-results)

# Debian ships manual pages compressed; -n keeps the archive free of a time stamp.
set(corvane_man_page ${PROJECT_SOURCE_DIR}/docs/dive-tables.1)
find_program(CORVANE_GZIP gzip)
if(CORVANE_GZIP)
    set(corvane_man_gz ${CMAKE_CURRENT_BINARY_DIR}/dive-tables.1.gz)
    add_custom_command(OUTPUT ${corvane_man_gz}
                       COMMAND ${CORVANE_GZIP} -9n -c ${corvane_man_page} > ${corvane_man_gz}
                       DEPENDS ${corvane_man_page}
                       COMMENT "Compressing the dive-tables manual page")
    add_custom_target(corvane_man_page ALL DEPENDS ${corvane_man_gz})
    install(FILES ${corvane_man_gz} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
else()
    install(FILES ${corvane_man_page} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME corvane-dive-analyzer)
set(CPACK_PACKAGE_VENDOR "Corvane")
set(CPACK_PACKAGE_CONTACT "Corvane Dive Analyzer maintainers <maintainers@corvane.example>")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CPACK_PACKAGE_CONTACT}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "dive difficulty and results analyser for diving coaches")
# The summary above is the synopsis line; CPack indents these lines for the control file.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Reads the results of the four international senior diving events (men's and
women's 3 m springboard and 10 m platform) from a folder and shows, for every
dive code, how often it was performed, its degree of difficulty, the average
points and score it earned and how its scores spread over ten bands, coloured
against thresholds the user sets. Tables can be filtered by country or diver,
sorted by any column, broken down per diver and copied to a spreadsheet.

Also contains dive-tables, which prints the same tables as tab-separated text,
and a set of fictional sample results.")
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://www.corvane.example")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

# The window falls back to Liberation Sans, which no library dependency brings along.
set(corvane_font_package fonts-liberation2)
find_program(CORVANE_DPKG_SHLIBDEPS dpkg-shlibdeps)
if(CORVANE_DPKG_SHLIBDEPS)
    set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
    set(CPACK_DEBIAN_PACKAGE_DEPENDS ${corvane_font_package})
else()
    # Without dpkg-dev, the libraries the two programs link, as Debian 12 names them.
    set(CPACK_DEBIAN_PACKAGE_DEPENDS
        "libc6, libgcc-s1, libstdc++6, libjpeg62-turbo, libqt6core6, libqt6gui6, libqt6widgets6, ${corvane_font_package}")
endif()

include(CPack)
