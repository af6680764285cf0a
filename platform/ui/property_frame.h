// The property frame: a modal dialog that shows the property pages of a set of objects in tabs,
// with OK, Cancel and Apply, and OleCreatePropertyFrame, which makes and runs one.
//
// Page life in a frame: created by CoCreateInstance, SetPageSite, SetObjects(objects),
// GetPageInfo; Activate when its tab is first shown (it then stays active until the frame
// closes); Apply on Apply or OK while it reports dirty; at close Deactivate (active pages),
// SetObjects(0, null), SetPageSite(null), Release. The Apply button is enabled while a page is
// dirty. The frame's buttons carry the ids IDOK, IDCANCEL and kIdApplyNow, so a test's modal step
// presses them with ClickDlgButton.
#pragma once

#include <QDialog>
#include <QSize>
#include <vector>

#include "platform/com/com_ptr.h"
#include "platform/ui/iproperty_page.h"
#include "platform/ui/property_page_site.h"

class IPrompts;
class QPushButton;
class QTabWidget;

inline constexpr int kIdApplyNow = 0x3021;

class CPropertyFrame : public QDialog {
    Q_OBJECT

  public:
    // `prompts` must outlive the frame; the pages reach it through their sites.
    CPropertyFrame(QWidget* owner, const QString& title, LCID locale, IPrompts& prompts);
    ~CPropertyFrame() override;

    // Creates the pages and connects each to the objects; a page that cannot be created or
    // connected is left out. S_OK when at least one page is ready, else the last failure
    // (E_INVALIDARG when no page class was given).
    HRESULT AddPages(ULONG objectCount, IUnknown** objects, ULONG pageCount,
                     const CLSID* pageClasses);

    int PageCount() const { return static_cast<int>(pages_.size()); }
    IPropertyPage* Page(int index) const;
    // The widget of the page's tab, inside which the page makes its window.
    QWidget* PageParent(int index) const;
    bool IsPageActive(int index) const;
    QTabWidget* Tabs() const { return tabs_; }
    bool IsApplyEnabled() const;

    // Applies every dirty page.
    void ApplyChanges();
    // Deactivates, disconnects and releases the pages; later calls do nothing.
    void Close();

    // OK: applies, then ends with IDOK. Cancel (also Escape and the close box): ends with IDCANCEL.
    void accept() override;
    void reject() override;

    // From a page's site.
    void OnPageStatusChange(int pageIndex, DWORD flags);

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    struct PageEntry {
        ComPtr<IPropertyPage> page;
        ComPtr<CPropertyPageSite> site;
        QWidget* parent = nullptr;  // the tab's widget, owned by the tab widget
        QSize size;
        bool active = false;
    };

    void ActivatePage(int index);
    void UpdateApply();

    IPrompts& prompts_;
    LCID locale_;
    std::vector<PageEntry> pages_;
    // Children of the frame (Qt parent ownership).
    QTabWidget* tabs_;
    QPushButton* apply_;
};

// Shows the property pages `pageClasses` of `objects` in a modal frame at (x, y) of `owner`'s
// client area (of the screen when owner is null), titled "<caption> 属性" ("属性" without a
// caption), and returns when the user closes it: S_OK whatever the user chose. Fails without
// showing anything when no page could be created and connected (see AddPages), and with E_POINTER
// for a null array with a non-zero count. The frame runs through `prompts`.
HRESULT OleCreatePropertyFrame(IPrompts& prompts, QWidget* owner, UINT x, UINT y, LPCWSTR caption,
                               ULONG objectCount, IUnknown** objects, ULONG pageCount,
                               const CLSID* pageClasses, LCID locale);
