#include <gtest/gtest.h>
#include <windows.h>
#include "sim/utf.h"
#include "store/messages.h"
#include "this_module.h"

using namespace moltr::store;

TEST(ReportMessage, ClassFollowsTheRuntimesNumberRange) {
    struct Band {
        DWORD first;
        DWORD last;
        int resultClass;
    };
    const Band bands[] = {
        {62600, 62999, kClassWarning}, {63000, 63399, kClassError}, {63400, 63799, kClassInternal},
        {63800, 64199, kClassWarning}, {64200, 64599, kClassError}, {64600, 64999, kClassInternal},
    };
    for (const Band& band : bands) {
        EXPECT_EQ(ReportMessage(band.first), band.resultClass) << band.first;
        EXPECT_EQ(ReportMessage(band.last), band.resultClass) << band.last;
    }
    // The compiler's numbers are the compiler's to class.
    for (DWORD outside : {0u, 1u, 61400u, 61800u, 62599u, 65000u, 0xFFFFFFFFu}) {
        EXPECT_EQ(ReportMessage(outside), kClassSuccess) << outside;
    }
}

TEST(ReportMessage, TheInnermostSinkOfTheThreadSeesEachNumberAndClass) {
    std::vector<StoreMessage> outer;
    std::vector<StoreMessage> inner;
    ReportMessage(kMsgCannotRead); // no sink: nothing to see
    {
        MessageSinkScope outerScope([&](const StoreMessage& message) { outer.push_back(message); });
        ReportMessage(kMsgCannotRead);
        {
            MessageSinkScope innerScope(
                [&](const StoreMessage& message) { inner.push_back(message); });
            ReportMessage(kMsgSignatureMismatch, 0x544C4F4Eu, L"X", 0x544C4F4Du);
            ReportMessage(kMsgNoFurtherRecord);
        }
        ReportMessage(kMsgOutOfMemory, __FILE__, __LINE__);
    }
    ReportMessage(kMsgInvalidVersion);
    ASSERT_EQ(outer.size(), 2u);
    EXPECT_EQ(outer[0].number, 63003u);
    EXPECT_EQ(outer[0].messageClass, 2);
    EXPECT_EQ(outer[1].number, 63402u);
    EXPECT_EQ(outer[1].messageClass, 3);
    ASSERT_EQ(inner.size(), 2u);
    EXPECT_EQ(inner[0].number, 63004u);
    EXPECT_EQ(inner[0].messageClass, 2);
    EXPECT_EQ(inner[1].number, 62701u);
    EXPECT_EQ(inner[1].messageClass, 1);
}

namespace {

std::string Text(UINT id) {
    WCHAR buffer[256];
    const int length = LoadStringW(ThisModuleHandle(), id, buffer, 256);
    return length > 0 ? moltr::sim::Utf8(buffer, length) : "<none>";
}

} // namespace

TEST(MessageTexts, AreTheStringTableEntriesUnderTheirNumbers) {
    const std::pair<UINT, const char*> texts[] = {
        {62601, "warning XPR1001 : structure size for structure '%s', exceeds 64768 bytes.\n"},
        {62702, "warning XPR1102 : field '%s' in structure '%s' is not a dyamic field and "
                "therefore has no reference.\n"},
        {62703, "warning XPR1103 : no reference for field '%s' in structure '%s' available.\n"},
        {63001, "error XPR2001 : unable to open printer '%s'.\n"},
        {63002, "error XPR2002 : unable to write '%s' structure data for printer '%s'.\n"},
        {63003, "error XPR2003 : unable to read '%s' structure data for printer '%s'.\n"},
        {63004, "error XPR2004 : signature mismatch '0x%x' in structure '%s', expecting  "
                "'0x%x'.\n"},
        {63005, "error XPR2005 : invalid version information in structure '%s'.\n"},
        {63101, "error XPR2101 : structure '%s' is not a member of structure '%s'.\n"},
        {63102, "error XPR2102 : field '%s' is not a member of structure '%s'.\n"},
        {63201, "error XPR2201 : unable to obtain structure record with filter '%s.TAG = %s'.\n"},
        {63301, "error XPR2301 : insufficent memory, destination data buffer for field '%s' "
                "requires %d bytes.\n"},
        {63302, "error XPR2302 : data source does not fit into destination field '%s' which is "
                "%d bytes in size.\n"},
        {63401, "%s(%d) : internal error XPR3001 : invalid parameters or content on function "
                "call.\n"},
        {63402, "%s(%d) : internal error XPR3002 : out of memory.\n"},
        {63403, "%s(%d) : internal error XPR3003 : out of memory, no structure slots available.\n"},
    };
    for (const auto& [id, text] : texts) {
        EXPECT_EQ(Text(id), text) << id;
    }
    EXPECT_EQ(Text(62701), "<none>");
}
