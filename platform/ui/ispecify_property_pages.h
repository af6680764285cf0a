// ISpecifyPropertyPages lives with the component runtime; this name stays for older includes.
#pragma once

#include "platform/com/ispecify_property_pages.h"
