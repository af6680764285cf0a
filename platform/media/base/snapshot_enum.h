// CSnapshotEnum: an enumerator over a list of interface references taken when it is created
// (pins of a filter, filters of a graph, monikers of a category). Later changes to the source
// list do not affect it; it holds a reference to every item.
#pragma once

#include <new>
#include <utility>
#include <vector>

#include "platform/com/com_ptr.h"
#include "platform/com/object_base.h"

template <typename Interface, typename Item>
class CSnapshotEnum final : public CUnknown, public Interface {
  public:
    // A new enumerator with one reference for the caller.
    static HRESULT Create(std::vector<ComPtr<Item>> items, Interface** result) {
        if (!result) return E_POINTER;
        auto* object = new (std::nothrow) CSnapshotEnum(std::move(items), 0);
        if (!object) return E_OUTOFMEMORY;
        object->AddRef();
        *result = object;
        return S_OK;
    }

    DECLARE_IUNKNOWN
    HRESULT NonDelegatingQueryInterface(REFIID riid, void** ppv) override {
        if (riid == IidOf<Interface>()) return GetInterface(static_cast<Interface*>(this), ppv);
        return CUnknown::NonDelegatingQueryInterface(riid, ppv);
    }

    HRESULT Next(ULONG count, Item** items, ULONG* fetched) override {
        if (!items) return E_POINTER;
        if (!fetched && count != 1) return E_INVALIDARG;
        ULONG n = 0;
        while (n < count && position_ < items_.size()) {
            items[n] = items_[position_++].Get();
            items[n]->AddRef();
            ++n;
        }
        if (fetched) *fetched = n;
        return n == count ? S_OK : S_FALSE;
    }
    HRESULT Skip(ULONG count) override {
        const std::size_t left = items_.size() - position_;
        if (count > left) {
            position_ = items_.size();
            return S_FALSE;
        }
        position_ += count;
        return S_OK;
    }
    HRESULT Reset() override {
        position_ = 0;
        return S_OK;
    }
    HRESULT Clone(Interface** clone) override {
        if (!clone) return E_POINTER;
        auto* object = new (std::nothrow) CSnapshotEnum(items_, position_);
        if (!object) return E_OUTOFMEMORY;
        object->AddRef();
        *clone = object;
        return S_OK;
    }

  private:
    CSnapshotEnum(std::vector<ComPtr<Item>> items, std::size_t position)
        : CUnknown(nullptr), items_(std::move(items)), position_(position) {}
    ~CSnapshotEnum() override = default;

    // The caller's thread only (an enumerator is not shared between threads).
    std::vector<ComPtr<Item>> items_;
    std::size_t position_;
};
