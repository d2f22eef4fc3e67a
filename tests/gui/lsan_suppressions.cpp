// Fontconfig keeps a few caches for the life of the process and never frees
// them, and D-Bus (which Qt's X11 platform talks to) keeps a buffer of its
// connection; under LeakSanitizer (the sanitizer build of the suite) they
// are not faults of ours.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\nleak:libdbus-1.so\n"; }
