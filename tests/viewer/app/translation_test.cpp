// The English translation in use: with it installed the dialogs, message boxes, the information
// pop-up and the skin's captions read English, and a failure pieced together from several texts
// is English throughout; without it every text is the program's own Chinese.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QMessageBox>
#include <QPixmap>
#include <QPushButton>
#include <QRegularExpression>
#include <QTimer>
#include <functional>
#include <memory>

#include "platform/ui/dialog.h"
#include "platform/ui/dialog_codes.h"
#include "platform/ui/dialog_items.h"
#include "platform/ui/dialog_lists.h"
#include "platform/ui/dialog_template.h"
#include "platform/ui/qt_prompts.h"
#include "platform/ui/scripted_prompts.h"
#include "platform/ui/ui_text.h"
#include "tests/support/temp_dir.h"
#include "viewer/alerts/security_dialog.h"
#include "viewer/app/app_translation.h"
#include "viewer/main_window/about_dialog.h"
#include "viewer/main_window/login_dialog.h"
#include "viewer/main_window/skin_artwork.h"
#include "viewer/main_window/skin_captions.h"
#include "viewer/resources/resources.h"
#include "viewer/settings/channel_setting_dialog.h"
#include "viewer/settings/snap_schedule_dialog.h"
#include "viewer/settings/system_setting_dialog.h"
#include "viewer/widgets/message_popup.h"
#include "viewer/widgets/message_template.h"

namespace {

const LocaleEnvironment kEnglish{.lang = "en_US.UTF-8"};

bool HasChinese(const QString& text) {
    static const QRegularExpression cjk(QStringLiteral("[\\x{4e00}-\\x{9fff}]"));
    return text.contains(cjk);
}

// The title and every text a user reads on `dialog`'s controls, in the order they were made.
QStringList ShownTexts(const QDialog& dialog) {
    QStringList texts{dialog.windowTitle()};
    for (const QWidget* child : dialog.findChildren<QWidget*>()) {
        if (const auto* label = qobject_cast<const QLabel*>(child)) texts << label->text();
        if (const auto* button = qobject_cast<const QAbstractButton*>(child))
            texts << button->text();
        if (const auto* group = qobject_cast<const QGroupBox*>(child)) texts << group->title();
    }
    texts.removeAll(QString());
    return texts;
}

// The templates' own texts: the caption and each control's.
QStringList TemplateTexts(const DialogTemplate& dialog) {
    QStringList texts;
    if (dialog.caption) texts << QString::fromUtf8(dialog.caption);
    for (const ControlTemplate& control : dialog.controls)
        if (control.text && control.text[0]) texts << QString::fromUtf8(control.text);
    return texts;
}

const DialogTemplate* const kTemplates[] = {
    &LoginDialogTemplate(),        &AboutDialogTemplate(),          &SystemSettingDialogTemplate(),
    &SnapScheduleDialogTemplate(), &ChannelSettingDialogTemplate(), &SecurityDialogTemplate(),
    &MessageDialogTemplate(),
};

// The controls of `dialog` whose text does not fit: a one-line text wider than its control, a
// wrapped one taller, or a text that reaches over another control. Group boxes are frames, and
// only their titles are measured.
QStringList TextsThatDoNotFit(const QDialog& dialog) {
    QStringList problems;
    const QList<QWidget*> controls = dialog.findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    for (const QWidget* control : controls) {
        if (!control->isVisibleTo(&dialog)) continue;
        const QFontMetrics metrics(control->font());
        QString text;
        int needed = 0;  // the width the text takes from the control's left edge
        if (const auto* label = qobject_cast<const QLabel*>(control)) {
            text = label->text();
            if (text.isEmpty() || label->pixmap().cacheKey() != QPixmap().cacheKey()) continue;
            if (label->wordWrap()) {
                if (label->heightForWidth(label->width()) > label->height())
                    problems << QStringLiteral("%1: wraps below its control").arg(text);
                continue;
            }
            needed = metrics.horizontalAdvance(text);
            if (label->alignment() & (Qt::AlignRight | Qt::AlignHCenter)) needed = 0;
        } else if (const auto* push = qobject_cast<const QPushButton*>(control)) {
            text = push->text();
            if (metrics.horizontalAdvance(QString(text).remove(QLatin1Char('&'))) + 6 >
                push->width())
                problems << QStringLiteral("%1: wider than its button").arg(text);
            continue;
        } else if (const auto* button = qobject_cast<const QAbstractButton*>(control)) {
            text = button->text();
            needed = button->sizeHint().width();
        } else if (const auto* group = qobject_cast<const QGroupBox*>(control)) {
            if (metrics.horizontalAdvance(group->title()) + 16 > group->width())
                problems << QStringLiteral("%1: wider than its group box").arg(group->title());
            continue;
        } else {
            continue;
        }
        if (text.isEmpty()) continue;
        if (needed > control->width())
            problems << QStringLiteral("%1: %2 pixels in %3")
                            .arg(text)
                            .arg(needed)
                            .arg(control->width());
        const QRect used(control->x(), control->y(), needed, control->height());
        for (const QWidget* other : controls) {
            if (other == control || qobject_cast<const QGroupBox*>(other) ||
                !other->isVisibleTo(&dialog))
                continue;
            if (used.adjusted(0, 1, 0, -1).intersects(other->geometry()))
                problems << QStringLiteral("%1: %2 pixels reach over control %3 at %4")
                                .arg(text)
                                .arg(needed)
                                .arg(GetDlgCtrlID(other))
                                .arg(other->x() - control->x());
        }
    }
    return problems;
}

// Runs `act` on the message box once its modal loop runs, then closes a box left open.
void WhenBoxShows(std::function<void(QMessageBox&)> act) {
    QTimer::singleShot(0, [act] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) {
            ADD_FAILURE() << "no message box is running";
            return;
        }
        act(*box);
        if (box->isVisible()) box->reject();
    });
}

