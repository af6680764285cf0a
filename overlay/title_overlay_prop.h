// CTitleOverlayProp: the "Merge Overlay Property Page". It shows the settings of one "Merge
// Overlay" filter, read through IMergeOverlay when the page is activated, lets the user edit them
// in dialog 101, and writes them back through IMergeOverlay on Apply. Change Font runs the font
// dialog through the frame's prompts. GUI thread only.
#pragma once

#include <QPointer>
#include <QWidget>

#include "overlay/interface/imerge_overlay.h"
#include "platform/com/com_ptr.h"
#include "platform/text/colorref.h"
#include "platform/ui/base_property_page.h"

class CTitleOverlayProp final : public CBasePropertyPage {
  public:
    // Creation function of the class factory: the new page, or null with *hr set to
    // E_OUTOFMEMORY.
    static CUnknown* CreateInstance(IUnknown* outer, HRESULT* hr);

  private:
    explicit CTitleOverlayProp(IUnknown* outer);
    ~CTitleOverlayProp() override;

    // IMergeOverlay of the object, or E_NOINTERFACE.
    HRESULT OnConnect(IUnknown* object) override;
    // E_UNEXPECTED when not connected.
    HRESULT OnDisconnect() override;
    // Takes the nine controls the page reads and writes.
    void OnInitDialog() override;
    // Fills the controls from the filter.
    HRESULT OnActivate() override;
    // Writes the controls to the filter; the filter's results are not checked.
    HRESULT OnApplyChanges() override;
    // Every notification marks the page dirty; a click on "Change Font..." runs the font dialog.
    void OnCommand(int id, int code) override;

    // Shows the font dialog with the font and the colour of the colour fields; a confirmed
    // choice is kept for Apply and its colour shown in the colour fields.
    void ChangeFont();
    // The colour of the three colour fields, each reduced to its low 8 bits.
    COLORREF ColorFromFields() const;
    void ShowColor(COLORREF color);

    // GUI thread only.
    ComPtr<IMergeOverlay> m_pOverlay;  // between connect and disconnect
    // Controls of the page's window, taken at its initialisation; they go with the window.
    QPointer<QWidget> m_hwndType;
    QPointer<QWidget> m_hwndTitle;
    QPointer<QWidget> m_hwndStartX;
    QPointer<QWidget> m_hwndStartY;
    QPointer<QWidget> m_hwndDurationStart;
    QPointer<QWidget> m_hwndDurationEnd;
    QPointer<QWidget> m_hwndRed;
    QPointer<QWidget> m_hwndGreen;
    QPointer<QWidget> m_hwndBlue;
    COLORREF m_rgbColor = 0;
    LOGFONTW m_lfFont{};
    BOOL m_bFontChanged = 0;
};
