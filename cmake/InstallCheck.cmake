# Installs the build in BUILD_DIR under SCRATCH and checks what a desktop
# needs: the program with its preset library (and help book, WITH_HELP) in one
# folder, a bin/ command that leads to it, the tool, the desktop entry, the
# file types, the description, the manual pages and the icons.
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
expect_file(${CMAKE_INSTALL_BINDIR}/cvq9-tool)
expect_file(share/applications/cvq9_config_soft.desktop)
expect_file(share/mime/packages/cvq9-config-soft.xml)
expect_file(share/metainfo/com.halvorn.cvq9_config_soft.metainfo.xml)
foreach(page cvq9_config_soft cvq9-tool)
  expect_file(${CMAKE_INSTALL_MANDIR}/man1/${page}.1.gz)
endforeach()
foreach(size 16 22 24 32 48 64 128 256)
  expect_file(share/icons/hicolor/${size}x${size}/apps/cvq9_config_soft.png)
endforeach()

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
foreach(line "[Desktop Entry]" "Type=Application" "Exec=cvq9_config_soft %f" "Icon=cvq9_config_soft" "Categories="
             "MimeType=application/x-cvq9-library;")
  string(FIND "${entry}" "${line}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "desktop entry lacks ${line}")
  endif()
endforeach()

# PNG signature, then the header chunk's width and height.
foreach(size_and_header "16;0000001000000010" "256;0000010000000100")
  list(GET size_and_header 0 size)
  list(GET size_and_header 1 dimensions)
  file(READ ${SCRATCH}/share/icons/hicolor/${size}x${size}/apps/cvq9_config_soft.png head LIMIT 24 HEX)
  if(NOT head MATCHES "^89504e470d0a1a0a.*${dimensions}$")
    message(FATAL_ERROR "the ${size}x${size} icon is not a PNG of that size")
  endif()
endforeach()
file(REMOVE_RECURSE ${SCRATCH})
message(STATUS "installation layout checked")
