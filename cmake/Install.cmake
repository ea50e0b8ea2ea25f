# Installation into the usual desktop places, and a .deb through CPack.
include(GNUInstallDirs)

set(HUEBOX_APP_ID org.example.huebox)
# The program names the desktop entry it is started from by the same id.
target_compile_definitions(huebox_app PRIVATE HUEBOX_DESKTOP_ID="${HUEBOX_APP_ID}"
                                              HUEBOX_VERSION="${PROJECT_VERSION}")
set(HUEBOX_ICON_SIZES 16 24 32 48 64 128 256)

add_executable(iconsizes ${PROJECT_SOURCE_DIR}/tools/iconsizes.cpp)
target_link_libraries(iconsizes PRIVATE Qt6::Gui)

set(icon_dir ${CMAKE_CURRENT_BINARY_DIR}/icons)
set(icon_outputs)
foreach(size ${HUEBOX_ICON_SIZES})
  list(APPEND icon_outputs ${icon_dir}/${size}.png)
endforeach()
add_custom_command(
  OUTPUT ${icon_outputs}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${icon_dir}
  COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen $<TARGET_FILE:iconsizes>
          ${PROJECT_SOURCE_DIR}/resources/icons/huebox.xpm ${icon_dir} ${HUEBOX_ICON_SIZES}
  DEPENDS iconsizes ${PROJECT_SOURCE_DIR}/resources/icons/huebox.xpm
  COMMENT "Rendering the program icon")
add_custom_target(icons ALL DEPENDS ${icon_outputs})

install(TARGETS huebox RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${PROJECT_SOURCE_DIR}/resources/desktop/${HUEBOX_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/resources/desktop/${HUEBOX_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
foreach(size ${HUEBOX_ICON_SIZES})
  install(FILES ${icon_dir}/${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
          RENAME ${HUEBOX_APP_ID}.png)
endforeach()
install(FILES ${PROJECT_SOURCE_DIR}/resources/icons/huebox.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
        RENAME ${HUEBOX_APP_ID}.svg)

# The manual page and the changelog go compressed, as Debian keeps them.
set(doc_dir ${CMAKE_CURRENT_BINARY_DIR}/doc)
add_custom_command(
  OUTPUT ${doc_dir}/huebox.1.gz ${doc_dir}/changelog.gz
  COMMAND ${CMAKE_COMMAND} -E make_directory ${doc_dir}
  COMMAND sh -c "gzip -9nc '${PROJECT_SOURCE_DIR}/resources/man/huebox.1' >'${doc_dir}/huebox.1.gz'"
  COMMAND sh -c "gzip -9nc '${PROJECT_SOURCE_DIR}/resources/debian/changelog' >'${doc_dir}/changelog.gz'"
  DEPENDS ${PROJECT_SOURCE_DIR}/resources/man/huebox.1 ${PROJECT_SOURCE_DIR}/resources/debian/changelog
  COMMENT "Compressing the manual page and the changelog")
add_custom_target(docs ALL DEPENDS ${doc_dir}/huebox.1.gz ${doc_dir}/changelog.gz)
install(FILES ${doc_dir}/huebox.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${PROJECT_SOURCE_DIR}/resources/debian/copyright ${doc_dir}/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/huebox)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME huebox)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Huebox Team <huebox@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Choose a colour and copy it as a code literal")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Huebox sets a colour with Red, Green and Blue sliders, from a table of named
web colours, by paste, typed entry or picking from the screen. It previews the
colour literal in a text and a background colour and copies it as Delphi,
Visual C++, Visual Basic, HTML, CSS, Qt, Win32 or shader code. A command line
picks one colour from the screen and prints it, for scripts and key bindings.")
set(CPACK_STRIP_FILES ON)
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGE_HOMEPAGE_URL "https://huebox.example.org")
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation2")
# Qt's own texts in Russian; without them the program runs with them in English.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
include(CPack)
