# The Debian package: `cpack -G DEB` (or `cmake --build build --target
# package`) in the build folder writes cvq9-config-soft_<version>_<arch>.deb
# with everything the installation holds, under /usr, its dependencies found
# by dpkg-shlibdeps.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME cvq9-config-soft)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "configuration editor for the Corvana Q9 MIDI controller")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER
  "Corvana Q9 editor maintainers <maintainers@users.noreply.c-seed-eb772314.example>")
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
# The long description, below the summary line: lines of at most 80
# characters, a lone "." for an empty line.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "The Corvana Q9 is a hardware MIDI controller with 32 knobs, 8 sliders, a
crossfader, a joystick, a ribbon or infrared sensor, buttons and an LFO, in
21 groups of assignments. This editor shows its front panel, edits every
control's MIDI message, value range and LCD text, the global parameters and
the user curves, checks them by the firmware's rules, and sends them to the
controller or reads them back over MIDI. It keeps libraries (*.cvq), imports
Corvana Pro libraries and exports text summaries and SysEx files.
.
The cvq9-tool command checks, converts, summarises and compares library
files from scripts.")
include(CPack)
