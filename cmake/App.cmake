# The editor program: GUI library (everything but the entry point), the
# executable, and the GUI test binary.
find_package(wxWidgets REQUIRED COMPONENTS html adv core base)
include(${wxWidgets_USE_FILE})
find_library(PORTMIDI_LIBRARY NAMES portmidi REQUIRED)

# Links a program of the editor with the PortMidi it runs on: the system's
# library, or the test double (portmidi_fake). The device layer comes right
# before it, so that the linker meets PortMidi after the code that calls it.
function(cvq9_link_portmidi target portmidi)
  target_link_libraries(${target} PRIVATE cvq9_device ${portmidi})
endfunction()

# The platform calls the toolkit cannot make (src/platform/), apart: only they
# see GTK itself.
find_package(PkgConfig REQUIRED)
pkg_check_modules(GTK3 REQUIRED IMPORTED_TARGET gtk+-3.0)
file(GLOB CVQ9_PLATFORM_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/src/platform/*.cpp)
add_library(cvq9_platform STATIC ${CVQ9_PLATFORM_SOURCES})
target_include_directories(cvq9_platform PUBLIC ${PROJECT_SOURCE_DIR}/src/platform)
target_link_libraries(cvq9_platform PUBLIC ${wxWidgets_LIBRARIES} PRIVATE PkgConfig::GTK3)
cvq9_warnings(cvq9_platform)

# The windows: the application, the main frame, the front-panel view, the
# clipboard, the plot layer and the settings (src/), the editor panel and the
# curve dialog (dialogblocks/), the built-in pictures (resources/).
file(GLOB CVQ9_GUI_SOURCES CONFIGURE_DEPENDS
  ${PROJECT_SOURCE_DIR}/src/*.cpp
  ${PROJECT_SOURCE_DIR}/dialogblocks/*.cpp
  ${PROJECT_SOURCE_DIR}/resources/*.cpp)
list(REMOVE_ITEM CVQ9_GUI_SOURCES ${PROJECT_SOURCE_DIR}/src/main.cpp)
add_library(cvq9_gui STATIC ${CVQ9_GUI_SOURCES})
target_include_directories(cvq9_gui PUBLIC
  ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/dialogblocks ${PROJECT_SOURCE_DIR}/resources)
target_link_libraries(cvq9_gui PUBLIC cvq9_formats cvq9_device cvq9_platform ${wxWidgets_LIBRARIES})
cvq9_warnings(cvq9_gui)

# The program itself always links the real PortMidi.
add_executable(cvq9_config_soft ${PROJECT_SOURCE_DIR}/src/main.cpp)
target_link_libraries(cvq9_config_soft PRIVATE cvq9_gui)
cvq9_link_portmidi(cvq9_config_soft ${PORTMIDI_LIBRARY})
set_target_properties(cvq9_config_soft PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR})
cvq9_warnings(cvq9_config_soft)

include(${PROJECT_SOURCE_DIR}/cmake/Install.cmake)
include(${PROJECT_SOURCE_DIR}/cmake/Package.cmake)
