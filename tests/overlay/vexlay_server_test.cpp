// The overlay library as its users see it: loaded and registered like the registration tool does,
// its filter created through the registry like the viewer does, and driven only through COM
// interfaces and real graphs.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "overlay/interface/imerge_overlay.h"
#include "overlay/pixel_format.h"
#include "platform/base/utf16.h"
#include "platform/com/ispecify_property_pages.h"
#include "platform/com/object_base.h"
#include "platform/com/runtime.h"
#include "platform/media/graph/registry_text.h"
#include "platform/media/interfaces/icreate_dev_enum.h"
#include "platform/media/interfaces/ienum_moniker.h"
#include "platform/media/interfaces/igraph_builder.h"
#include "platform/media/interfaces/imedia_control.h"
#include "platform/media/interfaces/imoniker.h"
#include "platform/media/interfaces/iproperty_bag.h"
#include "platform/media/interfaces/media_clsids.h"
#include "platform/media/runtime/media_runtime.h"
#include "tests/overlay/frame_graph.h"
#include "tests/overlay/overlay_test_support.h"
#include "tests/overlay/vexlay_library.h"
#include "tests/support/temp_dir.h"

using overlay_test::FrameSink;
using overlay_test::FrameSource;
using overlay_test::PinOf;
using overlay_test::VideoFormat;

namespace {

const std::u16string kFilterKey = u"CLSID\\{33C3C615-8E30-4874-9C74-10880261C7E8}";
const std::u16string kPageKey = u"CLSID\\{E40D3CA2-A7BD-4AF7-9E09-15ED6041E367}";
const std::u16string kFilterRecordKey =
    u"CLSID\\{083863F1-70DE-11D0-BD40-00A0C911CE86}\\Instance\\"
    u"{33C3C615-8E30-4874-9C74-10880261C7E8}";

bool KeyExists(const std::u16string& path) {
    media::ScopedKey key;
    return RegOpenKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, KEY_READ, key.Receive()) ==
           ERROR_SUCCESS;
}

std::u16string RegText(const std::u16string& path, LPCWSTR name) {
    media::ScopedKey key;
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, KEY_READ, key.Receive()) !=
        ERROR_SUCCESS) {
        return u"<no key>";
    }
    return media::ReadText(key.Get(), name).value_or(u"<no value>");
}

DWORD RegNumber(const std::u16string& path, LPCWSTR name) {
    media::ScopedKey key;
    DWORD value = 0xDEADBEEF;
    DWORD size = sizeof value;
    DWORD type = 0;
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, KEY_READ, key.Receive()) ==
        ERROR_SUCCESS) {
        RegQueryValueExW(key.Get(), name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
    }
    return type == REG_DWORD ? value : 0xDEADBEEF;
}

std::string RealPath(const std::string& path) {
    const std::unique_ptr<char, decltype(&std::free)> resolved(::realpath(path.c_str(), nullptr),
                                                               &std::free);
    return resolved ? std::string(resolved.get()) : std::string();
}

// The library registered into a registry of the test's own, with the component runtime and the
// media runtime's built-in classes ready, as in the viewer.
class VexlayTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(CoInitialize(nullptr), S_OK);
        RegisterMediaRuntime();
        ASSERT_TRUE(m_library.Loaded()) << ::dlerror();
        ASSERT_EQ(m_library.Register(), S_OK);
    }
    void TearDown() override { CoUninitialize(); }

    ComPtr<IBaseFilter> CreateFilter() {
        ComPtr<IBaseFilter> filter;
        EXPECT_EQ(CoCreateInstance(CLSID_MergeOverlay, nullptr, CLSCTX_INPROC_SERVER, &filter),
                  S_OK);
        return filter;
    }
    static ComPtr<IMergeOverlay> OverlayOf(const ComPtr<IBaseFilter>& filter) {
        ComPtr<IMergeOverlay> overlay;
        EXPECT_EQ(filter.As(&overlay), S_OK);
        return overlay;
    }
    static std::u16string TitleOf(IMergeOverlay* overlay) {
        int bytes = 0;
        if (overlay->GetTitle(nullptr, &bytes) != S_OK) return u"<failed>";
        std::vector<WCHAR> buffer(static_cast<std::size_t>(bytes) / 2 + 1, u'#');
        if (overlay->GetTitle(buffer.data(), &bytes) != S_OK) return u"<failed>";
        return std::u16string(buffer.data());
    }

    testing_support::TempRegistry m_registry;  // first: the library registers into it
    VexlayLibrary m_library;
};

