// TolmarUID.dll: the device id of the attribution report.
#include <windows.h>

#include <cstring>

#include "report/sdk/MachineId.h"

namespace {
constexpr char kTolmarSalt[] = "tolmar:";
}

extern "C" __declspec(dllexport) int GetTolmarUID(char* buffer, int size) {
    if (buffer == nullptr || size <= 0) return -1;
    const std::string id = MachineDigest(kTolmarSalt);
    const size_t count = id.size() < static_cast<size_t>(size - 1) ? id.size() : static_cast<size_t>(size - 1);
    std::memcpy(buffer, id.data(), count);
    buffer[count] = '\0';
    return id.empty() ? -1 : 0;
}
