// MIDI name documents into preset gear: each kind of control, value ranges,
// unusable controls and refused documents, real documents of ardour-data, the
// user's own library, and the shipped library as the build compiles it.
#include <gtest/gtest.h>

#include <glob.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "midnam.h"
#include "preset_reader.h"
#include "test_support.h"
#include "user_presets.h"

using namespace preset_image;

namespace {

std::string Doc(const std::string &controls, const std::string &device = "")
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<MIDINameDocument><MasterDeviceNames>"
           "<Manufacturer>Maker</Manufacturer><Model>Box</Model>" +
           device + "<ControlNameList Name=\"C\">" + controls + "</ControlNameList></MasterDeviceNames></MIDINameDocument>";
}

MidnamConversion Convert(const std::string &text)
{
    return ConvertMidnam(reinterpret_cast<const uint8_t *>(text.data()), text.size());
}

// A parameter as "name | lcd | event | channel checksum value min max".
std::string Describe(const PresetParameter &p)
{
    std::string event;
    for (uint8_t b : p.event) {
        char hex[4];
        std::snprintf(hex, sizeof hex, "%02X ", b);
        event += hex;
    }
    char pos[32];
    std::snprintf(pos, sizeof pos, "| %d %d %d %d %d", p.pos[0], p.pos[1], p.pos[2], p.pos[3], p.pos[4]);
    return p.name + " | " + p.lcd + " | " + event + pos;
}

// The MIDI name documents of ardour-data that hold a control list.
std::vector<std::string> Documents(const char *pattern = "/usr/share/ardour*/patchfiles/*.midnam")
{
    std::vector<std::string> paths;
    glob_t found;
    if (glob(pattern, 0, nullptr, &found) == 0)
        for (size_t i = 0; i < found.gl_pathc; ++i)
            if (ReadFileText(found.gl_pathv[i]).find("<ControlNameList") != std::string::npos)
                paths.push_back(found.gl_pathv[i]);
    globfree(&found);
    return paths;
}

}  // namespace

TEST(Midnam, EachControlKindRangeAndName)
{
    const std::string switch_list = "<ValueNameList Name=\"Sw\"><Value Number=\"0\" Name=\"Off\"/>"
                                    "<Value Number=\"64\" Name=\"On\"/></ValueNameList>";
    const struct {
        std::string control, expected;
    } cases[] = {
        {"<Control Type=\"7bit\" Number=\"74\" Name=\"Cutoff\"/>", "Cutoff | Cutoff | B0 4A 00 | 1 0 3 0 127"},
        {"<Control Number=\"7\" Name=\"Volume\"/>", "Volume | Volume | B0 07 00 | 1 0 3 0 127"},
        {"<Control Type=\"14bit\" Number=\"1\" Name=\"Mod\"/>", "Mod | Mod | B0 01 00 | 1 0 3 0 127"},
        {"<Control Type=\"NRPN\" Number=\"300\" Name=\"Osc\"/>", "Osc | Osc | B0 63 02 62 2C 06 00 | 1 0 7 0 127"},
        {"<Control Type=\"RPN\" Number=\"2\" Name=\"Tune\"/>", "Tune | Tune | B0 65 00 64 02 06 00 | 1 0 7 0 127"},
        {"<Control Number=\"9\" Name=\"R\"><Values Min=\"16\" Max=\"112\"/></Control>", "R | R | B0 09 00 | 1 0 3 16 112"},
        {"<Control Number=\"9\" Name=\"L\"><Values><ValueNameList><Value Number=\"2\" Name=\"a\"/><Value Number=\"5\" "
         "Name=\"b\"/></ValueNameList></Values></Control>",
         "L | L | B0 09 00 | 1 0 3 2 5"},
        {"<Control Number=\"9\" Name=\"S\"><Values><UsesValueNameList Name=\"Sw\"/></Values></Control>",
         "S | S | B0 09 00 | 1 0 3 0 64"},
        {"<Control Type=\"NRPN\" Number=\"5\" Name=\"W\"><Values Min=\"0\" Max=\"16383\"/></Control>",
         "W | W | B0 63 00 62 05 06 00 | 1 0 7 0 127"},
        {"<Control Number=\"12\" Name=\"Oscillator 2 Frequency (Coarse)\"/>",
         "Oscillator 2 Frequency (Coarse) | Oscl 2 Frqnc Crs | B0 0C 00 | 1 0 3 0 127"},
        {"<Control Number=\"13\" Name=\"[Channel Mode Message] All Sound Off\"/>",
         "[Channel Mode Message] All Sound Off | All Sound Off | B0 0D 00 | 1 0 3 0 127"},
        {"<Control Number=\"14\" Name=\"  Agog\xC3\xB4\t\xE2\x89\xA4" "63 \xE2\x80\x9C\xE2\x98\x83\xE2\x80\x9D\"/>",
         "Agogo <=63 \"?\" | Agogo <=63 \"?\" | B0 0E 00 | 1 0 3 0 127"},
    };
    for (const auto &c : cases) {
        const MidnamConversion m = Convert(Doc(c.control, switch_list));
        ASSERT_EQ(m.error, "") << c.control;
        ASSERT_EQ(m.gear.size(), 1u) << c.control;
        EXPECT_EQ(m.gear[0].name, "Maker Box");
        ASSERT_EQ(m.gear[0].params.size(), 1u) << c.control;
        EXPECT_EQ(Describe(m.gear[0].params[0]), c.expected);
        EXPECT_EQ(PresetParameterProblem(m.gear[0].params[0]), "") << c.control;
        EXPECT_EQ(m.skipped, 0u);
    }
}

