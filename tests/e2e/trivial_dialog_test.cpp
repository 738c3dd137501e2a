// Proves the end-to-end harness on a trivial dialog under Wine and Xvfb.
#include <gtest/gtest.h>

#include "harness/Driver.h"
#include "support/TestFiles.h"

TEST(TrivialDialog, DrivenFromOutsideAsAUserWould) {
    DrivenProgram program;
    ASSERT_TRUE(program.Start("\"" + ExecutableFolder() + "trivial_dialog.exe\""));
    HWND dialog = program.WaitForWindow("#32770", "Trivial dialog");
    ASSERT_NE(dialog, nullptr) << "the dialog never appeared";
    EXPECT_EQ(WindowText(dialog), "Trivial dialog");
    EXPECT_EQ(ClassNameOf(GetDlgItem(dialog, 100)), "Edit");
    EXPECT_EQ(ControlText(dialog, 101), "&Copy");

    // Type, press, read back.
    ASSERT_TRUE(TypeText(dialog, 100, "hello from outside"));
    ASSERT_TRUE(PressButton(dialog, 101));
    ASSERT_TRUE(program.WaitIdle(dialog));
    EXPECT_EQ(ControlText(dialog, 102), "hello from outside");

    // A disabled control cannot be pressed.
    EXPECT_TRUE(ControlVisible(dialog, 103));
    EXPECT_FALSE(ControlEnabled(dialog, 103));
    EXPECT_FALSE(PressButton(dialog, 103));

    // Escape, Alt+F4 and the close box each reach the dialog as cancel, and
    // waiting for idle waits until each has been handled.
    PressEscape(dialog);
    ASSERT_TRUE(program.WaitIdle(dialog));
    EXPECT_EQ(ControlText(dialog, 102), "cancel 1");
    PressAltF4(dialog);
    ASSERT_TRUE(program.WaitIdle(dialog));
    EXPECT_EQ(ControlText(dialog, 102), "cancel 2");
    PressCloseBox(dialog);
    ASSERT_TRUE(program.WaitIdle(dialog));
    EXPECT_EQ(ControlText(dialog, 102), "cancel 3");
    EXPECT_EQ(SendMessageA(GetDlgItem(dialog, 100), EM_GETLIMITTEXT, 0, 0), 30000)
        << "waiting for idle leaves the edit box's limit as it was";

    // A message box answered No keeps the dialog; Yes ends the program.
    ASSERT_TRUE(PressButton(dialog, IDOK));
    HWND box = program.WaitForMessageBox(dialog);
    ASSERT_NE(box, nullptr);
    EXPECT_NE(MessageBoxText(box).find("Quit now?"), std::string::npos) << MessageBoxText(box);
    ASSERT_TRUE(PressButton(box, IDNO));
    ASSERT_TRUE(program.WaitIdle(dialog));
    EXPECT_TRUE(program.Running());

    ASSERT_TRUE(PressButton(dialog, IDOK));
    box = program.WaitForMessageBox(dialog);
    ASSERT_NE(box, nullptr);
    ASSERT_TRUE(PressButton(box, IDYES));
    EXPECT_EQ(program.WaitForExit(), 7);
}
