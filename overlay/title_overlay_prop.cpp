#include "overlay/title_overlay_prop.h"

#include <QLineEdit>
#include <new>
#include <vector>

#include "overlay/choose_font.h"
#include "overlay/decimal_text.h"
#include "overlay/resources/title_overlay_page_template.h"
#include "platform/ui/dialog_codes.h"
#include "platform/ui/dialog_items.h"
#include "platform/ui/dialog_lists.h"

namespace {

// Texts are formatted into, and numbers read from, at most this many characters (terminator
// included); the title edit is read into a buffer of kTitleChars.
constexpr int kFieldChars = 100;
constexpr int kTitleChars = 2000;

QString FieldText(const QWidget* control, int chars) {
    const auto* edit = qobject_cast<const QLineEdit*>(control);
    return edit != nullptr ? edit->text().left(chars - 1) : QString();
}

void SetFieldText(QWidget* control, const QString& text) {
    if (auto* edit = qobject_cast<QLineEdit*>(control)) edit->setText(text.left(kFieldChars - 1));
}

void SetFieldInt(QWidget* control, int value) {
    SetFieldText(control, QString::number(value));
}

int FieldInt(const QWidget* control) {
    return DecimalInt(FieldText(control, kFieldChars));
}

BYTE FieldByte(const QWidget* control) {
    return static_cast<BYTE>(FieldInt(control) & 0xFF);
}

}  // namespace

CUnknown* CTitleOverlayProp::CreateInstance(IUnknown* outer, HRESULT* hr) {
    try {
        auto* page = new (std::nothrow) CTitleOverlayProp(outer);
        if (page == nullptr && hr != nullptr) *hr = E_OUTOFMEMORY;
        return page;
    } catch (const std::bad_alloc&) {
        if (hr != nullptr) *hr = E_OUTOFMEMORY;
        return nullptr;
    }
}

CTitleOverlayProp::CTitleOverlayProp(IUnknown* outer)
    : CBasePropertyPage(outer, TitleOverlayPageTemplate(), TitleOverlayPageTitle()) {}

CTitleOverlayProp::~CTitleOverlayProp() = default;

HRESULT CTitleOverlayProp::OnConnect(IUnknown* object) {
    if (object == nullptr) return E_POINTER;
    ComPtr<IMergeOverlay> overlay;
    if (FAILED(object->QueryInterface(IID_IMergeOverlay, overlay.ReleaseAndGetVoidAddressOf())) ||
        !overlay) {
        return E_NOINTERFACE;
    }
    m_pOverlay = std::move(overlay);
    return S_OK;
}

HRESULT CTitleOverlayProp::OnDisconnect() {
    if (!m_pOverlay) return E_UNEXPECTED;
    m_pOverlay = nullptr;
    return S_OK;
}

void CTitleOverlayProp::OnInitDialog() {
    QWidget* page = PageWindow();
    m_hwndType = GetDlgItem(page, IDC_OVERLAY_TYPE);
    m_hwndTitle = GetDlgItem(page, IDC_TITLE);
    m_hwndStartX = GetDlgItem(page, IDC_START_X);
    m_hwndStartY = GetDlgItem(page, IDC_START_Y);
    m_hwndDurationStart = GetDlgItem(page, IDC_DURATION_START);
    m_hwndDurationEnd = GetDlgItem(page, IDC_DURATION_END);
    m_hwndRed = GetDlgItem(page, IDC_RED);
    m_hwndGreen = GetDlgItem(page, IDC_GREEN);
    m_hwndBlue = GetDlgItem(page, IDC_BLUE);
}

