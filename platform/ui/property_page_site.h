// The site a property frame gives each of its pages: passes the page's status changes to the
// frame, answers the frame's locale, and offers the program's prompts (IPromptSource).
#pragma once

#include "platform/com/com_ptr.h"
#include "platform/com/object_base.h"
#include "platform/ui/iprompt_source.h"
#include "platform/ui/iproperty_page_site.h"

class CPropertyFrame;

class CPropertyPageSite final : public IPropertyPageSite, public IPromptSource, public CUnknown {
  public:
    // `frame` must stay alive until Detach() is called; `prompts` must outlive the site's use.
    static ComPtr<CPropertyPageSite> Create(CPropertyFrame* frame, int pageIndex, LCID locale,
                                            IPrompts* prompts);

    DECLARE_IUNKNOWN
    HRESULT NonDelegatingQueryInterface(REFIID riid, void** ppv) override;

    HRESULT OnStatusChange(DWORD flags) override;
    HRESULT GetLocaleID(LCID* locale) override;
    HRESULT GetPageContainer(IUnknown** container) override;
    HRESULT TranslateAccelerator(MSG* message) override;

    HRESULT GetPrompts(IPrompts** prompts) override;

    // The frame is closing: later calls from a page that still holds the site reach nothing.
    void Detach();

  private:
    CPropertyPageSite(CPropertyFrame* frame, int pageIndex, LCID locale, IPrompts* prompts);
    ~CPropertyPageSite() override = default;

    CPropertyFrame* frame_;  // not owned; null after Detach
    int pageIndex_;
    LCID locale_;
    IPrompts* prompts_;  // not owned; null after Detach
};
