// Ending the viewer: only the Close button does, after a login while locked, and it stops the
// timers, the recording and the capture before the window ends.
#include <QCloseEvent>
#include <QKeyEvent>

#include "tests/viewer/main_window/disk_and_clock_fakes.h"
#include "tests/viewer/main_window/main_window_fixture.h"

namespace main_window_test {
namespace {

TEST_F(MainWindowTest, EnterEscapeAndTheWindowCloseBoxLeaveTheViewerRunning) {
    Attach("");
    Open();
    window_->show();
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QCoreApplication::sendEvent(window_.get(), &enter);
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QCoreApplication::sendEvent(window_.get(), &escape);
    window_->accept();
    window_->reject();
    EXPECT_FALSE(window_->close());  // what Alt+F4 and the system menu's Close do
    EXPECT_TRUE(window_->isVisible());
    EXPECT_EQ(window_->result(), 0);
    EXPECT_NE(window_->Capture().Graph(), nullptr);
    EXPECT_TRUE(Running(ID_TIMER_WATCH));
    EXPECT_TRUE(prompts_.Records().empty());
}

TEST_F(MainWindowTest, CloseWhileLockedWithTheLoginCancelledKeepsTheViewerRunning) {
    Attach("");
    Open();
    window_->show();
    prompts_.AnswerMessageBox(IDOK);  // first-run notice
    prompts_.PlayModal([](QDialog& dialog) { ClickDlgButton(&dialog, IDCANCEL); });
    Click(IDC_CLOSE);
    ASSERT_EQ(prompts_.Records().size(), 2u);
    EXPECT_EQ(prompts_.Records()[1].kind, CScriptedPrompts::Record::Kind::kModal);
    EXPECT_EQ(prompts_.Records()[1].answer, IDCANCEL);
    EXPECT_TRUE(window_->isVisible());
    EXPECT_EQ(window_->result(), 0);
    EXPECT_TRUE(Locked());
    EXPECT_TRUE(Shown(IDC_UNLOCK));
    EXPECT_EQ(window_->Lock().State().lockCountdown, -1);
    EXPECT_NE(window_->Capture().Graph(), nullptr);
    EXPECT_TRUE(Running(ID_TIMER_WATCH));
    EXPECT_TRUE(Running(ID_TIMER_STAMP));
}

TEST_F(MainWindowTest, CloseAfterTheLoginStopsRecordingTimersAndCaptureThenEnds) {
    FakeClock clock;  // the stored schedule days are today by this clock
    recordingClock_ = &clock;
    Attach("");
    Open();
    window_->show();
    LogInNow();
    Click(IDC_TIMER_SNAP);
    ASSERT_TRUE(Latched(IDC_TIMER_SNAP));
    window_->Lock().LockViewer();
    // A recording as the recording part leaves it running.
    window_->Recording().RecordingStarted(u"/tmp/close.avi");
    window_->SetLatched(IDC_RECORDER, true);
    window_->SetTimer(ID_TIMER_DISKSPACE, 10000);
    window_->SetTimer(ID_TIMER_FILESIZE, 60000);
    PlayLogin(QStringLiteral("Admin"), QString());
    Click(IDC_CLOSE);
    EXPECT_EQ(prompts_.UnscriptedCount(), 0);
    EXPECT_FALSE(window_->isVisible());
    EXPECT_EQ(window_->result(), IDOK);
    EXPECT_EQ(window_->Capture().Graph(), nullptr);
    EXPECT_EQ(CurrentCaptureGraph(), nullptr);
    EXPECT_FALSE(window_->Recording().Recording());
    EXPECT_FALSE(Latched(IDC_RECORDER));
    EXPECT_EQ(window_->TimedSnapshots().SnapPeriod(), 0u);
    for (const UINT timer : {ID_TIMER_STAMP, ID_TIMER_SNAP, ID_TIMER_WATCH, ID_TIMER_DISKSPACE,
                             ID_TIMER_SEARCH, ID_TIMER_FILESIZE})
        EXPECT_FALSE(Running(timer)) << timer;
    // The device is free for the next user of the filters.
    EXPECT_TRUE(CaptureDevicesPresent());
}

TEST_F(MainWindowTest, CloseWithoutCaptureStillEndsAfterTheLogin) {
    Open();
    window_->show();
    PlayFirstLogin();
    Click(IDC_CLOSE);
    EXPECT_EQ(window_->result(), IDOK);
    EXPECT_FALSE(Running(ID_TIMER_WATCH));
}

TEST_F(MainWindowTest, HelpAndMinimiseNeedNoLogin) {
    Open();
    window_->show();
    prompts_.PlayModal([](QDialog& dialog) { ClickDlgButton(&dialog, IDOK); });
    Click(IDC_HELP);
    ASSERT_EQ(prompts_.Records().size(), 1u);
    EXPECT_EQ(prompts_.Records()[0].caption, QStringLiteral("关于 Quadrel"));
    EXPECT_EQ(prompts_.Records()[0].answer, IDOK);
    prompts_.PlayModal([](QDialog& dialog) { ClickDlgButton(&dialog, IDOK); });
    window_->OnSysCommand(IDM_ABOUTBOX);
    EXPECT_EQ(prompts_.Records().size(), 2u);
    Click(IDC_MINIMISE);
    EXPECT_TRUE(window_->isMinimized());
    EXPECT_EQ(prompts_.Records().size(), 2u);
    EXPECT_TRUE(Locked());
}

}  // namespace
}  // namespace main_window_test
