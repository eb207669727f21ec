#include "engine/cli/RecordJson.h"

#include <json/writer.h>

#include "common/TextCodec.h"
#include "platform/CodePage.h"

namespace vantrel::cli {
namespace {

Json::Value TextList(const std::vector<std::string>& texts) {
    Json::Value list(Json::arrayValue);
    for (const std::string& text : texts) list.append(AnsiToUtf8(text));
    return list;
}

}  // namespace

std::string AnsiToUtf8(const std::string& bytes) {
    return platform::WideToUtf8(AnsiToWide(bytes));
}

Json::Value SearchResultJson(const SearchResult& result) {
    Json::Value json(Json::objectValue);
    json["name"] = AnsiToUtf8(result.name);
    json["category"] = AnsiToUtf8(result.category);
    json["badgeLeft"] = AnsiToUtf8(result.badgeLeft);
    json["score"] = AnsiToUtf8(result.score);
    json["synopsis"] = AnsiToUtf8(result.synopsis);
    json["region"] = AnsiToUtf8(result.region);
    json["badgeRight"] = AnsiToUtf8(result.badgeRight);
    json["detailUrl"] = AnsiToUtf8(result.detailUrl);
    json["posterUrl"] = AnsiToUtf8(result.posterUrl);
    json["year"] = AnsiToUtf8(result.year);
    json["actors"] = TextList(result.actors);
    json["directors"] = TextList(result.directors);
    json["genres"] = TextList(result.genres);
    return json;
}

Json::Value PlaySourcesJson(const std::vector<PlaySource>& sources) {
    Json::Value list(Json::arrayValue);
    for (const PlaySource& source : sources) {
        Json::Value json(Json::objectValue);
        json["name"] = AnsiToUtf8(source.name);
        json["iconUrl"] = AnsiToUtf8(source.iconUrl);
        json["links"] = TextList(source.links);
        list.append(std::move(json));
    }
    return list;
}

std::string WriteJson(const Json::Value& document) {
    Json::StreamWriterBuilder builder;
    builder["indentation"] = "  ";
    builder["emitUTF8"] = true;
    return Json::writeString(builder, document) + "\n";
}

}  // namespace vantrel::cli
