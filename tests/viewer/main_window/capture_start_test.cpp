// Starting the capture when the graph cannot run: the failed graph is torn down, and the next
// start builds a new one.
#include <new>

#include "platform/media/base/trans_in_place_filter.h"
#include "platform/media/graph/device_registry.h"
#include "platform/media/interfaces/media_clsids.h"
#include "platform/media/interfaces/media_errors.h"
#include "platform/media/interfaces/media_guids.h"
#include "platform/media/interfaces/media_type.h"
#include "tests/viewer/main_window/main_window_fixture.h"

namespace main_window_test {
namespace {

// Stands in for the audio tee: passes the sound through but refuses to start streaming, so the
// graph connects and then fails to run.
class StreamlessTee final : public CTransInPlaceFilter {
  public:
    static HRESULT Create(IBaseFilter** filter) {
        HRESULT hr = S_OK;
        auto* tee = new (std::nothrow) StreamlessTee(&hr);
        if (!tee) return E_OUTOFMEMORY;
        tee->NonDelegatingAddRef();
        if (SUCCEEDED(hr))
            hr = tee->NonDelegatingQueryInterface(IBaseFilter::kIid,
                                                  reinterpret_cast<void**>(filter));
        tee->NonDelegatingRelease();
        return hr;
    }
    HRESULT CheckInputType(const CMediaType* type) override {
        return *type->Type() == MEDIATYPE_Audio ? S_OK : VFW_E_TYPE_NOT_ACCEPTED;
    }
    HRESULT Transform(IMediaSample* /*sample*/) override { return S_OK; }
    HRESULT StartStreaming() override { return E_FAIL; }

  private:
    explicit StreamlessTee(HRESULT* hr)
        : CTransInPlaceFilter("StreamlessTee", nullptr, GUID_NULL, hr, false) {}
};

// The streamless tee listed as the audio tee while it lives; devices listed at run time come
// before the built-in tee of the same name.
class ScopedStreamlessTee {
  public:
    ScopedStreamlessTee()
        : entry_(DeviceRegistry::Instance().Add(CLSID_LegacyAmFilterCategory, kAudioTeeName,
                                                StreamlessTee::Create)) {}
    ~ScopedStreamlessTee() { Remove(); }
    ScopedStreamlessTee(const ScopedStreamlessTee&) = delete;
    ScopedStreamlessTee& operator=(const ScopedStreamlessTee&) = delete;
    void Remove() {
        if (listed_) DeviceRegistry::Instance().Remove(entry_);
        listed_ = false;
    }

  private:
    DeviceRegistry::DeviceId entry_;
    bool listed_ = true;
};

TEST_F(MainWindowTest, CaptureThatCannotRunIsTornDownAndTheNextStartRetries) {
    Attach("");
    ScopedStreamlessTee tee;
    Open();
    EXPECT_EQ(window_->Capture().Graph(), nullptr);
    EXPECT_EQ(CurrentCaptureGraph(), nullptr);
    EXPECT_FALSE(Latched(IDC_SHOW_STAMP));
    EXPECT_FALSE(Running(ID_TIMER_STAMP));
    // While it keeps failing, every start tries again and reports it.
    EXPECT_EQ(window_->Capture().StartCapture(), 2);
    EXPECT_EQ(CurrentCaptureGraph(), nullptr);

    tee.Remove();
    EXPECT_EQ(window_->Capture().StartCapture(), 0);
    ASSERT_NE(window_->Capture().Graph(), nullptr);
    EXPECT_EQ(window_->Capture().Graph(), CurrentCaptureGraph());
    EXPECT_TRUE(Running(ID_TIMER_STAMP));
    EXPECT_TRUE(Latched(IDC_SHOW_STAMP));
    EXPECT_TRUE(Latched(IDC_ON));
    for (const ComPtr<IBaseFilter>& renderer : window_->Capture().Graph()->renderers)
        EXPECT_TRUE(renderer);
    EXPECT_TRUE(prompts_.Records().empty());
}

TEST_F(MainWindowTest, UnLockRetriesACaptureThatFailedToRunAtStartUp) {
    Attach("");
    ScopedStreamlessTee tee;
    Open();
    ASSERT_EQ(window_->Capture().Graph(), nullptr);
    // The login's start fails the same way and says so.
    PlayFirstLogin();
    prompts_.AnswerMessageBox(IDOK);
    Click(IDC_UNLOCK);
    ASSERT_EQ(prompts_.MessageBoxes().size(), 2u);
    EXPECT_EQ(prompts_.MessageBoxes()[1].text, QStringLiteral("应用程序加载失败!"));
    EXPECT_EQ(window_->Capture().Graph(), nullptr);

    tee.Remove();
    Click(IDC_LOCKED);
    PlayLogin(QStringLiteral("Admin"), QString());
    Click(IDC_UNLOCK);
    EXPECT_NE(window_->Capture().Graph(), nullptr);
    EXPECT_EQ(prompts_.MessageBoxes().size(), 2u);
    EXPECT_EQ(prompts_.UnscriptedCount(), 0);
}

}  // namespace
}  // namespace main_window_test
