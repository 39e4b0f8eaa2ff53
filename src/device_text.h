// The one way texts cross between the device's bytes and the toolkit's
// strings: one character per byte, both ways (ISO-8859-1 is exactly that
// mapping), never through the locale or UTF-8. Messages of the pure units,
// which hold device bytes and file-system bytes as std::string, come in the
// same way. Paths go to the file system in its own bytes.
#ifndef CVQ9_DEVICE_TEXT_H
#define CVQ9_DEVICE_TEXT_H

#include <string>

#include <wx/string.h>

// One character per byte of `bytes`.
inline wxString DeviceText(const std::string &bytes)
{
    return wxString(bytes.c_str(), wxConvISO8859_1);
}

// One byte per character of `text`, its low 8 bits.
inline std::string DeviceBytes(const wxString &text)
{
    std::string bytes;
    for (wxUniChar ch : text)
        bytes.push_back(static_cast<char>(static_cast<unsigned>(ch.GetValue()) & 0xFFu));
    return bytes;
}

// A path as the file-format units take it: the file system's bytes.
inline std::string FileSystemPath(const wxString &path)
{
    const wxCharBuffer bytes = path.fn_str();
    return bytes.data() ? std::string(bytes.data()) : std::string();
}

#endif
