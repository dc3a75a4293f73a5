// Elapsed time on the performance counter, for the programs that time
// themselves under Wine (probes and benchmark peers).
#pragma once

#include <windows.h>

class Stopwatch {
public:
    Stopwatch() {
        ::QueryPerformanceFrequency(&frequency_);
        ::QueryPerformanceCounter(&start_);
    }
    double Seconds() const {
        LARGE_INTEGER now{};
        ::QueryPerformanceCounter(&now);
        return static_cast<double>(now.QuadPart - start_.QuadPart) / static_cast<double>(frequency_.QuadPart);
    }
    long long Milliseconds() const { return static_cast<long long>(Seconds() * 1000); }

private:
    LARGE_INTEGER frequency_{};
    LARGE_INTEGER start_{};
};
