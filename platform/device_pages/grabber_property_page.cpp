#include "platform/device_pages/grabber_property_page.h"

#include <new>
#include <vector>

#include "platform/device_pages/grabber_page_template.h"
#include "platform/device_pages/video_standard_names.h"
#include "platform/ui/dialog_codes.h"
#include "platform/ui/dialog_items.h"
#include "platform/ui/dialog_lists.h"

namespace device_pages {

CUnknown* CGrabberPropertyPage::CreateInstance(IUnknown* outer, HRESULT* hr) {
    try {
        auto* page = new (std::nothrow) CGrabberPropertyPage(outer);
        if (page == nullptr && hr != nullptr) *hr = E_OUTOFMEMORY;
        return page;
    } catch (const std::bad_alloc&) {
        if (hr != nullptr) *hr = E_OUTOFMEMORY;
        return nullptr;
    }
}

CGrabberPropertyPage::CGrabberPropertyPage(IUnknown* outer)
    : CBasePropertyPage(outer, GrabberPageTemplate(), GrabberPageTitle()) {}

CGrabberPropertyPage::~CGrabberPropertyPage() = default;

HRESULT CGrabberPropertyPage::OnConnect(IUnknown* object) {
    if (object == nullptr) return E_POINTER;
    ComPtr<IAMAnalogVideoDecoder> decoder;
    if (FAILED(object->QueryInterface(IID_IAMAnalogVideoDecoder,
                                      decoder.ReleaseAndGetVoidAddressOf())) ||
        !decoder) {
        return E_NOINTERFACE;
    }
    m_pDecoder = std::move(decoder);
    return S_OK;
}

HRESULT CGrabberPropertyPage::OnDisconnect() {
    if (!m_pDecoder) return E_UNEXPECTED;
    m_pDecoder = nullptr;
    return S_OK;
}

void CGrabberPropertyPage::OnInitDialog() {
    m_hwndStandard = GetDlgItem(PageWindow(), IDC_VIDEO_STANDARD);
}

HRESULT CGrabberPropertyPage::OnActivate() {
    if (!m_pDecoder) return E_UNEXPECTED;
    LONG available = 0;
    if (FAILED(m_pDecoder->get_AvailableTVFormats(&available))) available = 0;
    LONG current = 0;
    const bool known = SUCCEEDED(m_pDecoder->get_TVFormat(&current));
    if (known && VideoStandardName(current) != nullptr) available |= current;

    ComboBoxResetContent(m_hwndStandard);
    int selected = CB_ERR;
    for (const LONG standard : ListedVideoStandards(available)) {
        const int index =
            ComboBoxAddString(m_hwndStandard, QString::fromUtf8(VideoStandardName(standard)));
        ComboBoxSetItemData(m_hwndStandard, index, standard);
        if (known && standard == current) selected = index;
    }
    ComboBoxSetCurSel(m_hwndStandard, selected);
    return S_OK;
}

HRESULT CGrabberPropertyPage::OnApplyChanges() {
    if (!m_pDecoder) return E_UNEXPECTED;
    const int selected = ComboBoxGetCurSel(m_hwndStandard);
    if (selected == CB_ERR) return S_OK;
    return m_pDecoder->put_TVFormat(
        static_cast<LONG>(ComboBoxGetItemData(m_hwndStandard, selected)));
}

void CGrabberPropertyPage::OnCommand(int id, int code) {
    if (id == IDC_VIDEO_STANDARD && code == CBN_SELCHANGE) SetDirty();
}

}  // namespace device_pages
