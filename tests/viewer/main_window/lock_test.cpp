// The lock: the first-run notice, the login dialog's checks, the automatic lock after the login
// timeout, and the Locked and UnLock buttons.
#include <QMouseEvent>

#include "platform/ui/edit_control.h"
#include "tests/viewer/main_window/main_window_fixture.h"
#include "viewer/main_window/device_notification.h"
#include "viewer/main_window/video_pane.h"

namespace main_window_test {
namespace {

using Kind = CScriptedPrompts::Record::Kind;

class LockTest : public MainWindowTest {
  protected:
    // Logs in through UnLock; the first-run notice has been seen already.
    void LogIn(const QString& user, const QString& password) {
        PlayLogin(user, password);
        Click(IDC_UNLOCK);
    }
    void Watch(int ticks) {
        for (int i = 0; i < ticks; ++i) window_->OnTimer(ID_TIMER_WATCH);
    }
};

TEST_F(LockTest, FirstRunNoticeOnceThenTheStoredNameAndAnEmptyPasswordLogIn) {
    Attach("");
    Open();
    QString filledIn;
    prompts_.AnswerMessageBox(IDOK);
    prompts_.PlayModal([&filledIn](QDialog& dialog) {
        filledIn = GetDlgItemText(&dialog, IDC_LOGIN_USER);
        ClickDlgButton(&dialog, IDOK);  // the password stays empty
    });
    Click(IDC_UNLOCK);

    ASSERT_EQ(prompts_.Records().size(), 2u);
    EXPECT_EQ(prompts_.Records()[0].kind, Kind::kMessageBox);
    EXPECT_EQ(prompts_.Records()[0].text, kFirstRunNotice);
    EXPECT_EQ(prompts_.Records()[0].caption, QStringLiteral("提示"));
    EXPECT_EQ(prompts_.Records()[1].kind, Kind::kModal);
    EXPECT_EQ(prompts_.Records()[1].answer, IDOK);
    EXPECT_EQ(filledIn, QStringLiteral("Admin"));
    EXPECT_FALSE(Locked());
    EXPECT_TRUE(Shown(IDC_LOCKED));
    EXPECT_FALSE(Shown(IDC_UNLOCK));
    EXPECT_EQ(window_->Lock().State().lockCountdown, 900);

    // Locked locks at once without asking; the next UnLock asks for the login only.
    Click(IDC_LOCKED);
    EXPECT_TRUE(Locked());
    EXPECT_TRUE(Shown(IDC_UNLOCK));
    EXPECT_FALSE(Shown(IDC_LOCKED));
    EXPECT_EQ(window_->Lock().State().lockCountdown, -1);
    EXPECT_EQ(prompts_.Records().size(), 2u);
    LogIn(QStringLiteral("Admin"), QString());
    ASSERT_EQ(prompts_.Records().size(), 3u);
    EXPECT_EQ(prompts_.Records()[2].kind, Kind::kModal);
    EXPECT_FALSE(Locked());
    EXPECT_EQ(prompts_.UnscriptedCount(), 0);
}

TEST_F(LockTest, NoticeComesEvenWhenAlreadyUnlockedAndNeverAgain) {
    Open();
    LogInNow();
    // Settings loaded again that report the first run (the mark gone from the key) bring the
    // notice back, even though the viewer is unlocked; once.
    SetDword(setting::kFirstRun, 0);
    window_->ReloadGrabberSettings();
    prompts_.AnswerMessageBox(IDOK);
    EXPECT_TRUE(window_->Lock().EnsureUnlocked());
    EXPECT_TRUE(window_->Lock().EnsureUnlocked());
    ASSERT_EQ(prompts_.Records().size(), 1u);
    EXPECT_EQ(prompts_.Records()[0].text, kFirstRunNotice);
}

TEST_F(LockTest, UserNameDifferingOnlyInCaseIsRefusedAndTheDialogStaysOpen) {
    Open();
    bool stayedOpen = false;
    prompts_.AnswerMessageBox(IDOK);  // first-run notice
    prompts_.AnswerMessageBox(IDOK);  // the refusal
    prompts_.PlayModal([&stayedOpen](QDialog& dialog) {
        SetDlgItemText(&dialog, IDC_LOGIN_USER, QStringLiteral("admin"));
        ClickDlgButton(&dialog, IDOK);
        stayedOpen = dialog.isVisible();
    });
    EXPECT_FALSE(window_->Lock().EnsureUnlocked());
    EXPECT_TRUE(stayedOpen);
    const std::vector<CScriptedPrompts::Record> boxes = prompts_.MessageBoxes();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[1].text, QStringLiteral("无效的用户名!"));
    EXPECT_EQ(boxes[1].caption, QStringLiteral("错误"));
    EXPECT_TRUE(Locked());
    EXPECT_EQ(window_->Lock().State().lockCountdown, -1);
}

TEST_F(LockTest, WrongPasswordIsRefusedUntilTheRightOneIsTyped) {
    SetString(setting::kUserPassword, u"Secret");
    Open();
    PassFirstRunNotice();
    prompts_.AnswerMessageBox(IDOK);
    prompts_.AnswerMessageBox(IDOK);
    prompts_.PlayModal([](QDialog& dialog) {
        SetDlgItemText(&dialog, IDC_LOGIN_PASSWORD, QStringLiteral("secret"));
        ClickDlgButton(&dialog, IDOK);
        SetDlgItemText(&dialog, IDC_LOGIN_PASSWORD, QString());
        ClickDlgButton(&dialog, IDOK);
        SetDlgItemText(&dialog, IDC_LOGIN_PASSWORD, QStringLiteral("Secret"));
        ClickDlgButton(&dialog, IDOK);
    });
    EXPECT_TRUE(window_->Lock().EnsureUnlocked());
    const std::vector<CScriptedPrompts::Record> boxes = prompts_.MessageBoxes();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].text, QStringLiteral("输入密码错误!"));
    EXPECT_EQ(boxes[1].text, QStringLiteral("输入密码错误!"));
    EXPECT_FALSE(Locked());
}

