// The shape of the public interface and of the library's exports.

#include <gtest/gtest.h>

#include <sstream>
#include <type_traits>

#include "tools/testsupport/ChildPrograms.h"
#include "vantrel/TrovikMgr.h"

namespace {

using testsupport::BinPath;
using testsupport::RunProgram;

static_assert(std::is_polymorphic_v<CTrovikMgr> && std::is_abstract_v<CTrovikMgr>);
static_assert(!std::has_virtual_destructor_v<CTrovikMgr>);
static_assert(sizeof(CTrovikMgr) == sizeof(void*), "no data members besides the dispatch table");
static_assert(!std::is_destructible_v<CTrovikMgr>, "callers cannot destroy the engine");
static_assert(std::is_copy_constructible_v<SearchResult> &&
              std::is_copy_constructible_v<PlaySource>);

TEST(Interface, RecordFieldsAreInTheirContractOrder) {
    // Designated initializers only compile when they follow the declaration order.
    const SearchResult result{.name = "1",
                              .category = "2",
                              .badgeLeft = "3",
                              .score = "4",
                              .synopsis = "5",
                              .region = "6",
                              .badgeRight = "7",
                              .detailUrl = "8",
                              .posterUrl = "9",
                              .year = "10",
                              .actors = {"11"},
                              .directors = {"12"},
                              .genres = {"13"}};
    const PlaySource source{.name = "1", .iconUrl = "2", .links = {"3"}};
    EXPECT_EQ(result.genres[0], "13");
    EXPECT_EQ(source.links[0], "3");
    const SearchResult empty;
    EXPECT_TRUE(empty.name.empty() && empty.actors.empty());
}

TEST(Interface, LibraryExportsOnlyGetTrovikMgr) {
    const auto nm = RunProgram("/usr/bin/nm", {"-D", "--defined-only", BinPath("libvantrel.so")});
    ASSERT_EQ(nm.exitCode, 0) << nm.err;
    std::istringstream lines(nm.out);
    std::vector<std::string> symbols;
    for (std::string line; std::getline(lines, line);) {
        if (line.empty()) continue;
        symbols.push_back(line.substr(line.rfind(' ') + 1));
        EXPECT_NE(line.find(" T "), std::string::npos) << line;
    }
    EXPECT_EQ(symbols, (std::vector<std::string>{"GetTrovikMgr"}));
}

TEST(Interface, OnlyTheLibraryLinksTheHttpAndHtmlLibraries) {
    const auto library = RunProgram("/usr/bin/readelf", {"-d", BinPath("libvantrel.so")});
    EXPECT_NE(library.out.find("libcurl"), std::string::npos);
    EXPECT_NE(library.out.find("libhtmlcxx"), std::string::npos);
    const auto command = RunProgram("/usr/bin/readelf", {"-d", BinPath("vantrel")});
    ASSERT_EQ(command.exitCode, 0);
    EXPECT_EQ(command.out.find("libcurl"), std::string::npos);
    EXPECT_EQ(command.out.find("libhtmlcxx"), std::string::npos);
    EXPECT_EQ(command.out.find("libvantrel"), std::string::npos);  // loaded at run time
}

TEST(Interface, EveryProgramCarriesItsFileVersion) {
    for (const char* binary : {"libvantrel.so", "vantrel", "devserver"}) {
        const auto sections = RunProgram("/usr/bin/readelf", {"-S", "-W", BinPath(binary)});
        ASSERT_EQ(sections.exitCode, 0) << binary;
        EXPECT_NE(sections.out.find(".trovik_version"), std::string::npos) << binary;
    }
}

}  // namespace
