#include <gtest/gtest.h>

#include <QTabWidget>
#include <QtTest/QTest>
#include <string>
#include <vector>

#include "platform/com/class_factory.h"
#include "platform/com/runtime.h"
#include "platform/ui/base_property_page.h"
#include "platform/ui/dialog_builder.h"
#include "platform/ui/dialog_codes.h"
#include "platform/ui/dialog_items.h"
#include "platform/com/ispecify_property_pages.h"
#include "platform/ui/property_frame.h"
#include "platform/ui/scripted_prompts.h"

namespace {

// {2A18047D-6F1A-4DF6-8F6B-B040A2D55DCA}
constexpr CLSID kTestPageClsid = {
    0x2A18047D, 0x6F1A, 0x4DF6, {0x8F, 0x6B, 0xB0, 0x40, 0xA2, 0xD5, 0x5D, 0xCA}};
// A class nobody registered.
constexpr CLSID kMissingPageClsid = {0x1, 0x2, 0x3, {4, 5, 6, 7, 8, 9, 10, 11}};

constexpr int kNameEdit = 100;
constexpr int kAskButton = 101;

// What the page edits: one name.
struct ITestTarget : IUnknown {
    static constexpr IID kIid = {
        0x6F411BBF, 0x6EB2, 0x4AFC, {0x97, 0xBF, 0xB6, 0xEE, 0xCD, 0xB3, 0xA0, 0xD6}};
    virtual QString Name() = 0;
    virtual void SetName(const QString& name) = 0;

  protected:
    ~ITestTarget() = default;
};

// The object whose pages are shown; names its page class as a device filter would.
class CTestTarget final : public ITestTarget, public ISpecifyPropertyPages, public CUnknown {
  public:
    CTestTarget() : CUnknown(nullptr) {}
    DECLARE_IUNKNOWN
    HRESULT NonDelegatingQueryInterface(REFIID riid, void** ppv) override {
        if (riid == ITestTarget::kIid) return GetInterface(static_cast<ITestTarget*>(this), ppv);
        if (riid == IID_ISpecifyPropertyPages) {
            return GetInterface(static_cast<ISpecifyPropertyPages*>(this), ppv);
        }
        return CUnknown::NonDelegatingQueryInterface(riid, ppv);
    }
    QString Name() override { return name_; }
    void SetName(const QString& name) override { name_ = name; }
    HRESULT GetPages(CAUUID* pages) override {
        if (!pages) return E_POINTER;
        pages->cElems = 1;
        pages->pElems = static_cast<GUID*>(CoTaskMemAlloc(sizeof(GUID)));
        if (!pages->pElems) return E_OUTOFMEMORY;
        pages->pElems[0] = kTestPageClsid;
        return S_OK;
    }

  private:
    ~CTestTarget() override = default;
    QString name_ = "Channel 1!";
};

// The calls the page saw, in order; reset by each test.
std::vector<std::string>& PageLog() {
    static std::vector<std::string> log;
    return log;
}

constexpr ControlTemplate kPageControls[] = {
    {kNameEdit, ControlKind::kEdit, "", 10, 10, 120, 14, control_style::kBorder},
    {kAskButton, ControlKind::kPushButton, "Ask...", 10, 30, 60, 14},
};

constexpr DialogTemplate kPageDialog{.id = 101,
                                     .cx = 180,
                                     .cy = 60,
                                     .caption = nullptr,
                                     .style = dialog_style::kChild | dialog_style::kBorder,
                                     .fontFace = "MS Shell Dlg",
                                     .pointSize = 8,
                                     .units = DialogUnits::kFontAverage,
                                     .controls = kPageControls};

class CTestPage final : public CBasePropertyPage {
  public:
    explicit CTestPage(IUnknown* outer) : CBasePropertyPage(outer, kPageDialog, u"Name Page") {}

  private:
    ~CTestPage() override { PageLog().push_back("destroyed"); }

