// The builder's check of a registry line: built on the runtime's own parser,
// it refuses every line that parser refuses, and on top the lines the
// runtime would carry out other than meant. Each row says which.
#include <gtest/gtest.h>

#include <string>

#include "actions/neutral/RegistryLine.h"
#include "check/neutral/RegistryLineCheck.h"

namespace {

const char* KindName(RegistrySectionKind kind) {
    return kind == RegistryAdd ? "add" : kind == RegistryDelete ? "delete" : "rename";
}

std::string Messages(const Findings& findings) {
    std::string all;
    for (const Finding& finding : findings.All()) all += finding.message + "\n";
    return all;
}

}  // namespace

TEST(RegistryLineCheck, RefusesWhatTheRuntimeRefusesAndWhatItWouldMisread) {
    struct Case {
        const char* line;
        RegistrySectionKind kind;
        bool runtimeAccepts;
        const char* message;  // empty: the builder accepts the line
    } cases[] = {
        {"HKCU,Software\\A,V,1,2,a", RegistryAdd, true, ""},
        {"HKLM,Software\\A,\"\",2,5,%ab%", RegistryAdd, true, ""},
        {"HKCU,Software\\A,V,3,3,1,2,255", RegistryAdd, true, ""},
        {"HKCU,Software\\A,V,4,4,-1", RegistryAdd, true, ""},
        {"HKCU,Software\\A,V,5,4,7", RegistryAdd, true, ""},
        {"HKCU,Software\\A,V", RegistryDelete, true, ""},
        {"HKCU,Software\\A,\"\"", RegistryDelete, true, ""},
        {"HKCU,Software\\A,Old,1,0,New", RegistryRename, true, ""},
        // Refused by the runtime's parser too.
        {"HKCU,Software\\A", RegistryAdd, false, "too few fields (2)"},
        {"HKCU,Software\\A", RegistryDelete, false, "too few fields (2)"},
        {"HKCU,Software\\A,V,1,5,abc", RegistryAdd, false, "size 5 does not match the text"},
        {"HKCU,Software\\A,V,3,3,1,2", RegistryAdd, false, "size 3 does not match the 2 byte values"},
        {"HKCU,Software\\A,V,4,8,1", RegistryAdd, false, "size 8 does not match a number"},
        {"HKCU,Software\\A,V,7,1,a", RegistryAdd, false, "\"7\" is not a value type"},
        {"HKCU,Software\\A,Old,4,4,New", RegistryRename, false, "carries type 1"},
        // Carried out by the runtime, but not as the author meant.
        {"HKEY_CURRENT_USER,Software\\A,V,1,2,a", RegistryAdd, true, "is not a hive token (HKCR, HKCU, HKLM, HKUS, "
                                                                     "HKPD, HKCC or HKDD, in capitals)"},
        {"hkcu,Software\\A,V", RegistryDelete, true, "\"hkcu\" is not a hive token"},
        {"Hkcu,Software\\A,V", RegistryDelete, true, "would not understand it (did you mean HKCU?)"},
        {"HKCU,Software\\A,V,7,0,a", RegistryAdd, true, "\"7\" is not a value type"},
        {"HKCU,Software\\A,V,1x,2,a", RegistryAdd, true, "\"1x\" is not a value type"},
        {"HKCU,Software\\A,V,1,1,abc", RegistryAdd, true, "size 1 does not match the text"},
        {"HKCU,Software\\A,V,1,4,abc,def", RegistryAdd, true, "split into 2 fields"},
        {"HKCU,Software\\A,V,3,1,256", RegistryAdd, true, "byte value \"256\""},
        {"HKCU,Software\\A,V,4,2,7", RegistryAdd, true, "size 2 does not match a number"},
        {"HKCU,Software\\A,V,4,4,0x10", RegistryAdd, true, "exactly one decimal number"},
        {"HKCU,Software\\A,Old,1,0,New,Name", RegistryRename, true, "new name is split"},
    };
    for (const Case& c : cases) {
        std::string what = std::string(KindName(c.kind)) + " line \"" + c.line + "\"";
        RegistryLine parsed;
        EXPECT_EQ(ParseRegistryLine(c.line, c.kind, parsed) != 0, c.runtimeAccepts)
            << what << ": the row says the wrong thing about the runtime's parser";
        Findings findings;
        CheckRegistryLine(c.line, c.kind, "[AddReg] 1", findings);
        if (!*c.message) {
            EXPECT_TRUE(findings.All().empty()) << what << ": " << Messages(findings);
            continue;
        }
        ASSERT_EQ(findings.All().size(), 1u) << what << ": " << Messages(findings);
        const Finding& finding = findings.All()[0];
        EXPECT_FALSE(finding.warning) << what;
        EXPECT_EQ(finding.where, "[AddReg] 1") << what;
        EXPECT_NE(finding.message.find(c.message), std::string::npos) << what << ": " << finding.message;
        EXPECT_NE(finding.message.rfind(kRegistryLineRefused, 0), 0u)
            << what << ": a refusal without its reason: " << finding.message;
    }
}

TEST(RegistryLineCheck, RegKeyNeedsAHiveAndASubkey) {
    struct Case {
        const char* value;
        const char* message;  // empty: accepted
    } cases[] = {
        {"HKLM,Software\\App,Path", ""},
        {"HKCU,Software\\App", ""},
        {"HKLM", "too few fields (1)"},
        {"hklm,Software\\App,Path", "\"hklm\" is not a hive token"},
        {"hklm,Software\\App,Path", "(did you mean HKLM?)"},
    };
    for (const Case& c : cases) {
        Findings findings;
        CheckRegKey(c.value, "[Proc1] RegKey", findings);
        if (!*c.message) {
            EXPECT_TRUE(findings.All().empty()) << c.value << ": " << Messages(findings);
            continue;
        }
        ASSERT_EQ(findings.All().size(), 1u) << c.value;
        EXPECT_NE(findings.All()[0].message.find(c.message), std::string::npos) << c.value << ": "
                                                                               << findings.All()[0].message;
    }
}
