#include "platform/FileVersion.h"

#include <elf.h>

#include <gtest/gtest.h>

#include <cstddef>

#include "platform/tests/ChildProcess.h"
#include "tools/testsupport/IsolatedEnv.h"

namespace platform {
namespace {

using Version = std::array<uint16_t, 4>;

// Builds a minimal ELF file: header, section names, version bytes, and a table of
// three sections (null, ".shstrtab", ".trovik_version"). Fields can be spoiled
// afterwards through the offsets it reports.
struct ElfImage {
    bool is64 = true;
    bool bigEndian = false;
    Version version = {1, 2, 0, 1067};

    std::string bytes;
    size_t tableOffset = 0;
    size_t entrySize = 0;

    void Put(size_t at, uint64_t value, size_t width) {
        for (size_t i = 0; i < width; ++i) {
            const size_t shift = 8 * (bigEndian ? width - 1 - i : i);
            bytes[at + i] = static_cast<char>((value >> shift) & 0xFF);
        }
    }
    // Offset of a field of section `index`.
    size_t Field(size_t index, size_t offset64, size_t offset32) const {
        return tableOffset + index * entrySize + (is64 ? offset64 : offset32);
    }

    void Build() {
        const size_t headerSize = is64 ? sizeof(Elf64_Ehdr) : sizeof(Elf32_Ehdr);
        entrySize = is64 ? sizeof(Elf64_Shdr) : sizeof(Elf32_Shdr);
        const std::string names = std::string("\0.shstrtab\0.trovik_version\0", 27);
        const size_t namesOffset = headerSize;
        const size_t versionOffset = namesOffset + names.size() + 1;  // one byte of padding
        tableOffset = versionOffset + 8;
        bytes.assign(tableOffset + 3 * entrySize, '\0');
        std::copy(names.begin(), names.end(), bytes.begin() + namesOffset);
        for (size_t k = 0; k < 4; ++k) Put(versionOffset + 2 * k, version[k], 2);

        std::copy(ELFMAG, ELFMAG + SELFMAG, bytes.begin());
        bytes[EI_CLASS] = is64 ? ELFCLASS64 : ELFCLASS32;
        bytes[EI_DATA] = bigEndian ? ELFDATA2MSB : ELFDATA2LSB;
        bytes[EI_VERSION] = EV_CURRENT;
        if (is64) {
            Put(offsetof(Elf64_Ehdr, e_shoff), tableOffset, 8);
            Put(offsetof(Elf64_Ehdr, e_shentsize), entrySize, 2);
            Put(offsetof(Elf64_Ehdr, e_shnum), 3, 2);
            Put(offsetof(Elf64_Ehdr, e_shstrndx), 1, 2);
        } else {
            Put(offsetof(Elf32_Ehdr, e_shoff), tableOffset, 4);
            Put(offsetof(Elf32_Ehdr, e_shentsize), entrySize, 2);
            Put(offsetof(Elf32_Ehdr, e_shnum), 3, 2);
            Put(offsetof(Elf32_Ehdr, e_shstrndx), 1, 2);
        }
        const size_t wide = is64 ? 8 : 4;
        auto section = [&](size_t index, uint64_t name, uint64_t offset, uint64_t size) {
            Put(Field(index, offsetof(Elf64_Shdr, sh_name), offsetof(Elf32_Shdr, sh_name)), name,
                4);
            Put(Field(index, offsetof(Elf64_Shdr, sh_type), offsetof(Elf32_Shdr, sh_type)),
                SHT_PROGBITS, 4);
            Put(Field(index, offsetof(Elf64_Shdr, sh_offset), offsetof(Elf32_Shdr, sh_offset)),
                offset, wide);
            Put(Field(index, offsetof(Elf64_Shdr, sh_size), offsetof(Elf32_Shdr, sh_size)), size,
                wide);
        };
        section(1, 1, namesOffset, names.size());
        section(2, 11, versionOffset, 8);
    }

