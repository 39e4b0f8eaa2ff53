# Installs the build in BUILD_DIR under SCRATCH and checks what a desktop
# needs: the program with its preset library (and help book, WITH_HELP) in one
# folder, a bin/ command that leads to it, the desktop entry and the icon.
file(REMOVE_RECURSE ${SCRATCH})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${SCRATCH}
  RESULT_VARIABLE result OUTPUT_QUIET)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${result}")
endif()

function(expect_file path)
  if(NOT EXISTS ${SCRATCH}/${path})
    message(FATAL_ERROR "not installed: ${path}")
  endif()
endfunction()

include(GNUInstallDirs)
set(dir ${CMAKE_INSTALL_LIBDIR}/cvq9_config_soft)
expect_file(${dir}/cvq9_config_soft)
expect_file(${dir}/hlvlib.xcq)
if(WITH_HELP)
  expect_file(${dir}/cvq9_cfg_soft_hlp_v14.htb)
endif()
expect_file(share/applications/cvq9_config_soft.desktop)
expect_file(share/icons/hicolor/32x32/apps/cvq9_config_soft.png)

# The command resolves to the program in its folder, where it finds its files.
set(command ${SCRATCH}/${CMAKE_INSTALL_BINDIR}/cvq9_config_soft)
if(NOT IS_SYMLINK ${command})
  message(FATAL_ERROR "bin/cvq9_config_soft is not a symbolic link")
endif()
file(REAL_PATH ${command} resolved)
file(REAL_PATH ${SCRATCH}/${dir}/cvq9_config_soft expected)
if(NOT resolved STREQUAL expected)
  message(FATAL_ERROR "bin/cvq9_config_soft leads to ${resolved}, not ${expected}")
endif()

file(READ ${SCRATCH}/share/applications/cvq9_config_soft.desktop entry)
foreach(line "[Desktop Entry]" "Type=Application" "Exec=cvq9_config_soft" "Icon=cvq9_config_soft" "Categories=")
  string(FIND "${entry}" "${line}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "desktop entry lacks ${line}")
  endif()
endforeach()

file(READ ${SCRATCH}/share/icons/hicolor/32x32/apps/cvq9_config_soft.png head LIMIT 8 HEX)
if(NOT head STREQUAL "89504e470d0a1a0a")
  message(FATAL_ERROR "the icon is not a PNG file")
endif()
file(REMOVE_RECURSE ${SCRATCH})
message(STATUS "installation layout checked")
