#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTimerEvent>
#include <QtTest/QTest>
#include <vector>

#include "platform/ui/dialog.h"
#include "platform/ui/dialog_codes.h"
#include "platform/ui/dialog_items.h"
#include "platform/ui/scripted_prompts.h"

namespace {

constexpr ControlTemplate kControls[] = {
    {1077, ControlKind::kEdit, "", 10, 10, 100, 12, control_style::kBorder},
    {IDOK, ControlKind::kDefPushButton, "确定", 10, 30, 50, 14},
    {IDCANCEL, ControlKind::kPushButton, "取消", 70, 30, 50, 14},
};

constexpr DialogTemplate kLogin{.id = 291,
                                .cx = 235,
                                .cy = 93,
                                .caption = "Dialog",
                                .style = dialog_style::kPopup | dialog_style::kCaption |
                                         dialog_style::kSysMenu | dialog_style::kCenter,
                                .fontFace = "Microsoft Sans Serif",
                                .pointSize = 10,
                                .units = DialogUnits::kFontAverage,
                                .controls = kControls};

// Records its hooks; OK is refused while the edit is empty, and `closable` false ignores Cancel.
class CProbeDialog : public CDialog {
  public:
    explicit CProbeDialog(QWidget* parent = nullptr) : CDialog(kLogin, parent) {}

    void OnTimer(UINT id) override {
        ticks.push_back(id);
        if (killOnTick) KillTimer(id);
    }

    int inits = 0;
    bool closable = true;
    bool killOnTick = false;
    bool sawControlsAtInit = false;
    std::vector<UINT> ticks;