// ---- The library's exports and registration ----

TEST(VexlayExports, OnlyTheFourEntryPointsAreVisible) {
    // Every defined symbol with its binding, from the full symbol table.
    const std::string command = "nm --defined-only '" + VexlayLibrary::Path() + "'";
    FILE* pipe = ::popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::set<std::string> global;
    std::vector<std::string> local;
    char line[4096];
    while (std::fgets(line, sizeof line, pipe) != nullptr) {
        std::istringstream fields(line);
        std::string address, kind, name;
        if (!(fields >> address >> kind >> name)) continue;
        if (kind == "T" || kind == "D" || kind == "B" || kind == "R" || kind == "W" ||
            kind == "V" || kind == "u") {
            global.insert(name);
        } else if (kind == "t") {
            local.push_back(name);
        }
    }
    ASSERT_EQ(::pclose(pipe), 0);
    const std::set<std::string> expected = {"DllCanUnloadNow", "DllGetClassObject",
                                            "DllRegisterServer", "DllUnregisterServer"};
    EXPECT_EQ(global, expected);

    VexlayLibrary library;
    ASSERT_TRUE(library.Loaded());
    for (const std::string& name : expected) {
        EXPECT_NE(::dlsym(library.Handle(), name.c_str()), nullptr) << name;
    }
    // The filter's own functions are in the library but cannot be reached by name.
    std::string filterFunction;
    for (const std::string& name : local) {
        if (name.find("CFilterTitleOverlay") != std::string::npos) filterFunction = name;
    }
    ASSERT_FALSE(filterFunction.empty());
    EXPECT_EQ(::dlsym(library.Handle(), filterFunction.c_str()), nullptr) << filterFunction;
}

TEST_F(VexlayTest, RegistrationWritesBothClassesAndTheFilterRecord) {
    const std::u16string path = utf16::FromUtf8(RealPath(VexlayLibrary::Path()));
    ASSERT_FALSE(path.empty());
    EXPECT_EQ(RegText(kFilterKey, nullptr), u"Merge Overlay");
    EXPECT_EQ(RegText(kFilterKey + u"\\InprocServer32", nullptr), path);
    EXPECT_EQ(RegText(kFilterKey + u"\\InprocServer32", u"ThreadingModel"), u"Both");
    EXPECT_EQ(RegText(kPageKey, nullptr), u"Merge Overlay Property Page");
    EXPECT_EQ(RegText(kPageKey + u"\\InprocServer32", nullptr), path);
    EXPECT_EQ(RegText(kPageKey + u"\\InprocServer32", u"ThreadingModel"), u"Both");

    EXPECT_EQ(RegText(kFilterRecordKey, u"FriendlyName"), u"Merge Overlay");
    EXPECT_EQ(RegNumber(kFilterRecordKey, u"Merit"), 0x200000u);
    const std::u16string input = kFilterRecordKey + u"\\Pins\\0";
    const std::u16string output = kFilterRecordKey + u"\\Pins\\1";
    EXPECT_EQ(RegText(input, u"Name"), u"Input");
    EXPECT_EQ(RegNumber(input, u"Output"), 0u);
    EXPECT_EQ(RegText(input, u"ConnectsToPin"), u"Output");
    EXPECT_EQ(RegText(output, u"Name"), u"Output");
    EXPECT_EQ(RegNumber(output, u"Output"), 1u);
    EXPECT_EQ(RegText(output, u"ConnectsToPin"), u"Input");
    for (const std::u16string& pin : {input, output}) {
        EXPECT_EQ(RegNumber(pin, u"Rendered"), 0u);
        EXPECT_EQ(RegNumber(pin, u"Zero"), 0u);
        EXPECT_EQ(RegNumber(pin, u"Many"), 0u);
        EXPECT_EQ(RegText(pin + u"\\Types\\0", u"Major"), guid::ToWide(GUID_NULL));
        EXPECT_EQ(RegText(pin + u"\\Types\\0", u"Minor"), guid::ToWide(GUID_NULL));
        EXPECT_FALSE(KeyExists(pin + u"\\Types\\1"));
    }
    EXPECT_FALSE(KeyExists(kFilterRecordKey + u"\\Pins\\2"));
    // Registering again replaces the same keys.
    EXPECT_EQ(m_library.Register(), S_OK);
    EXPECT_EQ(RegText(kFilterRecordKey, u"FriendlyName"), u"Merge Overlay");
}

