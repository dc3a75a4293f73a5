#include "report/sdk/SdkRecord.h"

namespace {

constexpr char kReplacement[] = "\xEF\xBF\xBD";
constexpr char kHexDigits[] = "0123456789abcdef";
constexpr char kBase64Digits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

const char* RecordTypeName(int type) {
    switch (type) {
        case 1:
            return "start";
        case 2:
            return "click";
        case 4:
            return "state";
        case 6:
            return "event";
        default:
            return "other";
    }
}

// Length of the valid UTF-8 sequence at text[at], or 0.
size_t Utf8SequenceLength(std::string_view text, size_t at) {
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(at);
    if (lead < 0x80) return 1;
    size_t length = 0;
    uint32_t minimum = 0;
    uint32_t code = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, minimum = 0x80, code = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, minimum = 0x800, code = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, minimum = 0x10000, code = lead & 0x07;
    } else {
        return 0;
    }
    if (text.size() - at < length) return 0;
    for (size_t i = 1; i < length; ++i) {
        if ((byte(at + i) & 0xC0) != 0x80) return 0;
        code = (code << 6) | (byte(at + i) & 0x3F);
    }
    if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return 0;
    return length;
}

void AppendKeyValue(std::string& out, const char* key, std::string_view text) {
    out += '"';
    out += key;
    out += "\":";
    AppendJsonString(out, text);
}

void AppendKeyNumber(std::string& out, const char* key, long long number) {
    out += '"';
    out += key;
    out += "\":";
    out += std::to_string(number);
}

}  // namespace

bool IsValidUtf8(std::string_view text) {
    for (size_t at = 0; at < text.size();) {
        const size_t length = Utf8SequenceLength(text, at);
        if (length == 0) return false;
        at += length;
    }
    return true;
}

void AppendJsonString(std::string& out, std::string_view text) {
    out += '"';
    for (size_t at = 0; at < text.size();) {
        const auto c = static_cast<unsigned char>(text[at]);
        if (c >= 0x80) {
            const size_t length = Utf8SequenceLength(text, at);
            if (length == 0) {
                out += kReplacement;
                ++at;
            } else {
                out.append(text.substr(at, length));
                at += length;
            }
            continue;
        }
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20 || c == 0x7F) {
            out += "\\u00";
            out += kHexDigits[c >> 4];
            out += kHexDigits[c & 0x0F];
        } else {
            out += static_cast<char>(c);
        }
        ++at;
    }
    out += '"';
}

std::string Base64Encode(std::string_view bytes) {
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    for (size_t at = 0; at < bytes.size(); at += 3) {
        const size_t count = bytes.size() - at < 3 ? bytes.size() - at : 3;
        uint32_t group = 0;
        for (size_t i = 0; i < 3; ++i) {
            group <<= 8;
            if (i < count) group |= static_cast<unsigned char>(bytes[at + i]);
        }
        for (size_t i = 0; i < 4; ++i) {
            out += i <= count ? kBase64Digits[(group >> (18 - 6 * i)) & 0x3F] : '=';
        }
    }
    return out;
}

void CSdkRecord::WriteEvent(std::string_view name, int32_t sequence) {
    hasEvent_ = true;
    eventName_.assign(name);
    sequence_ = sequence;
}

void CSdkRecord::WriteIntProperty(std::string_view key, int32_t value) {
    entries_.push_back({Entry::Kind::IntProperty, std::string(key), 0, value, {}});
}

void CSdkRecord::WriteBoolProperty(std::string_view key, bool value) {
    entries_.push_back({Entry::Kind::BoolProperty, std::string(key), 0, value ? 1 : 0, {}});
}

void CSdkRecord::WriteStringProperty(std::string_view key, std::string_view value) {
    entries_.push_back({Entry::Kind::TextProperty, std::string(key), 0, 0, std::string(value)});
}

void CSdkRecord::WriteInt(int field, int32_t value) {
    entries_.push_back({Entry::Kind::IntField, {}, field, value, {}});
}

void CSdkRecord::WriteData(int field, std::string_view bytes) {
    entries_.push_back({Entry::Kind::DataField, {}, field, 0, std::string(bytes)});
}

std::string CSdkRecord::ToJson(const SdkIdentity& identity, uint64_t commitIndex) const {
    std::string out = "{";
    AppendKeyValue(out, "record", RecordTypeName(type_));
    out += ',';
    AppendKeyNumber(out, "type", type_);
    out += ',';
    AppendKeyNumber(out, "commit", static_cast<long long>(commitIndex));
    out += ',';
    AppendKeyValue(out, "app_id", identity.appId);
    out += ',';
    AppendKeyValue(out, "app_name", identity.appName);
    out += ',';
    AppendKeyValue(out, "mid", identity.mid);
    if (hasEvent_) {
        out += ',';
        AppendKeyValue(out, "event", eventName_);
        out += ',';
        AppendKeyNumber(out, "seq", sequence_);
    }
    std::string properties;
    std::string fields;
    for (const Entry& entry : entries_) {
        std::string& list = entry.kind >= Entry::Kind::IntField ? fields : properties;
        list += list.empty() ? "{" : ",{";
        switch (entry.kind) {
            case Entry::Kind::IntProperty:
                AppendKeyValue(list, "key", entry.key);
                list += ",\"type\":\"int\",\"value\":" + std::to_string(entry.number);
                break;
            case Entry::Kind::BoolProperty:
                AppendKeyValue(list, "key", entry.key);
                list += ",\"type\":\"bool\",\"value\":";
                list += entry.number != 0 ? "true" : "false";
                break;
            case Entry::Kind::TextProperty:
                AppendKeyValue(list, "key", entry.key);
                list += ",\"type\":\"text\",";
                AppendKeyValue(list, "value", entry.bytes);
                break;
            case Entry::Kind::IntField:
                AppendKeyNumber(list, "field", entry.field);
                list += ",\"int\":" + std::to_string(entry.number);
                break;
            case Entry::Kind::DataField:
                AppendKeyNumber(list, "field", entry.field);
                list += ',';
                if (IsValidUtf8(entry.bytes)) {
                    AppendKeyValue(list, "text", entry.bytes);
                } else {
                    AppendKeyValue(list, "base64", Base64Encode(entry.bytes));
                }
                break;
        }
        list += '}';
    }
    if (hasEvent_ || !properties.empty()) out += ",\"properties\":[" + properties + "]";
    if (!hasEvent_ || !fields.empty()) out += ",\"fields\":[" + fields + "]";
    out += '}';
    return out;
}
