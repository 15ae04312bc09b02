// The notifier's decisions on one printer's job notifications: which jobs it holds, when it lets
// them go, when the dialog is due, and how the activity count follows.
#include <gtest/gtest.h>
#include <map>
#include <vector>
#include <winspool.h>
#include "notifier/job_handling.h"

using namespace moltr::notifier;

namespace {

// A spooler queue seen through the job calls: which jobs are two-sided, and every call made.
class RecordedActions : public JobActions {
public:
    std::map<DWORD, bool> duplex; // jobs that can be read
    bool pauseWorks = true;
    std::vector<DWORD> paused, resumed;
    std::vector<HWND> dialogs;

    bool ReadDuplex(DWORD jobId, bool* isDuplex) override {
        auto found = duplex.find(jobId);
        if (found == duplex.end()) {
            return false;
        }
        *isDuplex = found->second;
        return true;
    }
    bool Pause(DWORD jobId) override {
        paused.push_back(jobId);
        return pauseWorks;
    }
    bool Resume(DWORD jobId) override {
        resumed.push_back(jobId);
        return true;
    }
    void ShowDialog(HWND owner) override { dialogs.push_back(owner); }
};

class JobHandlingTest : public ::testing::Test {
protected:
    explicit JobHandlingTest(DWORD pdlType = 40) {
        printer.printer = reinterpret_cast<HANDLE>(1);
        printer.pdlType = pdlType;
        // An announcing application keeps the notifier running while the jobs come and go.
        client.processId = 77;
        client.mainWindow = reinterpret_cast<HWND>(0x1234);
        state.AddActivity();
        state.SetCurrent(&printer, &client);
    }

    void Send(WORD field, DWORD job, DWORD value = 0) { handling.Handle(field, job, value, false); }
    void Created(DWORD job) { Send(JOB_NOTIFY_FIELD_MACHINE_NAME, job); }
    // Spooling ends with the job's total known.
    void Spooled(DWORD job, DWORD total, DWORD status = JOB_STATUS_PAUSED) {
        Send(JOB_NOTIFY_FIELD_TOTAL_PAGES, job, total);
        Send(JOB_NOTIFY_FIELD_STATUS, job, status);
    }

    NotifierState state;
    PrinterWatch printer = {};
    ClientProcess client = {};
    RecordedActions actions;
    JobHandling handling{state, printer, actions};
};

class RasterJobHandlingTest : public JobHandlingTest {
protected:
    RasterJobHandlingTest() : JobHandlingTest(11) {}
};

using Ids = std::vector<DWORD>;

} // namespace

TEST_F(JobHandlingTest, ATwoSidedJobIsHeldUntilSpooledThenShowsTheDialogOnce) {
    actions.duplex[5] = true;
    Created(5);
    EXPECT_EQ(actions.paused, Ids{5});
    EXPECT_EQ(state.Activity(), 2);
    Send(JOB_NOTIFY_FIELD_STATUS, 5, JOB_STATUS_PAUSED | JOB_STATUS_SPOOLING);
    EXPECT_TRUE(actions.resumed.empty());
    Spooled(5, 5);
    EXPECT_EQ(actions.resumed, Ids{5});
    DuplexJob* job = state.FindJob(&printer, 5);
    ASSERT_NE(job, nullptr);
    EXPECT_EQ(job->frontSides, 3u);

    Send(JOB_NOTIFY_FIELD_PAGES_PRINTED, 5, 0);
    EXPECT_TRUE(actions.dialogs.empty());
    Send(JOB_NOTIFY_FIELD_PAGES_PRINTED, 5, 1);
    ASSERT_EQ(actions.dialogs.size(), 1u);
    EXPECT_EQ(actions.dialogs[0], client.mainWindow);
    EXPECT_EQ(state.FindJob(&printer, 5), nullptr);
    EXPECT_EQ(state.Activity(), 1);
    Send(JOB_NOTIFY_FIELD_PAGES_PRINTED, 5, 2);
    EXPECT_EQ(actions.dialogs.size(), 1u);
}

TEST_F(JobHandlingTest, SimplexAndUnreadableJobsAreNeverPaused) {
    actions.duplex[1] = false;
    Created(1);
    Created(2); // GetJobW fails
    EXPECT_TRUE(actions.paused.empty());
    EXPECT_EQ(state.FindJob(&printer, 1), nullptr);
    EXPECT_EQ(state.Activity(), 1);
}

TEST_F(JobHandlingTest, AJobSeenTwiceIsPausedOnce) {
    actions.duplex[3] = true;
    Created(3);
    Created(3);
    EXPECT_EQ(actions.paused, Ids{3});
    EXPECT_EQ(state.Activity(), 2);
}

TEST_F(JobHandlingTest, AOnePageJobIsResumedButNeverShowsTheDialog) {
    actions.duplex[4] = true;
    Created(4);
    Spooled(4, 1);
    EXPECT_EQ(actions.resumed, Ids{4});
    Send(JOB_NOTIFY_FIELD_PAGES_PRINTED, 4, 1);
    EXPECT_TRUE(actions.dialogs.empty());
}

TEST_F(JobHandlingTest, AHeldJobIsResumedAlsoWhenItsStatusCarriesMoreBits) {
    actions.duplex[6] = true;
    Created(6);
    Spooled(6, 4, JOB_STATUS_PAUSED | JOB_STATUS_ERROR);
    EXPECT_EQ(actions.resumed, Ids{6});
    EXPECT_EQ(state.FindJob(&printer, 6)->frontSides, 2u);
    // A later paused status (the user pausing it) is left to the user.
    Send(JOB_NOTIFY_FIELD_STATUS, 6, JOB_STATUS_PAUSED);
    EXPECT_EQ(actions.resumed, Ids{6});
}

