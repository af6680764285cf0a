#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <QtTest/QTest>
#include <functional>

#include "platform/ui/dialog_codes.h"
#include "platform/ui/qt_prompts.h"

namespace {

// Runs `act` on the message box once its modal loop runs. A box that `act` leaves open is
// rejected, so the test cannot hang on it.
void WhenBoxShows(std::function<void(QMessageBox&)> act) {
    QTimer::singleShot(0, [act] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) {
            ADD_FAILURE() << "no message box is running";
            return;
        }
        act(*box);
        if (box->isVisible()) {
            ADD_FAILURE() << "the box is still open";
            box->reject();
        }
    });
}

// Presses the box's button labelled `text`.
std::function<void(QMessageBox&)> Press(const QString& text) {
    return [text](QMessageBox& box) {
        for (QAbstractButton* button : box.buttons()) {
            if (button->text() == text) {
                button->click();
                return;
            }
        }
        ADD_FAILURE() << "no button " << text.toStdString();
    };
}

TEST(QtPromptsTest, ButtonsAnswerWithTheirIds) {
    CQtPrompts prompts;
    WhenBoxShows([](QMessageBox& box) {
        EXPECT_EQ(box.windowTitle(), QString("错误"));
        EXPECT_EQ(box.text(), QString("没有找到监控设备!"));
        EXPECT_EQ(box.icon(), QMessageBox::Critical);
        EXPECT_EQ(box.buttons().size(), 1);
        Press("确定")(box);
    });
    EXPECT_EQ(prompts.MessageBox(nullptr, "没有找到监控设备!", "错误", MB_OK | MB_ICONERROR), IDOK);

    WhenBoxShows(Press("取消"));
    EXPECT_EQ(prompts.MessageBox(nullptr, "t", "提示", MB_OKCANCEL), IDCANCEL);
    WhenBoxShows(Press("确定"));
    EXPECT_EQ(prompts.MessageBox(nullptr, "t", "提示", MB_OKCANCEL), IDOK);
    WhenBoxShows(Press("是(&Y)"));
    EXPECT_EQ(prompts.MessageBox(nullptr, "t", "警告", MB_YESNO | MB_ICONWARNING), IDYES);
    WhenBoxShows(Press("否(&N)"));
    EXPECT_EQ(prompts.MessageBox(nullptr, "t", "警告", MB_YESNO), IDNO);
}

TEST(QtPromptsTest, EscapeAnswersTheSafeChoice) {
    CQtPrompts prompts;
    const auto escape = [](QMessageBox& box) { QTest::keyClick(&box, Qt::Key_Escape); };
    WhenBoxShows(escape);
    EXPECT_EQ(prompts.MessageBox(nullptr, "t", "提示", MB_OKCANCEL), IDCANCEL);
    WhenBoxShows(escape);
    EXPECT_EQ(prompts.MessageBox(nullptr, "t", "警告", MB_YESNO), IDNO);
    WhenBoxShows(escape);
    EXPECT_EQ(prompts.MessageBox(nullptr, "t", "成功", MB_OK), IDOK);
}

}  // namespace
