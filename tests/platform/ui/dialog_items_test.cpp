#include <gtest/gtest.h>

#include <QWidget>

#include "platform/ui/dialog_builder.h"
#include "platform/ui/dialog_codes.h"
#include "platform/ui/dialog_items.h"
#include "platform/ui/dialog_lists.h"

namespace {

constexpr ControlTemplate kControls[] = {
    {1, ControlKind::kEdit, "", 0, 0, 50, 12},
    {2, ControlKind::kDropDownList, nullptr, 0, 20, 50, 40},
    {3, ControlKind::kStatic, "Static", 0, 40, 50, 8},
    {4, ControlKind::kListBox, nullptr, 0, 50, 50, 40},
    {5, ControlKind::kDropDown, "typed", 60, 0, 50, 40},
};

constexpr DialogTemplate kDialog{.id = 1,
                                 .cx = 120,
                                 .cy = 100,
                                 .caption = nullptr,
                                 .style = dialog_style::kChild,
                                 .fontFace = nullptr,
                                 .pointSize = 0,
                                 .units = DialogUnits::kFontAverage,
                                 .controls = kControls};

class DialogItemsTest : public ::testing::Test {
  protected:
    DialogItemsTest() : page_(CreateChildDialog(&parent_, kDialog, {})) {}

    // GetDlgItemInt on control 1 holding `text`; `translated` receives the flag.
    UINT ReadInt(const QString& text, BOOL isSigned, BOOL* translated) {
        SetDlgItemText(page_, 1, text);
        return GetDlgItemInt(page_, 1, translated, isSigned);
    }