TEST_F(JobHandlingTest, AJobTheUserPausedIsLeftPaused) {
    Send(JOB_NOTIFY_FIELD_STATUS, 9, JOB_STATUS_PAUSED);
    EXPECT_TRUE(actions.resumed.empty());
}

TEST_F(JobHandlingTest, TheTotalArrivingAfterTheStatusStillSetsTheFrontSides) {
    actions.duplex[7] = true;
    Created(7);
    Send(JOB_NOTIFY_FIELD_STATUS, 7, JOB_STATUS_PAUSED);
    Send(JOB_NOTIFY_FIELD_TOTAL_PAGES, 7, 6);
    EXPECT_EQ(state.FindJob(&printer, 7)->frontSides, 3u);
}

TEST_F(JobHandlingTest, AJobDeletedWhileWatchedFreesItsEntryAndMayEndTheProgram) {
    actions.duplex[8] = true;
    Created(8);
    state.ClientEnded(&client); // the application exits first
    EXPECT_FALSE(state.Stopping());
    Send(JOB_NOTIFY_FIELD_STATUS, 8, JOB_STATUS_PAUSED | JOB_STATUS_DELETING | JOB_STATUS_DELETED);
    EXPECT_TRUE(actions.resumed.empty());
    EXPECT_EQ(state.FindJob(&printer, 8), nullptr);
    EXPECT_EQ(state.Activity(), 0);
    EXPECT_TRUE(state.Stopping());
}

TEST_F(JobHandlingTest, AJobWhoseApplicationEndedShowsTheDialogWithoutOwner) {
    actions.duplex[2] = true;
    Created(2);
    state.ClientEnded(&client);
    Spooled(2, 2);
    Send(JOB_NOTIFY_FIELD_PAGES_PRINTED, 2, 1);
    ASSERT_EQ(actions.dialogs.size(), 1u);
    EXPECT_EQ(actions.dialogs[0], nullptr);
    EXPECT_TRUE(state.Stopping());
}

TEST_F(JobHandlingTest, AJobIsPausedOnlyWhenTheTableHasRoom) {
    for (DWORD id = 1; id <= kTableEntries + 1; ++id) {
        actions.duplex[id] = true;
        Created(id);
    }
    EXPECT_EQ(actions.paused.size(), kTableEntries);
    EXPECT_EQ(state.FindJob(&printer, kTableEntries + 1), nullptr);
}

TEST_F(JobHandlingTest, AJobThatCannotBePausedIsNotWatched) {
    actions.duplex[3] = true;
    actions.pauseWorks = false;
    Created(3);
    EXPECT_EQ(state.FindJob(&printer, 3), nullptr);
    EXPECT_EQ(state.Activity(), 1);
}

TEST_F(JobHandlingTest, JobsAreKnownByPrinterAndId) {
    PrinterWatch other = printer;
    RecordedActions otherActions;
    JobHandling otherHandling(state, other, otherActions);
    actions.duplex[12] = true;
    otherActions.duplex[12] = true;
    Created(12);
    otherHandling.Handle(JOB_NOTIFY_FIELD_MACHINE_NAME, 12, 0, false);
    EXPECT_EQ(otherActions.paused, Ids{12});
    otherHandling.Handle(JOB_NOTIFY_FIELD_STATUS, 12, JOB_STATUS_DELETED, false);
    EXPECT_NE(state.FindJob(&printer, 12), nullptr);
}

TEST_F(JobHandlingTest, ShutdownResumesEveryHeldJob) {
    actions.duplex[1] = actions.duplex[2] = actions.duplex[3] = true;
    Created(1);
    Created(2);
    Created(3);
    Spooled(2, 4);
    handling.ReleaseHeldJobs();
    EXPECT_EQ(actions.resumed, (Ids{2, 1, 3}));
    EXPECT_EQ(state.FindJob(&printer, 1), nullptr);
    EXPECT_EQ(state.FindJob(&printer, 3), nullptr);
    EXPECT_NE(state.FindJob(&printer, 2), nullptr);
}

TEST_F(RasterJobHandlingTest, TheDialogComesOnTheNotificationThatFindsTwiceTheFrontSides) {
    actions.duplex[4] = true;
    Created(4);
    EXPECT_EQ(state.FindJob(&printer, 4)->pageCounter, -1);
    Spooled(4, 4); // front sides 2: due when the counter found is 4, the sixth notification
    for (int n = 1; n <= 5; ++n) {
        Send(JOB_NOTIFY_FIELD_PAGES_PRINTED, 4, 0);
        ASSERT_TRUE(actions.dialogs.empty()) << n;
    }
    handling.Handle(JOB_NOTIFY_FIELD_PAGES_PRINTED, 4, 0, true); // a refresh counts nothing
    EXPECT_TRUE(actions.dialogs.empty());
    Send(JOB_NOTIFY_FIELD_PAGES_PRINTED, 4, 0);
    EXPECT_EQ(actions.dialogs.size(), 1u);
}

TEST_F(JobHandlingTest, ARefreshRepeatingThePrintedPagesShowsNoSecondDialog) {
    actions.duplex[5] = true;
    Created(5);
    Spooled(5, 3);
    handling.Handle(JOB_NOTIFY_FIELD_MACHINE_NAME, 5, 0, true);
    handling.Handle(JOB_NOTIFY_FIELD_PAGES_PRINTED, 5, 0, true);
    EXPECT_EQ(actions.paused, Ids{5});
    EXPECT_TRUE(actions.dialogs.empty());
}
