// A library with the log-Pearson library's file name that lacks one of its entries.
#if defined(_WIN32)
#define STUB_API extern "C" __declspec(dllexport)
#else
#define STUB_API extern "C" __attribute__((visibility("default")))
#endif

#if !defined(WITHOUT_LGPST1)
STUB_API void LGPST1() {}
#endif
#if !defined(WITHOUT_LGPST2)
STUB_API void LGPST2() {}
#endif
