// ISpecifyPropertyPages lives with the component runtime so that layers below the user interface
// (device back-ends) can offer pages too.
#pragma once

#include "platform/com/ispecify_property_pages.h"
