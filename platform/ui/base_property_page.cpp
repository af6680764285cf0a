#include "platform/ui/base_property_page.h"

#include <cstring>

#include "platform/com/runtime.h"
#include "platform/ui/dialog_builder.h"
#include "platform/ui/dialog_codes.h"
#include "platform/ui/iprompt_source.h"
#include "platform/ui/qt_prompts.h"

CBasePropertyPage::CBasePropertyPage(IUnknown* outer, const DialogTemplate& dialog,
                                     std::u16string title)
    : CUnknown(outer), m_dialog(dialog), m_title(std::move(title)) {}

CBasePropertyPage::~CBasePropertyPage() {
    DestroyWindow();
}

HRESULT CBasePropertyPage::NonDelegatingQueryInterface(REFIID riid, void** ppv) {
    if (!ppv) return E_POINTER;
    if (riid == IID_IPropertyPage) return GetInterface(static_cast<IPropertyPage*>(this), ppv);
    return CUnknown::NonDelegatingQueryInterface(riid, ppv);
}

HRESULT CBasePropertyPage::SetPageSite(IPropertyPageSite* site) {
    if (site) {
        if (m_pPageSite) return E_UNEXPECTED;
        m_pPageSite = ComPtr<IPropertyPageSite>::Retain(site);
    } else {
        if (!m_pPageSite) return E_UNEXPECTED;
        m_pPageSite = nullptr;
    }
    return S_OK;
}

HRESULT CBasePropertyPage::Activate(QWidget* parent, const RECT* rect, BOOL /*modal*/) {
    if (!rect) return E_POINTER;
    if (m_hwnd) return E_UNEXPECTED;
    m_hwnd = CreateChildDialog(parent, m_dialog, [this](int id, int code) { OnCommand(id, code); });
    if (!m_hwnd) return E_OUTOFMEMORY;
    OnInitDialog();
    OnActivate();
    Move(rect);
    return Show(SW_SHOWNORMAL);
}

HRESULT CBasePropertyPage::Deactivate() {
    if (!m_hwnd) return E_UNEXPECTED;
    const HRESULT hr = OnDeactivate();
    if (FAILED(hr)) return hr;
    DestroyWindow();
    return S_OK;
}

HRESULT CBasePropertyPage::GetPageInfo(PROPPAGEINFO* info) {
    if (!info) return E_POINTER;
    const std::size_t bytes = (m_title.size() + 1) * sizeof(WCHAR);
    auto* title = static_cast<LPWSTR>(CoTaskMemAlloc(bytes));
    if (!title) return E_OUTOFMEMORY;
    std::memcpy(title, m_title.c_str(), bytes);
    const QSize size = DialogSizeInPixels(m_dialog);
    *info = PROPPAGEINFO{
        sizeof(PROPPAGEINFO), title, SIZE{size.width(), size.height()}, nullptr, nullptr, 0};
    return S_OK;
}

HRESULT CBasePropertyPage::SetObjects(ULONG count, IUnknown** objects) {
    if (count == 1) {
        if (!objects || !objects[0]) return E_POINTER;
        m_bObjectSet = true;
        return OnConnect(objects[0]);
    }
    if (count == 0) {
        m_bObjectSet = false;
        return OnDisconnect();
    }
    return E_UNEXPECTED;
}

HRESULT CBasePropertyPage::Show(UINT command) {
    if (!m_hwnd) return E_UNEXPECTED;
    if (command != SW_SHOW && command != SW_SHOWNORMAL && command != SW_HIDE) return E_INVALIDARG;
    m_hwnd->setVisible(command != SW_HIDE);
    return S_OK;
}

HRESULT CBasePropertyPage::Move(const RECT* rect) {
    if (!rect) return E_POINTER;
    if (!m_hwnd) return E_UNEXPECTED;
    m_hwnd->setGeometry(rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top);
    return S_OK;
}

HRESULT CBasePropertyPage::IsPageDirty() {
    return m_bDirty ? S_OK : S_FALSE;
}

HRESULT CBasePropertyPage::Apply() {
    if (!m_bObjectSet || !m_pPageSite) return E_UNEXPECTED;
    if (!m_bDirty) return S_OK;
    const HRESULT hr = OnApplyChanges();
    if (SUCCEEDED(hr)) m_bDirty = false;
    return hr;
}

HRESULT CBasePropertyPage::Help(LPCWSTR /*helpFolder*/) {
    return E_NOTIMPL;
}

HRESULT CBasePropertyPage::TranslateAccelerator(MSG* /*message*/) {
    return E_NOTIMPL;
}

HRESULT CBasePropertyPage::OnConnect(IUnknown* /*object*/) {
    return S_OK;
}

HRESULT CBasePropertyPage::OnDisconnect() {
    return S_OK;
}

void CBasePropertyPage::OnInitDialog() {}

HRESULT CBasePropertyPage::OnActivate() {
    return S_OK;
}

HRESULT CBasePropertyPage::OnDeactivate() {
    return S_OK;
}

HRESULT CBasePropertyPage::OnApplyChanges() {
    return S_OK;
}

void CBasePropertyPage::OnCommand(int /*id*/, int /*code*/) {}

void CBasePropertyPage::SetDirty() {
    m_bDirty = true;
    if (m_pPageSite) m_pPageSite->OnStatusChange(PROPPAGESTATUS_DIRTY);
}

IPrompts& CBasePropertyPage::Prompts() {
    if (m_pPageSite) {
        ComPtr<IPromptSource> source;
        IPrompts* prompts = nullptr;
        if (SUCCEEDED(m_pPageSite.As(&source)) && SUCCEEDED(source->GetPrompts(&prompts)) &&
            prompts) {
            return *prompts;
        }
    }
    if (!m_ownPrompts) m_ownPrompts = std::make_unique<CQtPrompts>();
    return *m_ownPrompts;
}

void CBasePropertyPage::DestroyWindow() {
    // Take the window from its parent and destroy it now; a window its parent destroyed already
    // has cleared the guarded pointer.
    std::unique_ptr<QWidget> window(m_hwnd.data());
    m_hwnd = nullptr;
}