TEST(Midnam, UnusableControlsAreSkippedAndCountedSameNamesToldApart)
{
    const MidnamConversion m = Convert(Doc("<Control Type=\"SysEx\" Number=\"1\" Name=\"a\"/>"
                                           "<Control Number=\"128\" Name=\"b\"/><Control Type=\"14bit\" Number=\"32\" Name=\"c\"/>"
                                           "<Control Type=\"NRPN\" Number=\"16384\" Name=\"d\"/><Control Number=\"3\"/>"
                                           "<Control Number=\"x\" Name=\"e\"/><Control Number=\"4\" Name=\"f\"><Values "
                                           "Min=\"0\" Max=\"300\"/></Control><Control Number=\"5\" Name=\"g\"><Values "
                                           "Min=\"9\" Max=\"2\"/></Control><Control Number=\"3\" Name=\"Undefined\"/>"
                                           "<Control Type=\"NRPN\" Number=\"3\" Name=\"Undefined\"/>"
                                           "<Control Number=\"3\" Name=\"Undefined\"/>"));
    EXPECT_EQ(m.error, "");
    ASSERT_EQ(m.gear.size(), 1u);
    std::vector<std::string> names;
    for (const PresetParameter &p : m.gear[0].params)
        names.push_back(p.name);
    EXPECT_EQ(names, (std::vector<std::string>{"Undefined (CC 3)", "Undefined (NRPN 3)"}));
    EXPECT_EQ(m.skipped, 9u) << "8 that cannot be expressed, the same control twice";
    EXPECT_TRUE(Convert(Doc("<Control Number=\"128\" Name=\"b\"/>")).gear.empty()) << "no usable control, no gear";
}

TEST(Midnam, RefusedDocumentsGiveAMessageAndNoGear)
{
    const std::string deep = std::string(200, 'x');
    std::string nested;
    for (int i = 0; i < 70; ++i)
        nested += "<a>";
    const struct {
        std::string text, message;
    } cases[] = {
        {"", "not a MIDI name document"},
        {Doc("<Control Number=\"1\" Name=\"a\">"), "not a MIDI name document: XML parsing error"},
        {"<?xml version=\"1.0\"?><Patches/>", "its root element is <Patches>"},
        {"<!DOCTYPE d [<!ENTITY a \"" + deep + "\">]><MIDINameDocument>&a;</MIDINameDocument>", "entities"},
        {"<MIDINameDocument>" + nested, "nested more than 64 deep"},
        {std::string(MIDNAM_MAX_BYTES + 1, ' '), "larger than 4 MB"},
    };
    for (const auto &c : cases) {
        const MidnamConversion m = Convert(c.text);
        EXPECT_NE(m.error.find(c.message), std::string::npos) << m.error;
        EXPECT_TRUE(m.gear.empty());
    }
}

