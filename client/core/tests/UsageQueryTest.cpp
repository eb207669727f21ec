#include <gtest/gtest.h>

#include <cstdio>
#include <regex>

#include "client/core/UsageQuery.h"
#include "client/core/tests/QueryDecode.h"

namespace {

const char* const kNames[] = {"macid", "ver", "osver", "text", "type", "guid", "chid"};

UsageIdentity SampleIdentity() {
    UsageIdentity id;
    id.adapterAddresses = "00:1A:2B:3C:4D:5E|02:42:AC:11:00:02";
    id.fileVersion = "1.0.1.102";
    id.systemName = "Debian GNU/Linux 12 (bookworm)";
    id.guid = "{6B29FC40-CA47-1067-B31D-00DD010662DA}";
    id.chid = "web01";
    return id;
}

// The query is within the byte limit, uses only unreserved characters and whole
// percent groups, and holds the seven parameters in their fixed order.
void ExpectWellFormed(const std::string& query) {
    EXPECT_LE(query.size(), kMaxUsageQueryBytes);
    static const std::regex kShape(
        R"(liveness\.php\?macid=[^&]*&ver=[^&]*&osver=[^&]*&text=[^&]*&type=-?[0-9]+&guid=[^&]*&chid=[^&]*)");
    EXPECT_TRUE(std::regex_match(query, kShape)) << query;
    static const std::regex kValueChars(R"(([A-Za-z0-9._~=&?-]|%[0-9A-F]{2})*)");
    EXPECT_TRUE(std::regex_match(query, kValueChars)) << query;
    const auto params = DecodeQuery(query);
    ASSERT_EQ(params.size(), 7u);
    for (size_t i = 0; i < 7; ++i) EXPECT_EQ(params[i].first, kNames[i]);
}

TEST(UsageQueryTest, ValuesAppearInOrderAndEncoded) {
    EXPECT_EQ(BuildUsageQuery(SampleIdentity(), kUsageReportSearch, "abc"),
              "liveness.php?macid=00%3A1A%3A2B%3A3C%3A4D%3A5E%7C02%3A42%3AAC%3A11%3A00%3A02"
              "&ver=1.0.1.102&osver=Debian%20GNU%2FLinux%2012%20%28bookworm%29&text=abc&type=1"
              "&guid=%7B6B29FC40-CA47-1067-B31D-00DD010662DA%7D&chid=web01");
}

TEST(UsageQueryTest, MissingValuesAreSentEmpty) {
    EXPECT_EQ(BuildUsageQuery(UsageIdentity{}, kUsageReportStartup, ""),
              "liveness.php?macid=&ver=&osver=&text=&type=2&guid=&chid=");
    EXPECT_EQ(BuildUsageQuery(UsageIdentity{}, -2147483647 - 1, ""),
              "liveness.php?macid=&ver=&osver=&text=&type=-2147483648&guid=&chid=");
}

TEST(UsageQueryTest, TextThatLooksLikeParametersStaysOneValue) {
    const std::string text = "a&type=9 b#frag\r\n+%20\xC4\xE3\xBA\xC3";  // ends in GB18030 "你好"
    const std::string query = BuildUsageQuery(SampleIdentity(), kUsageReportSearch, text);
    EXPECT_NE(query.find("&text=a%26type%3D9%20b%23frag%0D%0A%2B%2520%C4%E3%BA%C3&type=1&"),
              std::string::npos)
        << query;
    ExpectWellFormed(query);
    const auto params = DecodeQuery(query);
    EXPECT_EQ(params[3].second, text);
    EXPECT_EQ(params[4].second, "1");
}

TEST(UsageQueryTest, EveryByteDecodesBackToItself) {
    std::string all;
    for (int c = 0; c < 256; ++c) all += static_cast<char>(c);
    const std::string encoded = PercentEncodeQueryValue(all);
    EXPECT_EQ(encoded.find('+'), std::string::npos);
    EXPECT_EQ(DecodeQuery("x?v=" + encoded)[0].second, all);
    EXPECT_EQ(PercentEncodeQueryValue("AZaz09-._~"), "AZaz09-._~");
    EXPECT_EQ(PercentEncodeQueryValue(" "), "%20");
}

TEST(UsageQueryTest, LongTextIsCutFirstWithoutBreakingAGroup) {
    // Each 0xFF byte takes three bytes in the query; try every alignment of the cut.
    for (int lead = 0; lead < 3; ++lead) {
        const std::string text = std::string(lead, 'a') + std::string(1500, '\xFF');
        const std::string query = BuildUsageQuery(SampleIdentity(), kUsageReportSearch, text);
        ExpectWellFormed(query);
        EXPECT_GE(query.size(), kMaxUsageQueryBytes - 2) << "the text should fill the query";
        const auto params = DecodeQuery(query);
        EXPECT_FALSE(params[3].second.empty());
        EXPECT_EQ(text.compare(0, params[3].second.size(), params[3].second), 0);
        EXPECT_EQ(params[0].second, SampleIdentity().adapterAddresses);
        EXPECT_EQ(params[2].second, SampleIdentity().systemName);
        EXPECT_EQ(params[5].second, SampleIdentity().guid);
        EXPECT_EQ(params[6].second, SampleIdentity().chid);
    }
}

TEST(UsageQueryTest, ManyAdaptersAreCutToWholeAdapters) {
    UsageIdentity id = SampleIdentity();
    std::string adapters;
    for (int i = 0; i < 56; ++i) {  // 56 six-byte adapters: 1,007 bytes, fits its buffer
        char one[18];
        std::snprintf(one, sizeof one, "02:00:00:00:%02X:%02X", i / 256, i % 256);
        if (!adapters.empty()) adapters += '|';
        adapters += one;
    }
    ASSERT_LE(adapters.size(), 1023u);
    id.adapterAddresses = adapters;

    const std::string query = BuildUsageQuery(id, kUsageReportSearch, "some search");
    ExpectWellFormed(query);
    const auto params = DecodeQuery(query);
    const std::string& macid = params[0].second;
    // The text goes first, then whole adapters from the end.
    EXPECT_EQ(params[3].second, "");
    ASSERT_FALSE(macid.empty());
    ASSERT_LT(macid.size(), adapters.size());
    EXPECT_EQ(adapters.compare(0, macid.size(), macid), 0);
    EXPECT_EQ(adapters[macid.size()], '|');
    // As many adapters as fit: one more would not.
    const size_t next = adapters.find('|', macid.size() + 1);
    const std::string nextAdapter = adapters.substr(macid.size(), next - macid.size());
    EXPECT_GT(query.size() + PercentEncodeQueryValue(nextAdapter).size(), kMaxUsageQueryBytes);
    EXPECT_EQ(params[5].second, id.guid);
    EXPECT_EQ(params[6].second, id.chid);
}

TEST(UsageQueryTest, EveryValueAtItsLongestStillFits) {
    UsageIdentity id;
    id.adapterAddresses = std::string(1023, '|');
    id.fileVersion = std::string(300, '.');
    id.systemName = std::string(1000, '/');
    id.guid = std::string(255, '{');
    id.chid = std::string(255, '\xB0');
    const std::string query = BuildUsageQuery(id, kUsageReportSearch, std::string(1022, '\x80'));
    ExpectWellFormed(query);
    const auto params = DecodeQuery(query);
    EXPECT_EQ(params[4].second, "1");
}

}  // namespace
