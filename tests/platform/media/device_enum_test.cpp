#include <gtest/gtest.h>

#include <atomic>

#include "platform/com/class_factory.h"
#include "platform/media/base/filter_setup.h"
#include "platform/media/graph/device_registry.h"
#include "platform/media/interfaces/iamovie_setup.h"
#include "platform/media/interfaces/icreate_dev_enum.h"
#include "platform/media/interfaces/ienum_moniker.h"
#include "platform/media/interfaces/imoniker.h"
#include "platform/media/interfaces/iproperty_bag.h"
#include "platform/media/interfaces/media_clsids.h"
#include "platform/media/interfaces/media_errors.h"
#include "tests/platform/media/media_fixture.h"
#include "tests/platform/media/test_filters.h"
#include "tests/support/temp_dir.h"

namespace media_test {
namespace {

// Categories of these tests only, so that the process-wide device list of other tests does
// not show.
constexpr CLSID kCameras = {0x7E570001, 0, 0x4000, {0x80, 0, 0, 0, 0, 0, 0, 1}};
constexpr CLSID kEmpty = {0x7E570002, 0, 0x4000, {0x80, 0, 0, 0, 0, 0, 0, 2}};
constexpr CLSID kPlugins = {0x7E570003, 0, 0x4000, {0x80, 0, 0, 0, 0, 0, 0, 3}};

const CFactoryTemplate kTestClasses[] = {
    {u"Test Sink", &CLSID_TestSink, &TestSink::CreateInstance}};
HRESULT GetTestClassObject(REFCLSID clsid, REFIID riid, void** ppv) {
    return GetClassObjectFromTable(kTestClasses, clsid, riid, ppv);
}

std::vector<ComPtr<IMoniker>> Monikers(REFCLSID category, HRESULT* result = nullptr) {
    ComPtr<ICreateDevEnum> devices;
    EXPECT_EQ(CoCreateInstance(CLSID_SystemDeviceEnum, nullptr, CLSCTX_INPROC_SERVER, &devices),
              S_OK);
    ComPtr<IEnumMoniker> it;
    const HRESULT hr = devices->CreateClassEnumerator(category, it.ReleaseAndGetAddressOf(), 0);
    if (result) *result = hr;
    std::vector<ComPtr<IMoniker>> list;
    if (hr != S_OK) {
        EXPECT_EQ(it, nullptr);
        return list;
    }
    for (;;) {
        ComPtr<IMoniker> moniker;
        if (it->Next(1, moniker.ReleaseAndGetAddressOf(), nullptr) != S_OK) break;
        list.push_back(std::move(moniker));
    }
    return list;
}

std::u16string FriendlyName(IMoniker* moniker) {
    ComPtr<IPropertyBag> bag;
    EXPECT_EQ(moniker->BindToStorage(nullptr, nullptr, IID_IPropertyBag,
                                     bag.ReleaseAndGetVoidAddressOf()),
              S_OK);
    VARIANT value;
    VariantInit(&value);
    EXPECT_EQ(bag->Read(u"FriendlyName", &value, nullptr), S_OK);
    EXPECT_EQ(value.vt, VT_BSTR);
    std::u16string name(value.bstrVal, SysStringLen(value.bstrVal));
    VariantClear(&value);
    return name;
}

class DeviceEnumTest : public MediaTest {};

TEST_F(DeviceEnumTest, EmptyCategoryAnswersSFalse) {
    HRESULT hr = E_FAIL;
    EXPECT_TRUE(Monikers(kEmpty, &hr).empty());
    EXPECT_EQ(hr, S_FALSE);
}

TEST_F(DeviceEnumTest, RuntimeDevicesInInsertionOrderEvenWithEqualNames) {
    std::atomic<int> created[2] = {0, 0};
    DeviceRegistry& registry = DeviceRegistry::Instance();
    const auto first = registry.Add(kCameras, u"QVD Grabber Device", [&](IBaseFilter** f) {
        ++created[0];
        return TestSink::Create(MEDIATYPE_Video)
            ->QueryInterface(IID_IBaseFilter, reinterpret_cast<void**>(f));
    });
    const auto second = registry.Add(kCameras, u"QVD Grabber Device", [&](IBaseFilter** f) {
        ++created[1];
        return TestSink::Create(MEDIATYPE_Video)
            ->QueryInterface(IID_IBaseFilter, reinterpret_cast<void**>(f));
    });

    auto list = Monikers(kCameras);
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(FriendlyName(list[0].Get()), u"QVD Grabber Device");
    EXPECT_EQ(FriendlyName(list[1].Get()), u"QVD Grabber Device");
    ComPtr<IBaseFilter> filter;
    ASSERT_EQ(list[0]->BindToObject(nullptr, nullptr, IID_IBaseFilter,
                                    filter.ReleaseAndGetVoidAddressOf()),
              S_OK);
    EXPECT_EQ(created[0].load(), 1);
    EXPECT_EQ(created[1].load(), 0);

    // The bag is typed and read-only.
    ComPtr<IPropertyBag> bag;
    ASSERT_EQ(list[0]->BindToStorage(nullptr, nullptr, IID_IPropertyBag,
                                     bag.ReleaseAndGetVoidAddressOf()),
              S_OK);
    VARIANT value;
    VariantInit(&value);
    value.vt = VT_I4;
    EXPECT_EQ(bag->Read(u"FriendlyName", &value, nullptr), DISP_E_TYPEMISMATCH);
    VariantInit(&value);
    EXPECT_EQ(bag->Read(u"DevicePath", &value, nullptr), HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(bag->Write(u"FriendlyName", &value), E_ACCESSDENIED);

    // A removed device no longer binds, and leaves the list.
    ASSERT_TRUE(registry.Remove(first));
    EXPECT_FALSE(registry.Remove(first));
    EXPECT_EQ(list[0]->BindToObject(nullptr, nullptr, IID_IBaseFilter,
                                    filter.ReleaseAndGetVoidAddressOf()),
              VFW_E_NOT_FOUND);
    EXPECT_EQ(Monikers(kCameras).size(), 1u);
    ASSERT_TRUE(registry.Remove(second));
    HRESULT hr = S_OK;
    Monikers(kCameras, &hr);
    EXPECT_EQ(hr, S_FALSE);
}

TEST_F(DeviceEnumTest, FilterMapperRegistrationRoundTrip) {
    testing_support::TempRegistry registry;
    CoRegisterBuiltinClass(CLSID_TestSink, &GetTestClassObject);
    ComPtr<IFilterMapper2> mapper;
    ASSERT_EQ(CoCreateInstance(CLSID_FilterMapper2, nullptr, CLSCTX_INPROC_SERVER, &mapper), S_OK);

    const REGPINTYPES anyType = {&GUID_NULL, &GUID_NULL};
    const REGFILTERPINS pins[] = {
        {const_cast<LPWSTR>(u"Input"), FALSE, FALSE, FALSE, FALSE, &GUID_NULL, u"Output", 1,
         &anyType},
        {const_cast<LPWSTR>(u"Output"), FALSE, TRUE, FALSE, FALSE, &GUID_NULL, u"Input", 1,
         &anyType},
    };
    const REGFILTER2 record = {1, MERIT_DO_NOT_USE, 2, pins};
    ComPtr<IMoniker> returned;
    ASSERT_EQ(
        mapper->RegisterFilter(CLSID_TestSink, u"Merge Test", returned.ReleaseAndGetAddressOf(),
                               &kPlugins, nullptr, &record),
        S_OK);
    ASSERT_NE(returned, nullptr);
    const REGFILTER2 version2 = {2, MERIT_NORMAL, 0, nullptr};
    EXPECT_EQ(mapper->RegisterFilter(CLSID_TestSink, u"X", nullptr, &kPlugins, u"x", &version2),
              E_INVALIDARG);

    auto list = Monikers(kPlugins);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(FriendlyName(list[0].Get()), u"Merge Test");
    EXPECT_EQ(list[0]->IsEqual(returned.Get()), S_OK);
    ComPtr<IBaseFilter> filter;
    ASSERT_EQ(list[0]->BindToObject(nullptr, nullptr, IID_IBaseFilter,
                                    filter.ReleaseAndGetVoidAddressOf()),
              S_OK);
    CLSID clsid{};
    filter->GetClassID(&clsid);
    EXPECT_EQ(clsid, CLSID_TestSink);

    // The record is readable in the hive.
    const std::string hive = testing_support::ReadFile(registry.ClassesHive());
    EXPECT_NE(hive.find(guid::ToString(kPlugins)), std::string::npos);
    EXPECT_NE(hive.find("Merge Test"), std::string::npos);
    EXPECT_NE(hive.find("Merit"), std::string::npos);
    EXPECT_NE(hive.find("ConnectsToPin"), std::string::npos);

    ASSERT_EQ(mapper->UnregisterFilter(&kPlugins, nullptr, CLSID_TestSink), S_OK);
    EXPECT_EQ(mapper->UnregisterFilter(&kPlugins, nullptr, CLSID_TestSink), S_OK);
    HRESULT hr = S_OK;
    Monikers(kPlugins, &hr);
    EXPECT_EQ(hr, S_FALSE);
}

TEST_F(DeviceEnumTest, SetupRecordsGoToTheFiltersCategoryAfterBuiltIns) {
    testing_support::TempRegistry registry;
    CoRegisterBuiltinClass(CLSID_TestSink, &GetTestClassObject);
    ComPtr<IFilterMapper2> mapper;
    ASSERT_EQ(CoCreateInstance(CLSID_FilterMapper2, nullptr, CLSCTX_INPROC_SERVER, &mapper), S_OK);
    const AMOVIESETUP_FILTER setup = {&CLSID_TestSink, u"Merge Overlay", MERIT_DO_NOT_USE, 0,
                                      nullptr};
    ASSERT_EQ(AMovieSetupRegisterFilter2(&setup, mapper.Get(), TRUE), S_OK);

    auto list = Monikers(CLSID_LegacyAmFilterCategory);
    ASSERT_GE(list.size(), 2u);
    EXPECT_EQ(FriendlyName(list.front().Get()), u"Infinite Pin Tee Filter");
    EXPECT_EQ(FriendlyName(list.back().Get()), u"Merge Overlay");

    ASSERT_EQ(AMovieSetupRegisterFilter2(&setup, mapper.Get(), FALSE), S_OK);
    list = Monikers(CLSID_LegacyAmFilterCategory);
    EXPECT_NE(FriendlyName(list.back().Get()), u"Merge Overlay");
}

TEST_F(DeviceEnumTest, AFilterRegistersItsOwnSetupRecord) {
    testing_support::TempRegistry registry;
    auto marker = TestMarker::Create();
    ComPtr<IAMovieSetup> setup;
    ASSERT_EQ(marker.As(&setup), S_OK);
    EXPECT_EQ(setup->Register(), S_FALSE);  // no record

    const AMOVIESETUP_FILTER record = {&CLSID_TestMarker, u"Marker", MERIT_DO_NOT_USE, 0, nullptr};
    marker->setup = &record;
    ASSERT_EQ(setup->Register(), S_OK);
    EXPECT_EQ(FriendlyName(Monikers(CLSID_LegacyAmFilterCategory).back().Get()), u"Marker");
    ASSERT_EQ(setup->Unregister(), S_OK);
    EXPECT_NE(FriendlyName(Monikers(CLSID_LegacyAmFilterCategory).back().Get()), u"Marker");
}

}  // namespace
}  // namespace media_test
