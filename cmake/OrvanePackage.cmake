# The Debian package: `cpack -G DEB` in a build folder gives orvane-editor_VERSION_ARCH.deb holding
# everything `cmake --install` puts in place, its dependencies found by dpkg-shlibdeps.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME orvane-editor)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "editor and librarian for the Tavel Orvane's sample banks")
# The long description; CPack puts the summary above it and indents it as a control file wants.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "OrvaneEditor keeps an image of the seven sample banks of the Tavel Orvane, a
sample-playback instrument, imports AIFF and WAV files into them, saves and
loads them as Standard MIDI Files and sends them to the instrument as System
Exclusive dumps through the ALSA sequencer.

The orvane command does the same batch work without the window.")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "OrvaneEditor developers <developers@orvaneeditor.org>")
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# Qt's own dialog texts in the user's language, beside the window's translations.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS qt6-translations-l10n)
include(CPack)
