# Installing the desktop program (cmake --install) and packaging it for
# Debian (cpack -G DEB): the program, its manual page in section 6, the
# desktop entry and icons, the software centres' metainfo, the README and the
# licence.
include(GNUInstallDirs)

install(TARGETS zemra RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# The manual page, made from its readable source at build time.
find_package(Python3 REQUIRED COMPONENTS Interpreter)
set(man_page ${CMAKE_BINARY_DIR}/man/zemra.6)
add_custom_command(OUTPUT ${man_page}.gz
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/man
  COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/tools/man/md2man.py ${CMAKE_SOURCE_DIR}/docs/zemra.6.md ${man_page} ${PROJECT_VERSION}
  COMMAND gzip -9nf ${man_page}
  DEPENDS ${CMAKE_SOURCE_DIR}/docs/zemra.6.md ${CMAKE_SOURCE_DIR}/tools/man/md2man.py
  COMMENT "Manual page zemra(6)")

# Debian wants a change log beside the copyright file (changelog.gz, the
# package's version having no Debian revision).
set(ZEMRA_MAINTAINER "Zemra developers <maintainers@users.noreply.c-seed-734f0cf9.example>")
string(TIMESTAMP ZEMRA_CHANGELOG_DATE "%a, %d %b %Y %H:%M:%S +0000" UTC)
configure_file(${CMAKE_SOURCE_DIR}/packaging/changelog.in ${CMAKE_BINARY_DIR}/packaging/changelog @ONLY)
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/packaging/changelog.gz
  COMMAND gzip -9nkf ${CMAKE_BINARY_DIR}/packaging/changelog
  DEPENDS ${CMAKE_BINARY_DIR}/packaging/changelog)
add_custom_target(zemra_install_files ALL DEPENDS ${man_page}.gz ${CMAKE_BINARY_DIR}/packaging/changelog.gz)

install(FILES ${man_page}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/zemra.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
# The icon, drawn by the generator at each size desktops use.
foreach(size IN ITEMS 16 32 48 64 128 256)
  install(FILES ${CMAKE_BINARY_DIR}/assets/icon/zemra-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME zemra.png)
endforeach()
install(FILES ${CMAKE_SOURCE_DIR}/README.md ${CMAKE_SOURCE_DIR}/packaging/copyright
              ${CMAKE_BINARY_DIR}/packaging/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DOCDIR})

set(CPACK_PACKAGE_NAME zemra)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "${ZEMRA_MAINTAINER}")
# The package's and the software centres' description, one paragraph each.
set(ZEMRA_SUMMARY "Self-running real-time audio-visual show (a demo)")
set(ZEMRA_DESCRIPTION_PARAGRAPHS
"Zemra is a demo in the demoscene sense: thirteen software-rendered effects,
computed in integer fixed-point arithmetic on a 240 x 320 picture of 16-bit
colour, play one after another in step with a tracker music module, driven
by a timeline of script rows. It plays in a window or full screen with
sound, renders itself frame-exactly to video or pictures, and has a study
mode to pause, step and jump through the show while a panel shows what the
script does."
"Warning: the show has flashing lights and fast-moving, high-contrast
patterns, which can trigger seizures in people with photosensitive
epilepsy. Its gentle mode (zemra --gentle, or \"Play gently\" in the menu)
holds every flash under the safety thresholds.")

# Debian's synopsis starts in lower case; its paragraphs are parted by " .".
string(SUBSTRING "${ZEMRA_SUMMARY}" 0 1 first)
string(SUBSTRING "${ZEMRA_SUMMARY}" 1 -1 rest)
string(TOLOWER "${first}" first)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${first}${rest}")
list(JOIN ZEMRA_DESCRIPTION_PARAGRAPHS "\n.\n" CPACK_PACKAGE_DESCRIPTION)

# The AppStream metainfo. Its id is the reverse of the domain the maintainer
# address names, as AppStream asks of an application's id. A screenshot needs
# a web address: with ZEMRA_RELEASE_URL, where the release's files are
# published, the entry shows the release's screenshot from there.
set(ZEMRA_APPSTREAM_ID example.c_seed_734f0cf9.zemra)
set(ZEMRA_RELEASE_URL "" CACHE STRING "Web address of the published release files (for the metainfo's screenshot)")
list(TRANSFORM ZEMRA_DESCRIPTION_PARAGRAPHS REPLACE "\n" " " OUTPUT_VARIABLE paragraphs)
list(TRANSFORM paragraphs PREPEND "    <p>")
list(TRANSFORM paragraphs APPEND "</p>")
list(JOIN paragraphs "\n" ZEMRA_METAINFO_DESCRIPTION)
set(ZEMRA_METAINFO_SCREENSHOTS "")
if(ZEMRA_RELEASE_URL)
  string(CONCAT ZEMRA_METAINFO_SCREENSHOTS
    "  <screenshots>\n    <screenshot type=\"default\">\n"
    "      <caption>The title over the sunrise</caption>\n"
    "      <image>${ZEMRA_RELEASE_URL}/zemra-${PROJECT_VERSION}-screenshot.png</image>\n"
    "    </screenshot>\n  </screenshots>\n")
endif()
string(TIMESTAMP ZEMRA_RELEASE_DATE "%Y-%m-%d" UTC)
set(metainfo ${CMAKE_BINARY_DIR}/packaging/${ZEMRA_APPSTREAM_ID}.metainfo.xml)
configure_file(${CMAKE_SOURCE_DIR}/packaging/zemra.metainfo.xml.in ${metainfo} @ONLY)
install(FILES ${metainfo} DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# Written into CPack's configuration escaped: the description's quotes
# would otherwise end its string there and turn into list separators.
set(CPACK_VERBATIM_VARIABLES ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# A demo plays pictures and sound: the video section (games must live in /usr/games,
# which is not on root's PATH).
set(CPACK_DEBIAN_PACKAGE_SECTION video)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries the program links, as dpkg-shlibdeps finds them (SDL2,
# libopenmpt, libjpeg, libbz2, libpng, zlib, the C++ runtime); ffmpeg only for videos.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS ffmpeg)
set(CPACK_GENERATOR DEB)
include(CPack)
