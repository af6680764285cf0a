// The grabber's property page on a real grabber filter of the simulated device (its clock
// stepped by the test), shown as the Property button shows it: the filter names the page, a
// property frame creates it, and scripted prompts play the user.
#include <gtest/gtest.h>

#include "tests/support/device_lookup.h"

#include <QComboBox>
#include <QTabWidget>
#include <chrono>
#include <memory>
#include <string_view>

#include "platform/com/ispecify_property_pages.h"
#include "platform/com/runtime.h"
#include "platform/device_pages/device_pages.h"
#include "platform/device_pages/grabber_page_template.h"
#include "platform/devices/analog_video_standard.h"
#include "platform/devices/grabber_identity.h"
#include "platform/devices/simulated_device.h"
#include "platform/media/interfaces/iam_analog_video_decoder.h"
#include "platform/media/interfaces/icreate_dev_enum.h"
#include "platform/media/interfaces/ienum_moniker.h"
#include "platform/media/interfaces/imoniker.h"
#include "platform/media/interfaces/iproperty_bag.h"
#include "platform/media/interfaces/media_clsids.h"
#include "platform/media/interfaces/variant.h"
#include "platform/media/runtime/media_runtime.h"
#include "platform/ui/dialog_codes.h"
#include "platform/ui/dialog_items.h"
#include "platform/ui/dialog_lists.h"
#include "platform/ui/iproperty_page.h"
#include "platform/ui/property_frame.h"
#include "platform/ui/scripted_prompts.h"

using testing_support::FindDeviceFilter;
using testing_support::FriendlyName;

namespace {

using namespace devices;
using device_pages::IDC_VIDEO_STANDARD;
using std::chrono::milliseconds;
using std::chrono::nanoseconds;

const VideoFormat kPal{720, 576, 25};
const VideoFormat kNtsc{720, 480, 30};

// The page's window inside the frame's first tab.
QWidget* PageWindow(CPropertyFrame& frame) {
    return frame.PageParent(0)->findChild<QWidget*>();
}

QComboBox* StandardList(CPropertyFrame& frame) {
    return qobject_cast<QComboBox*>(GetDlgItem(PageWindow(frame), IDC_VIDEO_STANDARD));
}

// The user picks the item named `name` from the list.
void Pick(QComboBox* list, const QString& name) {
    const int index = list->findText(name);
    ASSERT_GE(index, 0) << name.toStdString();
    list->setCurrentIndex(index);
    emit list->activated(index);
}

class GrabberPropertyPageTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
        RegisterMediaRuntime();
        RegisterDevicePages();
    }
    void TearDown() override {
        grabber_ = nullptr;
        device_.reset();
        CoUninitialize();
    }

    void Attach(std::string_view scenario) {
        Scenario parsed;
        std::string error;
        ASSERT_TRUE(ParseScenario(scenario, &parsed, &error)) << error;
        device_ = std::make_unique<SimulatedDevice>(parsed, clock_);
        grabber_ = FindDeviceFilter(kGrabberCategory, kGrabberName);
        ASSERT_TRUE(grabber_);
        ASSERT_EQ(grabber_.As(&decoder_), S_OK);
    }

    void StepTo(nanoseconds t) {
        clock_->Set(t);
        device_->Grabber().Update();
    }

    LONG Standard() {
        LONG standard = -1;
        EXPECT_EQ(decoder_->get_TVFormat(&standard), S_OK);
        return standard;
    }

    // Shows the pages the grabber names, as the Property button does, and checks that every
    // page made for the frame is gone afterwards.
    HRESULT ShowPages(IPrompts& prompts, IBaseFilter* object) {
        const long before = com_module::ObjectCount();
        ComPtr<ISpecifyPropertyPages> specify;
        HRESULT hr = grabber_.As(&specify);
        if (FAILED(hr)) return hr;
        CAUUID pages{};
        hr = specify->GetPages(&pages);
        if (FAILED(hr)) return hr;
        IUnknown* objects[] = {object};
        hr = OleCreatePropertyFrame(prompts, nullptr, 30, 30, nullptr, 1, objects, pages.cElems,
                                    pages.pElems, 0);
        CoTaskMemFree(pages.pElems);
        EXPECT_EQ(com_module::ObjectCount(), before);
        return hr;
    }
    HRESULT ShowPages(IPrompts& prompts) { return ShowPages(prompts, grabber_.Get()); }

    std::shared_ptr<ManualDeviceClock> clock_ = std::make_shared<ManualDeviceClock>();
    std::unique_ptr<SimulatedDevice> device_;
    ComPtr<IBaseFilter> grabber_;
    ComPtr<IAMAnalogVideoDecoder> decoder_;
};

