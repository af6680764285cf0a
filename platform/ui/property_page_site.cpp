#include "platform/ui/property_page_site.h"

#include "platform/ui/property_frame.h"

ComPtr<CPropertyPageSite> CPropertyPageSite::Create(CPropertyFrame* frame, int pageIndex,
                                                    LCID locale, IPrompts* prompts) {
    return ComPtr<CPropertyPageSite>::Retain(
        new CPropertyPageSite(frame, pageIndex, locale, prompts));
}

CPropertyPageSite::CPropertyPageSite(CPropertyFrame* frame, int pageIndex, LCID locale,
                                     IPrompts* prompts)
    : CUnknown(nullptr), frame_(frame), pageIndex_(pageIndex), locale_(locale), prompts_(prompts) {}

HRESULT CPropertyPageSite::NonDelegatingQueryInterface(REFIID riid, void** ppv) {
    if (!ppv) return E_POINTER;
    if (riid == IID_IPropertyPageSite) {
        return GetInterface(static_cast<IPropertyPageSite*>(this), ppv);
    }
    if (riid == IID_IPromptSource) return GetInterface(static_cast<IPromptSource*>(this), ppv);
    return CUnknown::NonDelegatingQueryInterface(riid, ppv);
}

HRESULT CPropertyPageSite::OnStatusChange(DWORD flags) {
    if (frame_) frame_->OnPageStatusChange(pageIndex_, flags);
    return S_OK;
}

HRESULT CPropertyPageSite::GetLocaleID(LCID* locale) {
    if (!locale) return E_POINTER;
    *locale = locale_;
    return S_OK;
}

HRESULT CPropertyPageSite::GetPageContainer(IUnknown** container) {
    if (container) *container = nullptr;
    return E_NOTIMPL;
}

HRESULT CPropertyPageSite::TranslateAccelerator(MSG* /*message*/) {
    return E_NOTIMPL;
}

HRESULT CPropertyPageSite::GetPrompts(IPrompts** prompts) {
    if (!prompts) return E_POINTER;
    *prompts = prompts_;
    return prompts_ ? S_OK : E_UNEXPECTED;
}

void CPropertyPageSite::Detach() {
    frame_ = nullptr;
    prompts_ = nullptr;
}
