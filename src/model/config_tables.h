// The one configuration held in memory, and the program state flags around it.
// Every window, file format and transfer reads and writes these tables directly.
#ifndef CVQ9_CONFIG_TABLES_H
#define CVQ9_CONFIG_TABLES_H

#include <cstdint>
#include <string>
#include <vector>

#include "cross_functions.h"

// Texts in memory are wide strings; each character stands for one device byte
// (its low 8 bits). A stored text may end with one NUL character (see text_bytes.h).
using Q9Text = std::wstring;

extern All_Params mycontrol[GROUP_NB][CONTROLS_PER_GROUP];  // assignment of control c in group g; entries 0..4 unused
extern All_Params mytransport[TRANSPORT_NB];                // the five transport buttons, common to all groups
extern Q9Text mylcdstring[GROUP_NB][CONTROLS_PER_GROUP];    // LCD text of control c in group g; entries 0..4 unused
extern Q9Text mygroupnames[GROUP_NB];                       // name of each group (14 characters on the device)
extern uint8_t common_params[COMMON_PARAMS_LENGHT];         // global and realtime parameters
extern uint8_t user_curve_1[USER_CURVE_POINTS];             // user curve 1: output for each input value
extern uint8_t user_curve_2[USER_CURVE_POINTS];             // user curve 2
extern unsigned int CurrentGroup;                           // group shown and edited, 0..20
extern unsigned int ControlIndex;           // control shown and addressed by single-control transfers, 0..66
extern std::vector<int> all_selected_ctrl;  // control indices selected on the front panel

extern bool need_to_save_lib;    // the tables hold changes not yet saved
extern bool default_lib_loaded;  // the tables hold the built-in default library
extern std::wstring FilePath;    // full path of the current library file, empty if none
extern bool programming;         // a device operation is running
extern bool must_finish_midi;    // the user asked the running device operation to stop
extern bool cvq9_connected;      // the controller's identity was read
extern bool offline_mode;        // working without a controller, with chosen versions
extern float fw_version_float;   // firmware version, major + minor * 0.1
extern float hw_version_float;   // hardware version, major + minor * 0.1

#endif
