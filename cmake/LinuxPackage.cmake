# Installs into the usual Linux places and packs a .deb.
include(GNUInstallDirs)
set(QUILLET_APP_ID org.quillet.Quillet)
set(linux_files ${PROJECT_SOURCE_DIR}/resources/linux)
install(TARGETS quillet quillet-compose RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/resources/profiles ${PROJECT_SOURCE_DIR}/resources/templates
        DESTINATION ${CMAKE_INSTALL_DATADIR}/quillet)
install(FILES ${linux_files}/${QUILLET_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${linux_files}/${QUILLET_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${linux_files}/${QUILLET_APP_ID}.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
foreach(size 16 32 48 64 128 256)
    install(FILES ${PROJECT_SOURCE_DIR}/resources/icons/quillet-${size}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
            RENAME ${QUILLET_APP_ID}.png)
endforeach()
install(FILES ${PROJECT_SOURCE_DIR}/resources/icons/quillet.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
        RENAME ${QUILLET_APP_ID}.svg)
# Debian wants manual pages and changelogs compressed, reproducibly.
set(packed ${CMAKE_BINARY_DIR}/packed)
file(MAKE_DIRECTORY ${packed})
foreach(pair "quillet-compose.1" "quillet.1" "changelog")
    execute_process(COMMAND gzip -9nc ${linux_files}/${pair}
                    OUTPUT_FILE ${packed}/${pair}.gz)
endforeach()
install(FILES ${packed}/quillet-compose.1.gz ${packed}/quillet.1.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${linux_files}/copyright DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/quillet)
install(FILES ${packed}/changelog.gz DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/quillet
        RENAME changelog.gz)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quillet)
set(CPACK_PACKAGE_VENDOR "The Quillet authors")
set(CPACK_PACKAGE_CONTACT "The Quillet authors <authors@quillet.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "compose the README.TXT of a software release")
set(CPACK_PACKAGE_DESCRIPTION
    "Quillet helps Japanese software authors compose the README.TXT that ships
with a freeware or shareware release: fields, standard headings, an ordered
item list, separator and bracket styles, a preview, and a fixed-pitch text
file in Shift-JIS with CR LF line ends. quillet-compose does the same for
release scripts.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SECTION text)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n, fonts-ipafont-gothic")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://quillet.org/")
set(CPACK_STRIP_FILES ON)
include(CPack)
