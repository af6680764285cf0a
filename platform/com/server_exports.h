// Marks the entry points an in-process server library exports (everything else stays hidden).
#pragma once

#define COM_SERVER_EXPORT extern "C" __attribute__((visibility("default")))
