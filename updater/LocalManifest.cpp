#include "updater/LocalManifest.h"

#include <dirent.h>
#include <sys/stat.h>

#include <memory>

#include "updater/FileDigest.h"
#include "updater/ManifestJson.h"
#include "updater/ManifestNames.h"
#include "updater/UpdaterConfig.h"

namespace {

struct DirCloser {
    void operator()(DIR* dir) const { closedir(dir); }
};

std::string WithoutTrailingSlash(std::string path) {
    if (path.size() > 1 && path.back() == '/') path.pop_back();
    return path;
}

}  // namespace

bool BuildDirManifest(Json::Value& node, const std::string& folderPath, const std::string& rootName,
                      const ManifestExclusions& exclusions) {
    const std::string folder = WithoutTrailingSlash(folderPath);
    const size_t slash = folder.rfind('/');
    const std::string ownName = slash == std::string::npos ? folder : folder.substr(slash + 1);
    node["name"] = rootName.empty() ? PathNameToManifest(ownName) : rootName;

    const std::unique_ptr<DIR, DirCloser> dir(opendir(folder.c_str()));
    if (!dir) return true;
    const std::string prefix = folder == "/" ? folder : folder + "/";
    while (const dirent* entry = readdir(dir.get())) {
        const std::string name = entry->d_name;
        if (name == "." || name == "..") continue;
        const std::string path = prefix + name;
        struct stat info {};
        if (lstat(path.c_str(), &info) != 0) continue;
        if (S_ISDIR(info.st_mode)) {
            Json::Value child;
            BuildDirManifest(child, path, "", exclusions);
            node["subdirs"].append(std::move(child));
            continue;
        }
        if (S_ISLNK(info.st_mode) && (stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)))
            continue;
        if (!S_ISREG(info.st_mode)) continue;
        if (path == exclusions.userConfigPath || path == exclusions.topUpdateFile) continue;
        Json::Value file;
        file["name"] = PathNameToManifest(name);
        file["MD5"] = FileMd5Hex(path);
        node["files"].append(std::move(file));
    }
    return true;
}

bool WriteLocalManifest(const UpdaterConfig& config, const std::string& appPath) {
    const std::string folder = WithoutTrailingSlash(appPath);
    Json::Value root;
    BuildDirManifest(root, folder, config.appName, {config.userConfigPath, folder + "/Update.txt"});
    WriteTextFile(config.localManifestPath, WriteFastJson(root));
    return true;
}
