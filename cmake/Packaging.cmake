# `make package` (the `package` target): a Debian package of the installed files. The libraries
# the program links come from dpkg-shlibdeps; what it loads only at run time is named here.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ladoton)
set(CPACK_PACKAGE_VENDOR "Ладотон")
set(CPACK_PACKAGE_CONTACT "Ладотон developers <developers@ladoton.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "virtual MIDI keyboard played with the PC keyboard")
# cpack copies the lines as they are: they are wrapped here, well within 80 columns.
set(CPACK_PACKAGE_DESCRIPTION "Ladoton shows a piano of three octaves that is played with two
rows of the PC keyboard or with the mouse. Notes go to the built-in
synthesizer, an ALSA sequencer port or a JACK MIDI port. It records and loops
melodies, runs a metronome and names held chords.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Debian ships programs without their symbols.
set(CPACK_STRIP_FILES ON)
# The built-in synthesizer (device 0) opens FluidSynth by its soname and plays the system's
# General MIDI SoundFont, so both are needed although nothing links them.
set(ladoton_run_time_depends "")
if(fluidsynth_soname MATCHES "^libfluidsynth\\.so\\.([0-9]+)$")
    string(APPEND ladoton_run_time_depends "libfluidsynth${CMAKE_MATCH_1}, ")
endif()
string(APPEND ladoton_run_time_depends "timgm6mb-soundfont | sf2-soundfont-gm")
# The icon is an SVG, read through Qt's image plugin.
string(APPEND ladoton_run_time_depends ", libqt6svg6")
set(CPACK_DEBIAN_PACKAGE_DEPENDS "${ladoton_run_time_depends}")
# Russian texts of Qt's own dialogs, and the dialog font the window was laid out for.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n, fonts-wine")
# Only the program's own files: no test or benchmark ends up in the package.
set(CPACK_INSTALL_CMAKE_PROJECTS "${CMAKE_BINARY_DIR};${PROJECT_NAME};Runtime;/")
include(CPack)
