// The filter's property page, created from the registered library by a property frame and played
// through scripted prompts, on the real filter and on an object that records what the page sets.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontDialog>
#include <QFontMetrics>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QtTest/QTest>
#include <functional>
#include <string>
#include <vector>

#include "overlay/interface/imerge_overlay.h"
#include "platform/com/ispecify_property_pages.h"
#include "platform/com/object_base.h"
#include "platform/com/runtime.h"
#include "platform/ui/dialog_codes.h"
#include "platform/ui/dialog_items.h"
#include "platform/ui/dialog_lists.h"
#include "platform/ui/property_frame.h"
#include "platform/ui/scripted_prompts.h"
#include "tests/overlay/vexlay_library.h"
#include "tests/support/temp_dir.h"

namespace {

// Control ids of the page (dialog 101).
constexpr int kType = 1000;
constexpr int kByCover = 1001;
constexpr int kByReverse = 1002;
constexpr int kTitle = 1003;
constexpr int kStartX = 1004;
constexpr int kStartY = 1005;
constexpr int kRed = 1006;
constexpr int kGreen = 1007;
constexpr int kBlue = 1008;
constexpr int kChangeFont = 1009;
constexpr int kDurationStart = 1010;
constexpr int kDurationEnd = 1011;
constexpr int kEdits[] = {kTitle, kStartX, kStartY,        kRed,
                          kGreen, kBlue,   kDurationStart, kDurationEnd};

// An IMergeOverlay that answers with chosen values and records every setter call.
class CRecordingOverlay final : public IMergeOverlay, public CUnknown {
  public:
    CRecordingOverlay() : CUnknown(nullptr) {}
    DECLARE_IUNKNOWN
    HRESULT NonDelegatingQueryInterface(REFIID riid, void** ppv) override {
        if (riid == IID_IMergeOverlay) return GetInterface(static_cast<IMergeOverlay*>(this), ppv);
        return CUnknown::NonDelegatingQueryInterface(riid, ppv);
    }

    HRESULT SetOverlayType(int type) override { return Record("type", {type}); }
    HRESULT GetOverlayType(int* type) override {
        *type = overlayType;
        return S_OK;
    }
    HRESULT SetMergeMode(int byCover) override { return Record("merge", {byCover}); }
    HRESULT GetMergeMode(int* byCover) override {
        *byCover = mergeMode;
        return S_OK;
    }
    HRESULT SetTitle(const WCHAR* text, int byteCount) override {
        titles.emplace_back(text != nullptr ? std::u16string(text) : u"<null>");
        return Record("title", {byteCount});
    }
    HRESULT GetTitle(WCHAR* buffer, int* byteCount) override {
        if (buffer != nullptr) std::copy(title.c_str(), title.c_str() + title.size() + 1, buffer);
        *byteCount = static_cast<int>(2 * title.size());
        return S_OK;
    }
    HRESULT SetTitleColor(BYTE r, BYTE g, BYTE b) override { return Record("color", {r, g, b}); }
    HRESULT GetTitleColor(BYTE* r, BYTE* g, BYTE* b) override {
        *r = color[0];
        *g = color[1];
        *b = color[2];
        return S_OK;
    }
    HRESULT SetTitlePosition(int x, int y) override { return Record("position", {x, y}); }
    HRESULT GetTitlePosition(POINT* p) override {
        *p = position;
        return S_OK;
    }
    HRESULT SetTitleFont(LOGFONTW f) override {
        fonts.push_back(f);
        return Record("font", {});
    }
    HRESULT GetTitleFont(LOGFONTW* f) override {
        *f = font;
        return S_OK;
    }
    HRESULT SetTitleDuration(double start, double end) override {
        durations.emplace_back(start, end);
        return Record("duration", {});
    }
    HRESULT GetTitleDuration(double* start, double* end) override {
        *start = duration[0];
        *end = duration[1];
        return S_OK;
    }

    // What the getters answer.
    int overlayType = 1;
    int mergeMode = 1;
    std::u16string title = u"Channel 1!";
    BYTE color[3] = {0, 0, 0};
    POINT position{0, 0};
    LOGFONTW font{};
    double duration[2] = {0.0, -1.0};
    // Setter calls in order: name and integer arguments.
    std::vector<std::pair<std::string, std::vector<int>>> calls;
    std::vector<std::u16string> titles;
    std::vector<LOGFONTW> fonts;
    std::vector<std::pair<double, double>> durations;

