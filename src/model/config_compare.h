// Comparing the editor's configuration with the controller's: a whole copy of
// the tables (an image), the parts of the configuration a comparison looks
// at, the differences between two images field by field, and taking the
// controller's value of one difference into the tables.
#ifndef CVQ9_CONFIG_COMPARE_H
#define CVQ9_CONFIG_COMPARE_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "config_tables.h"

// A whole configuration, apart from the tables.
struct ConfigImage {
    std::vector<All_Params> controls;  // GROUP_NB rows of CONTROLS_PER_GROUP, as mycontrol
    std::vector<All_Params> transport;
    std::vector<Q9Text> lcd;  // laid out as controls
    std::vector<Q9Text> names;
    std::vector<uint8_t> common, curve1, curve2;

    // The tables as they are now; the tables made exactly this image again.
    static ConfigImage OfTables();
    void ToTables() const;

    // The record a control index addresses in a group (the transport record
    // for the transport buttons), and a group control's LCD text.
    const All_Params &Record(unsigned group, unsigned index) const;
    const Q9Text &Lcd(unsigned group, unsigned index) const;
    const uint8_t *Curve(unsigned curve) const { return curve == 0 ? curve1.data() : curve2.data(); }
};

// One part of the configuration, as a comparison takes it.
struct ComparedPart {
    // CommonParams: the bytes the global tabs exchange with the controller;
    // StoredCommonParams: every byte a library file keeps.
    enum Kind : uint8_t { Record, LcdText, GroupName, CommonParams, Curves, StoredCommonParams };
    Kind kind = Record;
    uint8_t group = 0;  // Record, LcdText, GroupName; 0 for a transport button
    uint8_t index = 0;  // Record, LcdText: the control index
    bool operator==(const ComparedPart &other) const
    {
        return kind == other.kind && group == other.group && index == other.index;
    }
};

// What a comparison with the controller reads for the group range, as the
// all-operations walk it: the transport buttons when the range starts at
// group 0, then for each group its name and each control's record and LCD
// text (records or texts left out when they are not to be exchanged), then
// the common parameters and the two curves.
std::vector<ComparedPart> RangeParts(int from_group, int to_group, bool records, bool lcd_texts);

// What a library file holds for the group range: the parts of RangeParts
// with every byte of the common parameters, not only those exchanged.
std::vector<ComparedPart> LibraryParts(int from_group = 0, int to_group = GROUP_NB - 1);

// The number of different controls the parts name.
size_t ControlsIn(const std::vector<ComparedPart> &parts);

// One field in which the controller's configuration differs from the editor's.
struct ConfigDifference {
    ComparedPart part;
    // Record: the field's number (the ten one-byte fields apart from the
    // string length, then the MIDI string with its length); CommonParams: the
    // byte's address; Curves: the curve (0, 1) times USER_CURVE_POINTS plus
    // the point; otherwise 0.
    uint16_t field = 0;
    // The texts of a list row, one character per byte.
    std::string group;
    std::string control;
    std::string field_name;
    std::string editor_value;
    std::string controller_value;
};

// Every difference within `parts`, in their order. Records compare field by
// field, the MIDI string by its used bytes only; texts as the controller
// holds them (up to the first NUL, padded with spaces to 16 characters or
// 14 for a name); the common parameters by the bytes exchanged with this
// firmware; the curves point by point.
std::vector<ConfigDifference> CompareImages(const ConfigImage &editor, const ConfigImage &controller,
                                            const std::vector<ComparedPart> &parts, float fw_version);

// Writes the other configuration's value (the controller's or a file's) of
// the one field of `difference` into the tables; nothing else changes.
void TakeOtherValue(const ConfigDifference &difference, const ConfigImage &other);

#endif
