#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest/QTest>
#include <utility>
#include <vector>

#include "platform/ui/dialog_builder.h"
#include "platform/ui/dialog_codes.h"
#include "platform/ui/dialog_items.h"
#include "platform/ui/dialog_lists.h"
#include "platform/ui/edit_control.h"
#include "platform/ui/radio_control.h"

namespace {

using namespace control_style;

constexpr ControlTemplate kControls[] = {
    {IDC_STATIC, ControlKind::kGroupBox, "通道控制", 5, 5, 120, 60},
    {10, ControlKind::kAutoRadioButton, "手动", 10, 15, 40, 10, kGroup},
    {11, ControlKind::kAutoRadioButton, "自动", 55, 15, 40, 10},
    {12, ControlKind::kAutoRadioButton, "By Cover", 10, 30, 40, 10, kGroup},
    {13, ControlKind::kAutoRadioButton, "By Reverse", 55, 30, 40, 10},
    {20, ControlKind::kEdit, "start", 10, 45, 60, 12, kBorder | kAutoHScroll},
    {21, ControlKind::kEdit, "", 75, 45, 30, 12, kBorder | kNumber},
    {22, ControlKind::kEdit, "", 130, 45, 30, 12, kPassword},
    {30, ControlKind::kAutoCheckBox, "通道1", 130, 10, 40, 10},
    {31, ControlKind::kDropDownList, nullptr, 130, 25, 48, 60, kVScroll},
    {40, ControlKind::kPushButton, "Reset", 10, 70, 50, 14, kDisabled},
    {IDOK, ControlKind::kDefPushButton, "确定", 70, 70, 50, 14},
    {41, ControlKind::kPushButton, "Hidden", 130, 70, 50, 14, kHidden},
};

constexpr DialogTemplate kDialog{.id = 500,
                                 .cx = 200,
                                 .cy = 90,
                                 .caption = "Test",
                                 .style = dialog_style::kPopup | dialog_style::kCaption,
                                 .fontFace = nullptr,
                                 .pointSize = 9,
                                 .units = DialogUnits::kSevenFourths,
                                 .controls = kControls};

class DialogBuilderTest : public ::testing::Test {
  protected:
    void Build(const ControlFactory& factory = {}) {
        host_.setFont(DialogFont(kDialog));
        BuildDialogControls(&host_, kDialog, DialogUnitMapping::For(kDialog, host_.font()), factory,
                            [this](int id, int code) { commands_.emplace_back(id, code); });
    }
    QWidget host_;
    std::vector<std::pair<int, int>> commands_;
};

TEST_F(DialogBuilderTest, ControlsKeepTheirIdsAndSitAtTheirPixels) {
    Build();
    ASSERT_NE(GetDlgItem(&host_, 20), nullptr);
    EXPECT_EQ(GetDlgItem(&host_, 20)->geometry(), QRect(18, 79, 105, 21));
    EXPECT_EQ(GetDlgItem(&host_, IDOK)->geometry(), QRect(123, 123, 88, 25));
    EXPECT_EQ(GetDlgCtrlID(GetDlgItem(&host_, 13)), 13);
    EXPECT_EQ(GetDlgItem(&host_, 99), nullptr);

    // A drop-down list is as high as its field, not as its list.
    QWidget* combo = GetDlgItem(&host_, 31);
    EXPECT_EQ(combo->geometry().topLeft(), QPoint(228, 44));
    EXPECT_EQ(combo->width(), 84);
    EXPECT_LT(combo->height(), 105);

    EXPECT_EQ(GetDlgItemText(&host_, 10), QString("手动"));
    EXPECT_EQ(GetDlgItemText(&host_, 20), QString("start"));
    EXPECT_EQ(qobject_cast<QLineEdit*>(GetDlgItem(&host_, 22))->echoMode(), QLineEdit::Password);
    EXPECT_TRUE(qobject_cast<QPushButton*>(GetDlgItem(&host_, IDOK))->isDefault());
}

TEST_F(DialogBuilderTest, StylesHideAndDisableAndGroupBoxesLieBeneath) {
    Build();
    EXPECT_FALSE(IsDlgItemEnabled(&host_, 40));
    EXPECT_FALSE(IsDlgItemShown(&host_, 41));
    EXPECT_TRUE(IsDlgItemShown(&host_, IDOK));
    // The group box is first in stacking order, so the radio buttons over it get the clicks.
    const auto* group = host_.findChild<QGroupBox*>();
    ASSERT_NE(group, nullptr);
    EXPECT_EQ(host_.children().indexOf(const_cast<QGroupBox*>(group)), 0);
    host_.resize(400, 200);
    host_.show();
    EXPECT_EQ(host_.childAt(GetDlgItem(&host_, 10)->geometry().center()), GetDlgItem(&host_, 10));
}

TEST_F(DialogBuilderTest, RadioGroupsAreExclusiveOnClickOnly) {
    Build();
    ClickDlgButton(&host_, 10);
    ClickDlgButton(&host_, 12);
    EXPECT_EQ(IsDlgButtonChecked(&host_, 10), BST_CHECKED);
    EXPECT_EQ(IsDlgButtonChecked(&host_, 12), BST_CHECKED);
    ClickDlgButton(&host_, 11);
    EXPECT_EQ(IsDlgButtonChecked(&host_, 10), BST_UNCHECKED);
    EXPECT_EQ(IsDlgButtonChecked(&host_, 11), BST_CHECKED);
    EXPECT_EQ(IsDlgButtonChecked(&host_, 12), BST_CHECKED);  // other group untouched
    // Clicking a checked radio button keeps it checked.
    ClickDlgButton(&host_, 11);
    EXPECT_EQ(IsDlgButtonChecked(&host_, 11), BST_CHECKED);
    // The program may leave a group with nothing checked.
    CheckDlgButton(&host_, 11, BST_UNCHECKED);
    EXPECT_EQ(IsDlgButtonChecked(&host_, 10) + IsDlgButtonChecked(&host_, 11), 0u);
    // CheckRadioButton checks one and unchecks the rest of its id range.
    EXPECT_TRUE(CheckRadioButton(&host_, 12, 13, 13));
    EXPECT_EQ(IsDlgButtonChecked(&host_, 12), BST_UNCHECKED);
    EXPECT_EQ(IsDlgButtonChecked(&host_, 13), BST_CHECKED);
}

TEST_F(DialogBuilderTest, OnlyTheUsersActionsNotify) {
    Build();
    SetDlgItemText(&host_, 20, "by program");
    CheckDlgButton(&host_, 30, BST_CHECKED);
    ComboBoxAddString(GetDlgItem(&host_, 31), "A");
    ComboBoxSetCurSel(GetDlgItem(&host_, 31), 0);
    EXPECT_TRUE(commands_.empty());

    QTest::keyClicks(GetDlgItem(&host_, 20), "x");
    ClickDlgButton(&host_, 30);
    ClickDlgButton(&host_, IDOK);
    ClickDlgButton(&host_, 40);  // disabled: nothing
    auto* combo = qobject_cast<QComboBox*>(GetDlgItem(&host_, 31));
    emit combo->activated(0);
    const std::vector<std::pair<int, int>> expected = {
        {20, EN_CHANGE}, {30, BN_CLICKED}, {IDOK, BN_CLICKED}, {31, CBN_SELCHANGE}};
    EXPECT_EQ(commands_, expected);
    EXPECT_EQ(IsDlgButtonChecked(&host_, 30), BST_UNCHECKED);  // the click toggled it back
}

TEST_F(DialogBuilderTest, EditLimitBindsTheUserButNotTheProgram) {
    Build();
    ASSERT_TRUE(LimitDlgItemText(&host_, 20, 5));
    SetDlgItemText(&host_, 20, "abcd");
    QWidget* edit = GetDlgItem(&host_, 20);
    QTest::keyClicks(edit, "efg");
    EXPECT_EQ(GetDlgItemText(&host_, 20), QString("abcde"));
    // A longer text from the program is kept whole, and the user may still shorten it.
    SetDlgItemText(&host_, 20, "0123456789");
    EXPECT_EQ(GetDlgItemText(&host_, 20), QString("0123456789"));
    QTest::keyClick(edit, Qt::Key_End);
    QTest::keyClick(edit, Qt::Key_Backspace);
    EXPECT_EQ(GetDlgItemText(&host_, 20), QString("012345678"));
    QTest::keyClicks(edit, "z");
    EXPECT_EQ(GetDlgItemText(&host_, 20), QString("012345678"));
    // Refused keys send no change notification; kept ones do.
    EXPECT_EQ(std::count(commands_.begin(), commands_.end(), std::make_pair(20, EN_CHANGE)), 2);
}

TEST_F(DialogBuilderTest, NumberEditTakesTypedDigitsOnly) {
    Build();
    QWidget* edit = GetDlgItem(&host_, 21);
    QTest::keyClicks(edit, "1a2-3");
    EXPECT_EQ(GetDlgItemText(&host_, 21), QString("123"));
    SetDlgItemText(&host_, 21, "x9");  // the program may put in anything
    QTest::keyClicks(edit, "7");
    EXPECT_EQ(GetDlgItemText(&host_, 21), QString("x97"));
}

TEST_F(DialogBuilderTest, FactoryReplacesTheStandardControl) {
    Build([](const ControlTemplate& control, QWidget* parent) -> QWidget* {
        if (control.id != 40) return nullptr;
        auto* custom = new QCheckBox("custom", parent);
        custom->setObjectName("custom");
        return custom;
    });
    QWidget* control = GetDlgItem(&host_, 40);
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(control->objectName(), QString("custom"));
    EXPECT_EQ(control->geometry(), QRect(18, 123, 88, 25));
    EXPECT_FALSE(control->isEnabled());  // styles still apply
}

TEST(ChildDialogTest, ChildDialogHasTheTemplateSizeAndControls) {
    QWidget parent;
    QWidget* page = CreateChildDialog(&parent, kDialog, {});
    EXPECT_EQ(page->parentWidget(), &parent);
    EXPECT_EQ(page->size(), QSize(350, 158));
    EXPECT_EQ(page->size(), DialogSizeInPixels(kDialog));
    EXPECT_NE(GetDlgItem(page, 31), nullptr);
    EXPECT_EQ(GetDlgItem(&parent, 31), nullptr);  // only direct children are the page's controls
}

TEST(ChildDialogTest, OneLineLabelsShowTheirWholeText) {
    static constexpr ControlTemplate kLabels[] = {
        {1, ControlKind::kStatic, "Start Position:", 14, 76, 20, 8},
        {2, ControlKind::kStatic, "A long text that wraps over lines", 14, 90, 30, 30},
        {3, ControlKind::kStatic, "Start Position:", 90, 76, 10, 8},
    };
    static constexpr DialogTemplate kPage{.id = 101,
                                          .cx = 100,
                                          .cy = 146,
                                          .caption = nullptr,
                                          .style = dialog_style::kChild,
                                          .fontFace = nullptr,
                                          .pointSize = 8,
                                          .units = DialogUnits::kFontAverage,
                                          .controls = kLabels};
    QWidget parent;
    QWidget* page = CreateChildDialog(&parent, kPage, {});
    auto* oneLine = qobject_cast<QLabel*>(GetDlgItem(page, 1));
    ASSERT_NE(oneLine, nullptr);
    EXPECT_FALSE(oneLine->wordWrap());
    EXPECT_GE(oneLine->width(), oneLine->fontMetrics().horizontalAdvance("Start Position:"));
    const DialogUnitMapping map = DialogUnitMapping::For(kPage, DialogFont(kPage));
    EXPECT_EQ(oneLine->geometry().topLeft(), map.ToPixels(14, 76, 20, 8).topLeft());
    EXPECT_EQ(oneLine->height(), map.ToPixelsY(8));
    EXPECT_TRUE(qobject_cast<QLabel*>(GetDlgItem(page, 2))->wordWrap());
    // Near the right edge a label grows only up to the edge.
    EXPECT_EQ(GetDlgItem(page, 3)->geometry().right(), page->width() - 1);
}

}  // namespace
