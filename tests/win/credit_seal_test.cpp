// Making the sealed credit resources plain at start-up. The sealed resources
// are served through SetPlainResource in their stored (scrambled) form, as a
// builder writes them, before the restoring code runs.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "core/CreditProtection.h"
#include "core/Resources.h"
#include "core/neutral/CreditSeal.h"

namespace {

struct Plain {
    unsigned id;
    std::string bytes;
};

std::vector<Plain> SampleCredits() {
    std::vector<Plain> all;
    for (unsigned id : kSealedResourceIds)
        all.push_back({id, id == 10 ? std::string("\1\1\0\1\1\1\1\1\1\1\1\1\1\0", 14)
                                    : "Credit text " + std::to_string(id) + std::string(1, '\0')});
    return all;
}

// Serves the credits scrambled under their seal; returns the seal.
uint32_t ServeSealed(const std::vector<Plain>& credits) {
    std::vector<SealedItem> items;
    for (const Plain& p : credits)
        items.push_back({p.id, reinterpret_cast<const unsigned char*>(p.bytes.data()), p.bytes.size()});
    uint32_t seal = ComputeCreditSeal(items.data(), items.size());
    for (const Plain& p : credits) {
        std::string stored = p.bytes;
        ScrambleSealed(p.id, seal, reinterpret_cast<unsigned char*>(&stored[0]), stored.size());
        SetPlainResource(p.id, stored.data(), stored.size());
    }
    unsigned char sealBytes[kSealSize];
    StoreSeal(seal, sealBytes);
    SetPlainResource(kSealResourceId, sealBytes, sizeof sealBytes);
    return seal;
}

std::string Served(unsigned id) {
    return std::string(static_cast<const char*>(LoadResourceData(id)), ResourceSize(id));
}

}  // namespace

TEST(MakeCreditsPlain, RestoresEverySealedResource) {
    std::vector<Plain> credits = SampleCredits();
    ServeSealed(credits);
    EXPECT_NE(Served(262), credits[7].bytes) << "served in the clear before restoring";
    ASSERT_EQ(MakeCreditsPlain(), 1);
    for (const Plain& p : credits) EXPECT_EQ(Served(p.id), p.bytes) << "resource " << p.id;
    EXPECT_STREQ(ResourceText(262), "Credit text 262");
}

TEST(MakeCreditsPlain, RefusesAlteredCredits) {
    struct Case {
        const char* what;
        void (*alter)(std::vector<Plain>&);
    } cases[] = {
        {"a credit stored in the clear",
         [](std::vector<Plain>&) { SetPlainResource(262, "Someone else", 13); }},
        {"a changed seal",
         [](std::vector<Plain>&) {
             unsigned char bytes[kSealSize] = {1, 2, 3, 4};
             SetPlainResource(kSealResourceId, bytes, sizeof bytes);
         }},
        {"a short seal", [](std::vector<Plain>&) { SetPlainResource(kSealResourceId, "ab", 2); }},
    };
    for (const Case& c : cases) {
        std::vector<Plain> credits = SampleCredits();
        ServeSealed(credits);
        c.alter(credits);
        std::string before = Served(245);
        EXPECT_EQ(MakeCreditsPlain(), 0) << c.what;
        EXPECT_EQ(Served(245), before) << c.what << ": something was made plain anyway";
    }
}
