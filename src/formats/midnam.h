// MIDI name documents (".midnam": the MIDI Manufacturers Association's XML
// description of a device's patches, notes and controls) turned into gear of
// the preset library.
//
// Every device of the document (a "MasterDeviceNames" with its "Model") that
// has a control list becomes one gear named "<Manufacturer> <Model>", with one
// parameter per control of its control lists:
//
//   7-bit controller    B0 cc VV
//   14-bit controller   B0 cc VV, its MSB controller (0..31)
//   NRPN                B0 63 msb 62 lsb 06 VV
//   RPN                 B0 65 msb 64 lsb 06 VV
//
// the channel going into byte 1 and the value into the byte marked VV. The
// value range is the control's "Values" Min and Max, else the lowest and
// highest value of its value name list, else 0 to 127; a 14-bit range is
// taken by its upper seven bits. Names become printable ASCII, cut to the
// library's limits; two controls of one name are told apart by their number.
// A control that cannot be expressed so (unknown type, number or range out of
// bounds, no name) is skipped and counted.
//
// The document is read with the toolkit's XML reader. It is bounded before
// that reader sees it: at most 4 MiB, elements nested at most 64 deep, and no
// document type declarations of its own (entities); a refused or malformed
// document gives a message and no gear.
#ifndef CVQ9_MIDNAM_H
#define CVQ9_MIDNAM_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "preset_image.h"

constexpr size_t MIDNAM_MAX_BYTES = 4u << 20;
constexpr unsigned MIDNAM_MAX_DEPTH = 64;

struct MidnamConversion {
    std::vector<PresetGear> gear;  // the devices with at least one usable control, in document order
    unsigned skipped = 0;          // controls that could not be expressed
    std::string error;             // why the document was refused (then no gear), or empty
};

MidnamConversion ConvertMidnam(const uint8_t *data, size_t size);
// The same from a file; an unreadable or too large file is refused likewise.
MidnamConversion ConvertMidnamFile(const std::string &path);

#endif
