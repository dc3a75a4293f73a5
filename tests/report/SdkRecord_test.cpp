#include "report/sdk/SdkRecord.h"

#include <gtest/gtest.h>
#include <json/json.h>

#include <memory>
#include <string>

namespace {

Json::Value Parse(const std::string& text) {
    Json::CharReaderBuilder builder;
    std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
    Json::Value value;
    std::string errors;
    EXPECT_TRUE(reader->parse(text.data(), text.data() + text.size(), &value, &errors)) << errors << "\n" << text;
    return value;
}

const SdkIdentity kIdentity{"81974195", "win_installer", "mid"};

TEST(SdkRecord, EventKeepsItsPropertiesInWriteOrderWithTheirTypes) {
    CSdkRecord record(6);
    record.WriteEvent("pSoftInstall", 540000001);
    record.WriteIntProperty("download_time", -3);
    record.WriteBoolProperty("is_first_install", true);
    record.WriteStringProperty("install_type", "安装器");
    const Json::Value json = Parse(record.ToJson(kIdentity, 9));
    EXPECT_EQ(json["record"].asString(), "event");
    EXPECT_EQ(json["commit"].asInt(), 9);
    EXPECT_EQ(json["app_id"].asString(), "81974195");
    EXPECT_EQ(json["event"].asString(), "pSoftInstall");
    EXPECT_EQ(json["seq"].asInt(), 540000001);
    const Json::Value& properties = json["properties"];
    ASSERT_EQ(properties.size(), 3u);
    EXPECT_EQ(properties[0]["key"].asString(), "download_time");
    EXPECT_EQ(properties[0]["value"].asInt(), -3);
    EXPECT_EQ(properties[1]["type"].asString(), "bool");
    EXPECT_TRUE(properties[1]["value"].asBool());
    EXPECT_EQ(properties[2]["value"].asString(), "安装器");
    EXPECT_FALSE(json.isMember("fields"));
}

TEST(SdkRecord, DataFieldsAreTextWhenUtf8AndBase64Otherwise) {
    CSdkRecord record(4);
    record.WriteInt(50, 1);
    record.WriteData(51, "0001");
    record.WriteData(55, std::string("C:\\\xB2\xE2\\a\0b.dmp", 13));
    const Json::Value json = Parse(record.ToJson(kIdentity, 1));
    EXPECT_EQ(json["record"].asString(), "state");
    const Json::Value& fields = json["fields"];
    ASSERT_EQ(fields.size(), 3u);
    EXPECT_EQ(fields[0]["field"].asInt(), 50);
    EXPECT_EQ(fields[0]["int"].asInt(), 1);
    EXPECT_EQ(fields[1]["text"].asString(), "0001");
    EXPECT_EQ(fields[2]["base64"].asString(), "QzpcsuJcYQBiLmRtcA==");
}

TEST(SdkRecord, TextsAreEscapedAndInvalidUtf8IsReplaced) {
    struct Case {
        std::string in;
        std::string json;
    } cases[] = {
        {"plain", "\"plain\""},
        {"q\"b\\", "\"q\\\"b\\\\\""},
        {std::string("\n\x01\x7f", 3), "\"\\u000a\\u0001\\u007f\""},
        {"软件", "\"软件\""},
        {"a\xC3", "\"a\xEF\xBF\xBD\""},
        {"\xED\xA0\x80", "\"\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\""},
        {"\xC0\xAF", "\"\xEF\xBF\xBD\xEF\xBF\xBD\""},
        {"\xF4\x90\x80\x80", "\"\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\""},
    };
    for (const Case& c : cases) {
        std::string out;
        AppendJsonString(out, c.in);
        EXPECT_EQ(out, c.json);
    }
}

TEST(SdkRecord, Base64CoversEveryTailLength) {
    EXPECT_EQ(Base64Encode(""), "");
    EXPECT_EQ(Base64Encode("f"), "Zg==");
    EXPECT_EQ(Base64Encode("fo"), "Zm8=");
    EXPECT_EQ(Base64Encode("foo"), "Zm9v");
    EXPECT_EQ(Base64Encode("foob"), "Zm9vYg==");
}

}  // namespace
