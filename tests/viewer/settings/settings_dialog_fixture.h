// What the tests of the setting dialogs share: a private registry, scripted
// prompts, reads and writes of stored values, the Tab order, and screenshots.
#pragma once

#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QWidget>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/ui/dialog_items.h"

#include "platform/ui/scripted_prompts.h"
#include "tests/support/temp_dir.h"
#include "tests/viewer/settings/hive_size_limit.h"
#include "viewer/settings/settings_key.h"

namespace settings_dialog_test {

class SettingsDialogTest : public ::testing::Test {
  protected:
    ~SettingsDialogTest() override { CloseSettingsKey(); }

    static void Store(LPCWSTR name, const std::u16string& text) {
        ASSERT_TRUE(WriteSettingString(OpenSettingsKey(), name, text.c_str()));
    }
    static void Store(LPCWSTR name, DWORD value) {
        ASSERT_TRUE(WriteSettingDword(OpenSettingsKey(), name, value));
    }
    static std::u16string Text(LPCWSTR name) {
        WCHAR text[300] = {};
        ReadSettingString(OpenSettingsKey(), name, text, 300);
        return text;
    }
    static DWORD Number(LPCWSTR name) {
        DWORD value = 0xDEAD;
        ReadSettingDword(OpenSettingsKey(), name, &value);
        return value;
    }
    // The texts of the message boxes since the last call.
    QStringList Messages() {
        QStringList texts;
        for (const CScriptedPrompts::Record& box : prompts_.MessageBoxes())
            texts << box.caption + u':' + box.text;
        prompts_ = CScriptedPrompts();
        return texts;
    }
    // The ids of the controls Tab reaches, in the order it reaches them.
    static std::vector<int> TabOrder(const QWidget& dialog) {
        std::vector<int> ids;
        for (QWidget* w = dialog.nextInFocusChain(); w != &dialog; w = w->nextInFocusChain()) {
            if ((w->focusPolicy() & Qt::TabFocus) && w->parentWidget() == &dialog &&
                GetDlgCtrlID(w) != 0)
                ids.push_back(GetDlgCtrlID(w));
        }
        return ids;
    }
    // Saves the dialog's picture as `name`.png under $QUADREL_SCREENSHOT_DIR when that is set, and
    // checks that it is not blank.
    static void Screenshot(QWidget& dialog, const QString& name) {
        const QImage picture = dialog.grab().toImage();
        ASSERT_FALSE(picture.isNull());
        int differing = 0;
        for (int y = 0; y < picture.height(); y += 4)
            for (int x = 0; x < picture.width(); x += 4)
                differing += picture.pixel(x, y) != picture.pixel(0, 0) ? 1 : 0;
        EXPECT_GT(differing, 100) << "the dialog looks blank";
        if (const char* dir = std::getenv("QUADREL_SCREENSHOT_DIR")) {
            EXPECT_TRUE(picture.save(QDir(QString::fromLocal8Bit(dir)).filePath(name + ".png")));
        }
    }

    testing_support::TempRegistry registry_;
    CScriptedPrompts prompts_;
};

}  // namespace settings_dialog_test