    void SetSection(size_t index, size_t offset64, size_t offset32, uint64_t value, size_t width) {
        Put(Field(index, offset64, offset32), value, width);
    }
    void SetHeader(size_t offset64, size_t offset32, uint64_t value, size_t width) {
        Put(is64 ? offset64 : offset32, value, width);
    }
};

class FileVersionTest : public ::testing::Test {
protected:
    std::optional<Version> ReadBytes(const std::string& bytes) {
        const std::string path = env_.root() / "image";
        testsupport::WriteFile(path, bytes);
        return ReadFileVersion(path);
    }
    testsupport::IsolatedEnv env_;
};

TEST_F(FileVersionTest, BinariesOfThisBuildCarryTheProjectVersion) {
    EXPECT_EQ(FileVersionText(""), TROVIK_VERSION_TEXT);
    EXPECT_EQ(FileVersionText(platformtest::HelperPath()), TROVIK_VERSION_TEXT);
    EXPECT_EQ(ReadFileVersion(""), ReadFileVersion(platformtest::HelperPath()));
}

TEST_F(FileVersionTest, OtherFilesHaveNone) {
    EXPECT_EQ(ReadFileVersion("/bin/sh"), std::nullopt);
    EXPECT_EQ(FileVersionText("/bin/sh"), "");
    EXPECT_EQ(FileVersionText(env_.root() / "missing"), "");
    EXPECT_EQ(FileVersionText(env_.root().path().string()), "");
    EXPECT_EQ(ReadBytes(""), std::nullopt);
    EXPECT_EQ(ReadBytes("#!/bin/sh\necho not an ELF file\n"), std::nullopt);
}

TEST_F(FileVersionTest, ReadsEveryClassAndByteOrder) {
    for (bool is64 : {true, false}) {
        for (bool bigEndian : {false, true}) {
            ElfImage image;
            image.is64 = is64;
            image.bigEndian = bigEndian;
            image.version = {65535, 2, 0, 1067};
            image.Build();
            EXPECT_EQ(ReadBytes(image.bytes), image.version) << is64 << bigEndian;
        }
    }
    ElfImage image;
    image.Build();
    testsupport::WriteFile(env_.root() / "image", image.bytes);
    EXPECT_EQ(FileVersionText(env_.root() / "image"), "1.2.0.1067");
}

TEST_F(FileVersionTest, TruncatedFilesHaveNone) {
    ElfImage image;
    image.Build();
    for (size_t length = 0; length < image.bytes.size(); ++length)
        EXPECT_EQ(ReadBytes(image.bytes.substr(0, length)), std::nullopt) << length;
}

TEST_F(FileVersionTest, SpoiledTablesHaveNone) {
    struct Spoil {
        const char* what;
        void (*apply)(ElfImage&);
    };
    const Spoil spoils[] = {
        {"name beyond the name table",
         [](ElfImage& e) {
             e.SetSection(2, offsetof(Elf64_Shdr, sh_name), offsetof(Elf32_Shdr, sh_name), 4000, 4);
         }},
        {"name table without its final zero",
         [](ElfImage& e) {
             e.SetSection(1, offsetof(Elf64_Shdr, sh_size), offsetof(Elf32_Shdr, sh_size), 26,
                          e.is64 ? 8 : 4);
         }},
        {"version beyond the end",
         [](ElfImage& e) {
             e.SetSection(2, offsetof(Elf64_Shdr, sh_offset), offsetof(Elf32_Shdr, sh_offset),
                          1u << 30, e.is64 ? 8 : 4);
         }},
        {"version offset near the top of the range",
         [](ElfImage& e) {
             e.SetSection(2, offsetof(Elf64_Shdr, sh_offset), offsetof(Elf32_Shdr, sh_offset),
                          ~0ull - 3, e.is64 ? 8 : 4);
         }},
        {"short version section",
         [](ElfImage& e) {
             e.SetSection(2, offsetof(Elf64_Shdr, sh_size), offsetof(Elf32_Shdr, sh_size), 6,
                          e.is64 ? 8 : 4);
         }},
        {"version without file bytes",
         [](ElfImage& e) {
             e.SetSection(2, offsetof(Elf64_Shdr, sh_type), offsetof(Elf32_Shdr, sh_type),
                          SHT_NOBITS, 4);
         }},
        {"huge name table",
         [](ElfImage& e) {
             e.SetSection(1, offsetof(Elf64_Shdr, sh_size), offsetof(Elf32_Shdr, sh_size), ~0ull,
                          e.is64 ? 8 : 4);
         }},
        {"entries too small",
         [](ElfImage& e) {
             e.SetHeader(offsetof(Elf64_Ehdr, e_shentsize), offsetof(Elf32_Ehdr, e_shentsize), 10,
                         2);
         }},
        {"too many sections",
         [](ElfImage& e) {
             e.SetHeader(offsetof(Elf64_Ehdr, e_shnum), offsetof(Elf32_Ehdr, e_shnum), 0xFFFE, 2);
         }},
        {"name table index out of range",
         [](ElfImage& e) {
             e.SetHeader(offsetof(Elf64_Ehdr, e_shstrndx), offsetof(Elf32_Ehdr, e_shstrndx), 3, 2);
         }},
        {"table beyond the end",
         [](ElfImage& e) {
             e.SetHeader(offsetof(Elf64_Ehdr, e_shoff), offsetof(Elf32_Ehdr, e_shoff), 0xFFFFFFF0u,
                         4);
         }},
        {"no section table",
         [](ElfImage& e) {
             e.SetHeader(offsetof(Elf64_Ehdr, e_shoff), offsetof(Elf32_Ehdr, e_shoff), 0,
                         e.is64 ? 8 : 4);
         }},
        {"unknown class", [](ElfImage& e) { e.bytes[EI_CLASS] = 7; }},
        {"unknown byte order", [](ElfImage& e) { e.bytes[EI_DATA] = 0; }},
    };
    for (bool is64 : {true, false}) {
        for (const Spoil& spoil : spoils) {
            ElfImage image;
            image.is64 = is64;
            image.Build();
            spoil.apply(image);
            EXPECT_EQ(ReadBytes(image.bytes), std::nullopt) << spoil.what << " 64-bit " << is64;
        }
    }
}

TEST_F(FileVersionTest, ManySectionsKeepTheirCountInTheFirstEntry) {
    ElfImage image;
    image.Build();
    image.SetHeader(offsetof(Elf64_Ehdr, e_shnum), 0, 0, 2);
    image.SetHeader(offsetof(Elf64_Ehdr, e_shstrndx), 0, SHN_XINDEX, 2);
    image.SetSection(0, offsetof(Elf64_Shdr, sh_size), 0, 3, 8);
    image.SetSection(0, offsetof(Elf64_Shdr, sh_link), 0, 1, 4);
    EXPECT_EQ(ReadBytes(image.bytes), image.version);
}

}  // namespace
}  // namespace platform