QStringList ButtonTexts(const QMessageBox& box) {
    QStringList texts;
    for (const QAbstractButton* button : box.buttons()) texts << button->text();
    return texts;
}

class TranslationTest : public testing::Test {
  protected:
    void SetUp() override { resources::Init(); }
    void English() {
        translation_ = std::make_unique<CAppTranslation>(kEnglish);
        ASSERT_EQ(translation_->Installed(), QStringLiteral("quadrel_en"));
    }

    testing_support::TempRegistry registry_;
    std::unique_ptr<CAppTranslation> translation_;
};

TEST_F(TranslationTest, OnlyAnEnglishLocaleInstallsTheTranslation) {
    EXPECT_EQ(TranslationFor(kEnglish), QStringLiteral("quadrel_en"));
    EXPECT_EQ(TranslationFor({.language = "de:en", .lang = "de_DE.UTF-8"}), "quadrel_en");
    for (const LocaleEnvironment& own :
         {LocaleEnvironment{.lang = "zh_CN.UTF-8"}, LocaleEnvironment{.lang = "C"},
          LocaleEnvironment{}, LocaleEnvironment{.lang = "de_DE.UTF-8"}}) {
        const CAppTranslation translation(own);
        EXPECT_TRUE(translation.Installed().isEmpty()) << own.lang.toStdString();
        EXPECT_EQ(ui_text::Message(QStringLiteral("错误")), QStringLiteral("错误"));
    }
    {
        const CAppTranslation translation(kEnglish);
        EXPECT_EQ(ui_text::Message(QStringLiteral("错误")), QStringLiteral("Error"));
    }
    // Removed with its owner.
    EXPECT_EQ(ui_text::Message(QStringLiteral("错误")), QStringLiteral("错误"));
}

TEST_F(TranslationTest, WithoutTheTranslationEveryDialogShowsItsOwnTexts) {
    for (const DialogTemplate* dialog : kTemplates) {
        CDialog shown(*dialog, nullptr);
        shown.Create();
        const QStringList texts = ShownTexts(shown);
        for (const QString& text : TemplateTexts(*dialog))
            EXPECT_TRUE(texts.contains(text))
                << "dialog " << dialog->id << ": " << text.toStdString();
    }
}

TEST_F(TranslationTest, InEnglishNoDialogKeepsAChineseText) {
    English();
    for (const DialogTemplate* dialog : kTemplates) {
        CDialog shown(*dialog, nullptr);
        shown.Create();
        const QStringList texts = ShownTexts(shown);
        EXPECT_FALSE(texts.isEmpty());
        for (const QString& text : texts)
            EXPECT_FALSE(HasChinese(text)) << "dialog " << dialog->id << ": " << text.toStdString();
    }
}

TEST_F(TranslationTest, EveryTextFitsItsControlInBothLanguages) {
    for (const bool english : {false, true}) {
        if (english) English();
        for (const DialogTemplate* dialog : kTemplates) {
            CDialog shown(*dialog, nullptr);
            shown.Create();
            EXPECT_EQ(TextsThatDoNotFit(shown).join(QStringLiteral("; ")).toStdString(), "")
                << (english ? "English" : "Chinese") << ", dialog " << dialog->id;
        }
    }
}

TEST_F(TranslationTest, TheLoginDialogInEnglish) {
    English();
    CScriptedPrompts prompts;
    CLoginDlg login(prompts, nullptr);
    login.Create();
    EXPECT_EQ(ShownTexts(login), (QStringList{"Dialog", "User:", "Password:", "OK", "Cancel"}));
    // A wrong name is reported in the program's own words; the message box translates them.
    SetDlgItemText(&login, IDC_LOGIN_USER, QStringLiteral("nobody"));
    login.accept();
    ASSERT_EQ(prompts.Records().size(), 1u);
    EXPECT_EQ(ui_text::Message(prompts.Records()[0].text), QStringLiteral("Invalid user name!"));
    EXPECT_EQ(ui_text::Message(prompts.Records()[0].caption), QStringLiteral("Error"));
}

