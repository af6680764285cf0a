// The Recorder button and the two recording timers on the window with the simulated grabber and
// the registered overlay library: starting and stopping, every refusal with its message box, the
// free-space periods and limit, the file split, and the recording's end on a failed split and on
// device removal; the recording journal, and the start-up repair of the files a killed run left
// unfinished. The disk's free space, the file's size and the time are the test's.
#include <sys/mount.h>
#include <sys/resource.h>

#include <csignal>
#include <filesystem>

#include "platform/base/utf16.h"
#include "platform/media/interfaces/ifile_writer_status.h"
#include "platform/media/interfaces/media_errors.h"
#include "platform/storage/recording_journal.h"
#include "tests/overlay/vexlay_library.h"
#include "tests/platform/media/recording/avi_reader.h"
#include "tests/platform/media/recording/killed_recording.h"
#include "tests/viewer/main_window/channel_views_fixture.h"
#include "tests/viewer/main_window/disk_and_clock_fakes.h"
#include "viewer/widgets/message_popup.h"

using namespace std::chrono_literals;

namespace main_window_test {
namespace {

class RecorderTest : public ChannelViewsTest {
  protected:
    void SetUp() override {
        ChannelViewsTest::SetUp();
        ASSERT_TRUE(library_.Loaded());
        ASSERT_EQ(library_.Register(), S_OK);
        recordingDisk_ = &disk_;
        recordingClock_ = &clock_;
        folder_ = files_.Path() + "/clips/";  // made by the first start
        SetString(setting::kSaveFilePath, utf16::FromUtf8(folder_).c_str());
    }
    void SetFreeMiB(std::uint64_t mib) { disk_.freeBytes = mib << 20; }
    std::string Path() const { return utf16::ToUtf8(window_->Recording().State().path.data()); }
    bool Recording() const { return window_->Recording().Recording(); }
    UINT Period(UINT timer) const {
        const QTimer* t = window_->Timers().Find(timer);
        return t && t->isActive() ? static_cast<UINT>(t->interval()) : 0;
    }
    bool Enabled(int id) const { return window_->GetDlgItem(id)->isEnabled(); }
    // The controls a recording changes, as they are while recording (true) or idle (false).
    void ExpectControls(bool recording) {
        EXPECT_EQ(Latched(IDC_RECORDER), recording);
        for (const int id : {IDC_SEARCH, IDC_CHANNEL_SETTING, IDC_SYSTEM})
            EXPECT_EQ(Enabled(id), !recording) << id;
        EXPECT_EQ(Running(ID_TIMER_DISKSPACE), recording);
        EXPECT_EQ(Running(ID_TIMER_FILESIZE), recording);
    }
    // The one message box shown since the last call, with its text and caption.
    void ExpectBox(const QString& text, const QString& caption) {
        const auto boxes = prompts_.MessageBoxes();
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].text, text);
        EXPECT_EQ(boxes[0].caption, caption);
        prompts_ = CScriptedPrompts();
    }
    // The files the recording journal names.
    static std::vector<std::string> Journal() {
        return storage::RecordingJournal(storage::RecordingJournal::DefaultFile()).Entries();
    }
    using Files = std::vector<std::string>;
    // Steps the grabber frame by frame up to `until`, each frame passed on through the branch
    // before the next, until the file writer reports a failure; the writer's error.
    HRESULT RecordFrames(std::chrono::nanoseconds until) {
        ComPtr<IFileWriterStatus> status;
        if (FAILED(window_->Capture().Graph()->fileWriter.As(&status))) return E_NOINTERFACE;
        HRESULT error = S_OK;
        for (auto t = MainWindowTest::clock_->Now() + 40ms; t < until && error == S_OK; t += 40ms) {
            StepTo(t);
            if (!device_->Grabber().WaitUntilFramesPassedOn(30s)) return VFW_E_TIMEOUT;
            status->GetError(&error);
        }
        return error;
    }
    // The recording has ended as a full disk ends it: branch gone, controls back, the pop-up
    // saying why.
    void ExpectStoppedForTheDisk() {
        EXPECT_FALSE(Recording());
        EXPECT_FALSE(BranchAttached());
        ExpectControls(false);
        ASSERT_NE(window_->Message(), nullptr);
        EXPECT_EQ(window_->Message()->Text(), QStringLiteral("请检查磁盘剩余空间!"));
    }
    bool BranchAttached() const {
        const CaptureGraph* graph = window_->Capture().Graph();
        return graph && graph->fileWriter && graph->titleFilter;
    }

    VexlayLibrary library_;
    testing_support::TempDir files_;
    FakeDisk disk_;
    FakeClock clock_;
    std::string folder_;
};

