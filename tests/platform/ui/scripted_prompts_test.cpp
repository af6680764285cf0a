#include <gtest/gtest.h>

#include <QDialog>

#include "platform/ui/dialog_codes.h"
#include "platform/ui/scripted_prompts.h"

namespace {

using Kind = CScriptedPrompts::Record::Kind;

TEST(ScriptedPromptsTest, MessageBoxesTakeQueuedAnswersAndAreRecorded) {
    CScriptedPrompts prompts;
    prompts.AnswerMessageBox(IDYES);
    prompts.AnswerMessageBox(IDCANCEL);
    IPrompts& asked = prompts;
    EXPECT_EQ(asked.MessageBox(nullptr, "覆盖?", "警告", MB_YESNO | MB_ICONWARNING), IDYES);
    EXPECT_EQ(asked.MessageBox(nullptr, "继续?", "提示", MB_OKCANCEL), IDCANCEL);
    const auto boxes = prompts.MessageBoxes();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].text, QString("覆盖?"));
    EXPECT_EQ(boxes[0].caption, QString("警告"));
    EXPECT_EQ(boxes[0].type, MB_YESNO | MB_ICONWARNING);
    EXPECT_EQ(boxes[1].answer, IDCANCEL);
    EXPECT_EQ(prompts.UnscriptedCount(), 0);
    EXPECT_EQ(prompts.PendingAnswers(), 0u);
}

TEST(ScriptedPromptsTest, UnscriptedPromptsAreClosedAndCounted) {
    CScriptedPrompts prompts;
    EXPECT_EQ(prompts.MessageBox(nullptr, "a", "错误", MB_OK), IDOK);
    EXPECT_EQ(prompts.MessageBox(nullptr, "b", "提示", MB_OKCANCEL), IDCANCEL);
    EXPECT_EQ(prompts.MessageBox(nullptr, "c", "警告", MB_YESNO), IDNO);
    QDialog dialog;
    EXPECT_EQ(prompts.RunModal(dialog), QDialog::Rejected);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(prompts.UnscriptedCount(), 4);
}

TEST(ScriptedPromptsTest, ModalStepsPlayTheUserAndNestedPromptsFollowInOrder) {
    CScriptedPrompts prompts;
    QDialog dialog;
    dialog.setWindowTitle("System setting");
    prompts.AnswerMessageBox(IDOK);
    prompts.PlayModal([&prompts](QDialog& d) {
        EXPECT_TRUE(d.isVisible());
        prompts.MessageBox(&d, "两次输入的密码不相同!", "错误", MB_OK);
        d.done(IDOK);
    });
    EXPECT_EQ(prompts.RunModal(dialog), IDOK);
    ASSERT_EQ(prompts.Records().size(), 2u);
    EXPECT_EQ(prompts.Records()[0].kind, Kind::kModal);
    EXPECT_EQ(prompts.Records()[0].caption, QString("System setting"));
    EXPECT_EQ(prompts.Records()[0].answer, IDOK);
    EXPECT_TRUE(prompts.Records()[0].endedByScript);
    EXPECT_EQ(prompts.Records()[1].kind, Kind::kMessageBox);
    EXPECT_EQ(prompts.Records()[1].text, QString("两次输入的密码不相同!"));
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(prompts.PendingSteps(), 0u);
}

TEST(ScriptedPromptsTest, ADialogLeftOpenIsCancelled) {
    CScriptedPrompts prompts;
    QDialog dialog;
    prompts.PlayModal([](QDialog&) {});
    EXPECT_EQ(prompts.RunModal(dialog), QDialog::Rejected);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_TRUE(prompts.Records()[0].scripted);
    EXPECT_FALSE(prompts.Records()[0].endedByScript);
}

}  // namespace