    HRESULT OnConnect(IUnknown* object) override {
        PageLog().push_back("connect");
        return object->QueryInterface(ITestTarget::kIid, target_.ReleaseAndGetVoidAddressOf());
    }
    HRESULT OnDisconnect() override {
        PageLog().push_back("disconnect");
        if (!target_) return E_UNEXPECTED;
        target_ = nullptr;
        return S_OK;
    }
    void OnInitDialog() override {
        PageLog().push_back(GetDlgItem(PageWindow(), kNameEdit) ? "init" : "init without controls");
    }
    HRESULT OnActivate() override {
        PageLog().push_back("activate");
        SetDlgItemText(PageWindow(), kNameEdit, target_->Name());
        return S_OK;
    }
    HRESULT OnDeactivate() override {
        PageLog().push_back("deactivate");
        return S_OK;
    }
    HRESULT OnApplyChanges() override {
        PageLog().push_back("apply");
        target_->SetName(GetDlgItemText(PageWindow(), kNameEdit));
        return S_OK;
    }
    void OnCommand(int id, int code) override {
        if (id == kAskButton && code == BN_CLICKED) {
            Prompts().MessageBox(PageWindow(), "Sure?", "提示", MB_OKCANCEL);
        }
        SetDirty();
    }

    ComPtr<ITestTarget> target_;
};

CUnknown* CreateTestPage(IUnknown* outer, HRESULT* hr) {
    *hr = S_OK;
    return new CTestPage(outer);
}

constexpr CFactoryTemplate kTemplates[] = {{u"Test Page", &kTestPageClsid, &CreateTestPage}};

HRESULT GetTestClassObject(REFCLSID clsid, REFIID riid, void** ppv) {
    return GetClassObjectFromTable(kTemplates, clsid, riid, ppv);
}

class PropertyFrameTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
        CoRegisterBuiltinClass(kTestPageClsid, &GetTestClassObject);
        PageLog().clear();
        baseline_ = com_module::ObjectCount();
        target_.Attach(new CTestTarget);
        target_->AddRef();
    }
    void TearDown() override {
        target_ = nullptr;
        EXPECT_EQ(com_module::ObjectCount(), baseline_);  // every page and site released
        CoUninitialize();
    }

    // Shows the target's pages as the Property button does: asks for the page list, shows the
    // frame, frees the list.
    HRESULT ShowPages(IPrompts& prompts) {
        ComPtr<ISpecifyPropertyPages> specify;
        HRESULT hr = target_.As(&specify);
        if (FAILED(hr)) return hr;
        CAUUID pages{};
        hr = specify->GetPages(&pages);
        if (FAILED(hr)) return hr;
        IUnknown* objects[] = {static_cast<ITestTarget*>(target_.Get())};
        hr = OleCreatePropertyFrame(prompts, nullptr, 30, 30, nullptr, 1, objects, pages.cElems,
                                    pages.pElems, 0);
        CoTaskMemFree(pages.pElems);
        return hr;
    }

    long baseline_ = 0;
    ComPtr<CTestTarget> target_;
};

TEST_F(PropertyFrameTest, EditApplyAndOkRoundTrip) {
    CScriptedPrompts prompts;
    prompts.PlayModal([](QDialog& dialog) {
        auto& frame = dynamic_cast<CPropertyFrame&>(dialog);
        EXPECT_EQ(frame.windowTitle(), QString("属性"));
        ASSERT_EQ(frame.PageCount(), 1);
        EXPECT_EQ(frame.Tabs()->tabText(0), QString("Name Page"));
        EXPECT_TRUE(frame.IsPageActive(0));
        QWidget* page = frame.PageParent(0)->findChild<QWidget*>();
        ASSERT_NE(page, nullptr);
        EXPECT_EQ(GetDlgItemText(page, kNameEdit), QString("Channel 1!"));
        // Activation filled the edit without making the page dirty.
        EXPECT_EQ(frame.Page(0)->IsPageDirty(), S_FALSE);
        EXPECT_FALSE(frame.IsApplyEnabled());

        QTest::keyClicks(GetDlgItem(page, kNameEdit), "2");
        EXPECT_EQ(frame.Page(0)->IsPageDirty(), S_OK);
        EXPECT_TRUE(frame.IsApplyEnabled());
        PageLog().push_back("user pressed Apply");
        ClickDlgButton(&frame, kIdApplyNow);
        EXPECT_EQ(frame.Page(0)->IsPageDirty(), S_FALSE);
        EXPECT_FALSE(frame.IsApplyEnabled());

        // A second change goes in with OK.
        QTest::keyClicks(GetDlgItem(page, kNameEdit), "3");
        PageLog().push_back("user pressed OK");
        ClickDlgButton(&frame, IDOK);
    });
    EXPECT_EQ(ShowPages(prompts), S_OK);
    EXPECT_EQ(target_->Name(), QString("Channel 1!23"));
    const std::vector<std::string> expected = {
        "connect",         "init",  "activate",   "user pressed Apply", "apply",
        "user pressed OK", "apply", "deactivate", "disconnect",         "destroyed"};
    EXPECT_EQ(PageLog(), expected);
}

