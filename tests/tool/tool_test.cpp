// cvq9-tool run on real files, good and damaged: its exit statuses, its
// outputs, and what it leaves in the folder. The expected outputs come from
// the units the tool stands on, run here on the same tables.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "assignment_checks.h"
#include "legacy_import.h"
#include "library_file.h"
#include "library_images.h"
#include "record_access.h"
#include "sysex_file.h"
#include "test_support.h"
#include "text_summary.h"

namespace {

using Bytes = std::vector<uint8_t>;

struct Outcome {
    int status = -1;
    std::string out, err;
};

// Runs the tool in the folder, on file names relative to it.
Outcome RunTool(const TempFolder &folder, const std::string &args)
{
    Outcome run;
    run.out = CommandOutput("cd '" + folder.Path() + "' && " CVQ9_TOOL " " + args + " 2>stderr", run.status);
    run.err = ReadFileText(folder.File("stderr"));
    std::remove(folder.File("stderr").c_str());
    return run;
}

// The check dialog's text on one line, as the tool prints a failure.
std::string Failure(const std::string &file, uint8_t code, unsigned group, unsigned control)
{
    std::string text = file + ": " + StoredControlMessage(code, group, control);
    for (size_t at; (at = text.find('\n')) != std::string::npos;)
        text.replace(at, 1, ": ");
    return text + "\n";
}

const std::string LEGACY = "[MANUF].m.\n[MODEL].x.\n[COMMENTS].Two lines.\n"
                           "[K00][G01].03.00.01.03.00.00.00.00.7F.BN07VV.Volume.\n"
                           "[K41][G02].02.00.01.02.00.00.00.00.7F.CN05.Program.\n";

class ToolCommands : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ResetConfiguration(1);
        good = BuildLibraryImage();
        ASSERT_TRUE(WriteFileBytes(File("good.cvq"), good));
        old = library_images::Pre14Image(TablesSnapshot());
        ASSERT_TRUE(WriteFileBytes(File("old.cvq"), old));
        ASSERT_TRUE(WriteFileBytes(File("cut.cvq"), Bytes(good.begin(), good.begin() + 5000)));
        mycontrol[3][12].midi_string[0] = 0x30;  // no MIDI status first
        mycontrol[7][20].ctrl_value_min = 200;
        ASSERT_TRUE(WriteFileBytes(File("bad.cvq"), BuildLibraryImage()));
        ASSERT_TRUE(WriteFileText(File("lib.cvl"), LEGACY));
        std::string refused = LEGACY;
        refused.replace(refused.find("CN05"), 4, "3005");
        ASSERT_TRUE(WriteFileText(File("bad.cvl"), refused));
        ASSERT_TRUE(WriteFileText(File("junk.cvl"), "[MANUF].nothing else"));
    }

    std::string File(const std::string &name) const { return folder.File(name); }

    // The library image the tables make after `load`, starting from a new
    // library in a new process (a new library keeps the unused bytes of the
    // MIDI strings as they were).
    template <typename Load>
    static Bytes Made(Load load)
    {
        std::memset(mycontrol, 0, sizeof mycontrol);
        std::memset(mytransport, 0, sizeof mytransport);
        ResetConfiguration(0);
        load();
        return BuildLibraryImage();
    }

    TempFolder folder;
    Bytes good, old;
};

}  // namespace