TEST_F(LockTest, TypedTextBeyondTheLimitsNeverMatches) {
    const std::u16string password(kMaxPasswordChars, u'p');
    SetString(setting::kUserPassword, password.c_str());
    Open();
    PassFirstRunNotice();
    int limit = -1;
    prompts_.AnswerMessageBox(IDOK);
    prompts_.PlayModal([&limit](QDialog& dialog) {
        limit = qobject_cast<CEditControl*>(GetDlgItem(&dialog, IDC_LOGIN_PASSWORD))->Limit();
        // The stored password with one more character is not the stored password.
        SetDlgItemText(&dialog, IDC_LOGIN_PASSWORD, QString(kMaxPasswordChars + 1, u'p'));
        ClickDlgButton(&dialog, IDOK);
    });
    EXPECT_FALSE(window_->Lock().EnsureUnlocked());
    EXPECT_EQ(limit, kMaxPasswordChars);
    ASSERT_EQ(prompts_.MessageBoxes().size(), 1u);
    EXPECT_EQ(prompts_.MessageBoxes()[0].text, QStringLiteral("输入密码错误!"));

    PlayLogin(QStringLiteral("Admin"), QString::fromStdU16String(password));
    EXPECT_TRUE(window_->Lock().EnsureUnlocked());
}

TEST_F(LockTest, StoredNameLongerThanTheTypingLimitCanNeverLogIn) {
    const std::u16string name(kMaxUserNameChars + 1, u'n');
    SetString(setting::kUserName, name.c_str());
    Open();
    PassFirstRunNotice();
    prompts_.AnswerMessageBox(IDOK);
    PlayLogin(QString::fromStdU16String(name), QString());
    EXPECT_FALSE(window_->Lock().EnsureUnlocked());
    ASSERT_EQ(prompts_.MessageBoxes().size(), 1u);
    EXPECT_EQ(prompts_.MessageBoxes()[0].text, QStringLiteral("无效的用户名!"));
}

TEST_F(LockTest, UnreadableAccountMakesOkDoNothing) {
    SetDword(setting::kUserPassword, 7);
    Open();
    PassFirstRunNotice();
    bool stayedOpen = false;
    prompts_.PlayModal([&stayedOpen](QDialog& dialog) {
        ClickDlgButton(&dialog, IDOK);
        stayedOpen = dialog.isVisible();
    });
    EXPECT_FALSE(window_->Lock().EnsureUnlocked());
    EXPECT_TRUE(stayedOpen);
    EXPECT_TRUE(prompts_.MessageBoxes().empty());
}

