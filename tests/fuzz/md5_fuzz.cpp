// Arbitrary bytes, fed whole and in pieces whose sizes the input chooses,
// must give one 32-digit lower-case digest.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "download/Md5.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string whole = Md5OfBytes(reinterpret_cast<const char*>(data), static_cast<std::ptrdiff_t>(size));
    if (size == 0) {
        if (!whole.empty()) std::abort();
        return 0;
    }
    if (whole.size() != 32 || whole.find_first_not_of("0123456789abcdef") != std::string::npos) std::abort();

    CMd5Context context;
    size_t at = 0;
    for (size_t step = 0; at < size; ++step) {
        const size_t piece = 1 + data[step % size] % 97;
        const size_t count = piece < size - at ? piece : size - at;
        context.Update(data + at, count);
        at += count;
    }
    if (Md5DigestText(context.Final()) != whole) std::abort();
    return 0;
}
