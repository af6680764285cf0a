// CBasePropertyPage: the base of property pages. It implements IPropertyPage over CUnknown, makes
// the page's window from a control table when the frame activates it, keeps the dirty flag, and
// calls the hooks below at the documented points. GUI thread only.
//
// Calls from the frame and what they do:
//   SetPageSite(site)   keeps a reference to the site; null gives it back. E_UNEXPECTED for a
//                       second site, or for null without one.
//   SetObjects(1, objs) calls OnConnect(objs[0]); E_POINTER for a null array or object.
//   SetObjects(0, _)    calls OnDisconnect(). More than one object: E_UNEXPECTED.
//   Activate(parent, rect, modal)
//                       makes the window inside `parent`, calls OnInitDialog (the controls
//                       exist), then OnActivate, moves it to `rect` and shows it. E_POINTER for a
//                       null rect, E_UNEXPECTED when already active.
//   Deactivate()        calls OnDeactivate; when that fails, returns its result and keeps the
//                       window; else destroys the window. E_UNEXPECTED when not active.
//   Apply()             E_UNEXPECTED without objects or without a site; S_OK when not dirty;
//                       else calls OnApplyChanges and clears the dirty flag when it succeeds.
//   IsPageDirty()       S_OK when dirty, else S_FALSE.
//   GetPageInfo(info)   the title and the template's size in pixels; the title is a
//                       CoTaskMemAlloc'ed copy the caller frees.
//   Show, Move          act on the window; E_UNEXPECTED when not active.
//   Help, TranslateAccelerator   E_NOTIMPL.
//
// Hooks, all optional for the base; a page overrides what it needs:
//   OnConnect(object)   default S_OK. A page queries its object's interface here; its failure
//                       code is returned from SetObjects.
//   OnDisconnect()      default S_OK. Releases what OnConnect took.
//   OnInitDialog()      default nothing. The controls exist; a page may keep pointers to them.
//   OnActivate()        default S_OK. Fills the controls from the object.
//   OnDeactivate()      default S_OK. A failure keeps the page active.
//   OnApplyChanges()    default S_OK. Writes the controls to the object.
//   OnCommand(id, code) default nothing. A control's notification (dialog_builder.h): the place
//                       to call SetDirty when the user changed something.
#pragma once

#include <QPointer>
#include <QWidget>
#include <memory>
#include <string>

#include "platform/com/com_ptr.h"
#include "platform/com/object_base.h"
#include "platform/ui/dialog_template.h"
#include "platform/ui/iproperty_page.h"

class IPrompts;
class CQtPrompts;

class CBasePropertyPage : public IPropertyPage, public CUnknown {
  public:
    // `dialog` is static data; `title` is the page's tab title.
    CBasePropertyPage(IUnknown* outer, const DialogTemplate& dialog, std::u16string title);

    DECLARE_IUNKNOWN
    HRESULT NonDelegatingQueryInterface(REFIID riid, void** ppv) override;

    HRESULT SetPageSite(IPropertyPageSite* site) override;
    HRESULT Activate(QWidget* parent, const RECT* rect, BOOL modal) override;
    HRESULT Deactivate() override;
    HRESULT GetPageInfo(PROPPAGEINFO* info) override;
    HRESULT SetObjects(ULONG count, IUnknown** objects) override;
    HRESULT Show(UINT command) override;
    HRESULT Move(const RECT* rect) override;
    HRESULT IsPageDirty() override;
    HRESULT Apply() override;
    HRESULT Help(LPCWSTR helpFolder) override;
    HRESULT TranslateAccelerator(MSG* message) override;

  protected:
    ~CBasePropertyPage() override;

    virtual HRESULT OnConnect(IUnknown* object);
    virtual HRESULT OnDisconnect();
    virtual void OnInitDialog();
    virtual HRESULT OnActivate();
    virtual HRESULT OnDeactivate();
    virtual HRESULT OnApplyChanges();
    virtual void OnCommand(int id, int code);

    // Marks the page dirty and tells the site (PROPPAGESTATUS_DIRTY).
    void SetDirty();
    bool IsDirty() const { return m_bDirty; }

    // The page's window while active, else null. Its controls are found with GetDlgItem.
    QWidget* PageWindow() const { return m_hwnd.data(); }
    // The program's prompts when the site offers them (IPromptSource), else real ones.
    IPrompts& Prompts();

  private:
    void DestroyWindow();

    const DialogTemplate& m_dialog;
    std::u16string m_title;
    bool m_bDirty = false;
    bool m_bObjectSet = false;
    ComPtr<IPropertyPageSite> m_pPageSite;
    // The page's window; owned by its parent widget (a frame may destroy it first, which the
    // guarded pointer notices) and destroyed by Deactivate.
    QPointer<QWidget> m_hwnd;
    std::unique_ptr<CQtPrompts> m_ownPrompts;  // made when no site offers prompts
};