TEST_F(ToolCommands, CommandsGiveTheirStatusesOutputsAndMessages)
{
    ResetConfiguration(1);
    const std::string summary = BuildTextSummary(File("good.cvq"), CurrentIsoDate());
    const Bytes syx = BuildSysexExport(1.6f).bytes, syx14 = BuildSysexExport(1.4f).bytes;
    const Bytes from_syx = Made([&] { ImportSysexBytes(syx.data(), syx.size()); });
    const Bytes from_old = Made([&] { ParseLibraryImage(old.data(), old.size()); });
    const Bytes from_cvl = Made([&] {
        ImportCvProText(reinterpret_cast<const uint8_t *>(LEGACY.data()), LEGACY.size(),
                        [](uint8_t g, uint8_t c) { return CheckStoredControl(g, c); });
    });
    ParseLibraryImage(ReadFileBytes(File("bad.cvq")).data(), LIBRARY_IMAGE_SIZE);
    const std::string bad = Failure("bad.cvq", 13, 3, 12) + Failure("bad.cvq", 5, 7, 20);
    const std::string notice(LIBRARY_CONVERSION_NOTICE, std::string(LIBRARY_CONVERSION_NOTICE).find('\n'));
    const std::string damaged = "cvq9-tool: cut.cvq: not a library file (5000 bytes";

    struct Case {
        std::string args;
        int status;
        std::string out;     // the whole standard output
        std::string err;     // found in the error output ("" for none at all)
        std::string output;  // a file the command writes, compared with `bytes`
        Bytes bytes;
    };
    const Case cases[] = {
        {"check good.cvq", 0, "", "", "", {}},
        {"check bad.cvq", 1, bad, "", "", {}},
        {"check bad.cvq --groups 4-20", 1, Failure("bad.cvq", 5, 7, 20), "", "", {}},
        {"check bad.cvq --groups 8-20", 0, "", "", "", {}},
        {"check cut.cvq", 2, "", damaged, "", {}},
        {"check absent.cvq", 2, "", "cvq9-tool: Unable to read absent.cvq\n", "", {}},
        {"check good.cvq --groups 3-21", 2, "", "--groups takes A-B", "", {}},
        {"convert old.cvq new.cvq", 0, "old.cvq: " + notice + ": converted\n", "", "new.cvq", from_old},
        {"convert lib.cvl lib.cvq", 0, "", "", "lib.cvq", from_cvl},
        {"convert bad.cvl lib2.cvq", 1, "", Failure("bad.cvl", 13, 2, 59), "lib2.cvq", {}},
        {"convert junk.cvl lib3.cvq", 2, "", "junk.cvl: not a Corvana Pro library", "lib3.cvq", {}},
        {"convert bad.cvq fixed.cvq", 1, "", bad, "fixed.cvq", {}},
        {"convert cut.cvq cut2.cvq", 2, "", damaged, "cut2.cvq", {}},
        {"convert good.cvq ./good.cvq", 2, "", "good.cvq: is an input file", "good.cvq", good},
        {"summary good.cvq", 0, summary, "", "", {}},
        {"summary good.cvq -o s.txt", 0, "", "", "s.txt", Bytes(summary.begin(), summary.end())},
        {"summary bad.cvq -o s2.txt", 1, "", bad, "s2.txt", {}},
        {"syx export good.cvq x.syx", 0, "", "", "x.syx", syx},
        {"syx export good.cvq x14.syx --firmware 1.4", 0, "", "", "x14.syx", syx14},
        {"syx export bad.cvq y.syx", 1, "", Failure("bad.cvq", 13, 3, 12), "y.syx", {}},
        {"syx import x.syx x.cvq", 0, "x.syx: " + SysexImportReport(ImportSysexBytes(syx.data(), syx.size())) + "\n",
         "", "x.cvq", from_syx},
        {"syx import good.cvq z.cvq", 2, "", "no write of this controller", "z.cvq", {}},
        {"", 2, "", "no command", "", {}},
        {"check", 2, "", "check: wrong number of files", "", {}},
        {"check good.cvq -o x.txt", 2, "", "unknown option '-o'", "", {}},
        {"compile good.cvq", 2, "", "unknown command 'compile'", "", {}},
    };
    for (const Case &c : cases) {
        const Outcome run = RunTool(folder, c.args);
        EXPECT_EQ(run.status, c.status) << c.args << "\n" << run.err;
        EXPECT_EQ(run.out, c.out) << c.args;
        EXPECT_TRUE(c.err.empty() ? run.err.empty() : run.err.find(c.err) != std::string::npos)
            << c.args << ": " << run.err;
        EXPECT_EQ(c.output.empty() ? Bytes() : ReadFileBytes(File(c.output)), c.bytes) << c.args;
    }
    EXPECT_EQ(ReadFileBytes(File("good.cvq")), good);
    EXPECT_EQ(ReadFileBytes(File("old.cvq")), old) << "inputs are never written";
    const std::vector<std::string> left = {"bad.cvl", "bad.cvq", "cut.cvq", "good.cvq", "junk.cvl",
                                           "lib.cvl", "lib.cvq", "new.cvq", "old.cvq",  "s.txt",
                                           "x.cvq",   "x.syx",   "x14.syx"};
    EXPECT_EQ(folder.Entries(), left) << "no temporary file is left behind";
}

TEST_F(ToolCommands, DiffListsTheFieldsThatDifferAndEveryFieldSetInOneFile)
{
    // A line a field that differs, by group, from the first file's value to the second's.
    const Outcome differ = RunTool(folder, "diff good.cvq bad.cvq");
    EXPECT_EQ(differ.status, 1);
    EXPECT_EQ(RegexMatches(differ.out, "(Group \\d+) / [^\\n]+: [^\\n]+ -> [^\\n]+\\n"),
              (std::vector<std::string>{"Group 3", "Group 7"}));
    EXPECT_NE(differ.out.find(": B0 24 00 -> 30 24 00\n"), std::string::npos);
    EXPECT_EQ(RunTool(folder, "diff good.cvq good.cvq").status, 0);
    EXPECT_EQ(RunTool(folder, "diff bad.cvq good.cvq --groups 8-20").out, "");
    // With one file, the fields set in it, against a new library: their values alone.
    const Outcome listing = RunTool(folder, "diff good.cvq");
    EXPECT_EQ(listing.status, 0);
    EXPECT_EQ(listing.out.find(" -> "), std::string::npos);
    EXPECT_NE(listing.out.find("\nGroup 20 / "), std::string::npos);
    EXPECT_EQ(RunTool(folder, "diff cut.cvq good.cvq").status, 2);
}
