// One committed SDK record and its wire form: a single JSON object per record.
// A named event carries its name, sequence number and typed properties in the
// order they were written; a numbered record carries its fields in order, a
// data field as "text" when it is valid UTF-8 and as "base64" otherwise.
// Platform-free; a record is used by one thread at a time.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct SdkIdentity {
    std::string appId;
    std::string appName;
    std::string mid;
};

class CSdkRecord {
public:
    explicit CSdkRecord(int type) : type_(type) {}

    void WriteEvent(std::string_view name, int32_t sequence);
    void WriteIntProperty(std::string_view key, int32_t value);
    void WriteBoolProperty(std::string_view key, bool value);
    void WriteStringProperty(std::string_view key, std::string_view value);
    void WriteInt(int field, int32_t value);
    void WriteData(int field, std::string_view bytes);

    std::string ToJson(const SdkIdentity& identity, uint64_t commitIndex) const;

private:
    struct Entry {
        enum class Kind { IntProperty, BoolProperty, TextProperty, IntField, DataField } kind;
        std::string key;  // property key; empty for fields
        int field = 0;
        int32_t number = 0;
        std::string bytes;
    };

    int type_;
    bool hasEvent_ = false;
    std::string eventName_;
    int32_t sequence_ = 0;
    std::vector<Entry> entries_;
};

// text as a JSON string literal; invalid UTF-8 becomes U+FFFD.
void AppendJsonString(std::string& out, std::string_view text);
bool IsValidUtf8(std::string_view text);
std::string Base64Encode(std::string_view bytes);
