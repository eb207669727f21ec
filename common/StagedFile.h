#pragma once

#include <string>
#include <string_view>

// A file written under a temporary name in the target's folder and moved over the
// target only when complete, so that an interrupted or failed download never leaves a
// file that could pass for a finished one. An existing target stays untouched until
// Commit. The temporary file is removed unless Commit succeeded; one left behind by a
// killed process is removed by the next Open in the same folder (platform/TempFiles.h).
class StagedFile {
public:
    explicit StagedFile(std::string targetPath);
    ~StagedFile();
    StagedFile(const StagedFile&) = delete;
    StagedFile& operator=(const StagedFile&) = delete;

    // Creates the temporary file, or empties it when it is already open (a restart).
    bool Open();
    // Appends bytes; false when the file is not open or the write failed.
    bool Write(std::string_view bytes);
    // Closes the temporary file and renames it over the target.
    bool Commit();

    // The temporary file's path while one exists, for tests and diagnostics.
    const std::string& stagingPath() const { return stagingPath_; }

private:
    void Discard();

    std::string targetPath_;
    std::string stagingPath_;
    int fd_ = -1;
};