TEST_F(TranslationTest, ListItemsInEnglish) {
    English();
    CScriptedPrompts prompts;
    CSystemSettingDlg system(prompts, nullptr);
    system.Create();
    const QWidget* quality = system.GetDlgItem(IDC_SYS_QUALITY);
    ASSERT_EQ(ComboBoxGetCount(quality), 3);
    EXPECT_EQ(ComboBoxGetItemText(quality, 0), QStringLiteral("High"));
    EXPECT_EQ(ComboBoxGetItemText(quality, 1), QStringLiteral("Medium"));
    EXPECT_EQ(ComboBoxGetItemText(quality, 2), QStringLiteral("Low"));
}

TEST_F(TranslationTest, MessageBoxesInEnglishAndChinese) {
    CQtPrompts prompts;
    WhenBoxShows([](QMessageBox& box) {
        EXPECT_EQ(box.windowTitle(), QStringLiteral("错误"));
        EXPECT_EQ(box.text(), QStringLiteral("输入密码错误!"));
        EXPECT_EQ(ButtonTexts(box), QStringList{"确定"});
        box.buttons().front()->click();
    });
    EXPECT_EQ(prompts.MessageBox(nullptr, "输入密码错误!", "错误", MB_OK), IDOK);

    English();
    WhenBoxShows([](QMessageBox& box) {
        EXPECT_EQ(box.windowTitle(), QStringLiteral("Error"));
        EXPECT_EQ(box.text(), QStringLiteral("Wrong password!"));
        EXPECT_EQ(ButtonTexts(box), QStringList{"OK"});
        box.buttons().front()->click();
    });
    EXPECT_EQ(prompts.MessageBox(nullptr, "输入密码错误!", "错误", MB_OK), IDOK);
    WhenBoxShows([](QMessageBox& box) {
        EXPECT_EQ(box.windowTitle(), QStringLiteral("Warning"));
        EXPECT_EQ(ButtonTexts(box), (QStringList{"&Yes", "&No"}));
        box.buttons().back()->click();
    });
    EXPECT_EQ(prompts.MessageBox(nullptr, "t", "警告", MB_YESNO), IDNO);
    WhenBoxShows([](QMessageBox& box) {
        EXPECT_EQ(box.windowTitle(), QStringLiteral("Note"));
        EXPECT_EQ(ButtonTexts(box), (QStringList{"OK", "Cancel"}));
        box.buttons().front()->click();
    });
    EXPECT_EQ(prompts.MessageBox(nullptr, "t", "提示", MB_OKCANCEL), IDOK);
    // A text without a translation shows as it is.
    WhenBoxShows([](QMessageBox& box) {
        EXPECT_EQ(box.text(), QStringLiteral("没有翻译的文字"));
        box.buttons().front()->click();
    });
    prompts.MessageBox(nullptr, "没有翻译的文字", "提示", MB_OK);
}

TEST_F(TranslationTest, TheInformationPopUpInEnglish) {
    English();
    CMessage popup(nullptr);
    popup.SetText(QStringLiteral("警报,设备被移除!!"));
    popup.Create();
    EXPECT_EQ(popup.windowTitle(), QStringLiteral("Information"));
    EXPECT_TRUE(ShownTexts(popup).contains(QStringLiteral("Alarm: the device was removed!!")));
    EXPECT_EQ(popup.Text(), QStringLiteral("警报,设备被移除!!"));  // it keeps the program's text
}

TEST_F(TranslationTest, SkinCaptionsArePaintedOverOnlyInEnglish) {
    const QImage skin = resources::Bitmap(IDB_SKIN);
    ASSERT_FALSE(skin.isNull());
    EXPECT_EQ(SkinWithTranslatedCaptions(skin), skin);  // the artwork untouched

    English();
    const QImage english = SkinWithTranslatedCaptions(skin).convertToFormat(QImage::Format_RGB32);
    const QImage own = skin.convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(english.size(), own.size());
    QRegion captions;
    for (const SkinCaption& caption : SkinCaptions()) {
        captions += caption.rect;
        bool changed = false;
        for (int y = caption.rect.top(); y <= caption.rect.bottom() && !changed; ++y)
            for (int x = caption.rect.left(); x <= caption.rect.right() && !changed; ++x)
                changed = english.pixel(x, y) != own.pixel(x, y);
        EXPECT_TRUE(changed) << caption.text;
    }
    int outside = 0;
    for (int y = 0; y < own.height(); ++y)
        for (int x = 0; x < own.width(); ++x)
            if (!captions.contains(QPoint(x, y)) && english.pixel(x, y) != own.pixel(x, y))
                ++outside;
    EXPECT_EQ(outside, 0);
}

}  // namespace
