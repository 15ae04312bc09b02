// The classes of the compiler's message numbers, and what a sink receives.
#include <gtest/gtest.h>
#include "compiler/compile_messages.h"
#include "sim/utf.h"

using namespace moltr::compiler;
using moltr::sim::Utf8;

TEST(CompileMessages, ClassFollowsTheCompilersNumberBands) {
    struct Band {
        UINT first;
        UINT last;
        int messageClass;
    };
    const Band bands[] = {{61400, 61799, 1}, {61800, 62199, 2}, {62200, 62599, 3}};
    for (const Band& band : bands) {
        EXPECT_EQ(MessageClass(band.first), band.messageClass) << band.first;
        EXPECT_EQ(MessageClass(band.last), band.messageClass) << band.last;
    }
    // Progress messages, and the store's numbers, which the store classes.
    for (UINT outside : {0u, 61301u, 61399u, 62600u, 63003u, 64999u}) {
        EXPECT_EQ(MessageClass(outside), 0) << outside;
    }
}

TEST(CompileMessages, SinkReceivesEachMessageAndTheWorstClassIsKept) {
    std::vector<CompileMessage> received;
    Messages messages([&](const CompileMessage& message) { received.push_back(message); });
    EXPECT_EQ(messages.RaiseAt(61901, u"C:\\a.gpd", 7, {u"}"}), 2);
    EXPECT_EQ(messages.Raise(61401, {u"b.xpd"}), 1);
    EXPECT_EQ(messages.Worst(), 2);
    ASSERT_EQ(received.size(), 2u);
    EXPECT_EQ(received[0].id, 61901u);
    EXPECT_EQ(received[0].messageClass, 2);
    EXPECT_EQ(received[0].line, 7);
    ASSERT_EQ(received[0].arguments.size(), 3u);
    EXPECT_EQ(Utf8(received[0].arguments[0]), "C:\\a.gpd");
    EXPECT_EQ(Utf8(received[0].arguments[1]), "7");
    EXPECT_EQ(Utf8(received[0].arguments[2]), "}");
    EXPECT_EQ(received[1].id, 61401u);
    EXPECT_EQ(received[1].messageClass, 1);
}
