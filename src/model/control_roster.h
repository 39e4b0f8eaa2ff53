// The names of the 67 controls, by control index.
#ifndef CVQ9_CONTROL_ROSTER_H
#define CVQ9_CONTROL_ROSTER_H

#include <string>

#include "cross_functions.h"

// Name of control index 0..66 ("Rec button", "Knob 0 (row 0 - col 0)", ... "LFO");
// an empty string for any other index.
const std::string &ControlName(unsigned index);

// Number of entries of the chained-control list: "None" then controls 5..65.
constexpr unsigned CHAIN_LIST_SIZE = 62;
// Entry i of the chained-control list: "None" for 0, otherwise the name of index i + 4.
const std::string &ChainListEntry(unsigned entry);

#endif
