// Whatever bytes the installer hands the SDK, the record it posts is one
// valid JSON object.
#include <json/json.h>

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

#include "report/sdk/SdkRecord.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const size_t half = size / 2;
    CSdkRecord record(size % 2 == 0 ? 6 : 4);
    record.WriteEvent(bytes.substr(0, half), static_cast<int32_t>(size));
    record.WriteStringProperty(bytes.substr(half), bytes.substr(0, half));
    record.WriteData(55, bytes);
    const std::string json = record.ToJson(SdkIdentity{bytes, "", ""}, size);

    Json::CharReaderBuilder builder;
    std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
    Json::Value value;
    std::string errors;
    if (!reader->parse(json.data(), json.data() + json.size(), &value, &errors) || !value.isObject()) std::abort();
    return 0;
}