TEST_F(RecorderTest, RecorderStartsAFileNamedForTheTimeAndStopsIt) {
    OpenUnlocked("signal=1,2");
    SetFreeMiB(301);
    Click(IDC_RECORDER);
    EXPECT_TRUE(prompts_.MessageBoxes().empty());
    ASSERT_TRUE(Recording());
    EXPECT_TRUE(BranchAttached());
    EXPECT_EQ(Path(), folder_ + "2011-05-22-08-05-09.avi");
    EXPECT_EQ(disk_.asked, folder_);
    EXPECT_TRUE(std::filesystem::is_directory(folder_));
    EXPECT_TRUE(std::filesystem::exists(Path())) << "the running graph opens the file";
    ExpectControls(true);
    EXPECT_EQ(Period(ID_TIMER_DISKSPACE), 10000u);
    EXPECT_EQ(Period(ID_TIMER_FILESIZE), 60000u);
    EXPECT_TRUE(DeviceFixedOn(Views().Channel()));
    EXPECT_EQ(Journal(), Files{Path()});

    StepTo(4s);
    Click(IDC_RECORDER);
    EXPECT_TRUE(prompts_.MessageBoxes().empty());
    EXPECT_FALSE(Recording());
    EXPECT_FALSE(BranchAttached());
    EXPECT_EQ(Path(), "");
    ExpectControls(false);
    EXPECT_EQ(Journal(), Files{});
}

TEST_F(RecorderTest, FreeSpaceDecidesTheStartTheCheckPeriodAndTheStop) {
    OpenUnlocked("signal=1,2");
    SetFreeMiB(300);
    Click(IDC_RECORDER);
    ExpectBox(QStringLiteral("请检查磁盘剩余空间!"), QStringLiteral("错误"));
    EXPECT_FALSE(Recording());
    ExpectControls(false);

    SetFreeMiB(1025);
    Click(IDC_RECORDER);
    ASSERT_TRUE(Recording());
    EXPECT_EQ(Period(ID_TIMER_DISKSPACE), 30000u);

    // A tick above the limit changes nothing; at the limit the recording stops and says why.
    SetFreeMiB(301);
    window_->OnTimer(ID_TIMER_DISKSPACE);
    EXPECT_TRUE(Recording());
    EXPECT_FALSE(window_->Message() && window_->Message()->isVisible());
    SetFreeMiB(300);
    window_->OnTimer(ID_TIMER_DISKSPACE);
    ExpectStoppedForTheDisk();
    EXPECT_TRUE(prompts_.MessageBoxes().empty());
}

TEST_F(RecorderTest, AFileOfTheSplitSizeIsFollowedByANewOneAndAnUnreadableOneIsNot) {
    OpenUnlocked("signal=1,2");
    Click(IDC_RECORDER);
    ASSERT_TRUE(Recording());
    const std::string first = Path();

    clock_.now.tm_min = 6;
    disk_.fileBytes = -1;
    window_->OnTimer(ID_TIMER_FILESIZE);
    EXPECT_EQ(Path(), first);
    disk_.fileBytes = (std::int64_t{2000} << 20) - 1;
    window_->OnTimer(ID_TIMER_FILESIZE);
    EXPECT_EQ(Path(), first);

    disk_.fileBytes = std::int64_t{2000} << 20;
    window_->OnTimer(ID_TIMER_FILESIZE);
    EXPECT_TRUE(Recording());
    EXPECT_TRUE(BranchAttached());
    EXPECT_EQ(Path(), folder_ + "2011-05-22-08-06-09.avi");
    EXPECT_TRUE(std::filesystem::exists(Path()));
    ExpectControls(true);
    EXPECT_EQ(Journal(), Files{Path()});

    // A split that cannot start the next file ends the recording and tells the user.
    clock_.now.tm_min = 7;
    ASSERT_TRUE(WriteSettingDword(OpenSettingsKey(), setting::kSaveFilePath, 1));  // not a text
    window_->OnTimer(ID_TIMER_FILESIZE);
    EXPECT_FALSE(Recording());
    EXPECT_FALSE(BranchAttached());
    EXPECT_EQ(Path(), "");
    ExpectControls(false);
    ASSERT_NE(window_->Message(), nullptr);
    EXPECT_TRUE(window_->Message()->isVisible());
    EXPECT_EQ(Journal(), Files{});
}

