// Finding a device filter by its friendly name through the system device enumerator, as the
// program does, for tests that run the simulated grabber.
#pragma once

#include <string>
#include <string_view>

#include "platform/com/com_ptr.h"
#include "platform/media/interfaces/ibase_filter.h"
#include "platform/media/interfaces/imoniker.h"

namespace testing_support {

// The "FriendlyName" of a device moniker; empty when it has none.
std::u16string FriendlyName(IMoniker* moniker);

// The first listed device of `category` named exactly `name`, bound to its filter; null when none.
ComPtr<IBaseFilter> FindDeviceFilter(REFCLSID category, std::u16string_view name);

}  // namespace testing_support
