#include <gtest/gtest.h>

#include <new>

#include "platform/com/class_factory.h"
#include "platform/com/com_ptr.h"
#include "tests/platform/com/test_counter.h"

namespace {

// An object counting how often it is destroyed.
class CTracked final : public ICounter, public CUnknown {
  public:
    CTracked(IUnknown* outer, int* destroyed) : CUnknown(outer), destroyed_(destroyed) {}
    DECLARE_IUNKNOWN
    HRESULT NonDelegatingQueryInterface(REFIID riid, void** ppv) override {
        if (riid == ICounter::kIid) return GetInterface(static_cast<ICounter*>(this), ppv);
        return CUnknown::NonDelegatingQueryInterface(riid, ppv);
    }
    LONG Increment() override { return ++count_; }

  private:
    ~CTracked() override { ++*destroyed_; }
    int* destroyed_;
    LONG count_ = 0;
};

// An outer object that aggregates a CTracked and exposes its ICounter as its own.
struct IOuterMarker : IUnknown {
    static constexpr IID kIid = {0x5555, 1, 2, {1, 1, 1, 1, 1, 1, 1, 1}};

  protected:
    ~IOuterMarker() = default;
};

class COuter final : public IOuterMarker, public CUnknown {
  public:
    COuter(int* innerDestroyed) : CUnknown(nullptr) {
        auto* inner = new CTracked(GetOwner(), innerDestroyed);
        inner->NonDelegatingQueryInterface(IID_IUnknown, reinterpret_cast<void**>(&inner_));
    }
    DECLARE_IUNKNOWN
    HRESULT NonDelegatingQueryInterface(REFIID riid, void** ppv) override {
        if (riid == IOuterMarker::kIid) return GetInterface(static_cast<IOuterMarker*>(this), ppv);
        if (riid == ICounter::kIid) return inner_->QueryInterface(riid, ppv);
        return CUnknown::NonDelegatingQueryInterface(riid, ppv);
    }

  private:
    ~COuter() override { inner_->Release(); }
    IUnknown* inner_ = nullptr;  // the inner object's non-delegating unknown
};

TEST(ObjectTest, ComPtrCountsReferencesAndReleasesOnEveryPath) {
    int destroyed = 0;
    {
        auto* object = new CTracked(nullptr, &destroyed);
        object->NonDelegatingAddRef();  // the creator's reference, adopted below
        ComPtr<ICounter> a;
        a.Attach(object);
        ComPtr<ICounter> b = a;  // copy adds a reference
        ComPtr<ICounter> c = std::move(b);
        EXPECT_FALSE(b);
        ComPtr<IUnknown> unknown;
        ASSERT_EQ(c.As(&unknown), S_OK);
        ComPtr<IUnknown> again;
        ASSERT_EQ(a.As(&again), S_OK);
        EXPECT_EQ(unknown.Get(), again.Get()) << "IUnknown identity";
        ComPtr<IOuterMarker> none;
        EXPECT_EQ(a.As(&none), E_NOINTERFACE);
        EXPECT_EQ(none.Get(), nullptr);
        EXPECT_EQ(destroyed, 0);
    }
    EXPECT_EQ(destroyed, 1);
}

TEST(ObjectTest, AggregatedObjectDelegatesToItsOuterObject) {
    int innerDestroyed = 0;
    auto* outer = new COuter(&innerDestroyed);
    ComPtr<IOuterMarker> marker;
    outer->NonDelegatingQueryInterface(IOuterMarker::kIid, marker.ReleaseAndGetVoidAddressOf());
    ComPtr<ICounter> counter;
    ASSERT_EQ(marker.As(&counter), S_OK);
    EXPECT_EQ(counter->Increment(), 1);

    // The inner interface answers QueryInterface as the outer object does.
    ComPtr<IOuterMarker> back;
    ASSERT_EQ(counter.As(&back), S_OK);
    EXPECT_EQ(back.Get(), marker.Get());
    ComPtr<IUnknown> u1, u2;
    ASSERT_EQ(counter.As(&u1), S_OK);
    ASSERT_EQ(marker.As(&u2), S_OK);
    EXPECT_EQ(u1.Get(), u2.Get());

    marker.Reset();
    back.Reset();
    u1.Reset();
    u2.Reset();
    EXPECT_EQ(innerDestroyed, 0) << "the counter reference keeps the whole object alive";
    counter.Reset();
    EXPECT_EQ(innerDestroyed, 1);
}

CUnknown* CreateTracked(IUnknown* outer, HRESULT*) {
    static int destroyed = 0;
    return new (std::nothrow) CTracked(outer, &destroyed);
}

const CLSID kTrackedClass = {0x77, 7, 7, {7, 7, 7, 7, 7, 7, 7, 7}};
const CFactoryTemplate kTable[] = {{u"Tracked", &kTrackedClass, CreateTracked}};

TEST(ObjectTest, ClassFactoryRefusesAggregationUnlessAskedForIUnknown) {
    ComPtr<IClassFactory> factory;
    ASSERT_EQ(GetClassObjectFromTable(kTable, kTrackedClass, IID_IClassFactory,
                                      factory.ReleaseAndGetVoidAddressOf()),
              S_OK);
    ComPtr<ICounter> counter;
    EXPECT_EQ(
        factory->CreateInstance(nullptr, ICounter::kIid, counter.ReleaseAndGetVoidAddressOf()),
        S_OK);
    EXPECT_EQ(counter->Increment(), 1);
    int dummy = 0;
    auto* outer = new CTracked(nullptr, &dummy);
    outer->NonDelegatingAddRef();
    ComPtr<ICounter> refused;
    EXPECT_EQ(factory->CreateInstance(outer->GetOwner(), ICounter::kIid,
                                      refused.ReleaseAndGetVoidAddressOf()),
              CLASS_E_NOAGGREGATION);
    outer->NonDelegatingRelease();
    const CLSID other = {1, 2, 3, {4, 5, 6, 7, 8, 9, 10, 11}};
    EXPECT_EQ(GetClassObjectFromTable(kTable, other, IID_IClassFactory,
                                      factory.ReleaseAndGetVoidAddressOf()),
              CLASS_E_CLASSNOTAVAILABLE);
}

}  // namespace