TEST(Midnam, RealDocumentsOfArdourData)
{
    const std::vector<std::string> found = Documents("/usr/share/ardour*/patchfiles/MIDI.midnam");
    if (found.empty())
        GTEST_SKIP() << "ardour-data is not installed";
    const std::string folder = found[0].substr(0, found[0].rfind('/') + 1);
    const MidnamConversion generic = ConvertMidnamFile(folder + "MIDI.midnam");
    ASSERT_EQ(generic.gear.size(), 1u);
    std::vector<int> numbers;  // every controller once, whatever its name
    for (const PresetParameter &p : generic.gear[0].params)
        numbers.push_back(p.event[1]);
    std::sort(numbers.begin(), numbers.end());
    ASSERT_EQ(numbers.size(), 128u);
    EXPECT_EQ(numbers.back() - numbers.front(), 127);

    for (const char *name : {"Novation_BassStationII.midnam", "Moog_Grandmother.midnam"}) {
        const MidnamConversion m = ConvertMidnamFile(folder + name);
        ASSERT_EQ(m.error, "") << name;
        ASSERT_EQ(m.gear.size(), 1u) << name;
        for (const PresetParameter &p : m.gear[0].params)
            EXPECT_EQ(PresetParameterProblem(p), "") << Describe(p);
    }
    const std::vector<PresetParameter> bass = ConvertMidnamFile(folder + "Novation_BassStationII.midnam").gear[0].params;
    const auto named = [&bass](const std::string &n) {
        const auto p = std::find_if(bass.begin(), bass.end(), [&](const PresetParameter &q) { return q.name == n; });
        return p == bass.end() ? std::string("-") : Describe(*p);
    };
    EXPECT_EQ(named("osc 1 waveform"), "osc 1 waveform | osc 1 waveform | B0 63 00 62 48 06 00 | 1 0 7 0 3");
    EXPECT_EQ(named("osc 1 range"), "osc 1 range | osc 1 range | B0 46 00 | 1 0 3 63 66");
}

