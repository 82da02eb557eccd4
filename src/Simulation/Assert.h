#pragma once

// Checks that guard programming errors in the engine's callers. A failed check
// prints "Assertion failed: <text>, file <unit>, line <n>" and ends the
// program; the checks stay active in every build type.
[[noreturn]] void AssertionFailed(const char* text, const char* unit, int line);

#define QUENTOR_CHECK(cond, text, unit)                                  \
    do {                                                                 \
        if (!(cond)) [[unlikely]] AssertionFailed(text, unit, __LINE__); \
    } while (0)