TEST_F(PropertyFrameTest, CancelAppliesNothing) {
    CScriptedPrompts prompts;
    prompts.PlayModal([](QDialog& dialog) {
        auto& frame = dynamic_cast<CPropertyFrame&>(dialog);
        QWidget* page = frame.PageParent(0)->findChild<QWidget*>();
        QTest::keyClicks(GetDlgItem(page, kNameEdit), "x");
        ClickDlgButton(&frame, IDCANCEL);
    });
    EXPECT_EQ(ShowPages(prompts), S_OK);
    EXPECT_EQ(target_->Name(), QString("Channel 1!"));
    EXPECT_EQ(std::count(PageLog().begin(), PageLog().end(), "apply"), 0);
    EXPECT_EQ(PageLog().back(), "destroyed");
}

TEST_F(PropertyFrameTest, PagesAskThroughTheProgramsPrompts) {
    CScriptedPrompts prompts;
    prompts.AnswerMessageBox(IDCANCEL);
    prompts.PlayModal([](QDialog& dialog) {
        auto& frame = dynamic_cast<CPropertyFrame&>(dialog);
        QWidget* page = frame.PageParent(0)->findChild<QWidget*>();
        ClickDlgButton(page, kAskButton);
        // Pressing the button marks the page dirty even when the question was cancelled.
        EXPECT_TRUE(frame.IsApplyEnabled());
        ClickDlgButton(&frame, IDCANCEL);
    });
    EXPECT_EQ(ShowPages(prompts), S_OK);
    ASSERT_EQ(prompts.MessageBoxes().size(), 1u);
    EXPECT_EQ(prompts.MessageBoxes()[0].text, QString("Sure?"));
    EXPECT_EQ(prompts.UnscriptedCount(), 0);
}

TEST_F(PropertyFrameTest, CaptionPositionAndPagesThatCannotBeMade) {
    CScriptedPrompts prompts;
    QWidget owner;
    owner.move(100, 50);
    owner.show();
    QPoint at;
    prompts.PlayModal([&at](QDialog& dialog) {
        auto& frame = dynamic_cast<CPropertyFrame&>(dialog);
        EXPECT_EQ(frame.windowTitle(), QString("Grabber 属性"));
        EXPECT_EQ(frame.PageCount(), 1);  // the unregistered page is left out
        at = frame.pos();
    });
    IUnknown* objects[] = {static_cast<ITestTarget*>(target_.Get())};
    const CLSID pages[] = {kMissingPageClsid, kTestPageClsid};
    EXPECT_EQ(OleCreatePropertyFrame(prompts, &owner, 30, 30, u"Grabber", 1, objects, 2, pages, 0),
              S_OK);
    EXPECT_EQ(at, owner.mapToGlobal(QPoint(30, 30)));

    // Nothing to show: the failure comes back and no frame is run.
    EXPECT_EQ(OleCreatePropertyFrame(prompts, nullptr, 0, 0, nullptr, 1, objects, 1,
                                     &kMissingPageClsid, 0),
              REGDB_E_CLASSNOTREG);
    EXPECT_EQ(OleCreatePropertyFrame(prompts, nullptr, 0, 0, nullptr, 1, objects, 0, nullptr, 0),
              E_INVALIDARG);
    EXPECT_EQ(OleCreatePropertyFrame(prompts, nullptr, 0, 0, nullptr, 1, nullptr, 1, pages, 0),
              E_POINTER);
    EXPECT_EQ(prompts.Records().size(), 1u);
}