TEST(UserPresets, ImportAddsReplacesAndRenamesAfterTheShippedGear)
{
    TempFolder dir;
    ReleasePresetLibrary();
    const PresetMessageReporter previous = SetPresetMessageReporter(Capture);
    PresetGear shipped{"Maker Box", {}};
    shipped.params.push_back({"P", "P", {0xB0, 0x01, 0x00}, {1, 0, 3, 0, 127}});
    ASSERT_TRUE(WriteFileBytes(dir.File("hlvlib.xcq"), BuildPresetImage({shipped})));
    ASSERT_GT(LoadPresetLibrary(dir.Path() + "/"), 0u);
    const std::string library = dir.File("data/user_presets.xcq");
    ASSERT_TRUE(WriteFileText(dir.File("a.midnam"), Doc("<Control Number=\"1\" Name=\"A\"/>")));
    ASSERT_TRUE(WriteFileText(dir.File("b.midnam"), "<MIDINameDocument><MasterDeviceNames><Model>Aaa</Model>"
                                                    "<ControlNameList><Control Number=\"2\" Name=\"B\"/>"
                                                    "</ControlNameList></MasterDeviceNames></MIDINameDocument>"));

    MidnamImport first = ImportMidnamDocument(dir.File("a.midnam"), library, ShippedPresetNames());
    ASSERT_TRUE(first.ok) << first.message;
    EXPECT_EQ(MidnamImportReport(first), "Added to your presets: 1 device.\n1 device named like shipped gear "
                                         "carries \"(user)\" after the name.");
    EXPECT_TRUE(ImportMidnamDocument(dir.File("b.midnam"), library, ShippedPresetNames()).ok);
    const MidnamImport again = ImportMidnamDocument(dir.File("a.midnam"), library, ShippedPresetNames());
    EXPECT_EQ(again.replaced, 1u);
    EXPECT_EQ(Gears(), (std::vector<std::string>{"Maker Box", "Aaa", "Maker Box (user)"}));
    EXPECT_EQ(Params("Maker Box (user)"), std::vector<std::string>{"A"});

    // A refused document and a damaged library change neither file nor reader.
    const std::vector<uint8_t> kept = ReadFileBytes(library);
    ASSERT_TRUE(WriteFileText(dir.File("bad.midnam"), "<MIDINameDocument>"));
    const MidnamImport bad = ImportMidnamDocument(dir.File("bad.midnam"), library, {});
    EXPECT_FALSE(bad.ok);
    EXPECT_EQ(bad.message.find("Cannot import " + dir.File("bad.midnam") + ":\nThe file is not a MIDI name document"), 0u);
    ASSERT_TRUE(WriteFileBytes(dir.File("cut.xcq"), std::vector<uint8_t>(kept.begin(), kept.end() - 3)));
    EXPECT_FALSE(ImportMidnamDocument(dir.File("a.midnam"), dir.File("cut.xcq"), {}).ok);
    EXPECT_FALSE(LoadUserPresets(dir.File("cut.xcq")));
    ASSERT_EQ(g_messages.size(), 1u);
    EXPECT_EQ(g_messages[0].first, PRESET_LIBRARY_ERROR_CAPTION);
    EXPECT_EQ(ReadFileBytes(library), kept);
    EXPECT_EQ(Gears().size(), 3u);

    // At the next start the library is read again after the shipped one.
    ASSERT_GT(LoadPresetLibrary(dir.Path() + "/"), 0u);
    EXPECT_TRUE(LoadUserPresets(library));
    EXPECT_EQ(Gears(), (std::vector<std::string>{"Maker Box", "Aaa", "Maker Box (user)"}));
    g_messages.clear();
    ReleasePresetLibrary();
    SetPresetMessageReporter(previous);
}

// The shipped library holds the standards source's gear and every device of
// the documents found, sorted by name, each parameter as the converter made it.
TEST(ShippedPresets, HoldTheStandardsAndEveryDeviceOfTheDocuments)
{
    std::vector<PresetGear> devices;
    for (const std::string &path : Documents())
        for (PresetGear &g : ConvertMidnamFile(path).gear)
            devices.push_back(g);
    SortPresetGear(devices);
    const std::vector<std::string> standards =
        RegexMatches(ReadFileText(CVQ9_SOURCE_DIR "/presets/hlvlib.txt"), "\ngear:[ \t]*([^\r\n]*[^ \r\n])");

    const PresetMessageReporter previous = SetPresetMessageReporter(Capture);
    ASSERT_GT(RT_LoadFileInRam(CVQ9_BINARY_DIR "/hlvlib.xcq"), 0u);
    const std::vector<std::string> gears = Gears();
    EXPECT_EQ(gears.size(), standards.size() + devices.size());
    EXPECT_TRUE(std::is_sorted(gears.begin(), gears.end(), PresetNameLess));
    for (const PresetGear &g : devices) {
        ASSERT_EQ(Params(g.name).size(), g.params.size()) << g.name;
        for (const PresetParameter &p : g.params) {
            All_Params record = FilledRecord(0);
            Q9Text lcd;
            ASSERT_EQ(GetKnob(g.name.c_str(), p.name.c_str(), &record, &lcd), 1) << g.name << " / " << p.name;
            EXPECT_EQ(RecordBytes(record), RecordBytes(PresetRecord(p)));
            EXPECT_EQ(lcd, Q9Text(p.lcd.begin(), p.lcd.end()));
        }
    }
    EXPECT_TRUE(g_messages.empty());
    ReleasePresetLibrary();
    SetPresetMessageReporter(previous);
}