TEST_F(VexlayTest, GraphToolsFindTheFilterInTheFiltersCategory) {
    ComPtr<ICreateDevEnum> devices;
    ASSERT_EQ(CoCreateInstance(CLSID_SystemDeviceEnum, nullptr, CLSCTX_INPROC_SERVER, &devices),
              S_OK);
    ComPtr<IEnumMoniker> monikers;
    ASSERT_EQ(devices->CreateClassEnumerator(CLSID_LegacyAmFilterCategory,
                                             monikers.ReleaseAndGetAddressOf(), 0),
              S_OK);
    ComPtr<IMoniker> found;
    for (;;) {
        ComPtr<IMoniker> moniker;
        ULONG fetched = 0;
        if (monikers->Next(1, moniker.ReleaseAndGetAddressOf(), &fetched) != S_OK) break;
        ComPtr<IPropertyBag> bag;
        ASSERT_EQ(moniker->BindToStorage(nullptr, nullptr, IID_IPropertyBag,
                                         bag.ReleaseAndGetVoidAddressOf()),
                  S_OK);
        VARIANT name;
        VariantInit(&name);
        if (SUCCEEDED(bag->Read(u"FriendlyName", &name, nullptr)) && name.vt == VT_BSTR &&
            std::u16string(name.bstrVal) == u"Merge Overlay") {
            found = moniker;
        }
        VariantClear(&name);
    }
    ASSERT_TRUE(found);
    ComPtr<IMergeOverlay> overlay;
    ASSERT_EQ(found->BindToObject(nullptr, nullptr, IID_IMergeOverlay,
                                  overlay.ReleaseAndGetVoidAddressOf()),
              S_OK);
    EXPECT_EQ(TitleOf(overlay.Get()), u"Channel 1!");
}

TEST_F(VexlayTest, UnregistrationRemovesBothClassesAndTheRecord) {
    ASSERT_EQ(m_library.Unregister(), S_OK);
    EXPECT_FALSE(KeyExists(kFilterKey));
    EXPECT_FALSE(KeyExists(kPageKey));
    EXPECT_FALSE(KeyExists(kFilterRecordKey));
    ComPtr<IBaseFilter> filter;
    EXPECT_EQ(CoCreateInstance(CLSID_MergeOverlay, nullptr, CLSCTX_INPROC_SERVER, &filter),
              REGDB_E_CLASSNOTREG);
    // Removing what is not there is no failure.
    EXPECT_EQ(m_library.Unregister(), S_OK);
}

// ---- The filter object ----

TEST_F(VexlayTest, FreshFilterReportsItsConstructionValues) {
    ComPtr<IMergeOverlay> overlay = OverlayOf(CreateFilter());
    ASSERT_TRUE(overlay);
    int type = -1;
    EXPECT_EQ(overlay->GetOverlayType(&type), S_OK);
    EXPECT_EQ(type, 1);
    int byCover = -1;
    EXPECT_EQ(overlay->GetMergeMode(&byCover), S_OK);
    EXPECT_EQ(byCover, 1);
    int bytes = -1;
    EXPECT_EQ(overlay->GetTitle(nullptr, &bytes), S_OK);
    EXPECT_EQ(bytes, 20);
    EXPECT_EQ(TitleOf(overlay.Get()), u"Channel 1!");
    POINT position{-1, -1};
    EXPECT_EQ(overlay->GetTitlePosition(&position), S_OK);
    EXPECT_EQ(position.x, 0);
    EXPECT_EQ(position.y, 0);
    double start = 9.0, end = 9.0;
    EXPECT_EQ(overlay->GetTitleDuration(&start, &end), S_OK);
    EXPECT_EQ(start, 0.0);
    EXPECT_EQ(end, -1.0);
    LOGFONTW font;
    std::memset(&font, 0xAB, sizeof font);
    EXPECT_EQ(overlay->GetTitleFont(&font), S_OK);
    const LOGFONTW zero{};
    EXPECT_EQ(std::memcmp(&font, &zero, sizeof font), 0);
    BYTE r = 7, g = 8, b = 9;
    EXPECT_EQ(overlay->GetTitleColor(&r, &g, &b), S_OK);
    EXPECT_EQ(r + g + b, 7 + 8 + 9);  // writes nothing

    // Null results are refused instead of written through.
    EXPECT_EQ(overlay->GetOverlayType(nullptr), E_POINTER);
    EXPECT_EQ(overlay->GetMergeMode(nullptr), E_POINTER);
    EXPECT_EQ(overlay->GetTitle(nullptr, nullptr), E_POINTER);
    EXPECT_EQ(overlay->GetTitlePosition(nullptr), E_POINTER);
    EXPECT_EQ(overlay->GetTitleFont(nullptr), E_POINTER);
    EXPECT_EQ(overlay->GetTitleDuration(&start, nullptr), E_POINTER);
}

