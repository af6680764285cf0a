#include <gtest/gtest.h>

#include <QLabel>
#include <QPointer>

#include "platform/ui/dialog_codes.h"
#include "platform/ui/dialog_items.h"
#include "viewer/widgets/message_popup.h"
#include "viewer/widgets/message_template.h"
#include "viewer/widgets/show_message.h"

namespace {

TEST(MessagePopupTest, ShowMessageTwiceUsesOneWindowWithTheSecondText) {
    QWidget mainDialog;
    CMessage* popup = nullptr;
    ShowMessage(&mainDialog, popup, "警报,设备被移除!!");
    ASSERT_NE(popup, nullptr);
    CMessage* first = popup;
    EXPECT_TRUE(popup->isVisible());
    EXPECT_EQ(GetDlgItemText(popup, IDC_MESSAGE_TEXT), QString("警报,设备被移除!!"));

    ShowMessage(&mainDialog, popup, "second");
    EXPECT_EQ(popup, first);
    EXPECT_EQ(mainDialog.findChildren<CMessage*>().size(), 1);
    EXPECT_TRUE(popup->isVisible());
    EXPECT_EQ(popup->Text(), QString("second"));
    EXPECT_EQ(GetDlgItemText(popup, IDC_MESSAGE_TEXT), QString("second"));
}

TEST(MessagePopupTest, OkHidesThePopupAndTheNextMessageShowsItAgain) {
    QWidget mainDialog;
    CMessage* popup = nullptr;
    ShowMessage(&mainDialog, popup, "one");
    ClickDlgButton(popup, IDOK);
    EXPECT_FALSE(popup->isVisible());
    ShowMessage(&mainDialog, popup, "two");
    EXPECT_TRUE(popup->isVisible());
    EXPECT_EQ(GetDlgItemText(popup, IDC_MESSAGE_TEXT), QString("two"));
}

TEST(MessagePopupTest, PopupIsDialog298AndLivesWithItsParent) {
    QPointer<CMessage> watched;
    {
        QWidget mainDialog;
        CMessage* popup = nullptr;
        ShowMessage(&mainDialog, popup, "x");
        watched = popup;
        EXPECT_EQ(popup->windowTitle(), QString("信息"));
        EXPECT_EQ(popup->size(), popup->Mapping().ToPixels(207, 62));
        EXPECT_EQ(popup->GetDlgItem(IDC_MESSAGE_TEXT)->geometry(),
                  popup->Mapping().ToPixels(7, 18, 193, 18));
        EXPECT_EQ(GetDlgItemText(popup, IDOK), QString("确定"));
    }
    EXPECT_TRUE(watched.isNull());
}

TEST(MessagePopupTest, TextSetBeforeTheWindowExistsIsShownAtInitialisation) {
    QWidget mainDialog;
    CMessage popup(&mainDialog);
    EXPECT_EQ(popup.Text(), QString(" "));
    popup.SetText("early");
    popup.Create();
    EXPECT_EQ(GetDlgItemText(&popup, IDC_MESSAGE_TEXT), QString("early"));
}

}  // namespace
