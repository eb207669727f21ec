#include "FileVersion.h"

#include <elf.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstddef>
#include <cstdio>
#include <cstring>
#include <string_view>
#include <vector>

#include "Folders.h"
#include "UniqueFd.h"

namespace platform {
namespace {

constexpr std::string_view kSectionName = ".trovik_version";
// Larger section tables or name tables are not from a binary of ours.
constexpr uint64_t kMaxTableBytes = 16u << 20;

// Reads the ELF file through bounds-checked accessors: every offset and size comes
// from the file and is checked against its length before use.
class ElfReader {
public:
    explicit ElfReader(const std::string& path) : fd_(open(path.c_str(), O_RDONLY | O_CLOEXEC)) {
        struct stat info {};
        if (fd_.valid() && fstat(fd_.get(), &info) == 0 && S_ISREG(info.st_mode))
            size_ = static_cast<uint64_t>(info.st_size);
    }

    // `length` bytes at `offset`, or nothing when they lie outside the file.
    std::optional<std::vector<uint8_t>> Read(uint64_t offset, uint64_t length) const {
        if (offset > size_ || length > size_ - offset || length > kMaxTableBytes)
            return std::nullopt;
        std::vector<uint8_t> bytes(length);
        size_t done = 0;
        while (done < length) {
            ssize_t got = pread(fd_.get(), bytes.data() + done, length - done,
                                static_cast<off_t>(offset + done));
            if (got <= 0) return std::nullopt;
            done += static_cast<size_t>(got);
        }
        return bytes;
    }

    bool valid() const { return size_ > 0; }

private:
    UniqueFd fd_;
    uint64_t size_ = 0;
};

// Decodes unsigned integers in the file's byte order.
struct Decoder {
    bool bigEndian = false;

    uint64_t Get(const std::vector<uint8_t>& bytes, size_t offset, size_t width) const {
        uint64_t value = 0;
        for (size_t i = 0; i < width; ++i) {
            const uint8_t byte = bytes[offset + (bigEndian ? i : width - 1 - i)];
            value = value << 8 | byte;
        }
        return value;
    }
};

struct SectionHeader {
    uint64_t name = 0, type = 0, offset = 0, size = 0, link = 0;
};

}  // namespace

std::optional<std::array<uint16_t, 4>> ReadFileVersion(const std::string& path) {
    const ElfReader file(path.empty() ? ExecutablePath() : path);
    if (!file.valid()) return std::nullopt;
    auto ident = file.Read(0, EI_NIDENT);
    if (!ident || std::memcmp(ident->data(), ELFMAG, SELFMAG) != 0) return std::nullopt;
    const bool is64 = (*ident)[EI_CLASS] == ELFCLASS64;
    if (!is64 && (*ident)[EI_CLASS] != ELFCLASS32) return std::nullopt;
    if ((*ident)[EI_DATA] != ELFDATA2LSB && (*ident)[EI_DATA] != ELFDATA2MSB) return std::nullopt;
    const Decoder d{(*ident)[EI_DATA] == ELFDATA2MSB};

    auto header = file.Read(0, is64 ? sizeof(Elf64_Ehdr) : sizeof(Elf32_Ehdr));
    if (!header) return std::nullopt;
    uint64_t tableOffset, entrySize, count, namesIndex;
    if (is64) {
        tableOffset = d.Get(*header, offsetof(Elf64_Ehdr, e_shoff), 8);
        entrySize = d.Get(*header, offsetof(Elf64_Ehdr, e_shentsize), 2);
        count = d.Get(*header, offsetof(Elf64_Ehdr, e_shnum), 2);
        namesIndex = d.Get(*header, offsetof(Elf64_Ehdr, e_shstrndx), 2);
    } else {
        tableOffset = d.Get(*header, offsetof(Elf32_Ehdr, e_shoff), 4);
        entrySize = d.Get(*header, offsetof(Elf32_Ehdr, e_shentsize), 2);
        count = d.Get(*header, offsetof(Elf32_Ehdr, e_shnum), 2);
        namesIndex = d.Get(*header, offsetof(Elf32_Ehdr, e_shstrndx), 2);
    }
    const uint64_t minEntry = is64 ? sizeof(Elf64_Shdr) : sizeof(Elf32_Shdr);
    if (tableOffset == 0 || entrySize < minEntry) return std::nullopt;

    // Decodes the section header at `at` of `bytes`.
    auto parse = [&](const std::vector<uint8_t>& bytes, size_t at) {
        SectionHeader h;
        if (is64) {
            h.name = d.Get(bytes, at + offsetof(Elf64_Shdr, sh_name), 4);
            h.type = d.Get(bytes, at + offsetof(Elf64_Shdr, sh_type), 4);
            h.offset = d.Get(bytes, at + offsetof(Elf64_Shdr, sh_offset), 8);
            h.size = d.Get(bytes, at + offsetof(Elf64_Shdr, sh_size), 8);
            h.link = d.Get(bytes, at + offsetof(Elf64_Shdr, sh_link), 4);
        } else {
            h.name = d.Get(bytes, at + offsetof(Elf32_Shdr, sh_name), 4);
            h.type = d.Get(bytes, at + offsetof(Elf32_Shdr, sh_type), 4);
            h.offset = d.Get(bytes, at + offsetof(Elf32_Shdr, sh_offset), 4);
            h.size = d.Get(bytes, at + offsetof(Elf32_Shdr, sh_size), 4);
            h.link = d.Get(bytes, at + offsetof(Elf32_Shdr, sh_link), 4);
        }
        return h;
    };

    // Files with very many sections keep the real count and name-table index in
    // the first section header.
    if (count == 0 || namesIndex == SHN_XINDEX) {
        auto first = file.Read(tableOffset, minEntry);
        if (!first) return std::nullopt;
        const SectionHeader h = parse(*first, 0);
        if (count == 0) count = h.size;
        if (namesIndex == SHN_XINDEX) namesIndex = h.link;
    }
    if (count == 0 || namesIndex >= count || count > kMaxTableBytes / entrySize)
        return std::nullopt;
    auto table = file.Read(tableOffset, count * entrySize);
    if (!table) return std::nullopt;
    auto section = [&](uint64_t index) { return parse(*table, index * entrySize); };

    const SectionHeader namesHeader = section(namesIndex);
    if (namesHeader.type == SHT_NOBITS) return std::nullopt;
    auto names = file.Read(namesHeader.offset, namesHeader.size);
    if (!names) return std::nullopt;

    for (uint64_t i = 0; i < count; ++i) {
        const SectionHeader h = section(i);
        if (h.name >= names->size()) continue;
        const char* start = reinterpret_cast<const char*>(names->data()) + h.name;
        const size_t room = names->size() - h.name;
        const size_t length = strnlen(start, room);
        if (length == room || std::string_view(start, length) != kSectionName) continue;
        if (h.type == SHT_NOBITS || h.size < 8) return std::nullopt;
        auto data = file.Read(h.offset, 8);
        if (!data) return std::nullopt;
        std::array<uint16_t, 4> version{};
        for (size_t k = 0; k < 4; ++k) version[k] = static_cast<uint16_t>(d.Get(*data, 2 * k, 2));
        return version;
    }
    return std::nullopt;
}

std::string FileVersionText(const std::string& path) {
    auto version = ReadFileVersion(path);
    if (!version) return {};
    char text[32];
    std::snprintf(text, sizeof text, "%d.%d.%d.%d", (*version)[0], (*version)[1], (*version)[2],
                  (*version)[3]);
    return text;
}

}  // namespace platform