    QWidget parent_;
    QWidget* page_;
};

TEST_F(DialogItemsTest, IntegersReadLikeDialogNumbers) {
    BOOL ok = FALSE;
    EXPECT_EQ(ReadInt("  42abc", FALSE, &ok), 42u);
    EXPECT_TRUE(ok);
    EXPECT_EQ(static_cast<int>(ReadInt("-17", TRUE, &ok)), -17);
    EXPECT_TRUE(ok);
    EXPECT_EQ(ReadInt("-17", FALSE, &ok), 0u);  // no sign for unsigned reads
    EXPECT_FALSE(ok);
    EXPECT_EQ(ReadInt("", FALSE, &ok), 0u);
    EXPECT_FALSE(ok);
    EXPECT_EQ(ReadInt("abc", TRUE, &ok), 0u);
    EXPECT_FALSE(ok);
    EXPECT_EQ(ReadInt("4294967295", FALSE, &ok), 4294967295u);
    EXPECT_TRUE(ok);
    EXPECT_EQ(ReadInt("4294967296", FALSE, &ok), 0u);
    EXPECT_FALSE(ok);
    EXPECT_EQ(static_cast<int>(ReadInt("-2147483648", TRUE, &ok)), INT32_MIN);
    EXPECT_TRUE(ok);
    EXPECT_EQ(ReadInt("2147483648", TRUE, &ok), 0u);
    EXPECT_FALSE(ok);
    EXPECT_EQ(ReadInt("300", FALSE, nullptr), 300u);  // the flag is optional

    SetDlgItemInt(page_, 1, static_cast<UINT>(-5), TRUE);
    EXPECT_EQ(GetDlgItemText(page_, 1), QString("-5"));
    SetDlgItemInt(page_, 1, static_cast<UINT>(-5), FALSE);
    EXPECT_EQ(GetDlgItemText(page_, 1), QString("4294967291"));
}

TEST_F(DialogItemsTest, TextIntoABufferIsCutAndTerminated) {
    SetDlgItemText(page_, 1, "通道1 name");
    WCHAR buffer[5] = {u'x', u'x', u'x', u'x', u'x'};
    EXPECT_EQ(GetDlgItemText(page_, 1, buffer, 5), 4u);
    EXPECT_EQ(std::u16string(buffer), u"通道1 ");
    EXPECT_EQ(GetDlgItemText(page_, 1, buffer, 1), 0u);
    EXPECT_EQ(buffer[0], 0);
    EXPECT_EQ(GetDlgItemText(page_, 99, buffer, 5), 0u);  // no such control: empty text
    EXPECT_EQ(buffer[0], 0);
    EXPECT_EQ(GetDlgItemText(page_, 3), QString("Static"));
}

TEST_F(DialogItemsTest, ComboItemsCarryDataAndSelection) {
    QWidget* combo = GetDlgItem(page_, 2);
    EXPECT_EQ(ComboBoxAddString(combo, "None"), 0);
    EXPECT_EQ(ComboBoxAddString(combo, "Static"), 1);
    EXPECT_EQ(ComboBoxSetItemData(combo, 1, 7), 0);
    EXPECT_EQ(ComboBoxGetItemData(combo, 0), 0);
    EXPECT_EQ(ComboBoxGetItemData(combo, 1), 7);
    EXPECT_EQ(ComboBoxGetItemData(combo, 2), CB_ERR);
    EXPECT_EQ(ComboBoxSetItemData(combo, 5, 1), CB_ERR);
    EXPECT_EQ(ComboBoxSetCurSel(combo, 1), 1);
    EXPECT_EQ(GetDlgItemText(page_, 2), QString("Static"));
    // Out of range clears the selection.
    EXPECT_EQ(ComboBoxSetCurSel(combo, 2), CB_ERR);
    EXPECT_EQ(ComboBoxGetCurSel(combo), CB_ERR);
    // Setting a drop-down list's text selects the matching item, or fails.
    EXPECT_TRUE(SetDlgItemText(page_, 2, "None"));
    EXPECT_EQ(ComboBoxGetCurSel(combo), 0);
    EXPECT_FALSE(SetDlgItemText(page_, 2, "Other"));
    ComboBoxResetContent(combo);
    EXPECT_EQ(ComboBoxGetCount(combo), 0);
    // The wrong kind of control answers CB_ERR.
    EXPECT_EQ(ComboBoxAddString(GetDlgItem(page_, 1), "x"), CB_ERR);
    EXPECT_EQ(ComboBoxGetCount(nullptr), CB_ERR);

    EXPECT_EQ(GetDlgItemText(page_, 5), QString("typed"));
    EXPECT_TRUE(SetDlgItemText(page_, 5, "free text"));
    EXPECT_EQ(GetDlgItemText(page_, 5), QString("free text"));
}

TEST_F(DialogItemsTest, ListItemsAndSelection) {
    QWidget* list = GetDlgItem(page_, 4);
    EXPECT_EQ(ListBoxAddString(list, "a"), 0);
    EXPECT_EQ(ListBoxAddString(list, "b"), 1);
    EXPECT_EQ(ListBoxGetCurSel(list), LB_ERR);
    EXPECT_EQ(ListBoxSetCurSel(list, 1), 1);
    EXPECT_EQ(ListBoxGetItemText(list, ListBoxGetCurSel(list)), QString("b"));
    EXPECT_EQ(ListBoxSetCurSel(list, 9), LB_ERR);
    EXPECT_EQ(ListBoxGetCurSel(list), LB_ERR);
    ListBoxResetContent(list);
    EXPECT_EQ(ListBoxGetCount(list), 0);
}

TEST_F(DialogItemsTest, MissingControlsAnswerNothing) {
    EXPECT_FALSE(SetDlgItemText(page_, 99, "x"));
    EXPECT_FALSE(CheckDlgButton(page_, 1, BST_CHECKED));  // an edit has no check state
    EXPECT_EQ(IsDlgButtonChecked(page_, 99), BST_UNCHECKED);
    EXPECT_FALSE(EnableDlgItem(page_, 99, false));
    EXPECT_FALSE(ClickDlgButton(page_, 3));
    EXPECT_FALSE(LimitDlgItemText(page_, 3, 10));
    EXPECT_EQ(GetDlgItem(nullptr, 1), nullptr);
}

}  // namespace