  private:
    ~CRecordingOverlay() override = default;
    HRESULT Record(const char* name, std::vector<int> args) {
        calls.emplace_back(name, std::move(args));
        return S_OK;
    }
};

// An object without IMergeOverlay.
class CBareObject final : public CUnknown {
  public:
    CBareObject() : CUnknown(nullptr) {}

  private:
    ~CBareObject() override = default;
};

using PageStep = std::function<void(CPropertyFrame& frame, QWidget* page)>;

class TitleOverlayPageTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(CoInitialize(nullptr), S_OK);
        ASSERT_TRUE(m_library.Loaded());
        ASSERT_EQ(m_library.Register(), S_OK);
    }
    void TearDown() override {
        EXPECT_EQ(m_prompts.UnscriptedCount(), 0);
        EXPECT_EQ(m_library.CanUnloadNow(), S_OK);  // page, site and filter all released
        CoUninitialize();
    }

    ComPtr<IUnknown> CreateFilter() {
        ComPtr<IUnknown> filter;
        EXPECT_EQ(CoCreateInstance(CLSID_MergeOverlay, nullptr, CLSCTX_INPROC_SERVER, &filter),
                  S_OK);
        return filter;
    }

    // Shows the pages the object names (or, without ISpecifyPropertyPages, the overlay page) in
    // a frame and plays `step` in it; `dialogs` play the dialogs the page opens, in order.
    HRESULT ShowPage(IUnknown* object, PageStep step,
                     std::vector<CScriptedPrompts::ModalStep> dialogs = {}) {
        m_prompts.PlayModal([step](QDialog& dialog) {
            auto& frame = dynamic_cast<CPropertyFrame&>(dialog);
            ASSERT_EQ(frame.PageCount(), 1);
            QWidget* page =
                frame.PageParent(0)->findChild<QWidget*>(QString(), Qt::FindDirectChildrenOnly);
            ASSERT_NE(page, nullptr);
            step(frame, page);
        });
        for (CScriptedPrompts::ModalStep& dialog : dialogs) m_prompts.PlayModal(std::move(dialog));
        std::vector<CLSID> pages = {CLSID_MergeOverlayPropertyPage};
        ComPtr<ISpecifyPropertyPages> specify;
        if (SUCCEEDED(object->QueryInterface(IID_ISpecifyPropertyPages,
                                             specify.ReleaseAndGetVoidAddressOf()))) {
            CAUUID list{};
            if (FAILED(specify->GetPages(&list))) return E_FAIL;
            pages.assign(list.pElems, list.pElems + list.cElems);
            CoTaskMemFree(list.pElems);
        }
        IUnknown* objects[] = {object};
        return OleCreatePropertyFrame(m_prompts, nullptr, 0, 0, u"Title", 1, objects,
                                      static_cast<ULONG>(pages.size()), pages.data(), 0);
    }

    static QString Text(QWidget* page, int id) { return GetDlgItemText(page, id); }
    // The user replaces the text of an edit.
    static void Type(QWidget* page, int id, const QString& text) {
        auto* edit = qobject_cast<QLineEdit*>(GetDlgItem(page, id));
        ASSERT_NE(edit, nullptr);
        edit->selectAll();
        if (text.isEmpty()) {
            QTest::keyClick(edit, Qt::Key_Backspace);
        } else {
            QTest::keyClicks(edit, text);
        }
    }

    testing_support::TempRegistry m_registry;
    VexlayLibrary m_library;
    CScriptedPrompts m_prompts;
};

