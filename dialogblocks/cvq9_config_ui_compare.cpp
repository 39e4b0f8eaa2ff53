// Editor panel: comparing the editor's configuration with the controller's.
// The upload workers read the controller's parts into the tables; those are
// kept as the controller's image and the editor's tables put back exactly,
// within one device operation. "Verify after download" reads back in the same
// way what a download has just written.
#include "cvq9_config_ui.h"

#include <wx/msgdlg.h>

#include "CVQ9Mainframe.h"
#include "compare_dialog.h"
#include "config_tables.h"
#include "cross_functions.h"
#include "record_access.h"
#include "usercurvesedition.h"

bool cvq9_config_ui::DeviceOperationsUsable() const
{
    const bool ports = wxComboBoxMidiIn && wxComboBoxMidiIn->GetSelection() >= 0 && wxComboBoxMidiOut &&
                       wxComboBoxMidiOut->GetSelection() >= 0;
    return !programming && (cvq9_connected || (offline_mode && ports));
}

void cvq9_config_ui::CompareWithController()
{
    if (!DeviceOperationsUsable())
        return;
    const std::vector<ComparedPart> parts = RangeParts(wxSpinCtrlStartGroup->GetValue(), wxSpinCtrlEndGroup->GetValue(),
                                                       !CheckboxIgnoreMIDI->GetValue(), !CheckboxIgnoreLcd->GetValue());
    std::optional<ConfigImage> controller;
    RunDeviceOperation(static_cast<int>(ControlsIn(parts)), true, [&] { controller = ReadControllerImage(parts); });
    if (controller)
        ShowDifferences(*controller, parts, wxT("Compare with controller"),
                        wxT("The controller holds what the editor shows."));
}

std::optional<ConfigImage> cvq9_config_ui::ReadControllerImage(const std::vector<ComparedPart> &parts)
{
    const ConfigImage editor = ConfigImage::OfTables();
    const bool unsaved = need_to_save_lib;
    const int controls = static_cast<int>(ControlsIn(parts));
    int done = 0;
    bool parameters_read = false;
    const ComparedPart *last_control = nullptr;
    for (const ComparedPart &part : parts) {
        if (must_finish_midi)
            break;
        uint8_t result = 0;
        if (part.kind == ComparedPart::Record || part.kind == ComparedPart::LcdText) {
            // One upload brings a control's record and text together.
            if (last_control && last_control->group == part.group && last_control->index == part.index)
                continue;
            last_control = &part;
            // The parameter reads move the gauge on their own.
            GAUGE_Bargraph->SetRange(controls > 0 ? controls : 1);
            GAUGE_Bargraph->SetValue(done++);
            CurrentGroup = part.group;
            ControlIndex = part.index;
            result = UploadSingleFromCvQ9(0, !IsTransportIndex(part.index));
        } else if (part.kind == ComparedPart::GroupName || !parameters_read) {
            // Each group's name comes with the common parameters and the curves.
            CurrentGroup = part.group;
            result = UploadSelectedParametersFromCvQ9();
            parameters_read = true;
        }
        // A failed check of what the controller holds has been reported and
        // is part of the comparison; an exchange that failed ends it.
        if (result == SYSEX_NO_ANSWER || result == SYSEX_INVALID_REQUEST)
            must_finish_midi = true;
    }
    const bool complete = !must_finish_midi;
    ConfigImage controller = ConfigImage::OfTables();
    editor.ToTables();
    need_to_save_lib = unsaved;
    UpdateWholeGlobalParamsWindows();
    if (!complete)
        return std::nullopt;
    return controller;
}

void cvq9_config_ui::ShowDifferences(const ConfigImage &other, const std::vector<ComparedPart> &parts,
                                     const wxString &caption, const wxString &all_match, bool from_file)
{
    std::vector<ConfigDifference> rows = CompareImages(ConfigImage::OfTables(), other, parts, fw_version_float);
    if (rows.empty()) {
        wxMessageDialog(this, all_match, caption, wxOK | wxICON_INFORMATION | wxCENTRE).ShowModal();
        return;
    }
    CompareDialog dialog(this, caption, std::move(rows), other,
                         from_file ? CompareDialog::Other::File : CompareDialog::Other::Controller, [this] {
        UpdateWholeParamWindows();
        UpdateWholeGlobalParamsWindows();
        if (pcurveDialog && pcurveDialog->IsShown())
            pcurveDialog->DisplayCurves();
    });
    dialog.ShowModal();
}
