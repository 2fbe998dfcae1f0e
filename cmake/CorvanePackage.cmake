# SPDX-License-Identifier: GPL-3.0-or-later
# Installation of the data, the manual pages, the menu entry with its icon and metainfo, and
# the Debian package made by CPack. The programs install themselves (app/CMakeLists.txt).

set(corvane_package corvane-dive-analyzer)
install(FILES ${PROJECT_SOURCE_DIR}/data/M3M ${PROJECT_SOURCE_DIR}/data/W3M
              ${PROJECT_SOURCE_DIR}/data/M10M ${PROJECT_SOURCE_DIR}/data/W10M
        DESTINATION ${CMAKE_INSTALL_DATADIR}/${corvane_package}/sample-results)

# Debian ships manual pages and changelogs compressed; -n keeps the time stamp out of the
# archive. The source is configured first, so that a manual page can name @PROJECT_VERSION@.
find_program(CORVANE_GZIP gzip REQUIRED)
function(corvane_install_gzipped source gz_name destination)
    set(configured ${PROJECT_BINARY_DIR}/gzipped/${gz_name})
    configure_file(${source} ${configured} @ONLY)
    add_custom_command(OUTPUT ${configured}.gz
                       COMMAND ${CORVANE_GZIP} -9n -c ${configured} > ${configured}.gz
                       DEPENDS ${configured}
                       COMMENT "Compressing ${gz_name}")
    add_custom_target(corvane_gzip_${gz_name} ALL DEPENDS ${configured}.gz)
    install(FILES ${configured}.gz DESTINATION ${destination})
endfunction()

# A manual page of section 1 from docs/NAME.1.
function(corvane_man_page name)
    corvane_install_gzipped(${PROJECT_SOURCE_DIR}/docs/${name}.1 ${name}.1
                            ${CMAKE_INSTALL_MANDIR}/man1)
endfunction()
corvane_man_page(dive-tables)
corvane_man_page(corvane-dive-analyzer)
corvane_man_page(dive-import)

# The menu entry, its icon in every size of the hicolor theme, and the AppStream metainfo.
set(corvane_desktop ${PROJECT_SOURCE_DIR}/desktop)
install(FILES ${corvane_desktop}/${CORVANE_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${corvane_desktop}/${CORVANE_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(DIRECTORY ${corvane_desktop}/icons/hicolor DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)

# What Debian's policy asks of every package: the licence in machine-readable form and the
# package's changelog.
set(corvane_doc_dir ${CMAKE_INSTALL_DATADIR}/doc/${corvane_package})
install(FILES ${corvane_desktop}/debian/copyright DESTINATION ${corvane_doc_dir})
# A small results spreadsheet to try dive-import on.
install(FILES ${PROJECT_SOURCE_DIR}/docs/example-results.csv DESTINATION ${corvane_doc_dir})
corvane_install_gzipped(${corvane_desktop}/debian/changelog changelog.Debian ${corvane_doc_dir})
# lintian's overrides, each with its reason.
install(FILES ${corvane_desktop}/debian/lintian-overrides
        DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides RENAME ${corvane_package})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ${corvane_package})
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
dive-import, which turns results spreadsheets (CSV) into a folder of results
and divers, and a set of fictional sample results.")
# The project's version, and the first build of it as a Debian package (the changelog's
# 1.1-1); a revision also makes the package non-native, as changelog.Debian.gz says it is.
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CORVANE_DEBIAN_VERSION ${PROJECT_VERSION}-${CPACK_DEBIAN_PACKAGE_RELEASE})
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
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
    # Without dpkg-dev, the libraries the programs link, as Debian 12 names them.
    set(CPACK_DEBIAN_PACKAGE_DEPENDS
        "libc6, libgcc-s1, libstdc++6, libjpeg62-turbo, libqt6core6, libqt6gui6, libqt6widgets6, libqt6charts6, libqt6svg6, libicu72, ${corvane_font_package}")
endif()

include(CPack)
