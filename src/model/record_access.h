// The addressing rule, the field-edit rule and the resets of the configuration.
#ifndef CVQ9_RECORD_ACCESS_H
#define CVQ9_RECORD_ACCESS_H

#include <cstdint>

#include "config_tables.h"

// Control indices 0 to 4 are the transport buttons, shared by all groups.
inline bool IsTransportIndex(unsigned index)
{
    return index < TRANSPORT_NB;
}

// The record addressed for control index `index` in `group`: the transport
// record for an index of 4 or less (whatever the group), the group record otherwise.
All_Params &AddressedRecord(unsigned group, unsigned index);
// Same rule in the current group.
All_Params &AddressedRecord(unsigned index);

// Applies `change` to a copy of the addressed record of every selected control
// in the current group, writes each copy back, then sets need_to_save_lib.
template <typename Change>
void EditSelectedRecords(Change change)
{
    for (int index : all_selected_ctrl) {
        if (index < 0 || static_cast<unsigned>(index) >= CONTROLS_PER_GROUP)
            continue;
        All_Params &target = AddressedRecord(static_cast<unsigned>(index));
        All_Params record = target;
        change(record);
        target = record;
    }
    need_to_save_lib = true;
}

// Initialises the transport records and entries 5..66 of every group's records
// and LCD texts (0: empty configuration, otherwise the default assignments).
// Group names, common parameters and curves are left alone.
void InitAllStructsTables(uint8_t init_type);

// The default name of group g: "   Group %02d   " (14 characters).
Q9Text DefaultGroupName(unsigned group);

// Whole-configuration resets used by New (init_type 0: empty names) and
// Load default (init_type 1: default names, common parameters, identity curves).
void ResetConfiguration(uint8_t init_type);

#endif
