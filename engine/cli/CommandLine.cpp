#include "engine/cli/CommandLine.h"

namespace vantrel::cli {

std::optional<Command> ParseCommandLine(const std::vector<std::string>& args) {
    if (args.empty()) return std::nullopt;
    Command command;
    if (args[0] == "search")
        command.kind = Command::Kind::kSearch;
    else if (args[0] == "sources")
        command.kind = Command::Kind::kSources;
    else
        return std::nullopt;

    bool haveCategory = false;
    bool haveJobs = false;
    bool haveTarget = false;
    bool optionsEnded = false;
    for (size_t i = 1; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (!optionsEnded && arg == "--") {
            optionsEnded = true;
        } else if (!optionsEnded && (arg == "--portal" || arg == "--category" || arg == "--jobs")) {
            if (i + 1 >= args.size()) return std::nullopt;
            const std::string& value = args[++i];
            if (arg == "--jobs") {
                if (command.kind != Command::Kind::kSearch || haveJobs) return std::nullopt;
                if (value.size() != 1 || value[0] < '1' || value[0] > '0' + kMaxJobs)
                    return std::nullopt;
                command.jobs = value[0] - '0';
                haveJobs = true;
            } else if (arg == "--portal") {
                if (value.empty() || !command.portal.empty()) return std::nullopt;
                command.portal = value;
            } else {
                if (command.kind != Command::Kind::kSources || haveCategory) return std::nullopt;
                command.category = value;
                haveCategory = true;
            }
        } else if (!optionsEnded && arg.size() > 1 && arg[0] == '-' && arg[1] == '-') {
            return std::nullopt;  // unknown option
        } else {
            if (haveTarget) return std::nullopt;
            command.target = arg;
            haveTarget = true;
        }
    }
    if (!haveTarget) return std::nullopt;
    if (command.kind == Command::Kind::kSources && !haveCategory) return std::nullopt;
    return command;
}

const char* UsageText() {
    return "usage: vantrel search [--portal HOST:PORT] [--jobs N] NAME\n"
           "       vantrel sources [--portal HOST:PORT] --category CAT URL\n"
           "\n"
           "search   searches the portal for NAME (UTF-8) and fetches the play sources\n"
           "         of every show found, several detail pages at a time, and\n"
           "         gives up on the ones not fetched within 30 seconds\n"
           "sources  fetches the play sources of one detail page; CAT is the show's\n"
           "         category word as the search page gives it, e.g. \"[电视剧]\"\n"
           "--portal the portal's search host, instead of SearchHost in\n"
           "         Config/AutoCfg.cfg beside libvantrel.so\n"
           "--jobs   how many detail pages search fetches at a time, 1 to 6\n"
           "         (default 6); 1 fetches them one after another\n"
           "\n"
           "Prints one JSON document (UTF-8) on stdout. Exit status: 0 when the\n"
           "operation ran, 1 when the engine cannot be loaded, 2 for bad arguments.\n";
}

}  // namespace vantrel::cli
