#include "server/GatewayReply.h"

#include <json/json.h>

#include <memory>
#include <utility>

#include "sys/CorvanError.h"
#include "sys/TextOps.h"

namespace {

constexpr char kDefaultVersion[] = "0.9.0.1";
constexpr char kSuccessCode[] = "server.success";
// Replies are a few hundred bytes; a deeper nesting is no reply of ours and
// would only cost stack.
constexpr int kJsonStackLimit = 64;

Json::Value ParseJson(std::string_view body) {
    Json::CharReaderBuilder builder;
    builder["stackLimit"] = kJsonStackLimit;
    builder["failIfExtra"] = true;
    std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
    Json::Value root;
    bool parsed = false;
    try {
        // No error text is asked for: jsoncpp 1.9.5 reads past the end of the
        // input while it words the message for some malformed replies.
        parsed = reader->parse(body.data(), body.data() + body.size(), &root, nullptr);
    } catch (const Json::Exception&) {
        parsed = false;
    }
    if (!parsed) throw CorvanError("parse decrypt data error");
    return root;
}

bool HasMember(const Json::Value& value, const char* name) { return value.isObject() && value.isMember(name); }

// A JSON number or a decimal held in a string; 0 for anything unreadable.
int64_t SizeValue(const Json::Value& value) {
    if (value.isString()) return ParseInt64(value.asString());
    if (value.isInt64()) return value.asInt64();
    if (value.isNumeric()) return ParseInt64(value.asString());
    return 0;
}

// Strings as they are; numbers and booleans in their text form.
std::string TextValue(const Json::Value& value) {
    if (value.isString() || value.isNumeric() || value.isBool()) return value.asString();
    return {};
}

std::string StringMember(const Json::Value& data, const char* name) {
    if (!HasMember(data, name)) return {};
    return TextValue(data[name]);
}

int64_t SizeMember(const Json::Value& data, const char* name, int64_t fallback) {
    if (!HasMember(data, name)) return fallback;
    const int64_t size = SizeValue(data[name]);
    return size == 0 ? fallback : size;
}

PkgRecord PkgRecordFromData(const Json::Value& data) {
    PkgRecord record;
    if (HasMember(data, "downloadUrl")) record.entries.push_back(DownloadEntry{0, TextValue(data["downloadUrl"]), 0});
    record.softwareCode = StringMember(data, "softwareCode");
    record.versionCode = StringMember(data, "versionCode");
    record.md5 = StringMember(data, "md5");
    record.size = SizeMember(data, "size", kDefaultPackageSize);
    record.installationSize = SizeMember(data, "installationSize", kDefaultInstallationSize);
    return record;
}

bool AsAttributionFlag(const Json::Value& value) {
    if (value.isBool()) return value.asBool();
    if (value.isNumeric()) return value.asDouble() != 0.0;
    if (value.isNull()) return false;
    throw CorvanError("unexpected member type");
}

ChannelRecord ChannelRecordFromData(const Json::Value& data) {
    ChannelRecord record;
    record.appId = StringMember(data, "appId");
    record.appName = StringMember(data, "appName");
    record.welcomeUrl = StringMember(data, "welcomeUrl");
    record.adAccountName = StringMember(data, "advertisingAccountName");
    if (HasMember(data, "tolmarOcpc")) record.attributionWanted = AsAttributionFlag(data["tolmarOcpc"]);
    return record;
}

}  // namespace

std::string BuildPkgInfoPath(std::string_view version, bool is64BitSystem) {
    std::string path = "/applicationService/installer/getAppVersion?appId=";
    path += kAppId;
    path += "&versionCode=";
    path += version.empty() ? std::string_view(kDefaultVersion) : version;
    path += "&packageSystemSupport=";
    path += is64BitSystem ? "2" : "1";
    return path;
}

std::string BuildWelcomePath(std::string_view channel) {
    std::string path = "/applicationService/channel/welcome?channel=";
    path += channel;
    return path;
}

PkgRecord ParsePkgInfoReply(std::string_view body) {
    const Json::Value root = ParseJson(body);
    if (!HasMember(root, "code") || !HasMember(root, "data")) throw CorvanError("member not exist");
    const Json::Value& code = root["code"];
    if (!code.isString() || code.asString() != kSuccessCode) throw CorvanError("request error");
    return PkgRecordFromData(root["data"]);
}

void OrderDownloadEntries(std::vector<DownloadEntry>& entries) {
    for (size_t pass = 0; pass + 1 < entries.size(); ++pass) {
        for (size_t i = 0; i + 1 < entries.size() - pass; ++i) {
            if (entries[i].second < entries[i + 1].second) std::swap(entries[i], entries[i + 1]);
        }
    }
}

ChannelRecord ParseServerInfoReply(std::string_view body) {
    const Json::Value root = ParseJson(body);
    if (!HasMember(root, "code")) return {};
    const Json::Value& code = root["code"];
    if (!code.isString()) throw CorvanError("unexpected member type");
    if (code.asString() != kSuccessCode || !root.isMember("data")) return {};
    return ChannelRecordFromData(root["data"]);
}
