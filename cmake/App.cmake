# The editor program: GUI library (everything but the entry point), the
# executable, and the GUI test binary.
find_package(wxWidgets REQUIRED COMPONENTS html adv core base)
include(${wxWidgets_USE_FILE})
find_library(PORTMIDI_LIBRARY NAMES portmidi REQUIRED)
find_path(PORTMIDI_INCLUDE_DIR portmidi.h REQUIRED)

file(GLOB CVQ9_GUI_SOURCES CONFIGURE_DEPENDS
  ${PROJECT_SOURCE_DIR}/src/CVQ9*.cpp
  ${PROJECT_SOURCE_DIR}/src/gui_*.cpp
  ${PROJECT_SOURCE_DIR}/src/Midi_Ios.cpp
  ${PROJECT_SOURCE_DIR}/src/settings.cpp
  ${PROJECT_SOURCE_DIR}/dialogblocks/*.cpp
  ${PROJECT_SOURCE_DIR}/resources/*.cpp)
if(NOT CVQ9_GUI_SOURCES OR NOT EXISTS ${PROJECT_SOURCE_DIR}/src/main.cpp)
  return()
endif()
add_library(cvq9_gui STATIC ${CVQ9_GUI_SOURCES})
target_include_directories(cvq9_gui PUBLIC
  ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/dialogblocks ${PROJECT_SOURCE_DIR}/resources)
target_include_directories(cvq9_gui SYSTEM PUBLIC ${PORTMIDI_INCLUDE_DIR})
target_link_libraries(cvq9_gui PUBLIC cvq9_core ${wxWidgets_LIBRARIES})
cvq9_warnings(cvq9_gui)

# The program itself always links the real PortMidi.
add_executable(cvq9_config_soft ${PROJECT_SOURCE_DIR}/src/main.cpp)
target_link_libraries(cvq9_config_soft PRIVATE cvq9_gui ${PORTMIDI_LIBRARY})
set_target_properties(cvq9_config_soft PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR})
cvq9_warnings(cvq9_config_soft)

# Start-up benchmark helpers: a bare frame program to measure against, and the
# probe that times a program until its window is shown (tests/bench/bench_startup).
if(CVQ9_BENCH)
  find_package(X11)
  add_executable(bare_frame ${PROJECT_SOURCE_DIR}/tools/bare_frame/bare_frame.cpp)
  target_link_libraries(bare_frame PRIVATE ${wxWidgets_LIBRARIES})
  set_target_properties(bare_frame PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/tools/bare_frame)
  cvq9_warnings(bare_frame)
  # The program's start-up with MIDI ports present (over the PortMidi test double).
  if(NOT TARGET portmidi_fake)
    add_subdirectory(${PROJECT_SOURCE_DIR}/tests/fakes ${CMAKE_BINARY_DIR}/tests/fakes)
  endif()
  add_executable(editor_with_ports ${PROJECT_SOURCE_DIR}/tools/bare_frame/editor_with_ports.cpp)
  target_link_libraries(editor_with_ports PRIVATE cvq9_gui portmidi_fake)
  set_target_properties(editor_with_ports PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR})
  cvq9_warnings(editor_with_ports)
  if(X11_FOUND)
    add_executable(startup_probe ${PROJECT_SOURCE_DIR}/tools/bare_frame/startup_probe.cpp)
    target_include_directories(startup_probe SYSTEM PRIVATE ${X11_INCLUDE_DIR})
    target_link_libraries(startup_probe PRIVATE ${X11_LIBRARIES})
    set_target_properties(startup_probe PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/tools/bare_frame)
    cvq9_warnings(startup_probe)
  endif()
endif()

include(${PROJECT_SOURCE_DIR}/cmake/Install.cmake)
