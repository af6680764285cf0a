// CGrabberPropertyPage: the grabber's property page (CLSID_GrabberPropertyPage). It shows the
// video standards the connected decoder takes in a drop-down list, selects the decoder's current
// standard when the page is activated, and puts the chosen one on the decoder
// (IAMAnalogVideoDecoder::put_TVFormat) on Apply. GUI thread only.
#pragma once

#include <QPointer>
#include <QWidget>

#include "platform/com/com_ptr.h"
#include "platform/media/interfaces/iam_analog_video_decoder.h"
#include "platform/ui/base_property_page.h"

namespace device_pages {

class CGrabberPropertyPage final : public CBasePropertyPage {
  public:
    // Creation function of the class factory: the new page, or null with *hr set to
    // E_OUTOFMEMORY.
    static CUnknown* CreateInstance(IUnknown* outer, HRESULT* hr);

  private:
    explicit CGrabberPropertyPage(IUnknown* outer);
    ~CGrabberPropertyPage() override;

    // IAMAnalogVideoDecoder of the object, or E_NOINTERFACE.
    HRESULT OnConnect(IUnknown* object) override;
    // E_UNEXPECTED when not connected.
    HRESULT OnDisconnect() override;
    // Takes the list of standards.
    void OnInitDialog() override;
    // Lists the decoder's standards (and its current one, should the decoder not name it among
    // them) and selects the current one; nothing is selected when the decoder cannot tell it.
    HRESULT OnActivate() override;
    // Puts the selected standard on the decoder and returns the decoder's answer, so a refused
    // standard keeps the page dirty. Nothing selected: nothing to write, S_OK.
    HRESULT OnApplyChanges() override;
    // The user picking a standard marks the page dirty.
    void OnCommand(int id, int code) override;

    // GUI thread only.
    ComPtr<IAMAnalogVideoDecoder> m_pDecoder;  // between connect and disconnect
    // The list of the page's window, taken at its initialisation; it goes with the window.
    QPointer<QWidget> m_hwndStandard;
};

}  // namespace device_pages
