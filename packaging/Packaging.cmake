# Installing Sysvane like any desktop program, and its Debian package.
#   cmake --install build --prefix /usr/local     the program, its menu entry, icons and README
#   cmake --build build --target package          build/sysvane_2.0_<arch>.deb
# Included at the end of the top-level CMakeLists.txt, after the program's target exists.
include(GNUInstallDirs)

set(SYSVANE_PACKAGING_DIR ${CMAKE_CURRENT_LIST_DIR})
set(SYSVANE_ICON_SIZES 16 22 24 32 48 64)

if(TARGET sysvane)
  install(TARGETS sysvane RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()
install(FILES ${SYSVANE_PACKAGING_DIR}/sysvane.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
# The theme looks an icon up by its name (Icon=sysvane) under each size's apps folder.
foreach(size IN LISTS SYSVANE_ICON_SIZES)
  install(FILES ${CMAKE_SOURCE_DIR}/resources/icons/hicolor/${size}x${size}/apps/sysvane.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()
install(FILES ${CMAKE_SOURCE_DIR}/resources/icons/sysvane.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
# Debian keeps a package's documents under its package name, in lower case.
install(FILES ${CMAKE_SOURCE_DIR}/README.md DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/sysvane)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME sysvane)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR Quorvale)
set(CPACK_PACKAGE_CONTACT "Sysvane maintainers <sysvane@quorvale.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "small system monitor for the notification area")
set(CPACK_PACKAGE_DESCRIPTION
    "Sysvane watches CPU usage, physical and virtual memory, the battery and the disk usage of every
fixed drive from the notification area. It shows them in a compact window of gradient percentage
bars, in a panel that rolls up above the tray when the icon is clicked, and in the icon's tip.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${CPACK_PACKAGE_CONTACT})
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://www.quorvale.example/")
# Depends comes from the shared libraries the program links, as dpkg-shlibdeps finds them, and the
# package of the X11 platform plugin: the program runs on it on X desktops and, through XWayland,
# on Wayland sessions. The Wayland plugin serves only a session without any X server, where the
# windows cannot place themselves: recommended, never required.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
execute_process(COMMAND dpkg-query -S ${QT6_INSTALL_PREFIX}/${QT6_INSTALL_PLUGINS}/platforms/libqxcb.so
                OUTPUT_VARIABLE SYSVANE_XCB_OWNER ERROR_QUIET)
string(REGEX MATCH "^[^:,]+" CPACK_DEBIAN_PACKAGE_DEPENDS "${SYSVANE_XCB_OWNER}")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS qt6-wayland)
set(CPACK_STRIP_FILES ON)
# Only the binary package: the source tree is what git holds.
set(CPACK_SOURCE_GENERATOR "")
include(CPack)

# The menu entry as the desktop's own validator reads it.
find_program(DESKTOP_FILE_VALIDATE desktop-file-validate)
if(DESKTOP_FILE_VALIDATE)
  add_test(NAME package.desktop_entry COMMAND ${DESKTOP_FILE_VALIDATE} ${SYSVANE_PACKAGING_DIR}/sysvane.desktop)
  set_tests_properties(package.desktop_entry PROPERTIES LABELS package)
else()
  message(STATUS "desktop-file-validate not found: the menu entry is not validated (scripts/setup.sh installs it)")
endif()

# The menu entry and the start-up entry the Options dialog writes name the same program.
sysvane_add_test(packaging_tests ${SYSVANE_PACKAGING_DIR}/tests/entry_agreement_test.cpp)
target_compile_definitions(packaging_tests
                           PRIVATE SYSVANE_MENU_ENTRY="${SYSVANE_PACKAGING_DIR}/sysvane.desktop")

# The whole way to a user: build the .deb, unpack it into a throwaway folder and run the unpacked
# program through the end-to-end first-run scenario. Skipped (77) where the Debian tools are missing.
if(TARGET sysvane)
  add_test(NAME package.deb COMMAND ${SYSVANE_PACKAGING_DIR}/test_package.sh ${CMAKE_BINARY_DIR})
  set_tests_properties(package.deb PROPERTIES LABELS package TIMEOUT 900 SKIP_RETURN_CODE 77
                                              RESOURCE_LOCK e2e_display)
endif()
