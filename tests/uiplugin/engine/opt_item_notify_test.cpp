// The notification chain a change runs through: a constraint that rejects it restores the old
// selection, one that spreads it tells everybody, the chain of notify nodes hears accepted changes
// only, and the family's objects live on the heap they were made on.
#include <gtest/gtest.h>
#include <vector>
#include "uiplugin/engine/engine_sheet.h"
#include "uiplugin/engine/opt_item_notify.h"

namespace moltr::test {
namespace {

using ui::VORTAOptItemNotify;

// Answers every evaluation with `verdict` and records what it was told.
class Judge : public VORTAOptItemNotify {
public:
    Judge(HANDLE heap, LONG verdict) : VORTAOptItemNotify(heap, nullptr), verdict_(verdict) {}
    LONG Evaluate(DWORD itemId, DWORD value, DWORD) override {
        evaluated.push_back({itemId, value});
        return verdict_;
    }
    LONG Notify(DWORD itemId, DWORD value, DWORD) override {
        notified.push_back({itemId, value});
        return ui::kNotifyAccept;
    }
    struct Call {
        DWORD itemId;
        DWORD value;
    };
    std::vector<Call> evaluated;
    std::vector<Call> notified;

private:
    LONG verdict_;
};

class NotifyTest : public ::testing::Test {
protected:
    // A judge on the sheet's heap, destroyed through the root's delete.
    Judge& MakeJudge(LONG verdict) {
        Judge* judge = new (sheet_.Heap()) Judge(sheet_.Heap(), verdict);
        EXPECT_NE(judge, nullptr);
        judges_.push_back(judge);
        return *judge;
    }
    void TearDown() override {
        for (VORTAOptItemNotify* judge : judges_) {
            delete judge;
        }
    }
    EngineSheet sheet_;
    std::vector<VORTAOptItemNotify*> judges_;
};

TEST_F(NotifyTest, ARejectedChangeRestoresTheOldSelection) {
    OPTITEM& item = sheet_.AddItem(TVOT_LISTBOX, {0, 1, 2}, 9, 0, 1);
    ui::VORTAOptItemHandler& handler = sheet_.Registered(item);
    ASSERT_EQ(sheet_.Factory().FinishRegistration(), S_OK);
    Judge& judge = MakeJudge(ui::kNotifyReject);
    handler.AttachConstraint(&judge);
    EXPECT_EQ(handler.SetSelection(2, nullptr), 1);
    EXPECT_EQ(item.Sel, 1);
    ASSERT_EQ(judge.evaluated.size(), 2u);
    EXPECT_EQ(judge.evaluated[0].itemId, 9u);
    // The rejection is announced with the family's 16-bit event.
    EXPECT_EQ(judge.evaluated[1].itemId, 0u);
    EXPECT_EQ(judge.evaluated[1].value, 0xFFFDu);
}

TEST_F(NotifyTest, ASpreadChangeIsAnnouncedToTheRest) {
    OPTITEM& item = sheet_.AddItem(TVOT_LISTBOX, {0, 1, 2}, 9, 0, 1);
    ui::VORTAOptItemHandler& handler = sheet_.Registered(item);
    ASSERT_EQ(sheet_.Factory().FinishRegistration(), S_OK);
    Judge& judge = MakeJudge(ui::kNotifyAcceptAndSpread);
    handler.AttachConstraint(&judge);
    handler.SetSelection(2, nullptr);
    EXPECT_EQ(item.Sel, 2);
    ASSERT_EQ(judge.evaluated.size(), 2u);
    EXPECT_EQ(judge.evaluated[1].value, 0xFFFCu);
}

TEST_F(NotifyTest, TheChainHearsOnlyAcceptedChanges) {
    OPTITEM& item = sheet_.AddItem(TVOT_LISTBOX, {0, 1, 2}, 9, 0, 0);
    ui::VORTAOptItemHandler& handler = sheet_.Registered(item);
    ASSERT_EQ(sheet_.Factory().FinishRegistration(), S_OK);
    Judge& listener = MakeJudge(ui::kNotifyAccept);
    ASSERT_TRUE(handler.AddNotifyNode(&listener));
    handler.SetSelection(1, nullptr);
    ASSERT_EQ(listener.notified.size(), 1u);
    EXPECT_EQ(listener.notified[0].itemId, 9u);
    Judge& judge = MakeJudge(ui::kNotifyReject);
    handler.AttachConstraint(&judge);
    handler.SetSelection(2, nullptr);
    EXPECT_EQ(listener.notified.size(), 1u);
}

// Tells every change it hears that it is handled, so that nobody after it hears the change.
class Stopper : public VORTAOptItemNotify {
public:
    explicit Stopper(HANDLE heap) : VORTAOptItemNotify(heap, nullptr) {}
    LONG Notify(DWORD, DWORD, DWORD) override { return ui::kNotifyAcceptAndSpread; }
};

// A node added at the head hears a change before those already there.
TEST_F(NotifyTest, ANodeAddedAtTheHeadIsToldFirst) {
    OPTITEM& item = sheet_.AddItem(TVOT_LISTBOX, {0, 1, 2}, 9, 0, 0);
    ui::VORTAOptItemHandler& handler = sheet_.Registered(item);
    ASSERT_EQ(sheet_.Factory().FinishRegistration(), S_OK);
    Judge& listener = MakeJudge(ui::kNotifyAccept);
    ASSERT_TRUE(handler.AddNotifyNode(&listener));
    Stopper* stopper = new (sheet_.Heap()) Stopper(sheet_.Heap());
    ASSERT_NE(stopper, nullptr);
    judges_.push_back(stopper);
    ASSERT_TRUE(handler.AddNotifyNode(stopper, false));
    handler.SetSelection(1, nullptr);
    EXPECT_TRUE(listener.notified.empty());
    EXPECT_EQ(item.Sel, 1);
}

TEST_F(NotifyTest, NothingIsJudgedBeforeRegistrationIsFinished) {
    OPTITEM& item = sheet_.AddItem(TVOT_LISTBOX, {0, 1, 2}, 9, 0, 0);
    ui::VORTAOptItemHandler& handler = sheet_.Registered(item);
    Judge& judge = MakeJudge(ui::kNotifyReject);
    handler.AttachConstraint(&judge);
    handler.SetSelection(2, nullptr);
    EXPECT_EQ(item.Sel, 2);
    EXPECT_TRUE(judge.evaluated.empty());
}

TEST_F(NotifyTest, ObjectsComeZeroFilledFromTheirHeap) {
    const HANDLE heap = sheet_.Heap();
    void* block = VORTAOptItemNotify::operator new(64, heap);
    ASSERT_NE(block, nullptr);
    const BYTE* bytes = static_cast<const BYTE*>(block);
    for (size_t i = 0; i < 64; ++i) {
        EXPECT_EQ(bytes[i], 0) << i;
    }
    VORTAOptItemNotify::operator delete(block);
    EXPECT_EQ(VORTAOptItemNotify::operator new(64, nullptr), nullptr);
}

} // namespace
} // namespace moltr::test