// The file writer's files may grow to 256 KiB while it lives; writing past that fails as on a
// full disk (the signal that would end the process is ignored meanwhile).
class FileSizeLimit {
  public:
    FileSizeLimit() {
        struct sigaction ignore {};
        ignore.sa_handler = SIG_IGN;
        sigaction(SIGXFSZ, &ignore, &previous_);
        getrlimit(RLIMIT_FSIZE, &saved_);
        rlimit limit = saved_;
        limit.rlim_cur = 256 * 1024;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &saved_);
        sigaction(SIGXFSZ, &previous_, nullptr);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

  private:
    struct sigaction previous_ {};
    rlimit saved_{};
};

// A small disk of the test's own: a 1 MiB tmpfs mounted on `folder`. Mounting needs a private
// mount namespace, which tests/support/in_private_mounts gives (ctest runs the test under it);
// elsewhere nothing is mounted.
class SmallDisk {
  public:
    explicit SmallDisk(const std::string& folder) : folder_(folder) {
        std::filesystem::create_directories(folder);
        if (Possible())
            mounted_ = ::mount("tmpfs", folder.c_str(), "tmpfs", 0, "size=1m,mode=0700") == 0;
    }
    ~SmallDisk() {
        if (mounted_) ::umount2(folder_.c_str(), MNT_DETACH);
    }
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;

    static bool Possible() { return std::getenv("QUADREL_PRIVATE_MOUNTS") != nullptr; }
    bool Mounted() const { return mounted_; }

  private:
    const std::string folder_;
    bool mounted_ = false;
};

TEST_F(RecorderTest, AFileThatCannotBeWrittenEndsTheRecordingAtTheNextSpaceTick) {
    OpenUnlocked("signal=1,2");
    Click(IDC_RECORDER);
    ASSERT_TRUE(Recording());
    {
        FileSizeLimit limit;
        ASSERT_NE(RecordFrames(30s), S_OK) << "the file never reached the limit";
    }
    // Plenty of free space, yet the file writer failed: the tick ends the recording.
    window_->OnTimer(ID_TIMER_DISKSPACE);
    ExpectStoppedForTheDisk();
}

TEST_F(RecorderTest, RefusalsAreToldAndChangeNothing) {
    Attach("signal=1,2");
    Open();
    LogInNow();
    Click(IDC_RECORDER);  // the search has not ended
    ExpectBox(QStringLiteral("请在搜索信号结束后启动录制功能"), QStringLiteral("警告"));
    EXPECT_FALSE(Recording());
    ExpectControls(false);
}

TEST_F(RecorderTest, NoSignalAnywhereRefuses) {
    OpenUnlocked("signal=none");
    Click(IDC_RECORDER);
    ExpectBox(QStringLiteral("对不起, 不能搜索到信号!"), QStringLiteral("错误"));
    EXPECT_FALSE(Recording());
}

TEST_F(RecorderTest, ACurrentChannelWithoutSignalAsksForAnotherOrSaysWhyNot) {
    OpenUnlocked("signal=2,3");
    Views().ShowChannel(1);
    ASSERT_EQ(Views().Channel(), 1);

    // All channels disabled: the "or disabled" text, although channels 2 and 3 have a signal.
    for (int k = 0; k < 4; ++k) SetDword(setting::kChannelEnable[k], 0);
    Click(IDC_RECORDER);
    ExpectBox(QStringLiteral("选择的通道没有信号或者被禁止"), QStringLiteral("警告"));
    // Only channel 4 (no signal) enabled.
    SetDword(setting::kChannelEnable[3], 1);
    Click(IDC_RECORDER);
    ExpectBox(QStringLiteral("选择的通道没有信号"), QStringLiteral("警告"));
    EXPECT_FALSE(Recording());

    // Channel 2 is the first with a signal that is enabled; No keeps everything as it was.
    SetDword(setting::kChannelEnable[1], 1);
    SetDword(setting::kChannelEnable[2], 1);
    prompts_.AnswerMessageBox(IDNO);
    Click(IDC_RECORDER);
    const auto asked = prompts_.MessageBoxes();
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].text, QStringLiteral("选择的录制通道没有信号!\n是否自动转到通道2?"));
    EXPECT_EQ(asked[0].caption, QStringLiteral("警告"));
    EXPECT_EQ(asked[0].type & MB_TYPEMASK, static_cast<UINT>(MB_YESNO));
    EXPECT_FALSE(Recording());
    EXPECT_EQ(Views().Channel(), 1);

    prompts_ = CScriptedPrompts();
    prompts_.AnswerMessageBox(IDYES);
    Click(IDC_RECORDER);
    EXPECT_EQ(prompts_.MessageBoxes().size(), 1u);
    EXPECT_TRUE(Recording());
    EXPECT_EQ(Views().Channel(), 2);
    EXPECT_EQ(Device().recordInput, 2);
    EXPECT_TRUE(DeviceFixedOn(2));
}

