// The digest of an installation: WriteLocalManifest over 2,000 files of 200 MB in all,
// against md5sum over the same files, in one run. Both read from the page cache (a
// warm-up pass of each comes first); each is timed five times, alternating, and the
// medians are compared. Target: WriteLocalManifest at least 0.9 of md5sum's throughput.
//
//   updater_manifest_bench [--files N] [--megabytes M]

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "updater/LocalManifest.h"
#include "updater/UpdaterConfig.h"

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

// An installation-like tree: files of varied sizes in 40 folders two levels deep.
void MakeTree(const fs::path& root, int files, long long bytes) {
    std::mt19937_64 random(20240);
    std::vector<long long> sizes(files);
    long long total = 0;
    for (auto& size : sizes) total += size = 1 + static_cast<long long>(random() % 1000);
    std::string buffer;
    for (int i = 0; i < files; ++i) {
        const fs::path folder =
            root / ("dir" + std::to_string(i % 8)) / ("sub" + std::to_string(i % 5));
        fs::create_directories(folder);
        const long long size = sizes[i] * bytes / total;
        buffer.resize(static_cast<size_t>(size));
        for (size_t k = 0; k + 8 <= buffer.size(); k += 8) {
            const uint64_t word = random();
            std::memcpy(&buffer[k], &word, 8);
        }
        std::ofstream(folder / ("file" + std::to_string(i) + ".bin"), std::ios::binary)
            .write(buffer.data(), static_cast<std::streamsize>(buffer.size()));
    }
}

double Seconds(Clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

double TimeManifest(const UpdaterConfig& config, const fs::path& root) {
    const auto start = Clock::now();
    WriteLocalManifest(config, root.string());
    return Seconds(Clock::now() - start);
}

// md5sum over every file of the tree, as one would run it by hand.
double TimeMd5sum(const fs::path& root) {
    const std::string command =
        "find '" + root.string() + "' -type f -print0 | xargs -0 md5sum > /dev/null";
    const auto start = Clock::now();
    const int status = std::system(command.c_str());
    const double seconds = Seconds(Clock::now() - start);
    if (status != 0) std::fprintf(stderr, "md5sum failed\n");
    return seconds;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    int files = 2000;
    long long megabytes = 200;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string arg = argv[i];
        if (arg == "--files")
            files = std::atoi(argv[i + 1]);
        else if (arg == "--megabytes")
            megabytes = std::atoll(argv[i + 1]);
    }
    const char* tmp = std::getenv("TMPDIR");
    const fs::path work = fs::path(tmp && *tmp ? tmp : "/tmp") /
                          ("trovik-manifest-bench-" + std::to_string(getpid()));
    const fs::path root = work / "Trovik";
    MakeTree(root, files, megabytes * 1024 * 1024);

    UpdaterConfig config;
    config.appName = "Trovik";
    config.localManifestPath = (work / "LocalUpdate.json").string();
    config.userConfigPath = (work / "Config.cfg").string();

    TimeMd5sum(root);  // warm-up: both read from the page cache afterwards
    TimeManifest(config, root);
    std::vector<double> manifest, md5sum;
    for (int round = 0; round < 5; ++round) {
        manifest.push_back(TimeManifest(config, root));
        md5sum.push_back(TimeMd5sum(root));
    }
    const double mb = static_cast<double>(megabytes);
    const double ours = mb / Median(manifest);
    const double theirs = mb / Median(md5sum);
    std::printf("%d files, %lld MB\n", files, megabytes);
    std::printf("WriteLocalManifest  median %.3f s  %.0f MB/s\n", Median(manifest), ours);
    std::printf("md5sum              median %.3f s  %.0f MB/s\n", Median(md5sum), theirs);
    std::printf("ratio %.2f (target at least 0.90)\n", ours / theirs);
    fs::remove_all(work);
    return 0;
}
