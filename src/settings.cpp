#include "settings.h"

#include "shell_rules.h"

wxFileConfig *CVQ9_SOFT_config = nullptr;
const char CVQ9_SETTINGS_APP_NAME[] = "cvq9_config_soft";

namespace {

long ReadLong(const wxChar *key, long fallback)
{
    return CVQ9_SOFT_config ? CVQ9_SOFT_config->ReadLong(key, fallback) : fallback;
}

wxString ReadText(const wxChar *key)
{
    return CVQ9_SOFT_config ? CVQ9_SOFT_config->Read(key, wxEmptyString) : wxString();
}

template <typename T>
void Write(const wxChar *key, const T &value)
{
    if (CVQ9_SOFT_config)
        CVQ9_SOFT_config->Write(key, value);
}

wxString VersionText(const wxChar *key, const wchar_t *fallback)
{
    return wxString(StoredVersionText(ReadText(key).ToStdWstring(), fallback));
}

}  // namespace

namespace settings {

unsigned CurrentGroup()
{
    return StoredCurrentGroup(ReadLong(wxT("CurrentGroup"), 1));
}
void SetCurrentGroup(unsigned group)
{
    Write(wxT("CurrentGroup"), static_cast<long>(group));
}
unsigned ControlIndex()
{
    return StoredControlIndex(ReadLong(wxT("ControlIndex"), 1));
}
void SetControlIndex(unsigned index)
{
    Write(wxT("ControlIndex"), static_cast<long>(index));
}

bool ProgUndef()
{
    return StoredOption(ReadLong(wxT("ProgUndef"), 1));
}
void SetProgUndef(bool on)
{
    Write(wxT("ProgUndef"), on);
}
bool IgnoreLcdProg()
{
    return StoredOption(ReadLong(wxT("IgnoreLcdProg"), 1));
}
void SetIgnoreLcdProg(bool on)
{
    Write(wxT("IgnoreLcdProg"), on);
}
bool IgnoreMidiProg()
{
    return StoredOption(ReadLong(wxT("IgnoreMidiProg"), 1));
}
void SetIgnoreMidiProg(bool on)
{
    Write(wxT("IgnoreMidiProg"), on);
}
bool VerifyAfterDownload()
{
    return StoredOption(ReadLong(wxT("VerifyAfterDownload"), 0));
}
void SetVerifyAfterDownload(bool on)
{
    Write(wxT("VerifyAfterDownload"), on);
}
long StartGroup()
{
    return ReadLong(wxT("StartGroup"), 1);
}
void SetStartGroup(long group)
{
    Write(wxT("StartGroup"), group);
}
long EndGroup()
{
    return ReadLong(wxT("EndGroup"), 1);
}
void SetEndGroup(long group)
{
    Write(wxT("EndGroup"), group);
}

wxString OfflineFwVersion()
{
    return VersionText(wxT("Offline_Fw_Version"), L"1.6");
}
void SetOfflineFwVersion(const wxString &version)
{
    Write(wxT("Offline_Fw_Version"), version);
}
wxString OfflineHwVersion()
{
    return VersionText(wxT("Offline_Hw_Version"), L"2.0");
}
void SetOfflineHwVersion(const wxString &version)
{
    Write(wxT("Offline_Hw_Version"), version);
}

long MidiInDev()
{
    return ReadLong(wxT("MidiInDev"), 1);
}
void SetMidiInDev(long position)
{
    Write(wxT("MidiInDev"), position);
}
long MidiOutDev()
{
    return ReadLong(wxT("MidiOutDev"), 1);
}
void SetMidiOutDev(long position)
{
    Write(wxT("MidiOutDev"), position);
}

wxString HardwareVersion()
{
    return CVQ9_SOFT_config ? CVQ9_SOFT_config->Read(wxT("HardwareVersion"), wxT("0")) : wxString(wxT("0"));
}
void SetHardwareVersion(const wxString &form)
{
    Write(wxT("HardwareVersion"), form);
}

}  // namespace settings
