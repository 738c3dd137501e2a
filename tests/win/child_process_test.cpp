// Starting child programs and waiting for them; draining a window's messages.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "core/ChildProcess.h"

#include <shellapi.h>
#include "support/TestFiles.h"

namespace {
std::string Recorder() { return ExecutableFolder() + "record_args.exe"; }
}  // namespace

TEST(RunAndWait, BuildsTheCommandLineFromTitleBlankAndArguments) {
    ScratchFolder work("run and wait");
    HeapText title = FileTitleOf(Recorder().c_str());
    ASSERT_TRUE(title);
    struct Case {
        const char* arguments;
        std::string expected;
    } cases[] = {
        {nullptr, std::string(title.get()) + " "},  // absent: title and one blank
        {"", std::string(title.get()) + " "},
        {"/I", std::string(title.get()) + " /I"},
        {"\"a b\" *.* /Y", std::string(title.get()) + " \"a b\" *.* /Y"},
    };
    for (const Case& c : cases) {
        DeleteFileA((work / "recorded.txt").c_str());
        EXPECT_EQ(RunAndWait(Recorder().c_str(), c.arguments, work.Path().c_str()), 1);
        // The child wrote into its working folder, so that was the folder given.
        EXPECT_EQ(ReadTestFile(work / "recorded.txt"), c.expected)
            << "arguments " << (c.arguments ? c.arguments : "(absent)");
    }
}

TEST(RunAndWait, QuotesAProgramTitleHoldingABlank) {
    ScratchFolder work("run and wait blank");
    std::string program = work / "Setup Update.exe";
    ASSERT_TRUE(CopyFileA(Recorder().c_str(), program.c_str(), FALSE));
    HeapText title = FileTitleOf(program.c_str());
    ASSERT_TRUE(title);
    ASSERT_NE(std::string(title.get()).find(' '), std::string::npos);
    EXPECT_EQ(RunAndWait(program.c_str(), "/I", work.Path().c_str()), 1);
    std::string line = ReadTestFile(work / "recorded.txt");
    EXPECT_EQ(line, "\"" + std::string(title.get()) + "\" /I");
    // The way a C program splits it: the title is one argument, not two.
    int count = 0;
    std::wstring wide(line.begin(), line.end());
    LPWSTR* words = CommandLineToArgvW(wide.c_str(), &count);
    ASSERT_NE(words, nullptr);
    EXPECT_EQ(count, 2) << line;
    EXPECT_EQ(std::wstring(words[0]), std::wstring(title.get(), title.get() + std::strlen(title.get())));
    LocalFree(words);
}

namespace {
int g_sent = 0;
LRESULT CALLBACK AnsweringProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_APP) return ++g_sent + 41;
    return DefWindowProcA(window, message, wParam, lParam);
}
}  // namespace

TEST(RunAndWait, AnswersMessagesTheChildSendsButLeavesPostedOnesQueued) {
    ScratchFolder work("run and wait send");
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = AnsweringProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "ZuliRunAndWaitTest";
    RegisterClassA(&windowClass);
    HWND window = CreateWindowA("ZuliRunAndWaitTest", "", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(window);
    g_sent = 0;
    std::string child = ExecutableFolder() + "send_to_window.exe";
    std::string argument = std::to_string(reinterpret_cast<UINT_PTR>(window));
    EXPECT_EQ(RunAndWait(child.c_str(), argument.c_str(), work.Path().c_str()), 1);
    EXPECT_EQ(ReadTestFile(work / "recorded.txt"), "answered 42") << "the child's message was not answered";
    EXPECT_EQ(g_sent, 1);
    // What the child posted (as user input would be) waits for the message
    // loop; it was not dispatched during the wait.
    MSG left;
    EXPECT_TRUE(PeekMessageA(&left, window, WM_APP + 1, WM_APP + 1, PM_REMOVE)) << "a posted message was taken";
    DestroyWindow(window);
}

TEST(RunAndWait, MissingProgramGivesZero) {
    ScratchFolder work("missing program");
    std::string missing = work / "no such program.exe";
    EXPECT_EQ(RunAndWait(missing.c_str(), "x", work.Path().c_str()), 0);
    EXPECT_EQ(RunAndWait(missing.c_str(), nullptr, work.Path().c_str()), 0);
}

TEST(FileTitleOf, GivesTheNamePartOfAPath) {
    struct Case {
        const char* path;
        const char* expected;
    } cases[] = {
        {"C:\\Program Files\\Demo\\extrac32.exe", "extrac32.exe"},
        {"C:\\a\\b\\Setup.ini", "Setup.ini"},
        {"Proc1", "Proc1"},
    };
    for (const Case& c : cases) {
        HeapText title = FileTitleOf(c.path);
        ASSERT_TRUE(title);
        // Where the shell hides known extensions the title lacks one.
        std::string got = title.get(), want = c.expected;
        EXPECT_EQ(got, want.substr(0, got.size())) << c.path;
        EXPECT_GE(got.size(), want.find('.') == std::string::npos ? want.size() : want.find('.')) << c.path;
    }
}

namespace {
int g_delivered = 0;
LRESULT CALLBACK CountingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_APP) ++g_delivered;
    return DefWindowProcA(window, message, wParam, lParam);
}
}  // namespace

TEST(DrainMessages, DispatchesEveryPendingMessageOfThatWindowOnly) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = CountingProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "ZuliDrainTest";
    RegisterClassA(&windowClass);
    HWND drained = CreateWindowA("ZuliDrainTest", "", 0, 0, 0, 10, 10, HWND_MESSAGE, nullptr, nullptr, nullptr);
    HWND other = CreateWindowA("ZuliDrainTest", "", 0, 0, 0, 10, 10, HWND_MESSAGE, nullptr, nullptr, nullptr);
    ASSERT_TRUE(drained && other);
    g_delivered = 0;
    for (int i = 0; i < 3; ++i) PostMessageA(drained, WM_APP, 0, 0);
    PostMessageA(other, WM_APP, 0, 0);
    EXPECT_EQ(DrainMessages(drained), 1);
    EXPECT_EQ(g_delivered, 3);
    MSG left;
    EXPECT_FALSE(PeekMessageA(&left, drained, 0, 0, PM_NOREMOVE)) << "a message of the drained window is left";
    EXPECT_TRUE(PeekMessageA(&left, other, WM_APP, WM_APP, PM_REMOVE)) << "another window's message was taken";
    DestroyWindow(drained);
    DestroyWindow(other);
}