TEST_F(GrabberPropertyPageTest, ActivationListsTheSupportedStandardsAndSelectsTheCurrentOne) {
    Attach("");
    ASSERT_EQ(decoder_->put_TVFormat(AnalogVideo_PAL_B), S_OK);
    CScriptedPrompts prompts;
    prompts.PlayModal([](QDialog& dialog) {
        auto& frame = dynamic_cast<CPropertyFrame&>(dialog);
        ASSERT_EQ(frame.PageCount(), 1);
        EXPECT_EQ(frame.Tabs()->tabText(0), QString("Video Decoder"));
        QComboBox* list = StandardList(frame);
        ASSERT_NE(list, nullptr);
        EXPECT_EQ(list->count(), 12);  // NTSC and PAL families; the decoder takes no SECAM
        EXPECT_EQ(list->itemText(0), QString("NTSC-M"));
        EXPECT_EQ(list->findText("SECAM-D"), -1);
        EXPECT_EQ(list->currentText(), QString("PAL-B"));
        EXPECT_EQ(ComboBoxGetItemData(list, list->currentIndex()), AnalogVideo_PAL_B);
        // Filling the list is not a change of the user's.
        EXPECT_EQ(frame.Page(0)->IsPageDirty(), S_FALSE);
        EXPECT_FALSE(frame.IsApplyEnabled());
        ClickDlgButton(&frame, IDOK);
    });
    EXPECT_EQ(ShowPages(prompts), S_OK);
    EXPECT_EQ(prompts.UnscriptedCount(), 0);
    // OK without a change writes nothing.
    EXPECT_EQ(Standard(), AnalogVideo_PAL_B);
}

TEST_F(GrabberPropertyPageTest, ChoosingNtscMarksDirtyAndApplyChangesStandardAndFrameFormat) {
    Attach("");
    StepTo(milliseconds(200));
    ASSERT_EQ(device_->Grabber().Status().format, kPal);
    CScriptedPrompts prompts;
    prompts.PlayModal([&](QDialog& dialog) {
        auto& frame = dynamic_cast<CPropertyFrame&>(dialog);
        QComboBox* list = StandardList(frame);
        ASSERT_NE(list, nullptr);
        EXPECT_EQ(list->currentText(), QString("PAL-D"));
        Pick(list, "NTSC-M");
        EXPECT_EQ(frame.Page(0)->IsPageDirty(), S_OK);
        EXPECT_TRUE(frame.IsApplyEnabled());
        // Not yet on the device.
        EXPECT_EQ(Standard(), AnalogVideo_PAL_D);

        ClickDlgButton(&frame, kIdApplyNow);
        EXPECT_EQ(frame.Page(0)->IsPageDirty(), S_FALSE);
        EXPECT_FALSE(frame.IsApplyEnabled());
        EXPECT_EQ(Standard(), AnalogVideo_NTSC_M);
        StepTo(milliseconds(400));
        EXPECT_EQ(device_->Grabber().Status().format, kNtsc);
        // Cancel after Apply keeps what was applied.
        ClickDlgButton(&frame, IDCANCEL);
    });
    EXPECT_EQ(ShowPages(prompts), S_OK);
    EXPECT_EQ(Standard(), AnalogVideo_NTSC_M);
    EXPECT_EQ(device_->Grabber().Status().format, kNtsc);
}

