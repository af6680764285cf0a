// TimerSnap, the snapshot timer and SaveImage on the window with the simulated grabber: the first
// delay by the 30-day-month rule (in steps when the timer cannot hold it), continuous and daily
// ticks, the end date, the full disk, and the schedule dialog's OK. The clock and the free space
// are the test's; ticks are fired by calling the window's timer handler.
#include <QDateEdit>

#include "platform/ui/scripted_prompts.h"
#include "tests/viewer/main_window/snapshot_fixture.h"
#include "viewer/settings/snap_schedule_dialog.h"
#include "viewer/widgets/message_popup.h"

namespace main_window_test {
namespace {

std::tm At(int year, int month, int day, int hour = 0, int minute = 0, int second = 0) {
    FakeClock clock;
    clock.Set(year, month, day, hour, minute, second);
    return clock.now;
}

TEST(SnapDelayTest, TheFirstDelayCountsMonthsAsThirtyDaysAndYearsAs360) {
    // Tomorrow, at 10:00 today: 14 hours.
    EXPECT_EQ(CTimedSnapshots::DelayToStartMs(At(2011, 5, 22, 10), {2011, 5, 23}), 50400000);
    // From the 31st to the last day of the next month (30 days later in the calendar): the month
    // counts 30 days, less the one day of the 31st: 29 days.
    EXPECT_EQ(CTimedSnapshots::DelayToStartMs(At(2011, 5, 31), {2011, 6, 30}),
              std::int64_t{29} * 86400000);
    EXPECT_EQ(CTimedSnapshots::DelayToStartMs(At(2011, 12, 1), {2012, 12, 1}),
              std::int64_t{360} * 86400000);
    // From the 31st to the 1st of the next month the count puts midnight behind now.
    EXPECT_EQ(CTimedSnapshots::DelayToStartMs(At(2011, 5, 31, 10), {2011, 6, 1}), -36000000);
}

class TimedSnapshotTest : public SnapshotTest {
  protected:
    // The schedule stored before the window opens: days, span (s) and mode.
    void Schedule(LPCWSTR start, LPCWSTR end, DWORD span, DWORD mode) {
        SetString(setting::kScheduleSnapStart, start);
        SetString(setting::kScheduleSnapEnd, end);
        SetDword(setting::kScheduleSnapSpan, span);
        SetDword(setting::kScheduleSnapMode, mode);
    }
    void ExpectDisarmed() {
        EXPECT_FALSE(Latched(IDC_TIMER_SNAP));
        EXPECT_FALSE(Running(ID_TIMER_SNAP));
        EXPECT_FALSE(IndicatorShown());
        EXPECT_EQ(window_->TimedSnapshots().SnapPeriod(), 0u);
    }
    void ExpectArmed(UINT period) {
        EXPECT_TRUE(Latched(IDC_TIMER_SNAP));
        EXPECT_EQ(Period(ID_TIMER_SNAP), period);
        EXPECT_TRUE(IndicatorShown());
        EXPECT_EQ(window_->TimedSnapshots().SnapPeriod(), period);
    }
};

TEST_F(TimedSnapshotTest, ArmingTheDayBeforeTheStartWaitsForItsMidnight) {
    clock_.Set(2011, 5, 22, 10);
    Schedule(u"2011-05-23", u"2011-05-30", 300, 1);
    OpenWithPictures("signal=1", {1});
    Click(IDC_TIMER_SNAP);
    EXPECT_TRUE(prompts_.Records().empty());
    ExpectArmed(50400000);
    EXPECT_EQ(window_->TimedSnapshots().PendingDelay(), 0);

    // The first tick takes the snapshot and goes on with the span.
    clock_.Set(2011, 5, 23);
    Tick();
    EXPECT_EQ(Pictures(), (std::vector<std::string>{"ch1_2011-05-23-00-00-00-0000.jpg"}));
    ExpectArmed(300000);

    Click(IDC_TIMER_SNAP);
    ExpectDisarmed();
}

TEST_F(TimedSnapshotTest, AStartWhoseMidnightTheMonthCountPutsBehindNowIsDueAtOnce) {
    clock_.Set(2011, 5, 31, 10);
    Schedule(u"2011-06-01", u"2011-06-05", 300, 1);
    OpenWithPictures("signal=1", {1});
    Click(IDC_TIMER_SNAP);
    EXPECT_TRUE(Latched(IDC_TIMER_SNAP));
    EXPECT_TRUE(IndicatorShown());
    // A delay of 0 at the shortest period, not a wrapped 32-bit count of about 49 days.
    EXPECT_EQ(window_->TimedSnapshots().SnapPeriod(), 0u);
    EXPECT_EQ(Period(ID_TIMER_SNAP), 10u);
    EXPECT_EQ(window_->TimedSnapshots().PendingDelay(), 0);
}

TEST_F(TimedSnapshotTest, AStartFarAheadIsArmedInStepsThatAddUpToTheDelay) {
    Schedule(u"2013-05-22", u"2013-06-30", 60, 1);
    OpenWithPictures("signal=1", {1});
    Click(IDC_TIMER_SNAP);
    const std::int64_t delay = CTimedSnapshots::DelayToStartMs(clock_.now, {2013, 5, 22});
    ASSERT_EQ(delay, std::int64_t{720} * 86400000 - (8 * 3600 + 5 * 60 + 9) * 1000);
    ASSERT_GT(delay, std::int64_t{0xFFFFFFFF}) << "more than 32 bits can count";
    ExpectArmed(0x7FFFFFFF);

    std::int64_t armed = Period(ID_TIMER_SNAP);
    int steps = 1;
    while (window_->TimedSnapshots().PendingDelay() > 0) {
        Tick();
        ASSERT_TRUE(Latched(IDC_TIMER_SNAP));
        ASSERT_TRUE(IndicatorShown());
        armed += Period(ID_TIMER_SNAP);
        ASSERT_LT(++steps, 100);
    }
    EXPECT_EQ(armed, delay);
    EXPECT_EQ(steps, 29);
    EXPECT_TRUE(Pictures().empty()) << "the steps take no snapshot";

    clock_.Set(2013, 5, 22);
    Tick();
    EXPECT_EQ(Pictures().size(), 1u);
    ExpectArmed(60000);
}

TEST_F(TimedSnapshotTest, ContinuousTicksKeepTheirTimerUntilTheEndDateHasPassed) {
    Schedule(u"2011-05-22", u"2011-05-22", 300, 1);  // today only
    OpenWithPictures("signal=1", {1});
    Click(IDC_TIMER_SNAP);
    ExpectArmed(300000);
    const int timer = TimerId(ID_TIMER_SNAP);

    Tick();
    clock_.Set(2011, 5, 22, 23, 59, 59);
    Tick();
    EXPECT_EQ(Pictures().size(), 2u);
    ExpectArmed(300000);
    EXPECT_EQ(TimerId(ID_TIMER_SNAP), timer) << "the same period does not restart the timer";

    // A new span is taken up by the next tick.
    SetDword(setting::kScheduleSnapSpan, 5);
    clock_.milliseconds = 500;
    Tick();
    ExpectArmed(5000);

    clock_.Set(2011, 5, 23, 0, 0, 1);
    Tick();
    EXPECT_EQ(Pictures().size(), 3u) << "no snapshot the day after the end";
    ExpectDisarmed();
}

TEST_F(TimedSnapshotTest, ASpanOfZeroTicksAtTheShortestPeriod) {
    Schedule(u"2011-05-22", u"2011-05-30", 0, 1);
    OpenWithPictures("signal=1", {1});
    Click(IDC_TIMER_SNAP);
    EXPECT_TRUE(Latched(IDC_TIMER_SNAP));
    EXPECT_EQ(Period(ID_TIMER_SNAP), 10u);
    const int timer = TimerId(ID_TIMER_SNAP);
    Tick();
    EXPECT_EQ(Pictures().size(), 1u);
    EXPECT_EQ(TimerId(ID_TIMER_SNAP), timer) << "the span is still the armed one";
    EXPECT_EQ(Period(ID_TIMER_SNAP), 10u);
}

TEST_F(TimedSnapshotTest, DailyModeStaysArmedEvery24HoursUntilTheUserDisarms) {
    Schedule(u"2011-05-22", u"2011-05-30", 300, 2);
    OpenWithPictures("signal=1", {1});
    Click(IDC_TIMER_SNAP);
    ExpectArmed(300000);

    Tick();
    EXPECT_EQ(Pictures().size(), 1u);
    ExpectArmed(86400000);
    clock_.Set(2011, 5, 23, 8, 5, 9);
    Tick();
    EXPECT_EQ(Pictures().size(), 2u);
    ExpectArmed(86400000);

    // The button shows armed, so pressing it disarms, and the 24-hour timer stops.
    Click(IDC_TIMER_SNAP);
    ExpectDisarmed();
}

TEST_F(TimedSnapshotTest, AnEndDateBeforeTodayRefusesToArm) {
    Schedule(u"2011-05-22", u"2011-05-22", 300, 1);
    OpenWithPictures("signal=1", {1});
    clock_.Set(2011, 5, 23);
    Click(IDC_TIMER_SNAP);
    const auto boxes = prompts_.MessageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, QStringLiteral("结束时间早于当前时间!"));
    EXPECT_EQ(boxes[0].caption, QStringLiteral("错误"));
    ExpectDisarmed();
}

TEST_F(TimedSnapshotTest, ThreeHundredMiBFreeAtATickDisarmsWithTheMessage) {
    Schedule(u"2011-05-22", u"2011-05-30", 300, 1);
    OpenWithPictures("signal=1", {1});
    Click(IDC_TIMER_SNAP);
    disk_.SetFreeMiB(301);
    Tick();
    EXPECT_EQ(Pictures().size(), 1u);
    disk_.SetFreeMiB(300);
    Tick();
    EXPECT_EQ(Pictures().size(), 1u);
    ExpectDisarmed();
    ASSERT_NE(window_->Message(), nullptr);
    EXPECT_EQ(window_->Message()->Text(), QStringLiteral("磁盘空间满, 不能保存抓图."));
}

TEST_F(TimedSnapshotTest, StoredDaysBeforeTodayAreStoredAsTodayAtStartUp) {
    Schedule(u"2011-05-01", u"2011-05-21", 300, 1);
    OpenWithPictures("signal=1", {1});
    WCHAR text[32] = {};
    ASSERT_TRUE(ReadSettingString(OpenSettingsKey(), setting::kScheduleSnapStart, text, 32));
    EXPECT_EQ(std::u16string(text), u"2011-05-22");
    ASSERT_TRUE(ReadSettingString(OpenSettingsKey(), setting::kScheduleSnapEnd, text, 32));
    EXPECT_EQ(std::u16string(text), u"2011-05-22");
    EXPECT_EQ(window_->TimedSnapshots().Window().end.day, 22);
}

TEST_F(TimedSnapshotTest, SaveImageOkReadsTheDaysAgainAndRearmsArmedSnapshots) {
    Schedule(u"2011-05-22", u"2011-05-30", 300, 1);
    OpenWithPictures("signal=1", {1});
    // Cancel changes nothing.
    prompts_.PlayModal([](QDialog& dialog) {
        SetDlgItemText(&dialog, IDC_SNAP_SPAN, QStringLiteral("5"));
        ClickDlgButton(&dialog, IDCANCEL);
    });
    Click(IDC_SAVE_IMAGE);
    DWORD span = 0;
    ReadSettingDword(OpenSettingsKey(), setting::kScheduleSnapSpan, &span);
    EXPECT_EQ(span, 300u);
    EXPECT_FALSE(Latched(IDC_TIMER_SNAP)) << "not armed by the dialog";

    Click(IDC_TIMER_SNAP);
    ExpectArmed(300000);
    prompts_.PlayModal([](QDialog& dialog) {
        auto* start = qobject_cast<QDateEdit*>(GetDlgItem(&dialog, IDC_SNAP_START));
        ASSERT_NE(start, nullptr);
        start->setDate(QDate(2011, 5, 23));
        ClickDlgButton(&dialog, IDOK);
    });
    Click(IDC_SAVE_IMAGE);
    EXPECT_EQ(prompts_.UnscriptedCount(), 0);
    EXPECT_EQ(window_->TimedSnapshots().Window().start.day, 23);
    ExpectArmed(CTimedSnapshots::DelayToStartMs(clock_.now, {2011, 5, 23}));
}

}  // namespace
}  // namespace main_window_test
