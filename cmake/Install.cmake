# Installation: the program with its preset library and help book in one
# folder (it looks for both beside itself), a command in bin/, a desktop entry
# and an icon, so that it appears in a desktop's application menu.
include(GNUInstallDirs)

set(CVQ9_INSTALL_DIR ${CMAKE_INSTALL_LIBDIR}/cvq9_config_soft)

install(TARGETS cvq9_config_soft RUNTIME DESTINATION ${CVQ9_INSTALL_DIR})
if(TARGET preset_library)
  install(FILES ${PROJECT_BINARY_DIR}/hlvlib.xcq DESTINATION ${CVQ9_INSTALL_DIR})
endif()
# The help book is built only when its sources are there.
if(TARGET cvq9_help_book)
  install(FILES ${PROJECT_BINARY_DIR}/cvq9_cfg_soft_hlp_v14.htb DESTINATION ${CVQ9_INSTALL_DIR})
endif()

# bin/cvq9_config_soft: a symbolic link; /proc/self/exe resolves it, so the
# program still finds its files in its own folder.
file(RELATIVE_PATH CVQ9_LINK_TARGET
  ${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}
  ${CMAKE_INSTALL_PREFIX}/${CVQ9_INSTALL_DIR}/cvq9_config_soft)
install(CODE "
  set(bin_dir \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}\")
  file(MAKE_DIRECTORY \"\${bin_dir}\")
  file(REMOVE \"\${bin_dir}/cvq9_config_soft\")
  file(CREATE_LINK \"${CVQ9_LINK_TARGET}\" \"\${bin_dir}/cvq9_config_soft\" SYMBOLIC)
  message(STATUS \"Installing: \${bin_dir}/cvq9_config_soft -> ${CVQ9_LINK_TARGET}\")
")

# Desktop entry.
set(CVQ9_DESKTOP_FILE ${PROJECT_BINARY_DIR}/cvq9_config_soft.desktop)
file(WRITE ${CVQ9_DESKTOP_FILE}
"[Desktop Entry]
Type=Application
Name=Corvana Q9 Configuration software
GenericName=MIDI controller editor
Comment=Edit, check, save and transfer the configuration of the Corvana Q9 MIDI controller
Exec=cvq9_config_soft
Icon=cvq9_config_soft
Terminal=false
Categories=AudioVideo;Audio;Midi;
")
install(FILES ${CVQ9_DESKTOP_FILE} DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)

# Icon: the program's own window icon, written out as PNG at build time.
add_executable(icon_export ${PROJECT_SOURCE_DIR}/tools/icon_export/icon_export.cpp)
target_link_libraries(icon_export PRIVATE cvq9_gui)
cvq9_warnings(icon_export)
set(CVQ9_ICON_FILE ${PROJECT_BINARY_DIR}/cvq9_config_soft.png)
add_custom_command(
  OUTPUT ${CVQ9_ICON_FILE}
  COMMAND icon_export ${CVQ9_ICON_FILE}
  DEPENDS icon_export
  COMMENT "Writing the program icon cvq9_config_soft.png"
  VERBATIM)
add_custom_target(program_icon ALL DEPENDS ${CVQ9_ICON_FILE})
install(FILES ${CVQ9_ICON_FILE} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/32x32/apps)

# A test installs the build into a scratch folder and checks the layout.
add_test(NAME install_layout
  COMMAND ${CMAKE_COMMAND} -DBUILD_DIR=${PROJECT_BINARY_DIR} -DSCRATCH=${PROJECT_BINARY_DIR}/install-check
          -DWITH_HELP=$<BOOL:$<TARGET_EXISTS:cvq9_help_book>>
          -P ${PROJECT_SOURCE_DIR}/cmake/InstallCheck.cmake)
