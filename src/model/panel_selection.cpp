#include "panel_selection.h"

#include <algorithm>

void ToggleDrawn(std::vector<unsigned> &drawn, unsigned index)
{
    const auto at = std::find(drawn.begin(), drawn.end(), index);
    if (at != drawn.end()) {
        drawn.erase(at);
    } else {
        drawn.push_back(index);
    }
}

LeftClickOutcome ApplyLeftClick(PanelSelection &selection, const std::vector<unsigned> &hits, bool ctrl_down,
                                unsigned current_group)
{
    LeftClickOutcome outcome;
    // These hold for the whole click, across overlapping controls.
    bool removed = false;
    bool kept = false;
    for (unsigned index : hits) {
        if (IsTransportIndex(index) && current_group != 0) {
            outcome.transport_refused = true;
            return outcome;
        }
        if (!ctrl_down) {
            selection.drawn.clear();
            selection.selected.clear();
            selection.selected.push_back(static_cast<int>(index));
            selection.control_index = index;
        } else {
            std::vector<int> &list = selection.selected;
            const auto at = std::find(list.begin(), list.end(), static_cast<int>(index));
            if (at != list.end() && list.size() > 1) {
                list.erase(at);
                removed = true;
                selection.control_index = static_cast<unsigned>(list.back());
            } else if (at != list.end()) {
                kept = true;
            }
            if (!removed && !kept) {
                list.push_back(static_cast<int>(index));
                selection.control_index = index;
            }
        }
        outcome.hit = true;
        if (!kept)
            ToggleDrawn(selection.drawn, index);
        outcome.control_index_steps.push_back(selection.control_index);
    }
    return outcome;
}

RightClickStep RightClickFor(unsigned index, unsigned current_group)
{
    return IsTransportIndex(index) && current_group != 0 ? RightClickStep::Refuse : RightClickStep::PopUp;
}

std::wstring HoverPiece(const std::wstring &lcd)
{
    std::wstring piece = lcd.substr(0, std::min(lcd.find(L'\0'), HOVER_TEXT_WIDTH));
    piece.resize(HOVER_TEXT_WIDTH, L' ');
    return piece;
}

std::optional<std::wstring> HoverTooltip(const std::vector<HoverItem> &items)
{
    std::optional<std::wstring> tooltip;
    std::wstring gathered;
    for (const HoverItem &item : items) {
        if (item.check_code == 2) {
            tooltip = L"Undefined";
        } else {
            gathered += HoverPiece(item.lcd);
            tooltip = gathered;
        }
    }
    return tooltip;
}