TEST_F(TitleOverlayPageTest, ActivatingOnAFreshFilterShowsItsSettings) {
    ComPtr<IUnknown> filter = CreateFilter();
    ASSERT_EQ(ShowPage(filter.Get(),
                       [](CPropertyFrame& frame, QWidget* page) {
                           EXPECT_EQ(frame.Tabs()->tabText(0), QString("Title Overlay"));
                           QWidget* type = GetDlgItem(page, kType);
                           ASSERT_EQ(ComboBoxGetCount(type), 2);
                           EXPECT_EQ(ComboBoxGetItemText(type, 0), QString("None"));
                           EXPECT_EQ(ComboBoxGetItemData(type, 0), 0);
                           EXPECT_EQ(ComboBoxGetItemText(type, 1), QString("Static"));
                           EXPECT_EQ(ComboBoxGetItemData(type, 1), 1);
                           EXPECT_EQ(ComboBoxGetCurSel(type), 1);
                           EXPECT_EQ(IsDlgButtonChecked(page, kByCover), BST_CHECKED);
                           EXPECT_EQ(IsDlgButtonChecked(page, kByReverse), BST_UNCHECKED);
                           EXPECT_EQ(Text(page, kTitle), QString("Channel 1!"));
                           EXPECT_EQ(Text(page, kStartX), QString("0"));
                           EXPECT_EQ(Text(page, kStartY), QString("0"));
                           EXPECT_EQ(Text(page, kDurationStart), QString("0.00"));
                           EXPECT_EQ(Text(page, kDurationEnd), QString("-1.00"));
                           EXPECT_EQ(Text(page, kRed), QString("0"));
                           EXPECT_EQ(Text(page, kGreen), QString("0"));
                           EXPECT_EQ(Text(page, kBlue), QString("0"));
                           EXPECT_EQ(Text(page, kChangeFont), QString("Change Font..."));
                           // Filling the controls is not a change of the user's.
                           EXPECT_EQ(frame.Page(0)->IsPageDirty(), S_FALSE);
                           EXPECT_FALSE(frame.IsApplyEnabled());
                           ClickDlgButton(&frame, IDCANCEL);
                       }),
              S_OK);
}

TEST_F(TitleOverlayPageTest, ApplyKeepsAnUnchangedTitleAndSetsANewOne) {
    ComPtr<IUnknown> filter = CreateFilter();
    ComPtr<IMergeOverlay> overlay;
    ASSERT_EQ(filter->QueryInterface(IID_IMergeOverlay, overlay.ReleaseAndGetVoidAddressOf()),
              S_OK);
    ASSERT_EQ(overlay->SetTitle(u"Porte d'entrée ☂", 34), S_OK);
    ASSERT_EQ(ShowPage(filter.Get(),
                       [&](CPropertyFrame& frame, QWidget* page) {
                           EXPECT_EQ(Text(page, kTitle), QString("Porte d'entrée ☂"));
                           ClickDlgButton(page, kByCover);  // dirty, nothing changed
                           ASSERT_TRUE(frame.IsApplyEnabled());
                           ClickDlgButton(&frame, kIdApplyNow);
                           WCHAR title[32] = {};
                           int bytes = static_cast<int>(sizeof title) - 2;
                           EXPECT_EQ(overlay->GetTitle(title, &bytes), S_OK);
                           EXPECT_EQ(std::u16string(title), u"Porte d'entrée ☂");

                           Type(page, kTitle, QString("Hof 2"));
                           ClickDlgButton(&frame, IDOK);
                       }),
              S_OK);
    int bytes = 0;
    WCHAR title[8] = {};
    ASSERT_EQ(overlay->GetTitle(nullptr, &bytes), S_OK);
    ASSERT_EQ(bytes, 10);
    ASSERT_EQ(overlay->GetTitle(title, &bytes), S_OK);
    EXPECT_EQ(std::u16string(title), u"Hof 2");
}

