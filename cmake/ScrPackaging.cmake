# The Debian package, made by CPack's DEB generator (scripts/package-deb.sh):
# everything `cmake --install` puts under /usr. The libraries the programs
# and the Flash engine link come from dpkg-shlibdeps, run by
# ScrPackageDepends.cmake.in when cpack packages; what they only load at run
# time is listed here: GStreamer's plugins for the music, the General MIDI
# sound font, the fonts the dialogs and labels use.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME scrplayer)
set(CPACK_PACKAGE_VENDOR "scrplayer developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "player and toolkit for packed screen savers")
# One line each, as the package's description shows them.
set(CPACK_PACKAGE_DESCRIPTION "A packed screen saver is one executable that carries, after its own
program, a package of JPEG pictures and Flash movies with their timing,
animated transitions, music, text labels and the texts of its dialogs. The
same file plays full screen or as a preview, shows its settings, installs
itself and removes itself again.

scrplayer is the player the packages are appended to; scrtool builds,
inspects, exports, unpacks and plays them. Flash movies play through the
bundled Ruffle player in Qt WebEngine.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${SCR_PACKAGE_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS OFF)
set(SCR_PACKAGE_BINARIES "\"$<TARGET_FILE:scrplayer>\" \"$<TARGET_FILE:scrtool>\"")
if(TARGET scr_show_ruffle)
  string(APPEND SCR_PACKAGE_BINARIES " \"$<TARGET_FILE:scr_show_ruffle>\"")
endif()
configure_file(${CMAKE_CURRENT_LIST_DIR}/ScrPackageDepends.cmake.in ${PROJECT_BINARY_DIR}/ScrPackageDepends.cmake.genex
  @ONLY)
file(GENERATE OUTPUT ${PROJECT_BINARY_DIR}/ScrPackageDepends.cmake
  INPUT ${PROJECT_BINARY_DIR}/ScrPackageDepends.cmake.genex)
set(CPACK_PROJECT_CONFIG_FILE ${PROJECT_BINARY_DIR}/ScrPackageDepends.cmake)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
  "gstreamer1.0-plugins-base, gstreamer1.0-plugins-good, gstreamer1.0-plugins-bad, timgm6mb-soundfont, fonts-liberation2, fonts-dejavu-core")
# scrtool render encodes MP4 videos with x264, from the "ugly" plugin set.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "gstreamer1.0-plugins-ugly")
include(CPack)
