#pragma once

// TESSARYN_ASAN is defined in builds with the address sanitizer, which ends the process on an
// allocation it refuses instead of reporting it. GCC says so with __SANITIZE_ADDRESS__, clang only
// through __has_feature.
#if defined(__SANITIZE_ADDRESS__)
#define TESSARYN_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define TESSARYN_ASAN 1
#endif
#endif
