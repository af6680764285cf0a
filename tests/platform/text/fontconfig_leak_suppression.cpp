// fontconfig loses a few blocks while it parses its configuration files, once per process. The
// leak checker of the sanitizer build is told about that one place and nothing else, so leaks of
// our own (a font set or pattern not destroyed) are still reported. fontconfig is built without
// frame pointers, so allocation stacks are taken with the full unwinder: only then do they reach
// back to the fontconfig call that made them.
extern "C" __attribute__((visibility("default"))) const char* __asan_default_options() {
    return "fast_unwind_on_malloc=0";
}

extern "C" __attribute__((visibility("default"))) const char* __lsan_default_suppressions() {
    return "leak:FcInitLoadConfigAndFonts\n";
}