TEST_F(LockTest, AutoLockOnTheTwentiethWatchTickAfterAOneMinuteTimeout) {
    SetDword(setting::kLoginTimeout, 1);
    SetDword(setting::kLoginTimeoutFlag, 1);
    Open();
    PassFirstRunNotice();
    prompts_.AnswerMessageBox(IDOK);  // no device
    LogIn(QStringLiteral("Admin"), QString());
    ASSERT_FALSE(Locked());
    EXPECT_EQ(window_->Lock().State().lockCountdown, 60);
    Watch(10);
    // Using the controls does not restart the countdown.
    EXPECT_TRUE(window_->Lock().EnsureUnlocked());
    Watch(9);
    EXPECT_FALSE(Locked());
    EXPECT_EQ(window_->Lock().State().lockCountdown, 3);
    EXPECT_EQ(window_->Lock().TickAutoLock(), 1);  // the 20th step, 60 seconds after the login
    EXPECT_TRUE(Locked());
    EXPECT_TRUE(Shown(IDC_UNLOCK));
    EXPECT_FALSE(Shown(IDC_LOCKED));
    EXPECT_EQ(window_->Lock().State().lockCountdown, -1);
    Watch(5);
    EXPECT_EQ(window_->Lock().State().lockCountdown, -1);
    EXPECT_EQ(prompts_.UnscriptedCount(), 0);
}

TEST_F(LockTest, AutoLockOffKeepsTheViewerUnlocked) {
    SetDword(setting::kLoginTimeout, 1);
    SetDword(setting::kLoginTimeoutFlag, 0);
    Open();
    PassFirstRunNotice();
    prompts_.AnswerMessageBox(IDOK);
    LogIn(QStringLiteral("Admin"), QString());
    Watch(400);
    EXPECT_FALSE(Locked());
}

TEST_F(LockTest, CountdownFromStartUpRunsOutWhileLockedWithoutEffect) {
    SetDword(setting::kLoginTimeout, 1);
    Open();
    Watch(25);
    EXPECT_TRUE(Locked());
    EXPECT_EQ(window_->Lock().State().lockCountdown, -3);
    EXPECT_TRUE(prompts_.Records().empty());
}

TEST_F(LockTest, UnLockWithoutDeviceStartsNothingAndSaysSo) {
    Open();
    PassFirstRunNotice();
    prompts_.AnswerMessageBox(IDOK);
    LogIn(QStringLiteral("Admin"), QString());
    ASSERT_EQ(prompts_.MessageBoxes().size(), 1u);
    EXPECT_EQ(prompts_.MessageBoxes()[0].text, QStringLiteral("没有找到监控设备!"));
    EXPECT_EQ(prompts_.MessageBoxes()[0].caption, QStringLiteral("错误"));
    EXPECT_FALSE(Locked());
}

TEST_F(LockTest, UnLockRetriesTheCaptureOnceTheGrabberIsThere) {
    Attach("absent; 1s arrive");
    // Without the grabber's events only the login's retry can start the capture.
    Open(false);
    ASSERT_EQ(window_->Capture().Graph(), nullptr);
    PassFirstRunNotice();
    clock_->Set(std::chrono::seconds(1));
    device_->Grabber().Update();
    LogIn(QStringLiteral("Admin"), QString());
    EXPECT_NE(window_->Capture().Graph(), nullptr);
    EXPECT_TRUE(prompts_.MessageBoxes().empty());
    EXPECT_FALSE(Locked());
}

TEST_F(LockTest, PaneClickAsksForTheLoginAndASkinClickDoesNot) {
    Open();
    window_->show();
    PassFirstRunNotice();
    prompts_.PlayModal([](QDialog& dialog) { ClickDlgButton(&dialog, IDCANCEL); });
    const QPoint inPane = window_->Pane(0)->geometry().center();
    QMouseEvent press(QEvent::MouseButtonPress, inPane, window_->mapToGlobal(inPane),
                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(window_.get(), &press);
    ASSERT_EQ(prompts_.Records().size(), 1u);  // the login was asked for
    EXPECT_TRUE(Locked());
    // A press on the skin outside the panes asks nothing.
    const QPoint onSkin(5, 590);
    QMouseEvent skinPress(QEvent::MouseButtonPress, onSkin, window_->mapToGlobal(onSkin),
                          Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(window_.get(), &skinPress);
    EXPECT_EQ(prompts_.Records().size(), 1u);
}

}  // namespace
}  // namespace main_window_test
