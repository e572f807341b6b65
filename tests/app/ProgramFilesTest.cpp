// Where the help texts are found: beside the program, else in the installed data folder.
#include "app/ProgramFiles.h"

#include "fixtures/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;
using Fixtures::ToCString;

namespace
{

void Touch(const fs::path& path)
{
    fs::create_directories(path.parent_path());
    std::ofstream(path) << "text";
}

} // namespace

TEST(ProgramFilesTest, BesideTheProgramFirstThenTheInstalledDataFolder)
{
    Fixtures::CTempDir dir;
    const fs::path bin = dir.PathOf("prefix") / "bin";
    fs::create_directories(bin);
    const fs::path installed = dir.PathOf("prefix") / "share" / "tagwright" / "TermOfUse.txt";

    // Nowhere: the path beside the program, which a message names.
    EXPECT_EQ(FindProgramFile(ToCString(bin), CString(u"TermOfUse.txt")),
              ToCString(bin / "TermOfUse.txt"));

    Touch(installed);
    EXPECT_EQ(FindProgramFile(ToCString(bin), CString(u"TermOfUse.txt")), ToCString(installed));

    // A copy beside the program, as in the build folder, wins.
    Touch(bin / "TermOfUse.txt");
    EXPECT_EQ(FindProgramFile(ToCString(bin), CString(u"TermOfUse.txt")),
              ToCString(bin / "TermOfUse.txt"));

    EXPECT_TRUE(FindProgramFile(CString(), CString(u"TermOfUse.txt")).IsEmpty());
}
