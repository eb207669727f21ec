#include <fcntl.h>
#include <sys/file.h>

#include <cerrno>

#include "CodePage.h"
#include "IniDocument.h"
#include "ProfileFile.h"
#include "UniqueFd.h"
#include "WholeFile.h"

namespace platform {
namespace {

// Names and values that would change the file's structure cannot be written: a line
// end would start a new line, "]" would end a section name early, "=" in a key
// would move the split between key and value.
bool IsWritable(std::string_view section, std::string_view key, std::string_view value) {
    auto hasLineEnd = [](std::string_view s) {
        return s.find_first_of("\r\n") != std::string_view::npos;
    };
    return !section.empty() && !key.empty() && !hasLineEnd(section) && !hasLineEnd(key) &&
           !hasLineEnd(value) && section.find(']') == std::string_view::npos &&
           key.find('=') == std::string_view::npos && key.front() != '[' && key.front() != ';';
}

// Writers of all files in one folder are serialised by an exclusive flock on the
// folder itself: it needs no extra file, and the lock vanishes with its holder.
UniqueFd LockFolderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    const std::string folder =
        slash == std::string::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));
    UniqueFd fd(open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!fd.valid()) return fd;
    while (flock(fd.get(), LOCK_EX) != 0) {
        if (errno == EINTR) continue;
        // A file system without locks still gets the write, only unserialised.
        if (errno == ENOLCK || errno == EOPNOTSUPP || errno == EINVAL) break;
        return UniqueFd();
    }
    return fd;
}

}  // namespace

bool WriteProfileString(std::string_view section, std::string_view key, std::string_view value,
                        const std::string& path) {
    if (!IsWritable(section, key, value) || path.empty()) return false;
    const std::string target = ResolveFileLink(path);
    if (target.empty()) return false;
    UniqueFd lock = LockFolderOf(target);
    if (!lock.valid()) return false;  // also: the folder is missing

    std::string bytes;
    // An unreadable file must not be replaced by one holding a single key.
    const ReadStatus status = ReadWholeFile(target, bytes);
    if (status == ReadStatus::kFailed) return false;
    IniDocument document(std::move(bytes));
    const std::string before = document.bytes();
    document.Set(section, key, value);
    if (status == ReadStatus::kRead && document.bytes() == before) return true;
    return ReplaceFile(target, document.bytes());
}

bool WriteProfileString(std::wstring_view section, std::wstring_view key, std::wstring_view value,
                        const std::string& path) {
    return WriteProfileString(WideToGb18030(section), WideToGb18030(key), WideToGb18030(value),
                              path);
}

}  // namespace platform
