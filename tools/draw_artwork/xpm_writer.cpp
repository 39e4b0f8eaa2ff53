#include "xpm_writer.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>
#include <map>
#include <sstream>
#include <stdexcept>
#include <unordered_map>

namespace {

struct ColourCount {
    uint32_t rgb;
    uint64_t count;
};

int Channel(uint32_t rgb, int c)
{
    return int((rgb >> (16 - 8 * c)) & 0xFF);
}

// One box of the median cut: a range of the colour list.
struct Box {
    size_t begin;
    size_t end;
};

// The channel with the widest spread in the box, and that spread.
std::pair<int, int> WidestChannel(const std::vector<ColourCount> &colours, const Box &box)
{
    int best_channel = 0;
    int best_spread = -1;
    for (int c = 0; c < 3; ++c) {
        int lo = 255, hi = 0;
        for (size_t i = box.begin; i < box.end; ++i) {
            lo = std::min(lo, Channel(colours[i].rgb, c));
            hi = std::max(hi, Channel(colours[i].rgb, c));
        }
        if (hi - lo > best_spread) {
            best_spread = hi - lo;
            best_channel = c;
        }
    }
    return {best_channel, best_spread};
}

uint32_t BoxAverage(const std::vector<ColourCount> &colours, const Box &box)
{
    double sum[3] = {0, 0, 0};
    double total = 0;
    for (size_t i = box.begin; i < box.end; ++i) {
        for (int c = 0; c < 3; ++c)
            sum[c] += double(Channel(colours[i].rgb, c)) * double(colours[i].count);
        total += double(colours[i].count);
    }
    auto ch = [&](int c) { return unsigned(std::min(255.0, sum[c] / total + 0.5)); };
    return (ch(0) << 16) | (ch(1) << 8) | ch(2);
}

// Palette of at most `wanted` colours for the colour histogram.
std::vector<uint32_t> MedianCut(std::vector<ColourCount> colours, unsigned wanted)
{
    std::vector<uint32_t> palette;
    if (colours.empty() || wanted == 0)
        return palette;
    if (colours.size() <= wanted) {
        for (const ColourCount &c : colours)
            palette.push_back(c.rgb);
        return palette;
    }
    std::vector<Box> boxes{{0, colours.size()}};
    while (boxes.size() < wanted) {
        // Split the box whose widest channel spread, weighted by its pixel count, is largest.
        size_t pick = boxes.size();
        double pick_score = -1;
        for (size_t b = 0; b < boxes.size(); ++b) {
            if (boxes[b].end - boxes[b].begin < 2)
                continue;
            uint64_t pixels = 0;
            for (size_t i = boxes[b].begin; i < boxes[b].end; ++i)
                pixels += colours[i].count;
            const double score = double(WidestChannel(colours, boxes[b]).second) * std::sqrt(double(pixels));
            if (score > pick_score) {
                pick_score = score;
                pick = b;
            }
        }
        if (pick == boxes.size())
            break;
        const Box box = boxes[pick];
        const int channel = WidestChannel(colours, box).first;
        std::sort(colours.begin() + long(box.begin), colours.begin() + long(box.end),
                  [channel](const ColourCount &a, const ColourCount &b) {
                      return Channel(a.rgb, channel) < Channel(b.rgb, channel);
                  });
        uint64_t half = 0;
        for (size_t i = box.begin; i < box.end; ++i)
            half += colours[i].count;
        half /= 2;
        size_t split = box.begin;
        uint64_t running = 0;
        while (split < box.end - 1 && running + colours[split].count <= half)
            running += colours[split++].count;
        if (split == box.begin)
            split = box.begin + 1;
        boxes[pick] = Box{box.begin, split};
        boxes.push_back(Box{split, box.end});
    }
    for (const Box &box : boxes)
        palette.push_back(BoxAverage(colours, box));
    return palette;
}

uint32_t Distance(uint32_t a, uint32_t b)
{
    uint32_t d = 0;
    for (int c = 0; c < 3; ++c) {
        const int e = Channel(a, c) - Channel(b, c);
        d += uint32_t(e * e);
    }
    return d;
}

// Characters usable in XPM pixel codes inside a C string: no quote, no
// backslash, and no question mark (two of them could start a trigraph).
std::string CodeCharacters()
{
    std::string chars;
    for (int ch = 32; ch < 127; ++ch) {
        if (ch != '"' && ch != '\\' && ch != '?')
            chars += char(ch);
    }
    return chars;
}

}  // namespace