TEST_F(TitleOverlayPageTest, ApplyWritesEveryControlAsTheUserLeftIt) {
    ComPtr<CRecordingOverlay> target = ComPtr<CRecordingOverlay>::Retain(new CRecordingOverlay());
    target->overlayType = 0;
    target->mergeMode = 0;
    target->title = u"Lobby";
    target->color[0] = 10;
    target->color[1] = 20;
    target->color[2] = 30;
    target->position = POINT{12, -3};
    target->duration[0] = 1.5;
    target->duration[1] = 2.255;
    IUnknown* object = static_cast<IMergeOverlay*>(target.Get());
    ASSERT_EQ(ShowPage(object,
                       [](CPropertyFrame& frame, QWidget* page) {
                           EXPECT_EQ(ComboBoxGetCurSel(GetDlgItem(page, kType)), 0);
                           EXPECT_EQ(IsDlgButtonChecked(page, kByReverse), BST_CHECKED);
                           EXPECT_EQ(Text(page, kTitle), QString("Lobby"));
                           EXPECT_EQ(Text(page, kStartX), QString("12"));
                           EXPECT_EQ(Text(page, kStartY), QString("-3"));
                           EXPECT_EQ(Text(page, kDurationStart), QString("1.50"));
                           EXPECT_EQ(Text(page, kDurationEnd), QString("2.25"));
                           EXPECT_EQ(Text(page, kRed), QString("10"));
                           EXPECT_EQ(Text(page, kGreen), QString("20"));
                           EXPECT_EQ(Text(page, kBlue), QString("30"));

                           QTest::keyClick(GetDlgItem(page, kType), Qt::Key_Down);  // "Static"
                           ClickDlgButton(page, kByCover);
                           Type(page, kTitle, QString());
                           Type(page, kStartX, QString("  41abc"));
                           Type(page, kStartY, QString("-7"));
                           Type(page, kDurationStart, QString("0.5s"));
                           Type(page, kDurationEnd, QString("soon"));
                           Type(page, kRed, QString("300"));
                           Type(page, kGreen, QString("-1"));
                           Type(page, kBlue, QString("blue"));
                           ClickDlgButton(&frame, IDOK);
                       }),
              S_OK);
    using Call = std::pair<std::string, std::vector<int>>;
    const std::vector<Call> expected = {
        {"type", {1}},          {"merge", {1}},   {"title", {0}},
        {"position", {41, -7}}, {"duration", {}}, {"color", {44, 255, 0}},
    };
    EXPECT_EQ(target->calls, expected);
    EXPECT_EQ(target->titles, std::vector<std::u16string>{u""});
    ASSERT_EQ(target->durations.size(), 1u);
    EXPECT_EQ(target->durations[0].first, 0.5);
    EXPECT_EQ(target->durations[0].second, 0.0);
    EXPECT_TRUE(target->fonts.empty());  // no font was chosen
}

TEST_F(TitleOverlayPageTest, EveryUserChangeMarksThePageDirty) {
    ComPtr<IUnknown> filter = CreateFilter();
    ASSERT_EQ(ShowPage(filter.Get(),
                       [](CPropertyFrame& frame, QWidget* page) {
                           IPropertyPage* property = frame.Page(0);
                           auto expectDirtyThenApply = [&](const char* what) {
                               EXPECT_EQ(property->IsPageDirty(), S_OK) << what;
                               EXPECT_TRUE(frame.IsApplyEnabled()) << what;
                               ClickDlgButton(&frame, kIdApplyNow);
                               EXPECT_EQ(property->IsPageDirty(), S_FALSE) << what;
                           };
                           for (int id : kEdits) {
                               QTest::keyClicks(GetDlgItem(page, id), "1");
                               expectDirtyThenApply(std::to_string(id).c_str());
                           }
                           ClickDlgButton(page, kByReverse);
                           expectDirtyThenApply("By Reverse");
                           QTest::keyClick(GetDlgItem(page, kType), Qt::Key_Up);
                           expectDirtyThenApply("type list");
                           ClickDlgButton(page, kChangeFont);
                           expectDirtyThenApply("Change Font cancelled");
                           ClickDlgButton(&frame, IDCANCEL);
                       },
                       {[](QDialog&) {}}),  // the font dialog: the user closes it
              S_OK);
    ASSERT_EQ(m_prompts.Records().size(), 2u);
    EXPECT_EQ(m_prompts.Records()[1].caption, QString("Font"));
    EXPECT_EQ(m_prompts.Records()[1].answer, IDCANCEL);
}

