// Expected tables and images for the library file tests: what a field gives
// back, what a load of a (cut) image leaves, and the layout written before 1.4.
#ifndef CVQ9_LIBRARY_IMAGES_H
#define CVQ9_LIBRARY_IMAGES_H

#include <algorithm>

#include "library_file.h"
#include "record_access.h"
#include "test_support.h"
#include "text_bytes.h"

namespace library_images {

using Bytes = std::vector<uint8_t>;
constexpr size_t R = sizeof(All_Params);

// What a field of `width` bytes gives back: the characters up to the first NUL
// (or one whose low 8 bits are 0), at most `width`, as their low 8 bits, then a NUL.
inline Q9Text StoredFieldText(const Q9Text &text, size_t width)
{
    Q9Text result;
    for (size_t i = 0; i < text.size() && i < width && (text[i] & 0xFF) != 0; ++i)
        result.push_back(static_cast<wchar_t>(text[i] & 0xFF));
    return result + L'\0';
}

// What loading the first `size` bytes of the image of `full` leaves of `before`:
// an item wholly inside is taken, others keep their contents but the group
// names (default names) and the curves (zeros). Entries 0..4 are never touched.
inline TablesSnapshot AfterLoad(const TablesSnapshot &before, const TablesSnapshot &full, size_t size)
{
    TablesSnapshot expected = before;
    auto inside = [size](size_t offset, size_t length) { return offset + length <= size; };
    for (unsigned t = 0; t < TRANSPORT_NB; ++t)
        if (inside(2 + R * t, R))
            std::copy_n(&full.transport[R * t], R, &expected.transport[R * t]);
    for (unsigned g = 0; g < GROUP_NB; ++g) {
        for (unsigned c = FIRST_GROUP_CONTROL; c <= LAST_CONTROL_INDEX; ++c) {
            const size_t at = LibraryEntryOffset(g, c), e = g * CONTROLS_PER_GROUP + c;
            if (inside(at, R))
                std::copy_n(&full.controls[R * e], R, &expected.controls[R * e]);
            if (inside(at + R, 16))
                expected.lcd[e] = StoredFieldText(full.lcd[e], 16);
        }
        expected.group_names[g] =
            inside(62658 + 14 * g, 14) ? StoredFieldText(full.group_names[g], 14) : DefaultGroupName(g);
    }
    if (inside(62952, 40))
        expected.common = full.common;
    expected.curve1 = inside(62992, 128) ? full.curve1 : Bytes(128, 0);
    expected.curve2 = inside(63120, 128) ? full.curve2 : Bytes(128, 0);
    return expected;
}

// The image in the layout before 1.4: no signature, texts of 15 and 13
// characters at most, common parameters but the 33rd, and 3 bytes less.
inline Bytes Pre14Image(const TablesSnapshot &t)
{
    Bytes image(PRE14_LIBRARY_IMAGE_SIZE, 0);
    std::copy(t.transport.begin(), t.transport.end(), image.begin());
    for (unsigned g = 0; g < GROUP_NB; ++g) {
        for (unsigned c = FIRST_GROUP_CONTROL; c <= LAST_CONTROL_INDEX; ++c) {
            const size_t at = LibraryEntryOffset(g, c) - 2, e = g * CONTROLS_PER_GROUP + c;
            std::copy_n(&t.controls[R * e], R, &image[at]);
            TextToBytes(&image[at + R], t.lcd[e], 15);
        }
        TextToBytes(&image[62656 + 14 * g], t.group_names[g], 13);
    }
    std::copy_n(t.common.begin(), 33, &image[62950]);
    std::copy_n(t.common.begin() + 34, 6, &image[62983]);
    std::copy_n(t.curve1.begin(), 128, &image[62989]);
    std::copy_n(t.curve2.begin(), 128, &image[63117]);
    return image;
}

}  // namespace library_images

#endif
