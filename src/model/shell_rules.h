// Rules of the application shell that need no window: the program directory,
// the treatment of stored settings, the main frame's size and the library
// state (FilePath, need_to_save_lib, default_lib_loaded) after each file command.
#ifndef CVQ9_SHELL_RULES_H
#define CVQ9_SHELL_RULES_H

#include <cstddef>
#include <string>

// The program directory from the bytes of the "/proc/<pid>/exe" link: one
// character per byte up to the first zero byte, then characters removed from
// the end while the last one is not "/" and more than one is left.
std::wstring ProgramDirectoryFromLink(const char *link, size_t size);

// The program directory of process `pid`. When its "/proc" link cannot be
// read, the current working directory followed by "/" (one character per
// byte as well); "/" when even that is unknown.
std::wstring ReadProgramDirectory(int pid);

// "ControlIndex" as stored: values outside 0..66 (negative ones included) become 8.
unsigned StoredControlIndex(long stored);
// "CurrentGroup" as stored: values outside 0..20 become 1.
unsigned StoredCurrentGroup(long stored);
// A stored offline version text: an empty text becomes `fallback`.
std::wstring StoredVersionText(const std::wstring &stored, const std::wstring &fallback);
// A stored boolean option: its lowest bit.
bool StoredOption(long stored);

// Width of the main frame: twice the border and edge widths the toolkit
// reports (a metric it cannot give, reported as -1, counts as 0) plus 794.
int MainFrameWidth(int border_x, int edge_x);
constexpr int MAIN_FRAME_HEIGHT = 770;

// The library state beside the tables.
struct LibraryState {
    std::wstring file_path;       // FilePath
    bool need_to_save = false;    // need_to_save_lib
    bool default_loaded = false;  // default_lib_loaded
    bool operator==(const LibraryState &o) const
    {
        return file_path == o.file_path && need_to_save == o.need_to_save && default_loaded == o.default_loaded;
    }
};

// The state after each command, given whether its file operation succeeded.
// A failed save or load leaves everything as it was, so an unsaved
// configuration is still offered for saving at exit.
LibraryState AfterNew(const LibraryState &s, const std::wstring &path);
LibraryState AfterOpen(const LibraryState &s, const std::wstring &path, bool loaded);
LibraryState AfterSaveAs(const LibraryState &s, const std::wstring &path, bool saved);
LibraryState AfterSaveToCurrentFile(const LibraryState &s, bool saved);
// The library label at the bottom of the window: the file's path ("-" when
// there is none, "recovered work" for a restored recovery library), marked
// " (unsaved)" while edits are unsaved.
std::wstring LibraryLabelText(const std::wstring &path, bool unsaved, bool recovered);
LibraryState AfterLoadDefault(const LibraryState &s);
// An import changes the configuration: it is unsaved until its Save as
// succeeds (`saved` is false when that dialog was cancelled or the save failed).
LibraryState AfterImport(const LibraryState &s, const std::wstring &saved_path, bool saved);

// The current state from the globals, and back.
LibraryState CurrentLibraryState();
void ApplyLibraryState(const LibraryState &s);

#endif
