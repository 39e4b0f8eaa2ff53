// The preset reader as the tests see it: its messages captured, the gear and
// parameter lists as strings.
#ifndef CVQ9_PRESET_READER_H
#define CVQ9_PRESET_READER_H

#include <algorithm>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "libconv.h"
#include "preset_image_builder.h"

namespace preset_image {

using Message = std::pair<std::string, std::string>;
inline std::vector<Message> g_messages;

inline void Capture(const std::string &caption, const std::string &text)
{
    g_messages.emplace_back(caption, text);
}

inline const std::string kPos = Pos(1, 0, 3, 0, 127);

inline std::vector<std::string> Gears(int max = PRESET_MAX_GEAR)
{
    std::vector<char[PRESET_GEAR_ROW]> rows(static_cast<size_t>(std::max(max, 1)));
    const int n = FillLibTab(rows.data(), max);
    return std::vector<std::string>(rows.begin(), rows.begin() + n);
}

inline std::vector<std::string> Params(const std::string &gear, int max = PRESET_MAX_PARAMS)
{
    std::vector<char[PRESET_PARAM_ROW]> rows(static_cast<size_t>(std::max(max, 1)));
    const int n = FillCtrlTab(gear.c_str(), rows.data(), max);
    std::vector<std::string> names;
    for (int i = 0; i < n; ++i)
        names.emplace_back(rows[i], strnlen(rows[i], PRESET_PARAM_ROW));
    return names;
}

inline std::vector<uint8_t> RecordBytes(const All_Params &r)
{
    return std::vector<uint8_t>(reinterpret_cast<const uint8_t *>(&r), reinterpret_cast<const uint8_t *>(&r) + 32);
}

// The reader's messages so far, each as a word it must hold; the caption is the reader's.
inline bool MessagesAre(const std::vector<std::string> &words)
{
    bool same = g_messages.size() == words.size();
    for (size_t i = 0; same && i < words.size(); ++i)
        same = g_messages[i].first == PRESET_ERROR_CAPTION && g_messages[i].second.find(words[i]) != std::string::npos;
    g_messages.clear();
    return same;
}

}  // namespace preset_image

#endif
