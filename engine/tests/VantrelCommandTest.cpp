// The vantrel command's contract, against devserver and the sample portal.

#include <json/reader.h>
#include <json/value.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "tools/testsupport/ChildPrograms.h"
#include "tools/testsupport/TempDir.h"
#include "tools/testsupport/WaitFor.h"

namespace {

using testsupport::BinPath;
using testsupport::DevServerProcess;
using testsupport::ProgramResult;
using testsupport::ReadFile;
using testsupport::RunProgram;
using testsupport::TempDir;
using testsupport::WaitFor;
using testsupport::WriteFile;

Json::Value ParseJson(const std::string& text) {
    Json::Value value;
    Json::CharReaderBuilder builder;
    std::string errors;
    std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
    EXPECT_TRUE(reader->parse(text.data(), text.data() + text.size(), &value, &errors))
        << errors << "\n"
        << text;
    return value;
}

ProgramResult Vantrel(const std::vector<std::string>& args) {
    return RunProgram(BinPath("vantrel"), args, {"VANTREL_SEARCH_HOST="});
}

class VantrelCommandTest : public ::testing::Test {
protected:
    std::string logPath() const { return dir_ / "requests.log"; }
    TempDir dir_;
};

TEST_F(VantrelCommandTest, SearchPrintsEveryResultWithItsSources) {
    DevServerProcess server({"--log", logPath()});
    const ProgramResult run = Vantrel({"search", "--portal", server.hostPort(), "城"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const Json::Value doc = ParseJson(run.out);
    EXPECT_TRUE(doc["ok"].asBool());
    EXPECT_EQ(doc["keyword"].asString(), "%B3%C7");  // GBK bytes of the name, percent-encoded
    const Json::Value& results = doc["results"];
    ASSERT_EQ(results.size(), 3u);

    const Json::Value& film = results[0];
    EXPECT_EQ(film["name"].asString(), "迷城追凶");
    EXPECT_EQ(film["category"].asString(), "[电影]");
    EXPECT_EQ(film["score"].asString(), "8.2");
    EXPECT_EQ(film["region"].asString(), "中国香港");
    EXPECT_EQ(film["year"].asString(), "2018");
    EXPECT_EQ(film["badgeLeft"].asString(), "超清");
    EXPECT_EQ(film["badgeRight"].asString(), "HD");
    EXPECT_EQ(film["directors"].size(), 2u);
    EXPECT_EQ(film["actors"][0].asString(), "郑家豪");
    EXPECT_EQ(film["genres"].size(), 3u);
    EXPECT_EQ(film["detailUrl"].asString(), "http://" + server.hostPort() + "/detail/1003.html");
    EXPECT_EQ(film["posterUrl"].asString(), "http://" + server.hostPort() + "/img/poster/1003.jpg");
    EXPECT_FALSE(film["synopsis"].asString().empty());
    EXPECT_TRUE(film["sourcesOk"].asBool());
    ASSERT_EQ(film["sources"].size(), 4u);
    for (const Json::Value& source : film["sources"]) EXPECT_EQ(source["links"].size(), 1u);
    EXPECT_EQ(film["sources"][0]["name"].asString(), "橙果影院");

    const Json::Value& series = results[1];  // hosted on six sites
    EXPECT_EQ(series["name"].asString(), "城南旧事录");
    ASSERT_EQ(series["sources"].size(), 6u);
    for (const Json::Value& source : series["sources"]) EXPECT_EQ(source["links"].size(), 24u);
    EXPECT_EQ(series["sources"][5]["iconUrl"].asString(),
              "http://" + server.hostPort() + "/img/site/yunfan.png");

    // One search page, then every result's detail page (several at a time).
    const std::string search = "GET /search_%B3%C7/\n";
    const std::vector<std::string> details = {"GET /detail/1003.html\n", "GET /detail/2002.html\n",
                                              "GET /detail/2004.html\n"};
    EXPECT_TRUE(WaitFor([&] {
        const std::string log = ReadFile(logPath());
        return log.starts_with(search) && log.size() == search.size() + 3 * details[0].size() &&
               std::all_of(details.begin(), details.end(),
                           [&](const std::string& d) { return log.find(d) != std::string::npos; });
    })) << ReadFile(logPath());
}

TEST_F(VantrelCommandTest, JobsOneFetchesTheDetailPagesInOrderAndPrintsTheSameDocument) {
    DevServerProcess server({"--log", logPath()});
    const ProgramResult one =
        Vantrel({"search", "--jobs", "1", "--portal", server.hostPort(), "城"});
    ASSERT_EQ(one.exitCode, 0) << one.err;
    const std::string expected =
        "GET /search_%B3%C7/\nGET /detail/1003.html\nGET /detail/2002.html\nGET "
        "/detail/2004.html\n";
    EXPECT_TRUE(WaitFor([&] { return ReadFile(logPath()) == expected; })) << ReadFile(logPath());
    const ProgramResult six =
        Vantrel({"search", "--portal", server.hostPort(), "--jobs", "6", "城"});
    EXPECT_EQ(six.out, one.out);
    const ProgramResult standard = Vantrel({"search", "--portal", server.hostPort(), "全部"});
    EXPECT_EQ(standard.out,
              Vantrel({"search", "--portal", server.hostPort(), "--jobs", "1", "全部"}).out);
    EXPECT_EQ(ParseJson(standard.out)["results"].size(), 10u);
}

TEST_F(VantrelCommandTest, ResultsWithoutSourcesAreStillListed) {
    DevServerProcess server;
    const ProgramResult run = Vantrel({"search", "--portal", server.hostPort(), "全部"});
    ASSERT_EQ(run.exitCode, 0);
    const Json::Value doc = ParseJson(run.out);
    ASSERT_EQ(doc["results"].size(), 10u);
    const Json::Value& variety = doc["results"][7];
    EXPECT_EQ(variety["category"].asString(), "[综艺]");
    EXPECT_FALSE(variety["sourcesOk"].asBool());
    EXPECT_TRUE(variety["sources"].isArray());
    EXPECT_EQ(variety["sources"].size(), 0u);
}

TEST_F(VantrelCommandTest, SourcesOfOneDetailPage) {
    DevServerProcess server;
    const std::string url = "http://" + server.hostPort() + "/detail/2001.html";
    ProgramResult run = Vantrel({"sources", "--category", "[电视剧]", url});
    ASSERT_EQ(run.exitCode, 0);
    Json::Value doc = ParseJson(run.out);
    EXPECT_TRUE(doc["ok"].asBool());
    ASSERT_EQ(doc["sources"].size(), 2u);
    EXPECT_EQ(doc["sources"][0]["links"].size(), 40u);
    EXPECT_EQ(doc["sources"][0]["links"][39].asString(),
              "http://" + server.hostPort() + "/play/?v=2001-qingyou-40");

    run = Vantrel({"sources", url, "--category", "[综艺]"});
    ASSERT_EQ(run.exitCode, 0);
    doc = ParseJson(run.out);
    EXPECT_FALSE(doc["ok"].asBool());
    EXPECT_EQ(doc["sources"].size(), 0u);
}

TEST_F(VantrelCommandTest, FailedSearchStillRunsAndExitsZero) {
    DevServerProcess server;
    const ProgramResult run = Vantrel({"search", "--portal", server.hostPort(), "没有 这个"});
    ASSERT_EQ(run.exitCode, 0);
    const Json::Value doc = ParseJson(run.out);
    EXPECT_FALSE(doc["ok"].asBool());
    EXPECT_EQ(doc["keyword"].asString(), "%C3%BB%D3%D0+%D5%E2%B8%F6");
    EXPECT_EQ(doc["results"].size(), 0u);
}

TEST_F(VantrelCommandTest, InvalidGbkBecomesReplacementCharacters) {
    WriteFile(dir_.path() / "root" / "search_x" / "index.html",
              "<ul id=\"searchlist\"><li><div class=\"txt_right\">"
              "<a class=\"aVideoName\" href=\"u\">\x80\xB7\xE7</a></div></li></ul>");
    DevServerProcess server({"--root", dir_ / "root"});
    const ProgramResult run = Vantrel({"search", "--portal", server.hostPort(), "x"});
    const Json::Value doc = ParseJson(run.out);
    ASSERT_EQ(doc["results"].size(), 1u);
    EXPECT_EQ(doc["results"][0]["name"].asString(), "\uFFFD风");
}

TEST_F(VantrelCommandTest, BadArgumentsGiveUsageAndExitTwo) {
    for (const std::vector<std::string>& args :
         std::vector<std::vector<std::string>>{{},
                                               {"find", "x"},
                                               {"search"},
                                               {"search", "a", "b"},
                                               {"search", "--portal"},
                                               {"search", "--color", "x"},
                                               {"search", "--category", "[电影]", "x"},
                                               {"search", "--jobs", "0", "x"},
                                               {"search", "--jobs", "7", "x"},
                                               {"search", "--jobs", "x"},
                                               {"search", "--jobs", "2", "--jobs", "2", "x"},
                                               {"sources", "--jobs", "2", "--category", "c", "u"},
                                               {"sources", "http://a/b"},
                                               {"sources", "--category", "[电影]"}}) {
        const ProgramResult run = Vantrel(args);
        EXPECT_EQ(run.exitCode, 2) << ::testing::PrintToString(args);
        EXPECT_NE(run.err.find("usage: vantrel search"), std::string::npos);
        EXPECT_TRUE(run.out.empty());
    }
}

TEST_F(VantrelCommandTest, ReadsTheSearchHostBesideTheLibrary) {
    // An installation folder of its own: the program, the library and a
    // Config/AutoCfg.cfg that names this test's devserver.
    DevServerProcess server;
    const auto install = dir_.path() / "install";
    std::filesystem::create_directories(install);
    std::filesystem::copy_file(BinPath("vantrel"), install / "vantrel");
    std::filesystem::copy_file(BinPath("libvantrel.so"), install / "libvantrel.so");
    WriteFile(install / "Config" / "AutoCfg.cfg",
              "[Portal]\r\nSearchHost = " + server.hostPort() + "\r\n");
    const ProgramResult run = RunProgram((install / "vantrel").string(), {"search", "山"},
                                         {"VANTREL_SEARCH_HOST=", "LD_LIBRARY_PATH="});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const Json::Value doc = ParseJson(run.out);
    EXPECT_TRUE(doc["ok"].asBool());
    ASSERT_EQ(doc["results"].size(), 1u);
    EXPECT_EQ(doc["results"][0]["name"].asString(), "山海长歌");
    EXPECT_EQ(doc["results"][0]["sources"].size(), 2u);

    // Without the file there is no search host, and nothing is found.
    std::filesystem::remove(install / "Config" / "AutoCfg.cfg");
    const Json::Value none = ParseJson(
        RunProgram((install / "vantrel").string(), {"search", "山"}, {"VANTREL_SEARCH_HOST="}).out);
    EXPECT_FALSE(none["ok"].asBool());
}

}  // namespace
