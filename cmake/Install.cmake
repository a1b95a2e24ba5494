# The installed layout, under any prefix:
#   bin/                              Quorvel_A5, rudreport
#   lib/quorvel-a5/                   the program's windows library
#   share/quorvel-a5/                 the shipped print template (dataFolder())
#   share/applications/               the menu entry
#   share/icons/hicolor/*/apps/       the icon, scalable and as PNG sizes
#   share/metainfo/                   the AppStream description
# The program finds its data relative to its binary, so the same tree works
# in the build folder and under any prefix. Qt's translations are Qt's own
# catalogue (qt6-translations-l10n), looked up in Qt's folder.
include(GNUInstallDirs)

set(RUD_APP_ID org.quorvel.QuorvelA5)
set(RUD_DATA_DIR ${CMAKE_INSTALL_DATADIR}/quorvel-a5)
set(desktop_dir ${PROJECT_SOURCE_DIR}/resources/desktop)

install(TARGETS Quorvel_A5 rudreport RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(TARGETS quorvel_a5_windows LIBRARY DESTINATION ${RUD_WINDOWS_LIBRARY_DIR})
install(FILES ${PROJECT_SOURCE_DIR}/resources/shablon.fr3 DESTINATION ${RUD_DATA_DIR})
install(FILES ${desktop_dir}/${RUD_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${desktop_dir}/${RUD_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${desktop_dir}/${RUD_APP_ID}.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

# The PNG sizes are drawn from the SVG at build time (rsvg-convert, Debian
# librsvg2-bin), so the picture has one source.
find_program(RSVG_CONVERT rsvg-convert REQUIRED)
set(icon_pngs)
foreach(size 16 24 32 48 64 128 256)
  set(png ${PROJECT_BINARY_DIR}/icons/${size}x${size}/${RUD_APP_ID}.png)
  add_custom_command(OUTPUT ${png}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/icons/${size}x${size}
    COMMAND ${RSVG_CONVERT} -w ${size} -h ${size} -o ${png} ${desktop_dir}/${RUD_APP_ID}.svg
    DEPENDS ${desktop_dir}/${RUD_APP_ID}.svg VERBATIM)
  list(APPEND icon_pngs ${png})
  install(FILES ${png} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()
add_custom_target(icons ALL DEPENDS ${icon_pngs})

# The Debian package (cpack -G DEB): the binaries' libraries found by
# dpkg-shlibdeps, plus what the program loads or uses at run time that no
# link shows: Qt's platform and SQL plugins, translations, the fonts the
# template names, the CUPS client for the print queues, and the XLSX
# libraries loaded on first use.
set(CPACK_PACKAGE_NAME quorvel-a5)
set(CPACK_PACKAGE_VENDOR "Quorvel")
set(CPACK_PACKAGE_CONTACT "Quorvel <support@quorvel.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Driving school certificates: fill in, print, keep the register")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "qt6-qpa-plugins, libqt6sql6-sqlite, libqt6sql6-psql, qt6-translations-l10n, fonts-liberation, fonts-wine, cups-client, libzip4, libxlsxwriter4")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "cups")
include(CPack)