TEST_F(GrabberPropertyPageTest, OkAppliesTheChosenStandardAndTheNextShowingSelectsIt) {
    Attach("");
    CScriptedPrompts prompts;
    prompts.PlayModal([](QDialog& dialog) {
        auto& frame = dynamic_cast<CPropertyFrame&>(dialog);
        Pick(StandardList(frame), "PAL-M");
        ClickDlgButton(&frame, IDOK);
    });
    prompts.PlayModal([](QDialog& dialog) {
        auto& frame = dynamic_cast<CPropertyFrame&>(dialog);
        EXPECT_EQ(StandardList(frame)->currentText(), QString("PAL-M"));
        ClickDlgButton(&frame, IDCANCEL);
    });
    EXPECT_EQ(ShowPages(prompts), S_OK);
    EXPECT_EQ(Standard(), AnalogVideo_PAL_M);
    // PAL-M is a 525-line standard.
    EXPECT_EQ(device_->Grabber().Status().format, kNtsc);
    EXPECT_EQ(ShowPages(prompts), S_OK);
    EXPECT_EQ(prompts.UnscriptedCount(), 0);
}

TEST_F(GrabberPropertyPageTest, CancelChangesNothing) {
    Attach("");
    CScriptedPrompts prompts;
    prompts.PlayModal([](QDialog& dialog) {
        auto& frame = dynamic_cast<CPropertyFrame&>(dialog);
        Pick(StandardList(frame), "NTSC-M");
        EXPECT_TRUE(frame.IsApplyEnabled());
        ClickDlgButton(&frame, IDCANCEL);
    });
    EXPECT_EQ(ShowPages(prompts), S_OK);
    EXPECT_EQ(Standard(), AnalogVideo_PAL_D);
    StepTo(milliseconds(200));
    EXPECT_EQ(device_->Grabber().Status().format, kPal);
}

TEST_F(GrabberPropertyPageTest, RemovedDeviceShowsNoStandardAndARefusedApplyStaysDirty) {
    Attach("1s remove");
    StepTo(std::chrono::seconds(1));
    CScriptedPrompts prompts;
    prompts.PlayModal([](QDialog& dialog) {
        auto& frame = dynamic_cast<CPropertyFrame&>(dialog);
        QComboBox* list = StandardList(frame);
        EXPECT_EQ(list->count(), 12);
        EXPECT_EQ(ComboBoxGetCurSel(list), CB_ERR);
        Pick(list, "NTSC-M");
        ClickDlgButton(&frame, kIdApplyNow);
        // The device refused: the change is still pending.
        EXPECT_EQ(frame.Page(0)->IsPageDirty(), S_OK);
        EXPECT_TRUE(frame.IsApplyEnabled());
        ClickDlgButton(&frame, IDOK);
    });
    EXPECT_EQ(ShowPages(prompts), S_OK);
    EXPECT_EQ(device_->Grabber().Status().videoStandard, AnalogVideo_PAL_D);
}

TEST_F(GrabberPropertyPageTest, ObjectWithoutDecoderGetsNoPage) {
    Attach("");
    ComPtr<IBaseFilter> crossbar = FindDeviceFilter(kCrossbarCategory, kCrossbarName);
    ASSERT_TRUE(crossbar);
    CScriptedPrompts prompts;
    EXPECT_EQ(ShowPages(prompts, crossbar.Get()), E_NOINTERFACE);
    EXPECT_TRUE(prompts.Records().empty());  // no frame was shown
}

TEST_F(GrabberPropertyPageTest, RegisteringAgainKeepsThePageCreatable) {
    RegisterDevicePages();
    RegisterDevicePages();
    ComPtr<IPropertyPage> page;
    ASSERT_EQ(CoCreateInstance(CLSID_GrabberPropertyPage, nullptr, CLSCTX_INPROC_SERVER, &page),
              S_OK);
    PROPPAGEINFO info{};
    info.cb = sizeof info;
    ASSERT_EQ(page->GetPageInfo(&info), S_OK);
    EXPECT_EQ(std::u16string(info.pszTitle), u"Video Decoder");
    EXPECT_GT(info.size.cx, 0);
    CoTaskMemFree(info.pszTitle);
    CoTaskMemFree(info.pszDocString);
    CoTaskMemFree(info.pszHelpFile);
    // Without an object the page has nothing to apply to.
    EXPECT_EQ(page->Apply(), E_UNEXPECTED);
}

}  // namespace
