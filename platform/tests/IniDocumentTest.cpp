#include "platform/IniDocument.h"

#include <gtest/gtest.h>

namespace platform {
namespace {

struct LookupCase {
    const char* file;
    const char* section;
    const char* key;
    std::optional<std::string> expected;
};

class IniLookup : public ::testing::TestWithParam<LookupCase> {};

TEST_P(IniLookup, FollowsWindowsRules) {
    const LookupCase& c = GetParam();
    EXPECT_EQ(IniDocument(c.file).Get(c.section, c.key), c.expected) << c.file;
}

INSTANTIATE_TEST_SUITE_P(
    Table, IniLookup,
    ::testing::Values(
        LookupCase{"[BaseSet]\nAutoStart=1\n", "BaseSet", "AutoStart", "1"},
        LookupCase{"[BaseSet]\nAutoStart=1\n", "baseset", "AUTOSTART", "1"},
        LookupCase{"  [ BaseSet ]  \n  AutoStart   =   1  \n", "BaseSet", "AutoStart", "1"},
        LookupCase{"[a]\r\nk=v\r\n", "a", "k", "v"},
        LookupCase{"[a]\nk=v", "a", "k", "v"},                      // no final newline
        LookupCase{"[a]\nk=first\nk=second\n", "a", "k", "first"},  // duplicate key
        LookupCase{"[a]\nk=one\n[a]\nk=two\nj=x\n", "a", "k", "one"},
        LookupCase{"[a]\nk=one\n[a]\nj=x\n", "a", "j", std::nullopt},  // only the first section
        LookupCase{"[a]\nk=\n", "a", "k", ""},
        LookupCase{"[a]\nk=\"quoted value\"\n", "a", "k", "quoted value"},
        LookupCase{"[a]\nk=\"half\n", "a", "k", "\"half"},
        LookupCase{"[a]\nk=a=b\n", "a", "k", "a=b"},
        LookupCase{"[a]\n;k=comment\n", "a", "k", std::nullopt},
        LookupCase{"k=before any section\n[a]\n", "a", "k", std::nullopt},
        LookupCase{"[a]\nk=v\n[b]\n", "b", "k", std::nullopt},
        LookupCase{"[a]\nkv\n", "a", "kv", std::nullopt}, LookupCase{"", "a", "k", std::nullopt},
        LookupCase{"[HotLst]\nHotName0=\xBE\xA9\xB3\xC7\n", "HotLst", "HotName0",
                   "\xBE\xA9\xB3\xC7"}));

TEST(IniNames, CompareAsciiLettersIgnoringCaseOnly) {
    EXPECT_TRUE(IniNamesEqual("BaseSet", "bASEsET"));
    EXPECT_FALSE(IniNamesEqual("BaseSet", "BaseSe"));
    // Two-byte characters whose second bytes are "A" and "a" are different characters.
    EXPECT_FALSE(IniNamesEqual("\x81\x41", "\x81\x61"));
    EXPECT_TRUE(IniNamesEqual("\x81\x41x", "\x81\x41X"));
    EXPECT_FALSE(IniDocument("[\x81\x41]\nk=1\n").Get("\x81\x61", "k").has_value());
    // A "]" that is the second byte of a character does not end the section name.
    EXPECT_EQ(IniDocument("[\x81\x5D]\nk=1\n").Get("\x81\x5D", "k"), "1");
}

TEST(IniParseInt, LeadingDecimalNumber) {
    EXPECT_EQ(IniParseInt("5"), 5);
    EXPECT_EQ(IniParseInt("12abc"), 12);
    EXPECT_EQ(IniParseInt("abc"), 0);
    EXPECT_EQ(IniParseInt(" -7"), -7);
    EXPECT_EQ(IniParseInt("+3"), 3);
    EXPECT_EQ(IniParseInt("4294967297"), 1);  // wraps like a 32-bit value
}

TEST(IniDocumentSet, ReplacesOnlyTheKeysLine) {
    IniDocument doc("; comment\r\n[a]\r\n  k = old  \r\nz=1\r\n\r\n[b]\r\nq=2\r\n");
    doc.Set("A", "K", "new");
    EXPECT_EQ(doc.bytes(), "; comment\r\n[a]\r\nK=new\r\nz=1\r\n\r\n[b]\r\nq=2\r\n");
}

TEST(IniDocumentSet, AddsKeyAfterTheSectionsLastLine) {
    IniDocument doc("[a]\nk=1\n\n[b]\nq=2\n");
    doc.Set("a", "n", "3");
    EXPECT_EQ(doc.bytes(), "[a]\nk=1\nn=3\n\n[b]\nq=2\n");
    doc.Set("b", "r", "4");
    EXPECT_EQ(doc.bytes(), "[a]\nk=1\nn=3\n\n[b]\nq=2\nr=4\n");
}

TEST(IniDocumentSet, AddsSectionAtTheEnd) {
    IniDocument empty;
    empty.Set("Local", "AppPath", "/opt/trovik");
    EXPECT_EQ(empty.bytes(), "[Local]\nAppPath=/opt/trovik\n");

    IniDocument noFinalNewline("[a]\nk=1");
    noFinalNewline.Set("b", "x", "y");
    EXPECT_EQ(noFinalNewline.bytes(), "[a]\nk=1\n[b]\nx=y\n");
    noFinalNewline.Set("a", "j", "2");
    EXPECT_EQ(noFinalNewline.Get("a", "j"), "2");
    EXPECT_EQ(noFinalNewline.Get("a", "k"), "1");
}

TEST(IniDocumentSet, SectionWithoutLineEndGetsOne) {
    IniDocument doc("[a]");
    doc.Set("a", "k", "v");
    EXPECT_EQ(doc.bytes(), "[a]\nk=v\n");
}

}  // namespace
}  // namespace platform
