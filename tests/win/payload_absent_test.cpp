// A patch without a payload cabinet: this test program has no resource 2000.
#include <gtest/gtest.h>

#include "core/Payload.h"
#include "core/ResourceIds.h"
#include "core/Resources.h"
#include "core/RunState.h"
#include "core/Session.h"
#include "support/TempOverride.h"
#include "support/TestFiles.h"

TEST(ExtractPayload, FailsWithoutResource2000) {
    ScratchFolder temp("no cabinet");
    TempOverride redirect(temp.Path());
    DetectPlatform();
    BuildPathTable();
    ASSERT_EQ(LoadResourceData(ResPayloadCabinet), nullptr);
    EXPECT_EQ(ExtractPayload(), 0);
    EXPECT_FALSE(FileExists(RunState.CabinetPath));
}
