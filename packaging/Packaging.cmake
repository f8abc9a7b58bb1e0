# The program on the desktop: its icon (the window's and the menu's), the install rules and
# the Debian package (cpack -G DEB in the build folder).
include(GNUInstallDirs)

set(SORVENKA_APP_ID io.github.sorvenka.Sorvenka)
set(SORVENKA_SCREENSHOT_URL
    "https://raw.githubusercontent.com/sorvenka/sorvenka/main/docs/screenshot.png"
    CACHE STRING "Where the software centres find the screenshot (docs/screenshot.png)")
set(SORVENKA_MAINTAINER "Sorvenka developers <sorvenka@example.org>"
    CACHE STRING "The package's maintainer")

# The icon: every size is rendered from the one picture, so the window, the menu and the
# theme show the same. The window takes the PNGs from its resources.
find_program(RSVG_CONVERT rsvg-convert REQUIRED)
set(SORVENKA_ICON_SIZES 16 24 32 48 64 128 256)
set(SORVENKA_ICON_PNGS)
foreach(size ${SORVENKA_ICON_SIZES})
  set(folder ${CMAKE_BINARY_DIR}/icons/${size}x${size})
  set(png ${folder}/sorvenka.png)
  add_custom_command(OUTPUT ${png}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${folder}
    COMMAND ${RSVG_CONVERT} --width=${size} --height=${size} --output=${png}
            ${CMAKE_SOURCE_DIR}/data/sorvenka.svg
    DEPENDS ${CMAKE_SOURCE_DIR}/data/sorvenka.svg
    COMMENT "Rendering the ${size}x${size} icon" VERBATIM)
  list(APPEND SORVENKA_ICON_PNGS ${png})
endforeach()
qt_add_resources(sorvenka_gui sorvenka_icon PREFIX /icons BASE ${CMAKE_BINARY_DIR}/icons
                 FILES ${SORVENKA_ICON_PNGS})

# The installed layout: the launcher in bin, the program and the first-database tool in a
# folder of their own, the files the launcher copies into a user's working folder in share.
set(SORVENKA_PROGRAM_DIR ${CMAKE_INSTALL_LIBEXECDIR}/sorvenka)
set(SORVENKA_SHARE_DIR ${CMAKE_INSTALL_DATADIR}/sorvenka)
set(packaging ${CMAKE_BINARY_DIR}/packaging)
configure_file(packaging/sorvenka.in ${packaging}/sorvenka @ONLY)
configure_file(packaging/${SORVENKA_APP_ID}.metainfo.xml.in
               ${packaging}/${SORVENKA_APP_ID}.metainfo.xml @ONLY)

# The manual page: its template filled from the command table.
add_custom_command(OUTPUT ${packaging}/sorvenka.1
  COMMAND make_manual_page ${CMAKE_SOURCE_DIR}/packaging/sorvenka.1.in ${packaging}/sorvenka.1
  DEPENDS make_manual_page ${CMAKE_SOURCE_DIR}/packaging/sorvenka.1.in)
# Debian keeps manual pages and changelogs compressed, without a time stamp inside.
set(compressed)
foreach(source ${packaging}/sorvenka.1 ${CMAKE_SOURCE_DIR}/packaging/changelog)
  get_filename_component(name ${source} NAME)
  add_custom_command(OUTPUT ${packaging}/${name}.gz
    COMMAND gzip -9 -n -c ${source} > ${packaging}/${name}.gz
    DEPENDS ${source})
  list(APPEND compressed ${packaging}/${name}.gz)
endforeach()
add_custom_target(sorvenka_compressed_docs ALL DEPENDS ${compressed})

# Bound at start, so the whole offset table is read-only.
target_link_options(Valdrome PRIVATE LINKER:-z,relro,-z,now)
target_link_options(make_first_db PRIVATE LINKER:-z,relro,-z,now)
install(TARGETS Valdrome make_first_db RUNTIME DESTINATION ${SORVENKA_PROGRAM_DIR})
# The modules (sound, progress window) are looked for beside the program.
install(TARGETS sorvenka_sound sorvenka_progress LIBRARY DESTINATION ${SORVENKA_PROGRAM_DIR})
install(PROGRAMS ${packaging}/sorvenka DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES data/index.htm data/start.wav DESTINATION ${SORVENKA_SHARE_DIR})
install(FILES packaging/${SORVENKA_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${packaging}/${SORVENKA_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES data/sorvenka.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
        RENAME ${SORVENKA_APP_ID}.svg)
foreach(size ${SORVENKA_ICON_SIZES})
  install(FILES ${CMAKE_BINARY_DIR}/icons/${size}x${size}/sorvenka.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
          RENAME ${SORVENKA_APP_ID}.png)
endforeach()
install(FILES ${packaging}/sorvenka.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES packaging/copyright ${packaging}/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/sorvenka)

# The Debian package. Library dependencies come from the binaries (dpkg-shlibdeps); what the
# binaries do not show is named: the window system plugins and the Japanese font.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME sorvenka)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "training log for strength training")
set(CPACK_PACKAGE_DESCRIPTION
    "Sorvenka keeps a log of strength training. In one window the user picks\n"
    "a date, a group and an exercise and enters one set: start and finish time,\n"
    "load, repetitions or duration, sweat level and a comment. Sets are numbered,\n"
    "listed by whole weeks and exported as text files. The data lives in one\n"
    "SQLite file in the user's home folder, backed up once a day.")
string(REPLACE ";" "" CPACK_PACKAGE_DESCRIPTION "${CPACK_PACKAGE_DESCRIPTION}")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${SORVENKA_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, qt6-translations-l10n, fonts-ipafont-gothic")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