TEST_F(PropertyFrameTest, AnObjectThePageCannotUseIsRefused) {
    // A bare object without ITestTarget: the page's OnConnect fails, so no page is shown.
    CScriptedPrompts prompts;
    class CBare final : public CUnknown {
      public:
        CBare() : CUnknown(nullptr) {}
    };
    ComPtr<IUnknown> other;
    auto* raw = new CBare;
    raw->NonDelegatingQueryInterface(IID_IUnknown, other.ReleaseAndGetVoidAddressOf());
    IUnknown* objects[] = {other.Get()};
    EXPECT_EQ(
        OleCreatePropertyFrame(prompts, nullptr, 0, 0, nullptr, 1, objects, 1, &kTestPageClsid, 0),
        E_NOINTERFACE);
    EXPECT_TRUE(prompts.Records().empty());
}

// The page's own contract, driven directly as a frame would.
TEST_F(PropertyFrameTest, PageCallsOutOfOrderAreRefused) {
    ComPtr<IPropertyPage> page;
    ASSERT_EQ(CoCreateInstance(kTestPageClsid, nullptr, CLSCTX_INPROC_SERVER, &page), S_OK);
    const RECT rect{0, 0, 100, 50};
    EXPECT_EQ(page->Apply(), E_UNEXPECTED);  // no objects, no site
    EXPECT_EQ(page->Deactivate(), E_UNEXPECTED);
    EXPECT_EQ(page->Show(SW_SHOW), E_UNEXPECTED);
    EXPECT_EQ(page->SetPageSite(nullptr), E_UNEXPECTED);
    EXPECT_EQ(page->SetObjects(1, nullptr), E_POINTER);
    IUnknown* two[] = {static_cast<ITestTarget*>(target_.Get()),
                       static_cast<ITestTarget*>(target_.Get())};
    EXPECT_EQ(page->SetObjects(2, two), E_UNEXPECTED);
    EXPECT_EQ(page->Help(nullptr), E_NOTIMPL);
    EXPECT_EQ(page->TranslateAccelerator(nullptr), E_NOTIMPL);
    EXPECT_EQ(page->IsPageDirty(), S_FALSE);

    PROPPAGEINFO info{};
    ASSERT_EQ(page->GetPageInfo(&info), S_OK);
    EXPECT_EQ(std::u16string(info.pszTitle), u"Name Page");
    EXPECT_EQ(QSize(info.size.cx, info.size.cy), DialogSizeInPixels(kPageDialog));
    CoTaskMemFree(info.pszTitle);
    EXPECT_EQ(page->GetPageInfo(nullptr), E_POINTER);

    ASSERT_EQ(page->SetObjects(1, two), S_OK);
    QWidget parent;
    EXPECT_EQ(page->Activate(&parent, nullptr, TRUE), E_POINTER);
    ASSERT_EQ(page->Activate(&parent, &rect, TRUE), S_OK);
    EXPECT_EQ(page->Activate(&parent, &rect, TRUE), E_UNEXPECTED);
    QWidget* window = parent.findChild<QWidget*>();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->geometry(), QRect(0, 0, 100, 50));
    const RECT moved{5, 6, 55, 36};
    EXPECT_EQ(page->Move(&moved), S_OK);
    EXPECT_EQ(window->geometry(), QRect(5, 6, 50, 30));
    EXPECT_EQ(page->Show(3), E_INVALIDARG);
    EXPECT_EQ(page->Show(SW_HIDE), S_OK);
    EXPECT_TRUE(window->isHidden());
    EXPECT_EQ(page->Deactivate(), S_OK);
    EXPECT_EQ(parent.findChild<QWidget*>(), nullptr);  // the window is gone
    EXPECT_EQ(page->SetObjects(0, nullptr), S_OK);
    EXPECT_EQ(page->SetObjects(0, nullptr), E_UNEXPECTED);  // not connected any more
}

TEST_F(PropertyFrameTest, ReleasingAnActivePageDestroysItsWindow) {
    QWidget parent;
    {
        ComPtr<IPropertyPage> page;
        ASSERT_EQ(CoCreateInstance(kTestPageClsid, nullptr, CLSCTX_INPROC_SERVER, &page), S_OK);
        IUnknown* objects[] = {static_cast<ITestTarget*>(target_.Get())};
        ASSERT_EQ(page->SetObjects(1, objects), S_OK);
        const RECT rect{0, 0, 100, 50};
        ASSERT_EQ(page->Activate(&parent, &rect, TRUE), S_OK);
        ASSERT_NE(parent.findChild<QWidget*>(), nullptr);
        page->SetObjects(0, nullptr);
    }
    EXPECT_EQ(parent.findChild<QWidget*>(), nullptr);
}

}  // namespace
