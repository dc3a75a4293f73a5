#include "net/DnsPacket.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

void Put16(Bytes& out, uint16_t value) {
    out.push_back(static_cast<uint8_t>(value >> 8));
    out.push_back(static_cast<uint8_t>(value));
}

// An answer packet: the query as sent (with the answer count patched in)
// followed by records whose name is a pointer to the question's name.
struct AnswerBuilder {
    explicit AnswerBuilder(const std::string& host) {
        const std::string query = BuildDnsQuery(0x1234, host);
        packet.assign(query.begin(), query.end());
        packet[2] |= 0x80;
        questionLength = packet.size();
    }
    void Record(uint16_t type, const Bytes& data) {
        Put16(packet, 0xC00C);  // the question's name
        Put16(packet, type);
        Put16(packet, 1);
        Put16(packet, 0);
        Put16(packet, 60);
        Put16(packet, static_cast<uint16_t>(data.size()));
        packet.insert(packet.end(), data.begin(), data.end());
        ++answers;
        packet[6] = static_cast<uint8_t>(answers >> 8);
        packet[7] = static_cast<uint8_t>(answers);
    }
    DnsResult Parse() const { return ParseDnsAnswer(packet.data(), packet.size(), questionLength); }

    Bytes packet;
    size_t questionLength;
    int answers = 0;
};

uint32_t Address(uint8_t a, uint8_t b, uint8_t c, uint8_t d) {
    const uint8_t bytes[4] = {a, b, c, d};
    uint32_t address;
    std::memcpy(&address, bytes, 4);
    return address;
}

TEST(DnsQuery, HeaderQuestionAndLabels) {
    const std::string query = BuildDnsQuery(0xABCD, "api.tarvel.example");
    uint16_t id;
    std::memcpy(&id, query.data(), 2);
    EXPECT_EQ(id, 0xABCD);  // machine byte order
    const std::string rest(query.data() + 2, query.size() - 2);
    EXPECT_EQ(rest, std::string("\x01\x00\x00\x01\x00\x00\x00\x00\x00\x00", 10) +
                        "\x03"
                        "api\x06"
                        "tarvel\x07"
                        "example" +
                        std::string("\x00\x00\x01\x00\x01", 5));
    EXPECT_EQ(query.size(), 12u + 20u + 4u);
}

TEST(DnsQuery, NamesThatAreNotLabelsGiveNoQuery) {
    for (const std::string& host :
         std::vector<std::string>{"", ".", "a..b", "a.", ".a", std::string(64, 'x'), std::string(254, 'x')}) {
        EXPECT_TRUE(BuildDnsQuery(1, host).empty()) << host;
    }
    EXPECT_FALSE(BuildDnsQuery(1, std::string(63, 'x')).empty());
}

TEST(DnsAnswer, CnameThenTwoAddressesInAnswerOrder) {
    AnswerBuilder answer("www.tarvel.example");
    // CNAME data: "cdn" followed by a pointer to "tarvel.example" in the question.
    answer.Record(5, {3, 'c', 'd', 'n', 0xC0, 16});
    answer.Record(1, {127, 0, 0, 11});
    answer.Record(1, {127, 0, 0, 12});
    const DnsResult result = answer.Parse();
    ASSERT_EQ(result.count, 2);
    EXPECT_EQ(result.addresses[0], Address(127, 0, 0, 11));
    EXPECT_EQ(result.addresses[1], Address(127, 0, 0, 12));

    std::string name;
    size_t next = 0;
    const size_t cnameData = answer.questionLength + 12;
    ASSERT_TRUE(ReadDnsName(answer.packet.data(), answer.packet.size(), cnameData, name, next));
    EXPECT_EQ(name, "cdn.tarvel.example");
    EXPECT_EQ(next, cnameData + 6);
}

