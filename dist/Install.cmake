# Desktop integration and packaging: the files `cmake --install` puts beside the programs,
# the Debian package `cpack -G DEB` builds, and the tests that check both.

set(TARNIK_APP_ID org.tarnik.Tarnik)
set(TARNIK_HOMEPAGE "https://tarnik.example.org/" CACHE STRING "Project home page named in the AppStream metainfo")
set(TARNIK_SCREENSHOT_URL "${TARNIK_HOMEPAGE}screenshots" CACHE STRING
    "Where docs/*.png are published; the AppStream metainfo points there")
set(TARNIK_MAINTAINER "TARNIK maintainers <maintainers@tarnik.example.org>" CACHE STRING "Maintainer of the Debian package")

set(dist ${CMAKE_SOURCE_DIR}/dist)
set(dist_out ${CMAKE_BINARY_DIR}/dist)
configure_file(${dist}/${TARNIK_APP_ID}.metainfo.xml.in ${dist_out}/${TARNIK_APP_ID}.metainfo.xml @ONLY)
# Man pages go in compressed, as Debian wants them (man reads both).
set(man_pages)
foreach(page tarnik tarnik-cli tarnik-sim)
  configure_file(${dist}/man/${page}.1 ${dist_out}/man/${page}.1 @ONLY)
  add_custom_command(OUTPUT ${dist_out}/man/${page}.1.gz
                     COMMAND gzip -9nf -k ${dist_out}/man/${page}.1
                     DEPENDS ${dist_out}/man/${page}.1)
  list(APPEND man_pages ${dist_out}/man/${page}.1.gz)
endforeach()
add_custom_target(tarnik_man_pages ALL DEPENDS ${man_pages})
install(FILES ${man_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

install(FILES ${dist}/${TARNIK_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${dist_out}/${TARNIK_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${dist}/completion/tarnik-cli DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions)
install(FILES ${dist}/udev/60-tarnik-cable.rules ${dist}/udev/README DESTINATION ${CMAKE_INSTALL_DATADIR}/tarnik/udev)

# Icons: the SVG as it is, and PNGs rendered from it at build time.
set(icon_svg ${CMAKE_SOURCE_DIR}/resources/icons/tarnik.svg)
install(FILES ${icon_svg} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps RENAME ${TARNIK_APP_ID}.svg)
set(icon_sizes 16 22 24 32 48 64 128 256)
set(icon_pngs)
foreach(size ${icon_sizes})
  list(APPEND icon_pngs ${dist_out}/icons/${size}x${size}/apps/${TARNIK_APP_ID}.png)
endforeach()
add_executable(tarnik_render_icons ${dist}/render-icons.cpp)
target_link_libraries(tarnik_render_icons PRIVATE Qt6::Gui Qt6::Svg)
add_custom_command(OUTPUT ${icon_pngs}
                   COMMAND tarnik_render_icons ${icon_svg} ${dist_out}/icons ${TARNIK_APP_ID} ${icon_sizes}
                   DEPENDS tarnik_render_icons ${icon_svg}
                   COMMENT "Rendering the application icon")
add_custom_target(tarnik_icons ALL DEPENDS ${icon_pngs})
install(DIRECTORY ${dist_out}/icons/ DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor)

if(BUILD_TESTING)
  # Each validator is a test; where it is missing (scripts/setup installs it) the test says so and is skipped.
  function(tarnik_validator_test name tool)
    find_program(TARNIK_${name}_TOOL ${tool})
    if(TARNIK_${name}_TOOL)
      add_test(NAME ${name} COMMAND ${TARNIK_${name}_TOOL} ${ARGN})
    else()
      add_test(NAME ${name} COMMAND ${CMAKE_COMMAND} -E echo "${tool} is not installed (scripts/setup installs it)")
      set_tests_properties(${name} PROPERTIES SKIP_REGULAR_EXPRESSION "not installed")
    endif()
  endfunction()
  tarnik_validator_test(desktop_file_valid desktop-file-validate ${dist}/${TARNIK_APP_ID}.desktop)
  tarnik_validator_test(metainfo_valid appstreamcli validate --no-net ${dist_out}/${TARNIK_APP_ID}.metainfo.xml)
  add_test(NAME completion_syntax COMMAND bash -n ${dist}/completion/tarnik-cli)
  add_test(NAME install_tree COMMAND ${CMAKE_COMMAND} -DBUILD_DIR=${CMAKE_BINARY_DIR}
                                     -DPREFIX=${CMAKE_BINARY_DIR}/install-check -DMANIFEST=${dist}/install-manifest.txt
                                     -P ${dist}/CheckInstall.cmake)
endif()

set(CPACK_PACKAGE_NAME tarnik)
set(CPACK_PACKAGE_VENDOR TARNIK)
set(CPACK_PACKAGE_CONTACT "${TARNIK_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "programming software for a 16-channel hand-held two-way radio")
set(CPACK_PACKAGE_DESCRIPTION "Reads the radio's memory over a serial programming cable, edits the 16 channels\n\
and the radio-wide functions, saves and opens channel files, writes the radio and prints\n\
a one-page report; a password-protected tune mode. With tarnik-cli (files, transfers,\n\
serial-port doctor) and tarnik-sim (a simulated radio). The interface is Chinese.")
set(CPACK_PACKAGE_HOMEPAGE_URL "${TARNIK_HOMEPAGE}")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION hamradio)
# The libraries come from dpkg-shlibdeps; the fonts show the Chinese interface and report.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-noto-cjk")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n, bash-completion")
include(CPack)
