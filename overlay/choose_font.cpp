#include "overlay/choose_font.h"

#include <QColor>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFontDialog>
#include <QFormLayout>
#include <QVBoxLayout>
#include <cmath>

#include "overlay/qt_logfont.h"
#include "platform/ui/dialog_codes.h"
#include "platform/ui/prompts.h"

namespace {

struct NamedColor {
    const char* name;
    COLORREF color;
};

// The colours a font dialog offers for text.
constexpr NamedColor kColors[] = {
    {"Black", RGB(0, 0, 0)},       {"Maroon", RGB(128, 0, 0)},    {"Green", RGB(0, 128, 0)},
    {"Olive", RGB(128, 128, 0)},   {"Navy", RGB(0, 0, 128)},      {"Purple", RGB(128, 0, 128)},
    {"Teal", RGB(0, 128, 128)},    {"Gray", RGB(128, 128, 128)},  {"Silver", RGB(192, 192, 192)},
    {"Red", RGB(255, 0, 0)},       {"Lime", RGB(0, 255, 0)},      {"Yellow", RGB(255, 255, 0)},
    {"Blue", RGB(0, 0, 255)},      {"Fuchsia", RGB(255, 0, 255)}, {"Aqua", RGB(0, 255, 255)},
    {"White", RGB(255, 255, 255)},
};

QColor ToQColor(COLORREF color) {
    return QColor(GetRValue(color), GetGValue(color), GetBValue(color));
}

// The modal dialog: a QFontDialog without buttons of its own, a colour list, OK and Cancel.
// It ends with IDOK or IDCANCEL.
class CChooseFontDialog final : public QDialog {
  public:
    CChooseFontDialog(QWidget* owner, const CHOOSEFONTW& request) : QDialog(owner) {
        setWindowTitle(QString::fromLatin1(kChooseFontTitle));
        auto* layout = new QVBoxLayout(this);
        fonts_ = new QFontDialog(this);
        fonts_->setOptions(QFontDialog::NoButtons | QFontDialog::DontUseNativeDialog);
        fonts_->setWindowFlags(Qt::Widget);
        if ((request.Flags & CF_INITTOLOGFONTSTRUCT) != 0) {
            fonts_->setCurrentFont(QFontFromLogFont(*request.lpLogFont));
        }
        layout->addWidget(fonts_);
        if ((request.Flags & CF_EFFECTS) != 0) {
            colors_ = new QComboBox(this);
            colors_->setObjectName(QString::fromLatin1(kChooseFontColorName));
            for (const NamedColor& entry : kColors) {
                colors_->addItem(QString::fromLatin1(entry.name), QVariant::fromValue(entry.color));
            }
            int current = colors_->findData(QVariant::fromValue(request.rgbColors));
            if (current < 0) {  // a colour of the caller's own stays selectable
                colors_->addItem(QStringLiteral("Custom"), QVariant::fromValue(request.rgbColors));
                current = colors_->count() - 1;
            }
            for (int i = 0; i < colors_->count(); ++i) {
                colors_->setItemData(i, ToQColor(colors_->itemData(i).value<COLORREF>()),
                                     Qt::DecorationRole);
            }
            colors_->setCurrentIndex(current);
            auto* form = new QFormLayout();
            form->addRow(QStringLiteral("Color:"), colors_);
            layout->addLayout(form);
        }
        auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
        connect(buttons, &QDialogButtonBox::accepted, this, [this] { done(IDOK); });
        connect(buttons, &QDialogButtonBox::rejected, this, [this] { done(IDCANCEL); });
        layout->addWidget(buttons);
    }

    void reject() override { done(IDCANCEL); }

    QFont Font() const { return fonts_->currentFont(); }
    COLORREF Color(COLORREF fallback) const {
        return colors_ != nullptr ? colors_->currentData().value<COLORREF>() : fallback;
    }

  private:
    // Children of the dialog.
    QFontDialog* fonts_ = nullptr;
    QComboBox* colors_ = nullptr;
};

}  // namespace

BOOL ChooseFontW(IPrompts& prompts, CHOOSEFONTW* request) {
    if (request == nullptr || request->lStructSize != sizeof(CHOOSEFONTW) ||
        request->lpLogFont == nullptr) {
        return FALSE;
    }
    CChooseFontDialog dialog(request->hwndOwner, *request);
    if (prompts.RunModal(dialog) != IDOK) return FALSE;
    const QFont font = dialog.Font();
    *request->lpLogFont = LogFontFromQFont(font);
    const double points =
        font.pointSizeF() > 0 ? font.pointSizeF() : -request->lpLogFont->lfHeight * 72.0 / 96.0;
    request->iPointSize = static_cast<INT>(std::lround(points * 10));
    if ((request->Flags & CF_EFFECTS) != 0) request->rgbColors = dialog.Color(request->rgbColors);
    return TRUE;
}
