// SIGTERM, SIGINT and SIGHUP in the running window: the viewer ends as its Close button does
// (the recording stopped and its file finished, the capture freed), without asking for the
// login, dismissing a dialog that is open; after the first signal a second one has the
// default action, so it ends the program at once.
#include <csignal>
#include <filesystem>

#include "platform/base/utf16.h"
#include "platform/storage/recording_journal.h"
#include "tests/overlay/vexlay_library.h"
#include "tests/platform/media/recording/avi_reader.h"
#include "tests/viewer/main_window/main_window_fixture.h"
#include "viewer/app/signal_shutdown.h"
#include "viewer/app/termination_signals.h"
#include "viewer/capture/recording.h"

using namespace std::chrono_literals;

namespace main_window_test {
namespace {

// The test program's own action for the three signals, which a shutdown puts back when it is
// gone: the default action, so that a test runner's SIGTERM still ends the test.
extern "C" void TestProgramAction(int signal) {
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

void SetTestProgramActions() {
    struct sigaction action = {};
    action.sa_handler = TestProgramAction;
    sigemptyset(&action.sa_mask);
    for (const int signal : CTerminationSignals::kSignals) sigaction(signal, &action, nullptr);
}

bool DefaultAction(int signal) {
    struct sigaction current = {};
    sigaction(signal, nullptr, &current);
    return current.sa_handler == SIG_DFL;
}

class SignalShutdownTest : public MainWindowTest {
  protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        ASSERT_TRUE(library_.Loaded());
        ASSERT_EQ(library_.Register(), S_OK);
        SetTestProgramActions();
    }
    void TearDown() override {
        for (const int signal : CTerminationSignals::kSignals) std::signal(signal, SIG_DFL);
        MainWindowTest::TearDown();
    }

    // The window open on "signal=1", searched and logged in.
    void OpenLive() {
        Attach("signal=1");
        Open();
        ASSERT_NE(window_->Capture().Graph(), nullptr);
        StepTo(3s);
        window_->OnTimer(ID_TIMER_SEARCH);
        LogInNow();
        window_->show();
    }
    // Runs the GUI thread's events until the window has ended, at most `rounds` passes.
    bool RunUntilEnded(int rounds = 1000) {
        for (int k = 0; k < rounds && window_->result() == 0; ++k)
            QCoreApplication::processEvents(QEventLoop::AllEvents);
        return window_->result() != 0;
    }

    VexlayLibrary library_;
    testing_support::TempDir files_;
};

TEST_F(SignalShutdownTest, ASignalDuringTheLoginEndsTheViewerWithItsRecordingFinished) {
    SetString(setting::kSaveFilePath, utf16::FromUtf8(files_.Path() + "/").c_str());
    OpenLive();
    const CSignalShutdown shutdown(*window_);
    ASSERT_TRUE(shutdown.Armed());
    Click(IDC_RECORDER);
    ASSERT_TRUE(window_->Recording().Recording());
    const std::string file = utf16::ToUtf8(window_->Recording().State().path.data());
    const auto end = clock_->Now() + 2s;
    for (auto t = clock_->Now() + 40ms; t < end; t += 40ms) {
        StepTo(t);
        ASSERT_TRUE(device_->Grabber().WaitUntilFramesPassedOn(30s));
    }
    // Close while locked opens the login; the signal comes while it waits for the user.
    window_->Lock().LockViewer();
    int loginResult = -1;
    prompts_.PlayModal([&loginResult](QDialog& dialog) {
        // Run as the program runs it: a modal loop of its own (the script has shown it).
        dialog.hide();
        QTimer::singleShot(0, [] { std::raise(SIGTERM); });
        loginResult = dialog.exec();
    });
    Click(IDC_CLOSE);
    EXPECT_EQ(loginResult, IDCANCEL);
    // The login was not given: the viewer is still there until the GUI thread comes back.
    ASSERT_TRUE(RunUntilEnded());
    EXPECT_EQ(window_->result(), IDOK);
    EXPECT_EQ(shutdown.Signal(), SIGTERM);
    EXPECT_FALSE(window_->Recording().Recording());
    EXPECT_EQ(window_->Capture().Graph(), nullptr);
    EXPECT_TRUE(
        storage::RecordingJournal(storage::RecordingJournal::DefaultFile()).Entries().empty());
    const recording_test::FileInfo played = recording_test::ReadAvi(file);
    EXPECT_TRUE(played.opened);
    EXPECT_GE(played.decodedPictures, 10);
    // A second signal of any of the three would end the program at once.
    for (const int signal : CTerminationSignals::kSignals) EXPECT_TRUE(DefaultAction(signal));
}

TEST_F(SignalShutdownTest, InterruptAndHangUpEndTheViewerTooAndTheOldActionsComeBack) {
    for (const int signal : {SIGINT, SIGHUP}) {
        OpenLive();
        {
            const CSignalShutdown shutdown(*window_);
            ASSERT_TRUE(shutdown.Armed());
            EXPECT_FALSE(DefaultAction(signal));
            std::raise(signal);
            ASSERT_TRUE(RunUntilEnded()) << signal;
            EXPECT_EQ(shutdown.Signal(), signal);
            EXPECT_EQ(window_->Capture().Graph(), nullptr);
        }
        // All three were reset by the first signal; the shutdown gone, they stay so.
        for (const int other : CTerminationSignals::kSignals) EXPECT_TRUE(DefaultAction(other));
        window_.reset();
        device_.reset();
        FreeCaptureGraph();
        CloseSettingsKey();
        prompts_ = CScriptedPrompts();
        SetTestProgramActions();
    }
}

TEST_F(SignalShutdownTest, WithoutASignalNothingChangesAndTheActionsAreRestored) {
    OpenLive();
    {
        const CSignalShutdown shutdown(*window_);
        for (int k = 0; k < 20; ++k) QCoreApplication::processEvents();
        EXPECT_EQ(shutdown.Signal(), 0);
        EXPECT_EQ(window_->result(), 0);
        // Only one may catch the signals at a time.
        const CTerminationSignals second([](int) {});
        EXPECT_FALSE(second.Armed());
    }
    for (const int signal : CTerminationSignals::kSignals) {
        struct sigaction current = {};
        sigaction(signal, nullptr, &current);
        EXPECT_EQ(current.sa_handler, &TestProgramAction) << signal;
    }
}

}  // namespace
}  // namespace main_window_test