  protected:
    void OnInitDialog() override {
        ++inits;
        sawControlsAtInit = GetDlgItem(1077) != nullptr;
        SetDlgItemText(this, 1077, "Admin");
    }
    void OnOK() override {
        if (!GetDlgItemText(this, 1077).isEmpty()) EndDialog(IDOK);
    }
    void OnCancel() override {
        if (closable) CDialog::OnCancel();
    }
};

// Delivers one tick of `timer` the way the event loop would.
void Tick(const QTimer* timer) {
    ASSERT_NE(timer, nullptr);
    QTimerEvent event(timer->timerId());
    QCoreApplication::sendEvent(const_cast<QTimer*>(timer), &event);
}

TEST(DialogTest, ShowingCreatesTheControlsAndInitialisesOnce) {
    CProbeDialog dialog;
    EXPECT_FALSE(dialog.IsCreated());
    EXPECT_EQ(dialog.GetDlgItem(1077), nullptr);
    dialog.show();
    dialog.hide();
    dialog.show();
    EXPECT_EQ(dialog.inits, 1);
    EXPECT_TRUE(dialog.sawControlsAtInit);
    EXPECT_TRUE(dialog.GetDlgItem(IDOK)->isVisible());  // shown with the dialog
    EXPECT_EQ(GetDlgItemText(&dialog, 1077), QString("Admin"));
    EXPECT_EQ(dialog.windowTitle(), QString("Dialog"));
    EXPECT_EQ(dialog.size(), dialog.Mapping().ToPixels(235, 93));
}

TEST(DialogTest, ButtonsAndKeysEndTheDialogThroughItsHooks) {
    CScriptedPrompts prompts;
    CProbeDialog dialog;
    prompts.PlayModal([](QDialog& d) { ClickDlgButton(&d, IDOK); });
    EXPECT_EQ(prompts.RunModal(dialog), IDOK);

    // OK refused: the step's click leaves it open, and the runner's Cancel ends it.
    prompts.PlayModal([](QDialog& d) {
        SetDlgItemText(&d, 1077, "");
        ClickDlgButton(&d, IDOK);
        EXPECT_TRUE(d.isVisible());
    });
    EXPECT_EQ(prompts.RunModal(dialog), IDCANCEL);
    EXPECT_FALSE(prompts.Records().back().endedByScript);

    // Escape and Enter go through Cancel and the default button.
    prompts.PlayModal([](QDialog& d) { QTest::keyClick(&d, Qt::Key_Escape); });
    EXPECT_EQ(prompts.RunModal(dialog), IDCANCEL);
    EXPECT_TRUE(prompts.Records().back().endedByScript);
    prompts.PlayModal([](QDialog& d) {
        SetDlgItemText(&d, 1077, "x");
        QTest::keyClick(&d, Qt::Key_Return);
    });
    EXPECT_EQ(prompts.RunModal(dialog), IDOK);
}

TEST(DialogTest, ADialogThatIgnoresCancelStaysOpenForEscapeAndClose) {
    CProbeDialog dialog;
    dialog.closable = false;
    dialog.show();
    QTest::keyClick(&dialog, Qt::Key_Escape);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_FALSE(dialog.close());
    EXPECT_TRUE(dialog.isVisible());
    // A scripted run still returns, with Cancel, and says the dialog did not end.
    CScriptedPrompts prompts;
    EXPECT_EQ(prompts.RunModal(dialog), IDCANCEL);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_FALSE(prompts.Records().back().endedByScript);
}

TEST(WindowTimersTest, TicksReachOnTimerWithTheirIds) {
    CProbeDialog dialog;
    dialog.SetTimer(34817, 1000);
    dialog.SetTimer(34819, 3000);
    Tick(dialog.Timers().Find(34819));
    Tick(dialog.Timers().Find(34817));
    Tick(dialog.Timers().Find(34819));
    EXPECT_EQ(dialog.ticks, (std::vector<UINT>{34819, 34817, 34819}));
    EXPECT_EQ(dialog.Timers().Find(34817)->interval(), 1000);
    EXPECT_FALSE(dialog.Timers().Find(34817)->isSingleShot());
}

TEST(WindowTimersTest, ArmingARunningTimerRestartsItWithTheNewPeriod) {
    CProbeDialog dialog;
    dialog.SetTimer(34818, 60000);
    const QTimer* timer = dialog.Timers().Find(34818);
    ASSERT_NE(timer, nullptr);
    dialog.SetTimer(34818, 250);
    // Still one timer for the id, now with the new period and counting from now.
    EXPECT_EQ(dialog.Timers().Find(34818), timer);
    EXPECT_TRUE(timer->isActive());
    EXPECT_EQ(timer->interval(), 250);
    EXPECT_LT(timer->remainingTime(), 1000);  // counts the new period (with coarse-timer slack)
    Tick(timer);
    EXPECT_EQ(dialog.ticks, (std::vector<UINT>{34818}));
}

TEST(WindowTimersTest, KilledTimersStopAndCanBeArmedAgain) {
    CProbeDialog dialog;
    EXPECT_FALSE(dialog.KillTimer(34820));  // never armed
    dialog.SetTimer(34820, 500);
    EXPECT_TRUE(dialog.KillTimer(34820));
    EXPECT_FALSE(dialog.Timers().IsRunning(34820));
    EXPECT_FALSE(dialog.KillTimer(34820));
    dialog.SetTimer(34820, 700);
    EXPECT_TRUE(dialog.Timers().IsRunning(34820));
    EXPECT_EQ(dialog.Timers().Find(34820)->interval(), 700);
}

TEST(WindowTimersTest, AHandlerMayKillTheTimerThatTicks) {
    CProbeDialog dialog;
    dialog.killOnTick = true;
    dialog.SetTimer(34821, 800);
    Tick(dialog.Timers().Find(34821));
    EXPECT_EQ(dialog.ticks, (std::vector<UINT>{34821}));
    EXPECT_FALSE(dialog.Timers().IsRunning(34821));
}

TEST(WindowTimersTest, ARealTickArrivesThroughTheEventLoop) {
    CProbeDialog dialog;
    dialog.SetTimer(7, 0);  // due as soon as the loop is idle
    dialog.killOnTick = true;
    for (int i = 0; i < 1000 && dialog.ticks.empty(); ++i) QCoreApplication::processEvents();
    EXPECT_EQ(dialog.ticks, (std::vector<UINT>{7}));
}

}  // namespace
