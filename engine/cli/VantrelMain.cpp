// vantrel: the engine on the command line, for scripts, tests and debugging.

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "common/FetchPool.h"
#include "common/TextCodec.h"
#include "common/UrlEncode.h"
#include "engine/SearchHostConfig.h"
#include "engine/cli/CommandLine.h"
#include "engine/cli/EngineLoader.h"
#include "engine/cli/RecordJson.h"
#include "engine/cli/SourceFetch.h"
#include "platform/CodePage.h"

namespace {

using vantrel::cli::Command;

// UTF-8 command-line text to the ANSI code page (GB18030) the engine works in.
std::string Utf8ToAnsi(const std::string& text) {
    return WideToAnsi(platform::Utf8ToWide(text));
}

// *abandoned tells whether some detail page fetch was given up while it still ran.
Json::Value RunSearch(CTrovikMgr* engine, const Command& command, bool* abandoned) {
    const auto deadline = std::chrono::steady_clock::now() + kSearchDeadline;
    const std::string keyword = UrlEncode(Utf8ToAnsi(command.target));
    std::vector<SearchResult> results;
    const bool ok = engine->Search(keyword, &results);
    vantrel::cli::SourceFetchOutcome fetched =
        vantrel::cli::FetchAllSources(engine, results, command.jobs, deadline);
    *abandoned = fetched.abandoned;

    Json::Value document(Json::objectValue);
    document["ok"] = ok;
    document["keyword"] = keyword;
    document["results"] = Json::Value(Json::arrayValue);
    for (size_t i = 0; i < results.size(); ++i) {
        Json::Value item = vantrel::cli::SearchResultJson(results[i]);
        item["sourcesOk"] = fetched.items[i].ok;
        item["sources"] = vantrel::cli::PlaySourcesJson(fetched.items[i].sources);
        document["results"].append(std::move(item));
    }
    return document;
}

Json::Value RunSources(CTrovikMgr* engine, const Command& command) {
    std::vector<PlaySource> sources;
    const bool ok = engine->GetPlaySources(command.target, &sources, Utf8ToAnsi(command.category));
    Json::Value document(Json::objectValue);
    document["ok"] = ok;
    document["sources"] = vantrel::cli::PlaySourcesJson(sources);
    return document;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    const auto command = vantrel::cli::ParseCommandLine(args);
    if (!command) {
        std::fputs(vantrel::cli::UsageText(), stderr);
        return 2;
    }
    // The engine reads the override at every search.
    if (!command->portal.empty()) setenv(vantrel::kSearchHostVariable, command->portal.c_str(), 1);

    std::string error;
    CTrovikMgr* engine = vantrel::cli::LoadEngine(&error);
    if (!engine) {
        std::fprintf(stderr, "vantrel: %s\n", error.c_str());
        return 1;
    }
    bool abandoned = false;
    const Json::Value document = command->kind == Command::Kind::kSearch
                                     ? RunSearch(engine, *command, &abandoned)
                                     : RunSources(engine, *command);
    const std::string text = vantrel::cli::WriteJson(document);
    std::fwrite(text.data(), 1, text.size(), stdout);
    const int status = std::fflush(stdout) == 0 ? 0 : 1;
    // A fetch given up at the deadline may still run on its thread: end without the
    // exit-time destructors it could meet.
    if (abandoned) std::_Exit(status);
    return status;
}
