// Registration of the runtime's built-in classes with the component runtime: the filter graph
// manager, the system device enumerator, the filter mapper, the Infinite Pin Tee, the video
// mixing renderer and the audio renderer. The program and tests call it once at start-up; later
// calls do nothing. Thread-safe.
#pragma once

void RegisterMediaRuntime();