TEST_F(VexlayTest, SettersOtherThanTitleChangeNothing) {
    ComPtr<IMergeOverlay> overlay = OverlayOf(CreateFilter());
    ASSERT_TRUE(overlay);
    LOGFONTW font{};
    font.lfHeight = -30;
    font.lfWeight = 700;
    font.lfFaceName[0] = u'X';
    EXPECT_EQ(overlay->SetOverlayType(0), S_OK);
    EXPECT_EQ(overlay->SetMergeMode(0), S_OK);
    EXPECT_EQ(overlay->SetTitleColor(255, 1, 2), S_OK);
    EXPECT_EQ(overlay->SetTitlePosition(40, 50), S_OK);
    EXPECT_EQ(overlay->SetTitleFont(font), S_OK);
    EXPECT_EQ(overlay->SetTitleDuration(2.0, 5.0), S_OK);
    int type = -1, byCover = -1;
    POINT position{-1, -1};
    double start = 9.0, end = 9.0;
    LOGFONTW stored{};
    overlay->GetOverlayType(&type);
    overlay->GetMergeMode(&byCover);
    overlay->GetTitlePosition(&position);
    overlay->GetTitleDuration(&start, &end);
    overlay->GetTitleFont(&stored);
    EXPECT_EQ(type, 1);
    EXPECT_EQ(byCover, 1);
    EXPECT_EQ(position.x + position.y, 0);
    EXPECT_EQ(start, 0.0);
    EXPECT_EQ(end, -1.0);
    EXPECT_EQ(stored.lfHeight, 0);
    EXPECT_EQ(stored.lfFaceName[0], u'\0');
}

TEST_F(VexlayTest, TitleByteCounts) {
    ComPtr<IMergeOverlay> overlay = OverlayOf(CreateFilter());
    ASSERT_TRUE(overlay);
    ASSERT_EQ(overlay->SetTitle(u"Gate5", 12), S_OK);
    int bytes = -1;
    ASSERT_EQ(overlay->GetTitle(nullptr, &bytes), S_OK);
    EXPECT_EQ(bytes, 10);
    WCHAR buffer[8];
    std::fill(std::begin(buffer), std::end(buffer), u'#');
    ASSERT_EQ(overlay->GetTitle(buffer, &bytes), S_OK);  // 12 bytes: the count + 2
    EXPECT_EQ(std::u16string(buffer, 6), std::u16string(u"Gate5\0", 6));
    EXPECT_EQ(buffer[6], u'#');
    EXPECT_EQ(bytes, 10);

    // A buffer that cannot hold the title gets nothing, and the needed count comes back.
    std::fill(std::begin(buffer), std::end(buffer), u'#');
    bytes = 8;
    EXPECT_EQ(overlay->GetTitle(buffer, &bytes), HRESULT_FROM_WIN32(ERROR_INSUFFICIENT_BUFFER));
    EXPECT_EQ(bytes, 10);
    EXPECT_EQ(buffer[0], u'#');
    bytes = -4;
    EXPECT_EQ(overlay->GetTitle(buffer, &bytes), HRESULT_FROM_WIN32(ERROR_INSUFFICIENT_BUFFER));

    // The count limits what is read: 12 bytes of a longer text give five characters.
    EXPECT_EQ(overlay->SetTitle(u"Entrance Hall", 12), S_OK);
    EXPECT_EQ(TitleOf(overlay.Get()), u"Entra");
    EXPECT_EQ(overlay->SetTitle(u"Entrance Hall", 15), S_OK);  // an odd count rounds down
    EXPECT_EQ(TitleOf(overlay.Get()), u"Entran");
    // A NUL before the count's end ends the title there.
    EXPECT_EQ(overlay->SetTitle(u"Hall\0Yard", 20), S_OK);
    EXPECT_EQ(TitleOf(overlay.Get()), u"Hall");
    // No room for a character: an empty title, reported as 0 bytes.
    for (int count : {0, 1, -2, INT_MIN}) {
        ASSERT_EQ(overlay->SetTitle(u"Yard", 10), S_OK);
        EXPECT_EQ(overlay->SetTitle(u"Lobby", count), S_OK) << count;
        EXPECT_EQ(overlay->GetTitle(nullptr, &bytes), S_OK);
        EXPECT_EQ(bytes, 0) << count;
    }
    EXPECT_EQ(overlay->SetTitle(nullptr, 100), S_OK);
    EXPECT_EQ(TitleOf(overlay.Get()), u"");
    // Text outside the Basic Multilingual Plane counts in UTF-16 units.
    const std::u16string camera = u"摄像机\U0001F4F7";
    EXPECT_EQ(overlay->SetTitle(camera.c_str(), static_cast<int>(2 * (camera.size() + 1))), S_OK);
    EXPECT_EQ(overlay->GetTitle(nullptr, &bytes), S_OK);
    EXPECT_EQ(bytes, 10);
    EXPECT_EQ(TitleOf(overlay.Get()), camera);
}

