// The program directory: read from the process's "/proc" link one character
// per byte, and the preset library and help book found there even when the
// folder's name is not ASCII.
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>

#include <wx/filename.h>
#include <wx/html/helpctrl.h>

#include "CVQ9Test.h"
#include "gui_fixture.h"
#include "libconv.h"

namespace {

// Name of the folder, as bytes: UTF-8 "é", then a byte that is no UTF-8 at all.
const char kOddFolder[] = "prog-dir-\xC3\xA9-\xFF";

bool CopyFile(const std::string &from, const std::string &to)
{
    std::ifstream in(from, std::ios::binary);
    std::ofstream out(to, std::ios::binary | std::ios::trunc);
    out << in.rdbuf();
    return in.good() || in.eof();
}

}  // namespace

class ProgramDirectoryTest : public GuiFixture
{};

// Runs only inside the child of NonAsciiFolderIsReadOneCharacterPerByte,
// started from the copy of this binary in the odd folder.
TEST_F(ProgramDirectoryTest, DISABLED_ChildFindsItsFilesInItsFolder)
{
    if (!InChildProcess())
        GTEST_SKIP();
    StartApp();
    const std::string expected = std::string(CVQ9_BINARY_DIR) + "/" + kOddFolder + "/";
    ASSERT_EQ(MyExecPath.length(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(static_cast<unsigned>(MyExecPath[i].GetValue()), static_cast<unsigned char>(expected[i])) << i;
    // Both files were found through that text.
    EXPECT_TRUE(dialogs.WithCaption("Library error").empty()) << dialogs.Describe();
    EXPECT_GT(presetfiledatalength, 0u);
    EXPECT_EQ(std::string(HlvLib), expected + "hlvlib.xcq");
    EXPECT_EQ(pCVQ9App->help->GetHelpData()->GetBookRecArray().GetCount(), 1u);
}

TEST_F(ProgramDirectoryTest, NonAsciiFolderIsReadOneCharacterPerByte)
{
    const std::string binary_dir = CVQ9_BINARY_DIR;
    for (const char *needed : {"hlvlib.xcq", "cvq9_cfg_soft_hlp_v14.htb"})
        if (!wxFileName::FileExists(wxString::FromUTF8(binary_dir + "/" + needed)))
            GTEST_SKIP() << needed << " is not built";

    char self[4096] = {0};
    ASSERT_GT(readlink("/proc/self/exe", self, sizeof self - 1), 0);
    // The child expects exactly kOddFolder: give it a folder of its own by that name.
    const std::string odd = binary_dir + "/" + kOddFolder;
    std::remove((odd + "/gui_tests").c_str());
    std::remove((odd + "/hlvlib.xcq").c_str());
    std::remove((odd + "/cvq9_cfg_soft_hlp_v14.htb").c_str());
    rmdir(odd.c_str());
    ASSERT_EQ(mkdir(odd.c_str(), 0755), 0);
    // A hard link keeps the folder's name in the "/proc" link; a copy when links are refused.
    const std::string program = odd + "/gui_tests";
    if (link(self, program.c_str()) != 0) {
        ASSERT_TRUE(CopyFile(self, program));
        ASSERT_EQ(chmod(program.c_str(), 0755), 0);
    }
    ASSERT_TRUE(CopyFile(binary_dir + "/hlvlib.xcq", odd + "/hlvlib.xcq"));
    ASSERT_TRUE(CopyFile(binary_dir + "/cvq9_cfg_soft_hlp_v14.htb", odd + "/cvq9_cfg_soft_hlp_v14.htb"));

    const int status = RunChildProcess("ProgramDirectoryTest.DISABLED_ChildFindsItsFilesInItsFolder", program);
    std::remove(program.c_str());
    std::remove((odd + "/hlvlib.xcq").c_str());
    std::remove((odd + "/cvq9_cfg_soft_hlp_v14.htb").c_str());
    rmdir(odd.c_str());
    ASSERT_TRUE(WIFEXITED(status)) << "child status " << status;
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the child's checks failed (see its output above)";
}
