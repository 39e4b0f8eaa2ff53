// libFuzzer target for the library file reader, on arbitrary bytes. It stays
// inside the buffer (the sanitizers watch), reports the layout by the first
// byte, never touches the unused entries 0..4 of a group, stores every text
// with at most its field's characters and one NUL, takes a whole current
// image byte for byte (apart from what follows a text's NUL), and what it
// read is rebuilt into an image that reads back unchanged.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "config_tables.h"
#include "fuzz_check.h"
#include "library_file.h"
#include "record_access.h"

namespace {

// At most `width` characters of one byte each, then one NUL.
bool StoredTextFits(const Q9Text &text, size_t width)
{
    return !text.empty() && text.size() <= width + 1 && text.back() == L'\0' &&
           std::all_of(text.begin(), text.end() - 1,
                       [](wchar_t c) { return c != L'\0' && static_cast<uint32_t>(c) <= 0xFFu; });
}

// Whether entries 0..4 of every group hold (check) or get (!check) their marks.
void UnusedEntries(bool check)
{
    for (unsigned g = 0; g < GROUP_NB; ++g)
        for (unsigned c = 0; c < FIRST_GROUP_CONTROL; ++c) {
            All_Params mark;
            std::memset(&mark, static_cast<int>(0xC0 + c), sizeof mark);
            if (!check) {
                mycontrol[g][c] = mark;
                mylcdstring[g][c] = L"unused";
            } else {
                Check(std::memcmp(&mycontrol[g][c], &mark, sizeof mark) == 0 && mylcdstring[g][c] == L"unused");
            }
        }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    ResetConfiguration(1);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    UnusedEntries(false);
    const LibraryLayout layout = ParseLibraryImage(size ? data : nullptr, size);
    Check(layout == ((size > 0 && data[0] == LIBRARY_SIGNATURE) ? LibraryLayout::Current : LibraryLayout::Pre14));
    UnusedEntries(true);
    for (unsigned g = 0; g < GROUP_NB; ++g) {
        for (unsigned c = FIRST_GROUP_CONTROL; c <= LAST_CONTROL_INDEX; ++c)
            Check(StoredTextFits(mylcdstring[g][c], LCD_STRING_LENGHT));
        Check(StoredTextFits(mygroupnames[g], GROUP_NAME_LENGHT) || mygroupnames[g] == DefaultGroupName(g));
    }

    const std::vector<uint8_t> rebuilt = BuildLibraryImage();
    Check(rebuilt.size() == LIBRARY_IMAGE_SIZE);
    if (layout == LibraryLayout::Current && size >= LIBRARY_IMAGE_SIZE) {
        const uint8_t *image = rebuilt.data();
        Check(std::memcmp(image + 2, data + 2, TRANSPORT_NB * LIBRARY_RECORD_SIZE) == 0);
        for (unsigned g = 0; g < GROUP_NB; ++g)
            for (unsigned c = FIRST_GROUP_CONTROL; c <= LAST_CONTROL_INDEX; ++c) {
                const size_t at = LibraryEntryOffset(g, c), lcd = at + LIBRARY_RECORD_SIZE;
                Check(std::memcmp(image + at, data + at, LIBRARY_RECORD_SIZE) == 0);
                Check(std::memcmp(image + lcd, data + lcd,
                                  strnlen(reinterpret_cast<const char *>(image + lcd), LCD_STRING_LENGHT)) == 0);
            }
        Check(std::memcmp(image + LIBRARY_COMMON_OFFSET, data + LIBRARY_COMMON_OFFSET,
                          LIBRARY_IMAGE_SIZE - LIBRARY_COMMON_OFFSET) == 0);
    }
    ParseLibraryImage(rebuilt.data(), rebuilt.size());
    Check(BuildLibraryImage() == rebuilt);
    return 0;
}