TEST_F(VexlayTest, InterfacesShareOneIdentityAndNameTheirPage) {
    ComPtr<IBaseFilter> filter = CreateFilter();
    ASSERT_TRUE(filter);
    ComPtr<IMergeOverlay> overlay;
    ComPtr<ISpecifyPropertyPages> pages;
    ASSERT_EQ(filter.As(&overlay), S_OK);
    ASSERT_EQ(overlay.As(&pages), S_OK);
    ComPtr<IMergeOverlay> overlayAgain;
    ComPtr<IBaseFilter> filterAgain;
    ASSERT_EQ(pages.As(&overlayAgain), S_OK);
    ASSERT_EQ(pages.As(&filterAgain), S_OK);
    EXPECT_EQ(overlayAgain.Get(), overlay.Get());
    EXPECT_EQ(filterAgain.Get(), filter.Get());
    ComPtr<IUnknown> a, b, c;
    ASSERT_EQ(filter.As(&a), S_OK);
    ASSERT_EQ(overlay.As(&b), S_OK);
    ASSERT_EQ(pages.As(&c), S_OK);
    EXPECT_EQ(a.Get(), b.Get());
    EXPECT_EQ(a.Get(), c.Get());
    EXPECT_EQ(overlay->QueryInterface(IID_IMergeOverlay, nullptr), E_POINTER);
    ComPtr<ICreateDevEnum> unrelated;
    EXPECT_EQ(filter.As(&unrelated), E_NOINTERFACE);
    CLSID clsid{};
    EXPECT_EQ(filter->GetClassID(&clsid), S_OK);
    EXPECT_EQ(clsid, CLSID_MergeOverlay);

    CAUUID list{99, nullptr};
    ASSERT_EQ(pages->GetPages(&list), S_OK);
    ASSERT_EQ(list.cElems, 1u);
    ASSERT_NE(list.pElems, nullptr);
    EXPECT_EQ(list.pElems[0], CLSID_MergeOverlayPropertyPage);
    CoTaskMemFree(list.pElems);
    EXPECT_EQ(pages->GetPages(nullptr), E_POINTER);
}

// An object that aggregates the filter: the filter's interfaces answer for the outer object.
class COuter final : public CUnknown {
  public:
    COuter() : CUnknown(nullptr) {}
    HRESULT Init() {
        return CoCreateInstance(CLSID_MergeOverlay, GetOwner(), CLSCTX_INPROC_SERVER, IID_IUnknown,
                                m_inner.ReleaseAndGetVoidAddressOf());
    }
    HRESULT NonDelegatingQueryInterface(REFIID riid, void** ppv) override {
        if (riid == IID_IMergeOverlay && m_inner) return m_inner->QueryInterface(riid, ppv);
        return CUnknown::NonDelegatingQueryInterface(riid, ppv);
    }

  private:
    ~COuter() override = default;
    ComPtr<IUnknown> m_inner;  // the filter's own IUnknown
};

TEST_F(VexlayTest, AggregatedFilterDelegatesToItsOuterObject) {
    auto* outer = new COuter();
    outer->NonDelegatingAddRef();
    ASSERT_EQ(outer->Init(), S_OK);
    ComPtr<IMergeOverlay> overlay;
    ASSERT_EQ(
        outer->NonDelegatingQueryInterface(IID_IMergeOverlay, overlay.ReleaseAndGetVoidAddressOf()),
        S_OK);
    // IUnknown through the filter's interface is the outer object's.
    ComPtr<IUnknown> identity;
    ASSERT_EQ(overlay->QueryInterface(IID_IUnknown, identity.ReleaseAndGetVoidAddressOf()), S_OK);
    EXPECT_EQ(identity.Get(), outer->GetOwner());
    // The filter's interfaces that the outer object does not expose are not reachable either.
    ComPtr<IBaseFilter> filter;
    EXPECT_EQ(overlay.As(&filter), E_NOINTERFACE);
    EXPECT_EQ(TitleOf(overlay.Get()), u"Channel 1!");
    // Aggregation asking for anything but IUnknown is refused.
    EXPECT_EQ(
        CoCreateInstance(CLSID_MergeOverlay, outer->GetOwner(), CLSCTX_INPROC_SERVER, &filter),
        CLASS_E_NOAGGREGATION);
    overlay = nullptr;
    identity = nullptr;
    outer->NonDelegatingRelease();
    EXPECT_EQ(m_library.CanUnloadNow(), S_OK);
}

