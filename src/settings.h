// The program's settings: every key with its type and its default, read and
// written through one accessor each. The store is the per-user file that
// start-up opens ("~/.cvq9_config_soft"); values written during a run stay in
// memory and reach the file when the store is deleted at shutdown. Without a
// store, readers give their defaults and writers do nothing.
#ifndef CVQ9_SETTINGS_H
#define CVQ9_SETTINGS_H

#include <wx/fileconf.h>
#include <wx/string.h>

// The per-user settings store, created first at start-up and deleted last.
extern wxFileConfig *CVQ9_SOFT_config;
// Its application name, which names the file.
extern const char CVQ9_SETTINGS_APP_NAME[];  // "cvq9_config_soft"

namespace settings {

// "CurrentGroup": the group shown, 0..20; absent or out of range, 1.
unsigned CurrentGroup();
void SetCurrentGroup(unsigned group);
// "ControlIndex": the control shown, 0..66; absent 1, out of range 8.
unsigned ControlIndex();
void SetControlIndex(unsigned index);

// The transfer options of the Preferences tab, on when absent (lowest bit kept).
bool ProgUndef();  // "ProgUndef"
void SetProgUndef(bool on);
bool IgnoreLcdProg();  // "IgnoreLcdProg"
void SetIgnoreLcdProg(bool on);
bool IgnoreMidiProg();  // "IgnoreMidiProg"
void SetIgnoreMidiProg(bool on);
// Whether a download of assignments is read back and compared; off when absent.
bool VerifyAfterDownload();  // "VerifyAfterDownload"
void SetVerifyAfterDownload(bool on);
// The group range of the all-operations, 1 when absent.
long StartGroup();  // "StartGroup"
void SetStartGroup(long group);
long EndGroup();  // "EndGroup"
void SetEndGroup(long group);

// The offline versions as their texts; absent or empty, "1.6" and "2.0".
wxString OfflineFwVersion();  // "Offline_Fw_Version"
void SetOfflineFwVersion(const wxString &version);
wxString OfflineHwVersion();  // "Offline_Hw_Version"
void SetOfflineHwVersion(const wxString &version);

// The positions last chosen in the MIDI port selectors, 1 when absent.
long MidiInDev();  // "MidiInDev"
void SetMidiInDev(long position);
long MidiOutDev();  // "MidiOutDev"
void SetMidiOutDev(long position);

// The panel form of the last identified controller: "Infrared" or "Ribbon";
// "0" when absent.
wxString HardwareVersion();  // "HardwareVersion"
void SetHardwareVersion(const wxString &form);

}  // namespace settings

#endif
