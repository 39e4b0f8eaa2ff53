#include "library_file.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "record_access.h"
#include "safe_file_writer.h"
#include "text_bytes.h"

const char LIBRARY_FILE_ERROR_TITLE[] = "File I/O Error...";
const char LIBRARY_CONVERSION_TITLE[] = "Library format ...";
const char LIBRARY_CONVERSION_NOTICE[] = "The library file format has changed from configuration software version 1.4\n"
                                         "This library will be automatically converted to the new format\n"
                                         "Please save your library after the conversion";

namespace {

// Pre-1.4 files stored common parameters 0..32, then 34..39.
constexpr size_t PRE14_COMMON_LOW = COMMON_PARAM_OPERATING;                              // 33 bytes
constexpr size_t PRE14_COMMON_HIGH = COMMON_PARAMS_LENGHT - COMMON_PARAM_OPERATING - 1;  // 6 bytes
constexpr uint8_t PRE14_OPERATING_MODE_MASK = 0x18;
constexpr unsigned PRE14_OPERATING_MODE_SHIFT = 3;
constexpr unsigned PRE14_OPERATING_MODE_PARAM = 5;

void AppendTextField(std::vector<uint8_t> &image, const Q9Text &text, size_t width)
{
    uint8_t field[LCD_STRING_LENGHT + 1] = {0};
    TextToBytes(field, text, width);
    image.insert(image.end(), field, field + width);
}

void AppendRecord(std::vector<uint8_t> &image, const All_Params &record)
{
    const uint8_t *bytes = reinterpret_cast<const uint8_t *>(&record);
    image.insert(image.end(), bytes, bytes + sizeof record);
}

// Hands out consecutive items of the image; an item that is not wholly inside
// it is refused, and so is everything after it, as a file read past its end.
class ImageCursor
{
public:
    ImageCursor(const uint8_t *data, size_t size) : data_(data), size_(size) {}

    const uint8_t *Take(size_t count)
    {
        if (count > size_ - position_) {
            position_ = size_;
            return nullptr;
        }
        const uint8_t *item = data_ + position_;
        position_ += count;
        return item;
    }

    void Rewind() { position_ = 0; }

private:
    const uint8_t *data_;
    size_t size_;
    size_t position_ = 0;
};

void TakeRecord(ImageCursor &cursor, All_Params &record)
{
    if (const uint8_t *bytes = cursor.Take(sizeof record))
        std::memcpy(&record, bytes, sizeof record);
}

void TakeCurve(ImageCursor &cursor, uint8_t *curve)
{
    if (const uint8_t *bytes = cursor.Take(USER_CURVE_POINTS))
        std::memcpy(curve, bytes, USER_CURVE_POINTS);
    else
        InitUserCurves(curve, 0);
}

}  // namespace

std::vector<uint8_t> BuildLibraryImage()
{
    std::vector<uint8_t> image;
    image.reserve(LIBRARY_IMAGE_SIZE);
    image.push_back(LIBRARY_SIGNATURE);
    image.push_back(LIBRARY_VERSION);
    for (unsigned t = 0; t < TRANSPORT_NB; ++t)
        AppendRecord(image, mytransport[t]);
    for (unsigned g = 0; g < GROUP_NB; ++g) {
        for (unsigned c = FIRST_GROUP_CONTROL; c <= LAST_CONTROL_INDEX; ++c) {
            AppendRecord(image, mycontrol[g][c]);
            AppendTextField(image, mylcdstring[g][c], LCD_STRING_LENGHT);
        }
    }
    for (unsigned g = 0; g < GROUP_NB; ++g)
        AppendTextField(image, mygroupnames[g], GROUP_NAME_LENGHT);
    image.insert(image.end(), common_params, common_params + COMMON_PARAMS_LENGHT);
    image.insert(image.end(), user_curve_1, user_curve_1 + USER_CURVE_POINTS);
    image.insert(image.end(), user_curve_2, user_curve_2 + USER_CURVE_POINTS);
    return image;
}

