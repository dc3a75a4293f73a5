// The test entry for suites whose processes Wine cannot always bring to a
// normal end (see QUICK_EXIT in cmake/TarvelTesting.cmake): once the verdict
// is printed, the process ends at once, without the DLL detach sequence.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    std::fflush(stdout);
    std::fflush(stderr);
    ::TerminateProcess(::GetCurrentProcess(), static_cast<UINT>(result));
    return result;
}