std::string ImageToXpm(const wxImage &image, const std::string &var_name, unsigned max_colours,
                       const std::vector<uint32_t> &pinned)
{
    const int w = image.GetWidth();
    const int h = image.GetHeight();
    const bool has_alpha = image.HasAlpha();
    const unsigned char *rgb = image.GetData();
    const unsigned char *alpha = has_alpha ? image.GetAlpha() : nullptr;

    // Histogram of the opaque pixels not already pinned.
    std::map<uint32_t, uint64_t> histogram;
    bool any_transparent = false;
    for (int i = 0; i < w * h; ++i) {
        if (alpha && alpha[i] < 128) {
            any_transparent = true;
            continue;
        }
        const uint32_t c = Rgb(rgb[3 * i], rgb[3 * i + 1], rgb[3 * i + 2]);
        if (std::find(pinned.begin(), pinned.end(), c) == pinned.end())
            ++histogram[c];
    }
    std::vector<uint32_t> palette;
    for (uint32_t p : pinned) {
        // Keep a pinned colour only where the picture uses it.
        bool used = false;
        for (int i = 0; i < w * h && !used; ++i) {
            used = !(alpha && alpha[i] < 128) && Rgb(rgb[3 * i], rgb[3 * i + 1], rgb[3 * i + 2]) == p;
        }
        if (used)
            palette.push_back(p);
    }
    if (palette.size() > max_colours)
        throw std::runtime_error("too many pinned colours");
    std::vector<ColourCount> colours;
    for (const auto &entry : histogram)
        colours.push_back({entry.first, entry.second});
    for (uint32_t c : MedianCut(colours, max_colours - unsigned(palette.size()))) {
        if (std::find(palette.begin(), palette.end(), c) == palette.end())
            palette.push_back(c);
    }

    const std::string chars = CodeCharacters();
    const size_t total_codes = palette.size() + (any_transparent ? 1 : 0);
    const int cpp = total_codes <= chars.size() ? 1 : 2;
    if (total_codes > chars.size() * chars.size())
        throw std::runtime_error("too many colours");
    auto code = [&](size_t n) {
        if (cpp == 1)
            return std::string(1, chars[n]);
        return std::string{chars[n / chars.size()], chars[n % chars.size()]};
    };
    // Code 0 is transparency when the picture needs it; palette entries follow.
    const size_t first_colour = any_transparent ? 1 : 0;

    std::ostringstream out;
    out << "/* XPM */\n";
    out << "/* Generated by tools/draw_artwork; do not edit by hand. */\n";
    out << "static const char *const " << var_name << "[] = {\n";
    out << "\"" << w << " " << h << " " << total_codes << " " << cpp << "\",\n";
    if (any_transparent)
        out << "\"" << code(0) << " c None\",\n";
    char hex[8];
    for (size_t p = 0; p < palette.size(); ++p) {
        std::snprintf(hex, sizeof hex, "#%06X", unsigned(palette[p]));
        out << "\"" << code(first_colour + p) << " c " << hex << "\",\n";
    }
    std::unordered_map<uint32_t, size_t> nearest;
    for (int y = 0; y < h; ++y) {
        out << "\"";
        for (int x = 0; x < w; ++x) {
            const int i = y * w + x;
            if (alpha && alpha[i] < 128) {
                out << code(0);
                continue;
            }
            const uint32_t c = Rgb(rgb[3 * i], rgb[3 * i + 1], rgb[3 * i + 2]);
            auto found = nearest.find(c);
            if (found == nearest.end()) {
                size_t best = 0;
                uint32_t best_distance = UINT32_MAX;
                for (size_t p = 0; p < palette.size(); ++p) {
                    const uint32_t d = Distance(c, palette[p]);
                    if (d < best_distance) {
                        best_distance = d;
                        best = p;
                    }
                }
                found = nearest.emplace(c, best).first;
            }
            out << code(first_colour + found->second);
        }
        out << "\"" << (y + 1 < h ? "," : "") << "\n";
    }
    out << "};\n";
    return out.str();
}