LibraryLayout ParseLibraryImage(const uint8_t *data, size_t size)
{
    if (data == nullptr)
        size = 0;
    ImageCursor cursor(data, size);

    LibraryLayout layout = LibraryLayout::Pre14;
    const uint8_t *signature = cursor.Take(1);
    if (signature != nullptr && *signature == LIBRARY_SIGNATURE) {
        layout = LibraryLayout::Current;
        cursor.Take(1);  // version byte, not checked
    } else {
        cursor.Rewind();
    }

    for (unsigned t = 0; t < TRANSPORT_NB; ++t)
        TakeRecord(cursor, mytransport[t]);

    for (unsigned g = 0; g < GROUP_NB; ++g) {
        for (unsigned c = FIRST_GROUP_CONTROL; c <= LAST_CONTROL_INDEX; ++c) {
            TakeRecord(cursor, mycontrol[g][c]);
            if (const uint8_t *lcd = cursor.Take(LCD_STRING_LENGHT))
                mylcdstring[g][c] = BytesToStoredText(lcd, LCD_STRING_LENGHT);
        }
    }

    for (unsigned g = 0; g < GROUP_NB; ++g) {
        if (const uint8_t *name = cursor.Take(GROUP_NAME_LENGHT))
            mygroupnames[g] = BytesToStoredText(name, GROUP_NAME_LENGHT);
        else
            mygroupnames[g] = DefaultGroupName(g);
    }

    if (layout == LibraryLayout::Current) {
        if (const uint8_t *params = cursor.Take(COMMON_PARAMS_LENGHT))
            std::memcpy(common_params, params, COMMON_PARAMS_LENGHT);
    } else {
        // The operating mode moves from bits 3-4 of parameter 5 to parameter 33;
        // only converted when parameter 5 came from the file.
        if (const uint8_t *low = cursor.Take(PRE14_COMMON_LOW)) {
            std::memcpy(common_params, low, PRE14_COMMON_LOW);
            uint8_t &mode_param = common_params[PRE14_OPERATING_MODE_PARAM];
            common_params[COMMON_PARAM_OPERATING] =
                static_cast<uint8_t>((mode_param & PRE14_OPERATING_MODE_MASK) >> PRE14_OPERATING_MODE_SHIFT);
            mode_param = static_cast<uint8_t>(mode_param & ~PRE14_OPERATING_MODE_MASK);
        }
        if (const uint8_t *high = cursor.Take(PRE14_COMMON_HIGH))
            std::memcpy(common_params + COMMON_PARAM_OPERATING + 1, high, PRE14_COMMON_HIGH);
    }

    TakeCurve(cursor, user_curve_1);
    TakeCurve(cursor, user_curve_2);
    return layout;
}

LibrarySaveResult SaveLibraryFile(const std::string &path)
{
    LibrarySaveResult result;
    const std::vector<uint8_t> image = BuildLibraryImage();
    if (image.size() != LIBRARY_IMAGE_SIZE || !WriteWholeFileSafely(path, image.data(), image.size())) {
        result.status = LibraryFileStatus::CannotWrite;
        result.message = "Unable to write/overwrite " + path;
    }
    return result;
}

LibraryLoadResult LoadLibraryFile(const std::string &path)
{
    LibraryLoadResult result;
    // The file is read whole before any table changes, and never more than the
    // larger layout: whatever follows it is not part of the library (one byte
    // more tells that something does).
    std::vector<uint8_t> image(LIBRARY_IMAGE_SIZE + 1);
    size_t size = 0;
    bool ok = false;
    if (FILE *file = std::fopen(path.c_str(), "rb")) {
        size = std::fread(image.data(), 1, image.size(), file);
        ok = !std::ferror(file);
        std::fclose(file);
    }
    if (!ok) {
        result.status = LibraryFileStatus::CannotRead;
        result.message = "Unable to read " + path;
        return result;
    }
    result.layout = ParseLibraryImage(image.data(), std::min(size, LIBRARY_IMAGE_SIZE));
    result.whole = size == (result.layout == LibraryLayout::Current ? LIBRARY_IMAGE_SIZE : PRE14_LIBRARY_IMAGE_SIZE);
    return result;
}

LibraryLoadResult ReadLibraryImage(const std::string &path, ConfigImage &image)
{
    const ConfigImage editor = ConfigImage::OfTables();
    const LibraryLoadResult result = LoadLibraryFile(path);
    if (result.status == LibraryFileStatus::Ok)
        image = ConfigImage::OfTables();
    editor.ToTables();  // a refused file may have been read in part
    return result;
}