TEST(DnsAnswer, OnlyTheFirstTwentyRecordsAreRead) {
    AnswerBuilder answer("many.test");
    for (uint8_t i = 0; i < 25; ++i)
        answer.Record(1, {10, 0, 0, i});
    const DnsResult result = answer.Parse();
    ASSERT_EQ(result.count, 20);
    EXPECT_EQ(result.addresses[19], Address(10, 0, 0, 19));
}

TEST(DnsAnswer, EveryCutShortPacketHasNoAddresses) {
    AnswerBuilder answer("cut.test");
    answer.Record(5, {1, 'x', 0xC0, 12});
    answer.Record(1, {127, 0, 0, 9});
    ASSERT_EQ(answer.Parse().count, 1);
    for (size_t size = 0; size < answer.packet.size(); ++size) {
        // A copy of exactly size bytes, so that ASan sees any read past it.
        const Bytes cut(answer.packet.begin(), answer.packet.begin() + static_cast<std::ptrdiff_t>(size));
        EXPECT_EQ(ParseDnsAnswer(cut.data(), cut.size(), answer.questionLength).count, 0) << size;
    }
}

TEST(DnsAnswer, MalformedRecordsHaveNoAddresses) {
    {
        AnswerBuilder loop("loop.test");
        loop.Record(1, {127, 0, 0, 1});
        const size_t name = loop.questionLength;
        loop.packet[name] = 0xC0;  // a pointer to itself
        loop.packet[name + 1] = static_cast<uint8_t>(name);
        EXPECT_EQ(loop.Parse().count, 0);
    }
    {
        AnswerBuilder shortA("short.test");
        shortA.Record(1, {127, 0});
        EXPECT_EQ(shortA.Parse().count, 0);
    }
    {
        AnswerBuilder far("far.test");
        far.Record(1, {127, 0, 0, 1});
        far.packet[far.questionLength + 1] = 0xFF;  // pointer beyond the packet
        EXPECT_EQ(far.Parse().count, 0);
    }
    {
        AnswerBuilder ok("q.test");
        ok.Record(1, {127, 0, 0, 1});
        EXPECT_EQ(ParseDnsAnswer(ok.packet.data(), ok.packet.size(), ok.packet.size() + 1).count, 0);
        EXPECT_EQ(ParseDnsAnswer(nullptr, 0, 12).count, 0);
    }
}

TEST(DnsAnswer, OtherRecordTypesAreSkippedByTheirLength) {
    AnswerBuilder answer("v6.test");
    answer.Record(28, Bytes(16, 0xFE));
    answer.Record(1, {127, 0, 0, 5});
    const DnsResult result = answer.Parse();
    ASSERT_EQ(result.count, 1);
    EXPECT_EQ(result.addresses[0], Address(127, 0, 0, 5));
}

TEST(DottedIPv4, StrictForm) {
    uint32_t address = 0;
    EXPECT_TRUE(IsDottedIPv4("127.0.0.8", &address));
    EXPECT_EQ(address, Address(127, 0, 0, 8));
    EXPECT_TRUE(IsDottedIPv4("255.255.255.255"));
    EXPECT_TRUE(IsDottedIPv4("0.0.0.0"));
    for (const char* text : {"256.1.1.1", "1.2.3", "1..2.3", "1.2.3.4.5", "", "1.2.3.4.", ".1.2.3", "1.2.3.a",
                             " 1.2.3.4", "1.2.3.-4", "1.2.3.1000", "1.2.3.4\n"}) {
        EXPECT_FALSE(IsDottedIPv4(text)) << text;
    }
}

TEST(DottedIPv4, FormatNeedsSixteenBytes) {
    char buffer[16];
    ASSERT_TRUE(FormatIPv4(Address(114, 114, 114, 114), buffer, sizeof buffer));
    EXPECT_STREQ(buffer, "114.114.114.114");
    char small[15] = "untouched";
    EXPECT_FALSE(FormatIPv4(Address(1, 2, 3, 4), small, sizeof small));
    EXPECT_STREQ(small, "untouched");
}

}  // namespace
