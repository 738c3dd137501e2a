// The binary delta, end to end: zulibuild delta on two releases of a real
// program gives the smallest payload of all the ways to carry the change,
// and the built patch, walked through as a user would, turns the installed
// old release into exactly the new one.
#include <gtest/gtest.h>
#include <zlib.h>

#include <string>

#include "harness/PatchEnvironment.h"
#include "harness/PatchProject.h"
#include "support/TestFiles.h"

namespace {

std::string Quoted(const std::string& s) { return "\"" + s + "\""; }
std::string Builder() { return std::string(ZULI_DIST_DIR_WINE) + "/zulibuild.exe"; }

std::size_t Deflated(const std::string& bytes) {
    uLongf size = compressBound(static_cast<uLong>(bytes.size()));
    std::string out(size, '\0');
    compress2(reinterpret_cast<Bytef*>(&out[0]), &size, reinterpret_cast<const Bytef*>(bytes.data()),
              static_cast<uLong>(bytes.size()), 9);
    return size;
}

std::string XorDelta(const std::string& old, const std::string& now) {
    std::string delta = now;
    for (std::size_t i = 0; i < delta.size() && i < old.size(); ++i) delta[i] = static_cast<char>(delta[i] ^ old[i]);
    return delta;
}

std::string SignedCrc(const std::string& bytes) {
    const uLong crc = crc32(crc32(0L, Z_NULL, 0), reinterpret_cast<const Bytef*>(bytes.data()),
                            static_cast<uInt>(bytes.size()));
    return std::to_string(static_cast<int32_t>(static_cast<uint32_t>(crc)));
}

}  // namespace

TEST(BinaryDeltaE2e, ZulibuildDeltaOnTwoReleasesPatchesTheInstalledProgramExactly) {
    RemoveTree(ZuliWorkFolder());
    const std::string oldProgram = ReadTestFile(ExecutableFolder() + "sample_app_v1.exe");
    const std::string newProgram = ReadTestFile(ExecutableFolder() + "sample_app_v2.exe");
    ASSERT_FALSE(oldProgram.empty());
    ASSERT_NE(oldProgram, newProgram);

    ScratchFolder work("binary delta e2e");
    const std::string delta = work / "Proc1";
    const std::string command = Quoted(Builder()) + " delta " + Quoted(ExecutableFolder() + "sample_app_v1.exe") +
                                " " + Quoted(ExecutableFolder() + "sample_app_v2.exe") + " " + Quoted(delta);
    ASSERT_EQ(RunProgram(command), 0) << command;
    const std::string payload = ReadTestFile(delta);
    ASSERT_EQ(payload.compare(0, 4, "ZBD1"), 0);
    // The code moved: the binary delta beats both the XOR delta and the
    // whole new file, compared the way the cabinet stores them (deflated).
    EXPECT_LT(Deflated(payload) * 4, Deflated(XorDelta(oldProgram, newProgram)))
        << "binary delta " << Deflated(payload) << " bytes, XOR delta " << Deflated(XorDelta(oldProgram, newProgram));
    EXPECT_LT(Deflated(payload) * 4, Deflated(newProgram))
        << "binary delta " << Deflated(payload) << " bytes, whole file " << Deflated(newProgram);

    const std::string app = work / "installed\\";
    CreateDirectoryA(app.c_str(), nullptr);
    WriteTestFile(app + "sample.exe", oldProgram);

    PatchProject project("binary delta e2e");
    project.AddFile("Setup.ini", "[Setup]\r\nProcCount=1\r\n"
                                 "[Proc1]\r\nFile=sample.exe\r\nAct=8\r\nDir=" +
                                     app.substr(0, app.size() - 1) + "\r\nCRC=" + SignedCrc(oldProgram) +
                                     "\r\nNewCRC=" + SignedCrc(newProgram) + "\r\nCANTMISS=1\r\nCANTDIFF=1\r\n");
    project.AddFile("Proc1", payload);
    const std::string patch = project.Build();
    ASSERT_FALSE(patch.empty()) << project.BuildLog();

    // The unattended user: every page with its defaults, Next to the end.
    ASSERT_EQ(RunProgram(Quoted(ExecutableFolder() + "demo_walker.exe") + " " + Quoted(patch), std::string(), 300000), 0)
        << "the wizard did not run to its end";
    EXPECT_TRUE(ReadTestFile(app + "sample.exe") == newProgram) << "not byte for byte the new release";
    EXPECT_FALSE(FolderExists(ZuliWorkFolder())) << "the working folder stays";
}
