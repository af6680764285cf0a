// The first pin of a filter that goes in a given direction and is not connected: where a new
// connection to that filter goes.
#pragma once

#include "platform/com/com_ptr.h"
#include "platform/media/interfaces/ibase_filter.h"
#include "platform/media/interfaces/ipin.h"

// Null when the filter has no such pin or cannot list its pins. Any thread that may call the
// filter's EnumPins.
ComPtr<IPin> FirstFreePin(IBaseFilter* filter, PIN_DIRECTION direction);
