// The binary delta, end to end, on two releases of a real program:
// zulibuild delta gives the smallest payload of all the ways to carry the
// change, zulibuild diff chooses it, and the built patch, walked through as a
// user would, turns the installed old release into exactly the new one.
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

std::string Runtime() { return std::string(ZULI_DIST_DIR_WINE) + "/zulirt.exe"; }
std::string NoSlash(const std::string& folder) { return folder.substr(0, folder.size() - 1); }

// The Act of the script entry that changes the file `name` (entries that
// only check it, Act 7, do not count); -1 when none does.
int ActFor(const std::string& script, const std::string& name) {
    const int count = static_cast<int>(GetPrivateProfileIntA("Setup", "ProcCount", 0, script.c_str()));
    for (int n = 1; n <= count; ++n) {
        const std::string section = "Proc" + std::to_string(n);
        char file[MAX_PATH] = {};
        GetPrivateProfileStringA(section.c_str(), "File", "", file, sizeof file, script.c_str());
        const int act = static_cast<int>(GetPrivateProfileIntA(section.c_str(), "Act", -1, script.c_str()));
        if (name == file && act != 7) return act;
    }
    return -1;
}

}  // namespace

TEST(BinaryDeltaE2e, ZulibuildDeltaOnTwoReleasesPatchesTheInstalledProgramExactly) {
    RemoveZuliWorkFolders();
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

TEST(BinaryDeltaE2e, ZulibuildDiffChoosesTheBinaryDeltaForAProgramUpdate) {
    RemoveZuliWorkFolders();
    const std::string oldProgram = ReadTestFile(ExecutableFolder() + "sample_app_v1.exe");
    const std::string newProgram = ReadTestFile(ExecutableFolder() + "sample_app_v2.exe");
    ScratchFolder work("binary delta diff");
    const std::string oldRoot = work / "old version\\", newRoot = work / "new version\\", app = work / "installed\\";
    for (const std::string& folder : {oldRoot, newRoot, app}) CreateDirectoryA(folder.c_str(), nullptr);
    WriteTestFile(oldRoot + "sample.exe", oldProgram);
    WriteTestFile(newRoot + "sample.exe", newProgram);
    WriteTestFile(app + "sample.exe", oldProgram);

    const std::string project = work / "patch project";
    const std::string diff = Quoted(Builder()) + " diff " + Quoted(NoSlash(oldRoot)) + " " + Quoted(NoSlash(newRoot)) +
                             " " + Quoted(project) + " --dir " + Quoted(NoSlash(app)) + " --delay none";
    ASSERT_EQ(RunProgram(diff), 0) << diff;
    EXPECT_EQ(ActFor(project + "\\Setup.ini", "sample.exe"), 8) << "the binary delta is not the payload chosen";

    const std::string patch = work / "patch.exe";
    ASSERT_EQ(RunProgram(Quoted(Builder()) + " " + Quoted(Runtime()) + " " + Quoted(project) + " " + Quoted(patch)), 0)
        << "the project diff made does not build";
    ASSERT_EQ(RunProgram(Quoted(ExecutableFolder() + "demo_walker.exe") + " " + Quoted(patch), std::string(), 300000), 0)
        << "the wizard did not run to its end";
    EXPECT_TRUE(ReadTestFile(app + "sample.exe") == newProgram) << "not byte for byte the new release";
    EXPECT_FALSE(FolderExists(ZuliWorkFolder())) << "the working folder stays";
}
