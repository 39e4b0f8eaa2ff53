// libFuzzer target for the library file reader: arbitrary bytes are read as a
// library image. The reader must stay inside the buffer (the sanitizers watch
// it), never touch the unused entries 0..4 of each group, store every text
// with at most its field's characters and one NUL, report the layout from the
// first byte, and, for a whole current image, take every record, common
// parameter and curve byte exactly as it stands in the image.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "config_tables.h"
#include "library_file.h"
#include "record_access.h"

namespace {

void Check(bool ok)
{
    if (!ok)
        abort();
}

bool StoredTextFits(const Q9Text &text, size_t width)
{
    if (text.empty() || text.size() > width + 1 || text.back() != L'\0')
        return false;
    for (size_t i = 0; i + 1 < text.size(); ++i)
        if (text[i] == L'\0' || static_cast<uint32_t>(text[i]) > 0xFFu)
            return false;
    return true;
}

size_t FieldTextLength(const uint8_t *field, size_t width)
{
    size_t length = 0;
    while (length < width && field[length] != 0)
        ++length;
    return length;
}

const Q9Text kUnusedText = L"unused";

void MarkUnusedEntries()
{
    for (unsigned g = 0; g < GROUP_NB; ++g)
        for (unsigned c = 0; c < FIRST_GROUP_CONTROL; ++c) {
            std::memset(&mycontrol[g][c], static_cast<int>(0xC0 + c), sizeof(All_Params));
            mylcdstring[g][c] = kUnusedText;
        }
}

void CheckUnusedEntries()
{
    for (unsigned g = 0; g < GROUP_NB; ++g)
        for (unsigned c = 0; c < FIRST_GROUP_CONTROL; ++c) {
            const uint8_t *bytes = reinterpret_cast<const uint8_t *>(&mycontrol[g][c]);
            for (size_t i = 0; i < sizeof(All_Params); ++i)
                Check(bytes[i] == 0xC0 + c);
            Check(mylcdstring[g][c] == kUnusedText);
        }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static bool initialised = false;
    if (!initialised) {
        ResetConfiguration(1);
        initialised = true;
    }
    MarkUnusedEntries();

    const LibraryLayout layout = ParseLibraryImage(size ? data : nullptr, size);
    Check(layout == ((size > 0 && data[0] == LIBRARY_SIGNATURE) ? LibraryLayout::Current : LibraryLayout::Pre14));
    CheckUnusedEntries();
    for (unsigned g = 0; g < GROUP_NB; ++g) {
        for (unsigned c = FIRST_GROUP_CONTROL; c <= LAST_CONTROL_INDEX; ++c)
            Check(StoredTextFits(mylcdstring[g][c], LCD_STRING_LENGHT));
        Check(StoredTextFits(mygroupnames[g], GROUP_NAME_LENGHT) || mygroupnames[g] == DefaultGroupName(g));
    }

    // A whole current image is taken byte for byte, apart from what follows a
    // text's NUL; rebuilding it and reading it again changes nothing.
    const std::vector<uint8_t> rebuilt = BuildLibraryImage();
    Check(rebuilt.size() == LIBRARY_IMAGE_SIZE);
    if (layout == LibraryLayout::Current && size >= LIBRARY_IMAGE_SIZE) {
        Check(std::memcmp(rebuilt.data() + 2, data + 2, TRANSPORT_NB * LIBRARY_RECORD_SIZE) == 0);
        for (unsigned g = 0; g < GROUP_NB; ++g)
            for (unsigned c = FIRST_GROUP_CONTROL; c <= LAST_CONTROL_INDEX; ++c) {
                const size_t at = LibraryEntryOffset(g, c);
                Check(std::memcmp(rebuilt.data() + at, data + at, LIBRARY_RECORD_SIZE) == 0);
                const uint8_t *lcd = rebuilt.data() + at + LIBRARY_RECORD_SIZE;
                Check(std::memcmp(lcd, data + at + LIBRARY_RECORD_SIZE, FieldTextLength(lcd, LCD_STRING_LENGHT)) == 0);
            }
        const size_t tail = LIBRARY_IMAGE_SIZE - LIBRARY_COMMON_OFFSET;
        Check(std::memcmp(rebuilt.data() + LIBRARY_COMMON_OFFSET, data + LIBRARY_COMMON_OFFSET, tail) == 0);
    }
    ParseLibraryImage(rebuilt.data(), rebuilt.size());
    Check(BuildLibraryImage() == rebuilt);
    return 0;
}
