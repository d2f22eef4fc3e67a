// Fontconfig keeps a few caches for the life of the process and never frees
// them; under LeakSanitizer (the sanitizer build of the suite) they are not
// faults of ours.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }
