#include "config_tables.h"

All_Params mycontrol[GROUP_NB][CONTROLS_PER_GROUP];
All_Params mytransport[TRANSPORT_NB];
Q9Text mylcdstring[GROUP_NB][CONTROLS_PER_GROUP];
Q9Text mygroupnames[GROUP_NB];
uint8_t common_params[COMMON_PARAMS_LENGHT];
uint8_t user_curve_1[USER_CURVE_POINTS];
uint8_t user_curve_2[USER_CURVE_POINTS];
unsigned int CurrentGroup = 0;
unsigned int ControlIndex = 0;
std::vector<int> all_selected_ctrl;

bool need_to_save_lib = false;
bool default_lib_loaded = false;
std::wstring FilePath;
bool programming = false;
bool must_finish_midi = false;
bool cvq9_connected = false;
bool offline_mode = false;
float fw_version_float = 0.0f;
float hw_version_float = 0.0f;
