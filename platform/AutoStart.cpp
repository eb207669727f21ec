#include "AutoStart.h"

#include <unistd.h>

#include <cerrno>
#include <string_view>

#include "Folders.h"
#include "WholeFile.h"

namespace platform {
namespace {

std::string AutoStartFolder() {
    return ConfigFolder() + "/autostart";
}
std::string AutoStartFile() {
    return AutoStartFolder() + "/trovik.desktop";
}

// One argument of an Exec line: quoted when it holds a character the desktop-entry
// format reserves, "%" doubled (it starts field codes), then the escapes every
// string value of the file uses.
std::string ExecArgument(const std::string& argument) {
    constexpr std::string_view kReserved = " \t\n\"'\\><~|&;$*?#()`";
    std::string text = argument;
    if (text.empty() || text.find_first_of(kReserved) != std::string::npos) {
        text = "\"";
        for (char c : argument) {
            if (c == '"' || c == '`' || c == '$' || c == '\\') text += '\\';
            text += c;
        }
        text += '"';
    }
    std::string escaped;
    for (char c : text) {
        switch (c) {
            case '%':
                escaped += "%%";
                break;
            case '\\':
                escaped += "\\\\";
                break;
            case '\n':
                escaped += "\\n";
                break;
            case '\t':
                escaped += "\\t";
                break;
            case '\r':
                escaped += "\\r";
                break;
            default:
                escaped += c;
        }
    }
    return escaped;
}

// The inverse of ExecArgument for the first argument of an Exec value.
std::string FirstExecArgument(std::string_view value) {
    std::string text;
    for (size_t i = 0; i < value.size(); ++i) {
        char c = value[i];
        if (c == '\\' && i + 1 < value.size()) {
            c = value[++i];
            if (c == 's')
                c = ' ';
            else if (c == 'n')
                c = '\n';
            else if (c == 't')
                c = '\t';
            else if (c == 'r')
                c = '\r';
        } else if (c == '%' && i + 1 < value.size() && value[i + 1] == '%') {
            ++i;
        }
        text += c;
    }
    std::string argument;
    if (!text.empty() && text.front() == '"') {
        for (size_t i = 1; i < text.size() && text[i] != '"'; ++i) {
            if (text[i] == '\\' && i + 1 < text.size()) ++i;
            argument += text[i];
        }
        return argument;
    }
    return text.substr(0, text.find_first_of(" \t"));
}

}  // namespace

bool SetAutoStart(bool on, const std::string& executablePath) {
    if (!on) return unlink(AutoStartFile().c_str()) == 0 || errno == ENOENT;
    if (executablePath.empty()) return false;
    MakeDirectoryPath(AutoStartFolder());
    const std::string entry =
        "[Desktop Entry]\n"
        "Type=Application\n"
        "Name=Trovik\n"
        "Exec=" +
        ExecArgument(executablePath) +
        "\n"
        "X-GNOME-Autostart-enabled=true\n";
    return ReplaceFile(AutoStartFile(), entry);
}

bool IsAutoStartOn() {
    return !AutoStartCommand().empty();
}

std::string AutoStartCommand() {
    std::string bytes;
    if (ReadWholeFile(AutoStartFile(), bytes) != ReadStatus::kRead) return {};
    bool inEntry = false;
    size_t begin = 0;
    while (begin < bytes.size()) {
        size_t end = bytes.find('\n', begin);
        if (end == std::string::npos) end = bytes.size();
        std::string_view line(bytes.data() + begin, end - begin);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (!line.empty() && line.front() == '[')
            inEntry = line == "[Desktop Entry]";
        else if (inEntry && line.substr(0, 5) == "Exec=")
            return FirstExecArgument(line.substr(5));
        begin = end + 1;
    }
    return {};
}

}  // namespace platform