TEST_F(VexlayTest, LibraryMayUnloadOnlyWhenNoObjectOrLockRemains) {
    EXPECT_EQ(m_library.CanUnloadNow(), S_OK);
    {
        ComPtr<IBaseFilter> filter = CreateFilter();
        EXPECT_EQ(m_library.CanUnloadNow(), S_FALSE);
        ComPtr<IPin> input = PinOf(filter.Get(), u"Input");
        filter = nullptr;
        EXPECT_EQ(m_library.CanUnloadNow(), S_FALSE);  // a pin holds its filter
    }
    EXPECT_EQ(m_library.CanUnloadNow(), S_OK);
    ComPtr<IClassFactory> factory;
    ASSERT_EQ(CoGetClassObject(CLSID_MergeOverlay, CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory,
                               factory.ReleaseAndGetVoidAddressOf()),
              S_OK);
    ASSERT_EQ(factory->LockServer(TRUE), S_OK);
    factory = nullptr;
    EXPECT_EQ(m_library.CanUnloadNow(), S_FALSE);
    ASSERT_EQ(CoGetClassObject(CLSID_MergeOverlay, CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory,
                               factory.ReleaseAndGetVoidAddressOf()),
              S_OK);
    ASSERT_EQ(factory->LockServer(FALSE), S_OK);
    factory = nullptr;
    EXPECT_EQ(m_library.CanUnloadNow(), S_OK);
}

// Is the library mapped? (Asking does not load it.)
bool LibraryIsLoaded() {
    void* handle = ::dlopen(VexlayLibrary::Path().c_str(), RTLD_NOW | RTLD_NOLOAD);
    if (handle == nullptr) return false;
    ::dlclose(handle);
    return true;
}

TEST(VexlayUnloading, LibraryGoesAwayWhenOnlyTheFilterWasUsed) {
    testing_support::TempRegistry registry;
    {
        VexlayLibrary library;
        ASSERT_EQ(library.Register(), S_OK);
        ASSERT_EQ(CoInitialize(nullptr), S_OK);
        {
            ComPtr<IMergeOverlay> overlay;
            ASSERT_EQ(CoCreateInstance(CLSID_MergeOverlay, nullptr, CLSCTX_INPROC_SERVER, &overlay),
                      S_OK);
            EXPECT_EQ(overlay->SetTitle(u"Dock", 10), S_OK);
        }
        CoUninitialize();                // the runtime lets go of the unused library
        EXPECT_TRUE(LibraryIsLoaded());  // still held by `library`
    }
    EXPECT_FALSE(LibraryIsLoaded());
}

// ---- Media types ----

TEST_F(VexlayTest, OnlyUyvyVideoConnects) {
    ComPtr<IBaseFilter> filter = CreateFilter();
    ComPtr<IPin> input = PinOf(filter.Get(), u"Input");
    ComPtr<IPin> output = PinOf(filter.Get(), u"Output");
    ASSERT_TRUE(input && output);

    VideoFormat rgb24;
    rgb24.subtype = MEDIASUBTYPE_RGB24;
    rgb24.bitCount = 24;
    VideoFormat yuy2;
    yuy2.subtype = MEDIASUBTYPE_YUY2;
    VideoFormat notVideo;
    notVideo.majorType = MEDIATYPE_Audio;
    for (const VideoFormat& format : {rgb24, yuy2, notVideo}) {
        const CMediaType type = overlay_test::VideoType(format);
        EXPECT_EQ(input->QueryAccept(&type), S_FALSE);
        auto source = FrameSource::Create(format);
        EXPECT_TRUE(FAILED(PinOf(source.Get(), u"Out")->Connect(input.Get(), nullptr)));
        ComPtr<IPin> peer;
        EXPECT_TRUE(FAILED(input->ConnectedTo(peer.ReleaseAndGetAddressOf())));
    }

    const CMediaType uyvy = overlay_test::VideoType(VideoFormat{});
    EXPECT_EQ(input->QueryAccept(&uyvy), S_OK);
    auto source = FrameSource::Create(VideoFormat{});
    ComPtr<IPin> sourceOut = PinOf(source.Get(), u"Out");
    ASSERT_EQ(sourceOut->Connect(input.Get(), nullptr), S_OK);
    // The output offers exactly the input's type and nothing else.
    EXPECT_EQ(output->QueryAccept(&uyvy), S_OK);
    const CMediaType rgb = overlay_test::VideoType(rgb24);
    EXPECT_EQ(output->QueryAccept(&rgb), S_FALSE);
    auto sink = FrameSink::Create();
    ComPtr<IPin> sinkIn = PinOf(sink.Get(), u"In");
    ASSERT_EQ(output->Connect(sinkIn.Get(), nullptr), S_OK);
    AM_MEDIA_TYPE agreed{};
    ASSERT_EQ(sinkIn->ConnectionMediaType(&agreed), S_OK);
    EXPECT_TRUE(CMediaType(agreed) == uyvy);
    FreeMediaType(agreed);

    input->Disconnect();
    sourceOut->Disconnect();
    output->Disconnect();
    sinkIn->Disconnect();
}

