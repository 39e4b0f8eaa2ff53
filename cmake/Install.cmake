# Installation: the program with its preset library and help book in one
# folder (it looks for both beside itself), a command in bin/ and the
# command-line tool beside it, a desktop entry, icons, the file types and
# the software centre's description, so that it appears in a desktop's
# application menu and opens library files; the manual pages.
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

# The command-line tool, beside the editor's command.
install(TARGETS cvq9-tool RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# Desktop entry: a library file opened with the editor comes as its argument.
set(CVQ9_DESKTOP_FILE ${PROJECT_BINARY_DIR}/cvq9_config_soft.desktop)
file(WRITE ${CVQ9_DESKTOP_FILE}
"[Desktop Entry]
Type=Application
Name=Corvana Q9 Configuration software
GenericName=MIDI controller editor
Comment=Edit, check, save and transfer the configuration of the Corvana Q9 MIDI controller
Exec=cvq9_config_soft %f
Icon=cvq9_config_soft
Terminal=false
Categories=AudioVideo;Audio;Midi;
MimeType=application/x-cvq9-library;
Keywords=MIDI;controller;SysEx;
")
install(FILES ${CVQ9_DESKTOP_FILE} DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)

# The file types of library and legacy library files, the description that
# software centres show, and the icon at the icon theme's sizes (drawn by
# tools/draw_artwork).
set(CVQ9_PACKAGING_DIR ${PROJECT_SOURCE_DIR}/packaging)
install(FILES ${CVQ9_PACKAGING_DIR}/cvq9-config-soft.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
install(FILES ${CVQ9_PACKAGING_DIR}/com.halvorn.cvq9_config_soft.metainfo.xml
  DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
foreach(size 16 22 24 32 48 64 128 256)
  install(FILES ${PROJECT_SOURCE_DIR}/resources/icons/cvq9_config_soft-${size}.png
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME cvq9_config_soft.png)
endforeach()

# Manual pages and the changelog, compressed as Debian has them (no time
# stamp in the gzip header, so that builds are reproducible).
find_program(GZIP_PROGRAM gzip REQUIRED)
set(CVQ9_COMPRESSED)
foreach(source ${CVQ9_PACKAGING_DIR}/cvq9_config_soft.1 ${PROJECT_SOURCE_DIR}/tools/cvq9-tool/cvq9-tool.1
               ${CVQ9_PACKAGING_DIR}/changelog)
  get_filename_component(name ${source} NAME)
  set(compressed ${PROJECT_BINARY_DIR}/packaging/${name}.gz)
  add_custom_command(OUTPUT ${compressed}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/packaging
    COMMAND sh -c "${GZIP_PROGRAM} -9n < \"$1\" > \"$2\"" gzip ${source} ${compressed}
    DEPENDS ${source}
    VERBATIM)
  list(APPEND CVQ9_COMPRESSED ${compressed})
endforeach()
add_custom_target(compressed_docs ALL DEPENDS ${CVQ9_COMPRESSED})
install(FILES ${PROJECT_BINARY_DIR}/packaging/cvq9_config_soft.1.gz ${PROJECT_BINARY_DIR}/packaging/cvq9-tool.1.gz
  DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
set(CVQ9_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/cvq9-config-soft)
install(FILES ${PROJECT_BINARY_DIR}/packaging/changelog.gz ${CVQ9_PACKAGING_DIR}/copyright DESTINATION ${CVQ9_DOC_DIR})

# A test installs the build into a scratch folder and checks the layout.
add_test(NAME install_layout
  COMMAND ${CMAKE_COMMAND} -DBUILD_DIR=${PROJECT_BINARY_DIR} -DSCRATCH=${PROJECT_BINARY_DIR}/install-check
          -DWITH_HELP=$<BOOL:$<TARGET_EXISTS:cvq9_help_book>>
          -P ${PROJECT_SOURCE_DIR}/cmake/InstallCheck.cmake)