// The disk fills up between two free-space ticks (they still see plenty of room): the writes
// fail with ENOSPC, the next tick ends the recording, and what was written plays.
TEST_F(RecorderTest, ADiskThatFillsUpBetweenTwoSpaceTicksEndsARecordingThatPlays) {
    SmallDisk disk(folder_);
    if (!SmallDisk::Possible()) GTEST_SKIP() << "runs under tests/support/in_private_mounts";
    ASSERT_TRUE(disk.Mounted());
    OpenUnlocked("signal=1,2");
    Click(IDC_RECORDER);
    ASSERT_TRUE(Recording());
    const std::string file = Path();
    EXPECT_EQ(RecordFrames(60s), HRESULT_FROM_WIN32(112));  // ERROR_DISK_FULL
    window_->OnTimer(ID_TIMER_DISKSPACE);
    ExpectStoppedForTheDisk();
    EXPECT_EQ(Journal(), Files{});
    const recording_test::FileInfo played = recording_test::ReadAvi(file);
    EXPECT_TRUE(played.opened);
    EXPECT_GE(played.decodedPictures, 10);
}

TEST_F(RecorderTest, DeviceRemovalEndsTheRecording) {
    OpenUnlocked("signal=1,2; 10s remove");
    Click(IDC_RECORDER);
    ASSERT_TRUE(Recording());
    StepTo(10s);
    EXPECT_FALSE(Recording());
    EXPECT_EQ(Path(), "");
    EXPECT_EQ(window_->Capture().Graph(), nullptr);
    ExpectControls(false);
}

TEST_F(RecorderTest, CloseStopsARunningRecording) {
    OpenUnlocked("signal=1");
    Click(IDC_RECORDER);
    ASSERT_TRUE(Recording());
    const std::string file = Path();
    window_->CloseViewer();
    EXPECT_FALSE(Recording());
    EXPECT_EQ(CurrentCaptureGraph(), nullptr);
    EXPECT_TRUE(std::filesystem::exists(file));
    EXPECT_EQ(Journal(), Files{});
}

TEST_F(RecorderTest, FilesAKilledRunLeftUnfinishedAreRepairedAfterTheStartAndTold) {
    std::filesystem::create_directories(folder_);
    const std::string killed = folder_ + "2011-05-21-23-59-00.avi";
    const recording_test::KilledRecording cut = recording_test::RecordAndKill(killed, 50);
    ASSERT_TRUE(cut.killed);
    const std::string unreadable = folder_ + "2011-05-22-00-10-00.avi";
    testing_support::WriteFile(unreadable, "RIFF");
    const std::string gone = folder_ + "2011-05-22-00-20-00.avi";
    storage::RecordingJournal journal(storage::RecordingJournal::DefaultFile());
    for (const std::string& file : {killed, unreadable, gone}) ASSERT_TRUE(journal.Add(file));
    const recording_test::FileInfo before = recording_test::ReadAvi(killed);
    ASSERT_TRUE(before.opened);
    ASSERT_GE(before.videoPackets, 25);
    EXPECT_EQ(before.streams[0].frames, 0);  // the header never learnt the length

    // The window starts at once; the repair runs beside it.
    OpenUnlocked("signal=1,2");
    const auto deadline = std::chrono::steady_clock::now() + 60s;
    while (window_->Recording().Repairing() && std::chrono::steady_clock::now() < deadline)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 100);
    ASSERT_FALSE(window_->Recording().Repairing());

    ASSERT_NE(window_->Message(), nullptr);
    EXPECT_TRUE(window_->Message()->isVisible());
    EXPECT_EQ(window_->Message()->Text(),
              QStringLiteral("已修复上次未正常结束的录像: 2011-05-21-23-59-00.avi\n"
                             "无法修复上次未正常结束的录像: 2011-05-22-00-10-00.avi"));
    EXPECT_EQ(Journal(), Files{});
    const recording_test::FileInfo after = recording_test::ReadAvi(killed);
    ASSERT_TRUE(after.opened);
    EXPECT_EQ(after.videoPackets, before.videoPackets);
    EXPECT_EQ(after.streams[0].frames, after.videoPackets);
    EXPECT_EQ(testing_support::ReadFile(unreadable), "RIFF");  // left for the user to judge

    // A recording started now is journalled beside nothing older.
    Click(IDC_RECORDER);
    ASSERT_TRUE(Recording());
    EXPECT_EQ(Journal(), Files{Path()});
}

}  // namespace
}  // namespace main_window_test