TEST_F(VexlayTest, InputNeedsACompleteVideoInfoBlock) {
    VideoFormat noBlock;
    noBlock.formatType = FORMAT_None;
    VideoFormat truncated;
    truncated.formatBytes = sizeof(VIDEOINFOHEADER) - 1;
    VideoFormat wave;
    wave.formatType = FORMAT_WaveFormatEx;
    for (const VideoFormat& format : {noBlock, truncated, wave}) {
        ComPtr<IBaseFilter> filter = CreateFilter();
        ComPtr<IPin> input = PinOf(filter.Get(), u"Input");
        auto source = FrameSource::Create(format);
        ComPtr<IPin> out = PinOf(source.Get(), u"Out");
        // The type itself is acceptable; the connection fails when it completes.
        const CMediaType type = overlay_test::VideoType(format);
        EXPECT_EQ(input->QueryAccept(&type), S_OK);
        EXPECT_EQ(input->ReceiveConnection(out.Get(), &type), E_FAIL);
        EXPECT_TRUE(FAILED(out->Connect(input.Get(), nullptr)));
        ComPtr<IPin> peer;
        EXPECT_TRUE(FAILED(input->ConnectedTo(peer.ReleaseAndGetAddressOf())));
        EXPECT_TRUE(FAILED(out->ConnectedTo(peer.ReleaseAndGetAddressOf())));
    }
}

// ---- Streaming ----
// Through the library the stamp shows the real local time, which a test cannot choose; these
// tests check where the filter draws and what it leaves alone. The stamp's exact pixels for a
// chosen time are checked on the linked filter (filter_title_overlay_test.cpp).

// A source, the filter and a sink in a graph of the runtime, as the viewer builds its recording
// branch.
class StampingGraph {
  public:
    explicit StampingGraph(IBaseFilter* title, const VideoFormat& format = VideoFormat{})
        : source(FrameSource::Create(format)), sink(FrameSink::Create()) {
        EXPECT_EQ(CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, &graph), S_OK);
        EXPECT_EQ(graph.As(&control), S_OK);
        EXPECT_EQ(graph->AddFilter(source.Get(), u"Source"), S_OK);
        EXPECT_EQ(graph->AddFilter(title, u"Title"), S_OK);
        EXPECT_EQ(graph->AddFilter(sink.Get(), u"Sink"), S_OK);
        EXPECT_EQ(graph->ConnectDirect(PinOf(source.Get(), u"Out").Get(),
                                       PinOf(title, u"Input").Get(), nullptr),
                  S_OK);
        EXPECT_EQ(graph->ConnectDirect(PinOf(title, u"Output").Get(),
                                       PinOf(sink.Get(), u"In").Get(), nullptr),
                  S_OK);
    }

    ComPtr<FrameSource> source;
    ComPtr<FrameSink> sink;
    ComPtr<IGraphBuilder> graph;
    ComPtr<IMediaControl> control;
};