HRESULT CTitleOverlayProp::OnActivate() {
    if (!m_pOverlay) return E_UNEXPECTED;
    QWidget* page = PageWindow();

    ComboBoxResetContent(m_hwndType);
    ComboBoxSetItemData(m_hwndType, ComboBoxAddString(m_hwndType, QStringLiteral("None")), 0);
    ComboBoxSetItemData(m_hwndType, ComboBoxAddString(m_hwndType, QStringLiteral("Static")), 1);
    int type = 0;
    m_pOverlay->GetOverlayType(&type);
    int selected = 0;
    for (int i = 0; i < ComboBoxGetCount(m_hwndType); ++i) {
        if (ComboBoxGetItemData(m_hwndType, i) == type) {
            selected = i;
            break;
        }
    }
    ComboBoxSetCurSel(m_hwndType, selected);

    int byCover = 1;
    m_pOverlay->GetMergeMode(&byCover);
    CheckRadioButton(page, IDC_BY_COVER, IDC_BY_REVERSE,
                     byCover != 0 ? IDC_BY_COVER : IDC_BY_REVERSE);

    int bytes = 0;
    m_pOverlay->GetTitle(nullptr, &bytes);
    if (bytes >= 1) {
        std::vector<WCHAR> title(static_cast<std::size_t>(bytes) / 2 + 1, 0);
        if (SUCCEEDED(m_pOverlay->GetTitle(title.data(), &bytes))) {
            if (auto* edit = qobject_cast<QLineEdit*>(m_hwndTitle.data())) {
                edit->setText(QString::fromUtf16(title.data()));
            }
        }
    }

    POINT position{0, 0};
    m_pOverlay->GetTitlePosition(&position);
    SetFieldInt(m_hwndStartX, position.x);
    SetFieldInt(m_hwndStartY, position.y);

    double start = 0.0;
    double end = 0.0;
    m_pOverlay->GetTitleDuration(&start, &end);
    SetFieldText(m_hwndDurationStart, FixedTwoDecimals(start));
    SetFieldText(m_hwndDurationEnd, FixedTwoDecimals(end));

    BYTE red = 0;
    BYTE green = 0;
    BYTE blue = 0;
    m_pOverlay->GetTitleColor(&red, &green, &blue);
    m_rgbColor = RGB(red, green, blue);
    ShowColor(m_rgbColor);

    m_pOverlay->GetTitleFont(&m_lfFont);
    return S_OK;
}

HRESULT CTitleOverlayProp::OnApplyChanges() {
    if (!m_pOverlay) return E_UNEXPECTED;
    QWidget* page = PageWindow();

    const int selected = ComboBoxGetCurSel(m_hwndType);
    m_pOverlay->SetOverlayType(static_cast<int>(ComboBoxGetItemData(m_hwndType, selected)));
    m_pOverlay->SetMergeMode(IsDlgButtonChecked(page, IDC_BY_COVER) == BST_CHECKED ? 1 : 0);

    const QString title = FieldText(m_hwndTitle, kTitleChars);
    if (!title.isEmpty()) {
        m_pOverlay->SetTitle(reinterpret_cast<const WCHAR*>(title.utf16()),
                             static_cast<int>(2 * (title.size() + 1)));
    } else {
        m_pOverlay->SetTitle(u"", 0);
    }

    m_pOverlay->SetTitlePosition(FieldInt(m_hwndStartX), FieldInt(m_hwndStartY));
    m_pOverlay->SetTitleDuration(DecimalDouble(FieldText(m_hwndDurationStart, kFieldChars)),
                                 DecimalDouble(FieldText(m_hwndDurationEnd, kFieldChars)));
    m_pOverlay->SetTitleColor(FieldByte(m_hwndRed), FieldByte(m_hwndGreen), FieldByte(m_hwndBlue));
    if (m_bFontChanged != 0) m_pOverlay->SetTitleFont(m_lfFont);
    return S_OK;
}

void CTitleOverlayProp::OnCommand(int id, int code) {
    if (code == BN_CLICKED && id == IDC_CHANGE_FONT) ChangeFont();
    SetDirty();
}

void CTitleOverlayProp::ChangeFont() {
    m_rgbColor = ColorFromFields();
    CHOOSEFONTW request{};
    request.lStructSize = sizeof request;
    request.hwndOwner = PageWindow();
    request.lpLogFont = &m_lfFont;
    request.Flags = CF_SCREENFONTS | CF_INITTOLOGFONTSTRUCT | CF_EFFECTS;
    request.rgbColors = m_rgbColor;
    if (ChooseFontW(Prompts(), &request) == FALSE) return;
    m_rgbColor = request.rgbColors;
    m_bFontChanged = 1;
    ShowColor(m_rgbColor);
}

COLORREF CTitleOverlayProp::ColorFromFields() const {
    return RGB(FieldByte(m_hwndRed), FieldByte(m_hwndGreen), FieldByte(m_hwndBlue));
}

void CTitleOverlayProp::ShowColor(COLORREF color) {
    SetFieldInt(m_hwndRed, GetRValue(color));
    SetFieldInt(m_hwndGreen, GetGValue(color));
    SetFieldInt(m_hwndBlue, GetBValue(color));
}