TEST_F(TitleOverlayPageTest, ChangeFontStartsFromThePageAndKeepsTheChoiceForApply) {
    ComPtr<CRecordingOverlay> target = ComPtr<CRecordingOverlay>::Retain(new CRecordingOverlay());
    const char16_t face[] = u"Liberation Serif";
    std::copy(std::begin(face), std::end(face), target->font.lfFaceName);
    target->font.lfHeight = -20;
    target->font.lfWeight = 400;
    IUnknown* object = static_cast<IMergeOverlay*>(target.Get());
    QFont chosen;
    const CScriptedPrompts::ModalStep chooseFont = [&chosen](QDialog& dialog) {
        auto* fonts = dialog.findChild<QFontDialog*>();
        auto* colors = dialog.findChild<QComboBox*>("color");
        auto* buttons = dialog.findChild<QDialogButtonBox*>();
        ASSERT_TRUE(fonts && colors && buttons);
        // It opens on the filter's font and on the colour of the page's fields.
        EXPECT_EQ(fonts->currentFont().family(), QString("Liberation Serif"));
        EXPECT_EQ(colors->currentText(), QString("Green"));
        QFont mono("Liberation Mono");
        mono.setPointSize(14);
        mono.setBold(true);
        fonts->setCurrentFont(mono);
        colors->setCurrentIndex(colors->findText("Red"));
        chosen = fonts->currentFont();
        buttons->button(QDialogButtonBox::Ok)->click();
    };
    ASSERT_EQ(ShowPage(object,
                       [](CPropertyFrame& frame, QWidget* page) {
                           Type(page, kGreen, QString("128"));
                           ClickDlgButton(page, kChangeFont);
                           EXPECT_EQ(Text(page, kRed), QString("255"));
                           EXPECT_EQ(Text(page, kGreen), QString("0"));
                           EXPECT_EQ(Text(page, kBlue), QString("0"));
                           ClickDlgButton(&frame, IDOK);
                       },
                       {chooseFont}),
              S_OK);
    EXPECT_EQ(chosen.family(), QString("Liberation Mono"));
    ASSERT_EQ(target->fonts.size(), 1u);
    const LOGFONTW& font = target->fonts[0];
    EXPECT_EQ(std::u16string(font.lfFaceName), u"Liberation Mono");
    EXPECT_EQ(font.lfHeight, -19);  // 14 points at 96 pixels per inch
    EXPECT_EQ(font.lfWeight, 700);
    EXPECT_EQ(target->calls.back(), (std::pair<std::string, std::vector<int>>{"font", {}}));
    const auto color = std::find_if(target->calls.begin(), target->calls.end(),
                                    [](const auto& call) { return call.first == "color"; });
    ASSERT_NE(color, target->calls.end());
    EXPECT_EQ(color->second, (std::vector<int>{255, 0, 0}));
}

TEST_F(TitleOverlayPageTest, PageNeedsAnObjectWithIMergeOverlay) {
    ComPtr<IUnknown> bare;
    (new CBareObject())
        ->NonDelegatingQueryInterface(IID_IUnknown, bare.ReleaseAndGetVoidAddressOf());
    IUnknown* objects[] = {bare.Get()};
    const CLSID page = CLSID_MergeOverlayPropertyPage;
    EXPECT_EQ(OleCreatePropertyFrame(m_prompts, nullptr, 0, 0, nullptr, 1, objects, 1, &page, 0),
              E_NOINTERFACE);
    EXPECT_TRUE(m_prompts.Records().empty());

    ComPtr<IPropertyPage> direct;
    ASSERT_EQ(
        CoCreateInstance(CLSID_MergeOverlayPropertyPage, nullptr, CLSCTX_INPROC_SERVER, &direct),
        S_OK);
    EXPECT_EQ(direct->SetObjects(0, nullptr), E_UNEXPECTED);  // not connected
    PROPPAGEINFO info{};
    ASSERT_EQ(direct->GetPageInfo(&info), S_OK);
    EXPECT_EQ(std::u16string(info.pszTitle), u"Title Overlay");
    CoTaskMemFree(info.pszTitle);
}

// Qt keeps parts of what the page gave it for the life of the application, so the library must
// stay mapped once its page has run, even after every reference and handle is gone.
TEST(TitleOverlayPageLifetime, LibraryStaysLoadedOnceThePageHasRun) {
    testing_support::TempRegistry registry;
    {
        VexlayLibrary library;
        ASSERT_EQ(library.Register(), S_OK);
        ASSERT_EQ(CoInitialize(nullptr), S_OK);
        {
            ComPtr<IPropertyPage> page;
            ASSERT_EQ(CoCreateInstance(CLSID_MergeOverlayPropertyPage, nullptr,
                                       CLSCTX_INPROC_SERVER, &page),
                      S_OK);
            PROPPAGEINFO info{};
            ASSERT_EQ(page->GetPageInfo(&info), S_OK);  // measures the page with Qt's fonts
            CoTaskMemFree(info.pszTitle);
        }
        EXPECT_EQ(library.CanUnloadNow(), S_OK);
        CoUninitialize();
    }
    void* handle = ::dlopen(VexlayLibrary::Path().c_str(), RTLD_NOW | RTLD_NOLOAD);
    EXPECT_NE(handle, nullptr);
    if (handle != nullptr) ::dlclose(handle);
    // Qt's font cache still reads what the page left there.
    EXPECT_GT(QFontMetrics(QFont("Liberation Sans")).horizontalAdvance("Title Overlay"), 0);
}

}  // namespace
