// Registration of the runtime's built-in classes with the component runtime: the filter graph
// manager, the system device enumerator, the filter mapper, the Infinite Pin Tee, the video
// mixing renderer, the audio renderer and the recording filters (the DMO wrapper filter with
// the two encoder media objects, the AVI multiplexer, the file writer). The program and tests
// call it once at start-up; later calls do nothing. Thread-safe.
#pragma once

void RegisterMediaRuntime();