// Checks frame `n` of the source after the filter: outside the bottom-right stamp box it equals
// the source frame with `title` drawn at (0,0), and inside the box the stamp changed pixels. Every
// stamp text ("YYYY-MM-DD(HH:MM:SS)", digits of one width) renders to the box of any one of them.
::testing::AssertionResult TitledAndStamped(const std::vector<BYTE>& output, int n,
                                            const std::u16string& title,
                                            const VideoFormat& format) {
    const FrameLayout layout{kPixelFormatUYVY, format.width, format.height, format.width * 2,
                             false};
    std::vector<BYTE> expected = overlay_test::SourceFrame(format.FrameBytes(), n);
    ReferenceBlend(expected, layout, RenderedText(title), POINT{0, 0}, true);
    if (output.size() != expected.size()) return ::testing::AssertionFailure() << "frame size";
    const TextBitmap stamp = RenderedText(u"2011-06-13(09:05:07)");
    // A stamp wider than the frame is clipped at its left edge.
    const LONG boxLeft = std::max<LONG>(0, format.width - stamp.cx);
    const LONG boxTop = format.height - stamp.cy;
    // A UYVY cover spans the two pixels of a macropixel: the box starts at an even column.
    const std::size_t boxStart = static_cast<std::size_t>(boxLeft & ~1L) * 2;
    bool stampDrawn = false;
    for (LONG y = 0; y < format.height; ++y) {
        const std::size_t row = static_cast<std::size_t>(y) * layout.stride;
        for (std::size_t i = 0; i < static_cast<std::size_t>(layout.stride); ++i) {
            const bool inBox = y >= boxTop && i >= boxStart;
            if (output[row + i] == expected[row + i]) continue;
            if (!inBox) {
                return ::testing::AssertionFailure()
                       << "byte " << i << " of row " << y << " changed outside the stamp";
            }
            stampDrawn = true;
        }
    }
    if (!stampDrawn) return ::testing::AssertionFailure() << "no stamp in the corner";
    return ::testing::AssertionSuccess();
}

TEST_F(VexlayTest, EveryFrameCarriesTheTitleAndAStampInItsCorner) {
    ComPtr<IBaseFilter> title = CreateFilter();
    ComPtr<IMergeOverlay> overlay = OverlayOf(title);
    const std::u16string name = u"Gate 3 / 大门";
    ASSERT_EQ(overlay->SetTitle(name.c_str(), static_cast<int>(2 * (name.size() + 1))), S_OK);
    StampingGraph graph(title.Get());

    constexpr int kFrames = 6;
    ASSERT_EQ(graph.control->Run(), S_OK);
    graph.source->Step(kFrames);
    ASSERT_TRUE(graph.sink->WaitForFrames(kFrames));
    ASSERT_EQ(graph.control->Stop(), S_OK);

    const std::vector<FrameSink::Frame> frames = graph.sink->Frames();
    ASSERT_EQ(frames.size(), static_cast<std::size_t>(kFrames));
    for (int n = 0; n < kFrames; ++n) {
        EXPECT_TRUE(TitledAndStamped(frames[n].data, n, name, VideoFormat{})) << "frame " << n;
        // Times pass through unchanged.
        EXPECT_EQ(frames[n].start, n * 400000);
        EXPECT_EQ(frames[n].stop, (n + 1) * 400000);
    }
}

TEST_F(VexlayTest, TitleIsRefusedUnlessStoppedAndTheNextRunShowsTheNewOne) {
    ComPtr<IBaseFilter> title = CreateFilter();
    ComPtr<IMergeOverlay> overlay = OverlayOf(title);
    VideoFormat small;
    small.width = 320;
    small.height = 240;
    StampingGraph graph(title.Get(), small);

    ASSERT_EQ(graph.control->Pause(), S_OK);
    EXPECT_EQ(overlay->SetTitle(u"Paused", 14), E_UNEXPECTED);
    ASSERT_EQ(graph.control->Run(), S_OK);
    EXPECT_EQ(overlay->SetTitle(u"Running", 16), E_UNEXPECTED);
    EXPECT_EQ(TitleOf(overlay.Get()), u"Channel 1!");
    graph.source->Step(1);
    ASSERT_TRUE(graph.sink->WaitForFrames(1));
    ASSERT_EQ(graph.control->Stop(), S_OK);

    EXPECT_EQ(overlay->SetTitle(u"Yard", 10), S_OK);
    ASSERT_EQ(graph.control->Run(), S_OK);
    graph.source->Step(1);
    ASSERT_TRUE(graph.sink->WaitForFrames(2));
    ASSERT_EQ(graph.control->Stop(), S_OK);

    const std::vector<FrameSink::Frame> frames = graph.sink->Frames();
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_TRUE(TitledAndStamped(frames[0].data, 0, u"Channel 1!", small));
    EXPECT_TRUE(TitledAndStamped(frames[1].data, 1, u"Yard", small));
}

}  // namespace
