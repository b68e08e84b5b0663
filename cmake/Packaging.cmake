# Install rules and the Debian package. Only the two programs and their desktop
# files are installed: tests, benchmarks and tools have no install rule.
include(GNUInstallDirs)
# Installing (and packaging) builds only what it installs; scripts/package.sh
# names those targets, so the package never waits for the tests and benchmarks.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)

set(KESTRUM_APP_ID org.ostravel.Kestrum)
set(KESTRUM_HOMEPAGE "https://ostravel.example/kestrum" CACHE STRING
    "Address of the project's pages; the metadata's screenshots are under <address>/docs/")
# The day this version was released, for the metadata's release list.
set(KESTRUM_RELEASE_DATE 2026-12-10)

install(TARGETS kestrum kestrum-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

set(pkg ${PROJECT_SOURCE_DIR}/packaging)
install(FILES ${pkg}/${KESTRUM_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
configure_file(${pkg}/${KESTRUM_APP_ID}.metainfo.xml.in ${CMAKE_BINARY_DIR}/packaging/${KESTRUM_APP_ID}.metainfo.xml
               @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/packaging/${KESTRUM_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${pkg}/${KESTRUM_APP_ID}.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
# Debian looks for a package's licence under its package name.
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/kestrum RENAME copyright)
# Where bash-completion loads a command's completion on first use.
install(FILES ${pkg}/kestrum-cli.bash-completion DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions
        RENAME kestrum-cli)

# The manual pages (the version and date filled in) and the changelog, as
# Debian keeps them: gzip at its best, without a name or time stamp inside, so
# the same sources give the same bytes.
find_program(KESTRUM_GZIP gzip REQUIRED)
set(docs)
foreach(page kestrum kestrum-cli)
  configure_file(${pkg}/man/${page}.1.in ${CMAKE_BINARY_DIR}/packaging/man/${page}.1 @ONLY)
  list(APPEND docs ${CMAKE_BINARY_DIR}/packaging/man/${page}.1)
endforeach()
configure_file(${pkg}/changelog ${CMAKE_BINARY_DIR}/packaging/changelog COPYONLY)
list(APPEND docs ${CMAKE_BINARY_DIR}/packaging/changelog)
set(gzipped)
foreach(doc IN LISTS docs)
  add_custom_command(OUTPUT ${doc}.gz
    COMMAND ${KESTRUM_GZIP} -9 -n -f -k ${doc}
    DEPENDS ${doc} VERBATIM)
  list(APPEND gzipped ${doc}.gz)
endforeach()
install(FILES ${CMAKE_BINARY_DIR}/packaging/man/kestrum.1.gz ${CMAKE_BINARY_DIR}/packaging/man/kestrum-cli.1.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${CMAKE_BINARY_DIR}/packaging/changelog.gz DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/kestrum)
add_custom_target(kestrum_docs ALL DEPENDS ${gzipped})

# Menus and panels that cannot scale an SVG pick one of these, all drawn from it.
find_program(KESTRUM_RSVG_CONVERT rsvg-convert REQUIRED)
set(icons)
foreach(size 16 24 32 48 64 128 256)
  set(png ${CMAKE_BINARY_DIR}/packaging/icons/${size}x${size}/${KESTRUM_APP_ID}.png)
  add_custom_command(OUTPUT ${png}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/packaging/icons/${size}x${size}
    COMMAND ${KESTRUM_RSVG_CONVERT} -w ${size} -h ${size} -o ${png} ${pkg}/${KESTRUM_APP_ID}.svg
    DEPENDS ${pkg}/${KESTRUM_APP_ID}.svg VERBATIM)
  install(FILES ${png} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
  list(APPEND icons ${png})
endforeach()
add_custom_target(kestrum_icons ALL DEPENDS ${icons})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kestrum)
set(CPACK_PACKAGE_VENDOR Ostravel)
set(CPACK_PACKAGE_CONTACT "Ostravel <kestrum@ostravel.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "rake accounting for the operator of a poker server")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "Kestrum imports a poker server's hand-history files into its own SQLite\n"
    "database and reports who paid how much rake, by player, by table or in\n"
    "total. The command kestrum-cli does the same without the window, for\n"
    "scheduled runs.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${KESTRUM_HOMEPAGE})
# The library packages come from what the programs really link (dpkg-shlibdeps),
# so the list follows the build instead of going stale. Qt's window-system and
# TLS plugins ship inside libqt6gui6 and libqt6network6, which this pulls in.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR})
include(CPack)
