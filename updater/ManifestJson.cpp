#include "updater/ManifestJson.h"

#include <fcntl.h>
#include <json/reader.h>
#include <json/writer.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <memory>

#include "platform/Folders.h"
#include "platform/UniqueFd.h"
#include "platform/WholeFile.h"

namespace {

void WriteString(std::string& out, const char* begin, const char* end) {
    out.push_back('"');
    for (const char* p = begin; p != end; ++p) {
        const unsigned char c = static_cast<unsigned char>(*p);
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\b':
                out += "\\b";
                break;
            case '\f':
                out += "\\f";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                if (c < 0x20) {
                    char escaped[8];
                    std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
                    out += escaped;
                } else {
                    out.push_back(static_cast<char>(c));
                }
        }
    }
    out.push_back('"');
}

void WriteValue(std::string& out, const Json::Value& value) {
    switch (value.type()) {
        case Json::nullValue:
            out += "null";
            break;
        case Json::intValue:
            out += std::to_string(value.asLargestInt());
            break;
        case Json::uintValue:
            out += std::to_string(value.asLargestUInt());
            break;
        case Json::realValue:
            out += Json::valueToString(value.asDouble());
            break;
        case Json::booleanValue:
            out += value.asBool() ? "true" : "false";
            break;
        case Json::stringValue: {
            const char* begin = nullptr;
            const char* end = nullptr;
            if (value.getString(&begin, &end))
                WriteString(out, begin, end);
            else
                out += "\"\"";
            break;
        }
        case Json::arrayValue: {
            out.push_back('[');
            for (Json::ArrayIndex i = 0; i < value.size(); ++i) {
                if (i > 0) out.push_back(',');
                WriteValue(out, value[i]);
            }
            out.push_back(']');
            break;
        }
        case Json::objectValue: {
            // Json::Value keeps members ordered by the bytes of their names.
            out.push_back('{');
            bool first = true;
            for (auto it = value.begin(); it != value.end(); ++it) {
                if (!first) out.push_back(',');
                first = false;
                const char* end = nullptr;
                const char* begin = it.memberName(&end);
                WriteString(out, begin, end);
                out.push_back(':');
                WriteValue(out, *it);
            }
            out.push_back('}');
            break;
        }
    }
}

}  // namespace

std::string WriteFastJson(const Json::Value& value) {
    std::string out;
    WriteValue(out, value);
    out.push_back('\n');
    return out;
}

platform::ReadStatus ReadBoundedFile(const std::string& path, size_t maxBytes, std::string& bytes) {
    bytes.clear();
    platform::UniqueFd fd(open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (!fd.valid())
        return errno == ENOENT ? platform::ReadStatus::kMissing : platform::ReadStatus::kFailed;
    struct stat info {};
    if (fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode) ||
        static_cast<unsigned long long>(info.st_size) > maxBytes)
        return platform::ReadStatus::kFailed;
    char buffer[65536];
    while (true) {
        const ssize_t got = read(fd.get(), buffer, sizeof buffer);
        if (got == 0) return platform::ReadStatus::kRead;
        if (got < 0) {
            if (errno == EINTR) continue;
            return platform::ReadStatus::kFailed;
        }
        // The file may have grown since fstat.
        if (bytes.size() + static_cast<size_t>(got) > maxBytes)
            return platform::ReadStatus::kFailed;
        bytes.append(buffer, static_cast<size_t>(got));
    }
}

bool ParseJsonText(std::string_view bytes, Json::Value& root) {
    root = Json::Value();
    Json::CharReaderBuilder builder;
    builder["collectComments"] = false;
    builder["stackLimit"] = kMaxJsonDepth;
    const std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
    try {
        if (reader->parse(bytes.data(), bytes.data() + bytes.size(), &root, nullptr)) return true;
    } catch (const std::exception&) {
        // Nesting beyond the stack limit.
    }
    root = Json::Value();
    return false;
}

bool ReadJsonFile(const std::string& path, Json::Value& root, size_t maxBytes) {
    root = Json::Value();
    std::string bytes;
    if (ReadBoundedFile(path, maxBytes, bytes) != platform::ReadStatus::kRead) return false;
    return ParseJsonText(bytes, root);
}

bool WriteTextFile(const std::string& path, std::string_view text) {
    const size_t slash = path.rfind('/');
    if (slash != std::string::npos && slash > 0) {
        const std::string folder = path.substr(0, slash);
        if (!platform::IsDirectory(folder)) platform::MakeDirectoryPath(folder);
    }
    return platform::ReplaceFile(path, text);
}
