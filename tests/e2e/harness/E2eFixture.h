// The fixture every wizard e2e test starts from: no registry traces of an
// earlier test, no working folder left over, and a freshly installed
// application in a scratch folder.
#pragma once
#include <gtest/gtest.h>

#include <memory>

#include "harness/AppFixture.h"
#include "harness/PatchEnvironment.h"
#include "harness/PatchProject.h"
#include "harness/WizardPages.h"
#include "harness/WizardRun.h"

class WizardE2e : public ::testing::Test {
protected:
    void SetUp() override {
        DeleteRegistryTree(HKEY_CURRENT_USER, kTestRoot);
        RemoveZuliWorkFolders();
        app_ = std::make_unique<ScratchFolder>("zuli e2e app");
        InstallApplication(app_->Path());
    }
    void TearDown() override { DeleteRegistryTree(HKEY_CURRENT_USER, kTestRoot); }

    const std::string& App() const { return app_->Path(); }
    std::string Dir() const { return ResolvedFolder(app_->Path()); }

    // Builds the project and starts its wizard; fails the test when either
    // does not work.
    bool Launch(PatchProject& project, WizardRun& run) {
        std::string exe = project.Build();
        EXPECT_FALSE(exe.empty()) << "zulibuild failed:\n" << project.BuildLog();
        if (exe.empty()) return false;
        bool started = run.Start(exe);
        EXPECT_TRUE(started) << "the wizard did not appear";
        return started;
    }

    // After the wizard has ended: the working folder is gone.
    void ExpectSessionGone() {
        EXPECT_TRUE(ZuliTmpEntries(TemporaryFolder()).empty()) << ZuliWorkFolder() << " is still there";
    }

    std::unique_ptr<ScratchFolder> app_;
};
