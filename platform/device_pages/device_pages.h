// Registration of the device back-ends' property pages with the component runtime, so that a
// property frame can create the page a device filter names through ISpecifyPropertyPages. The
// program calls it at start-up; calling it again registers the same classes again and changes
// nothing. Thread-safe.
#pragma once

void RegisterDevicePages();
