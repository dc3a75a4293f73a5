// Feeds arbitrary bytes to the text operations that read untrusted text
// (version strings, file names, numbers from replies).
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/PackageName.h"
#include "sys/TextOps.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    SplitAny(text, ".\\/");
    ParseInt64(text);
    UrlEncode(text.data(), static_cast<std::ptrdiff_t>(text.size()));
    const std::string name = PackageNameFromPath(text);
    ChannelFromVersion(text, ChannelFromPackageName(name));
    return 0;
}
