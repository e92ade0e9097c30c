#pragma once

#include <QDir>
#include <QTemporaryDir>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace qor::testing {

// A fresh folder for one test, removed with everything in it afterwards.
class TempDir {
public:
    TempDir() {
        if (!dir_.isValid()) {
            throw std::runtime_error("no test folder: " + dir_.errorString().toStdString());
        }
        // Native separators throughout, as the programs' own paths have them.
        path_ = std::filesystem::path(QDir::toNativeSeparators(dir_.path()).toStdString());
    }
    ~TempDir() {
        std::error_code ec;
        // Read-only folders made by a test must not stop the clean-up.
        // A path the library cannot follow (beyond 260 characters on Windows) ends the walk.
        for (auto entry = std::filesystem::recursive_directory_iterator(path_, ec);
             !ec && entry != std::filesystem::recursive_directory_iterator(); entry.increment(ec)) {
            std::filesystem::permissions(entry->path(), std::filesystem::perms::owner_all,
                                         std::filesystem::perm_options::add, ec);
        }
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::string str() const { return path_.string(); }
    std::string file(std::string_view name) const {
        return (path_ / std::filesystem::path(name).make_preferred()).string();
    }

    // Writes `content` byte for byte and returns the file's path.
    std::string write(std::string_view name, std::string_view content) const {
        const std::string target = file(name);
        std::ofstream out(target, std::ios::binary);
        out.write(content.data(), static_cast<std::streamsize>(content.size()));
        return target;
    }

private:
    QTemporaryDir dir_{QDir::tempPath() + "/qor-test-XXXXXX"};  // removed with everything in it
    std::filesystem::path path_;
};

// `path` with the system's separators, as the programs write paths: "/" is "\\" on Windows.
inline std::string nativePath(std::string path) {
    std::replace(path.begin(), path.end(), '/',
                 static_cast<char>(std::filesystem::path::preferred_separator));
    return path;
}

inline std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The names of the entries of `folder`, sorted.
inline std::vector<std::string> filesIn(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

// Every file below `root` by path relative to it, with its bytes; without `hidden`, lock and
// temporary files (names starting with a dot) are left out.
inline std::map<std::string, std::string> filesUnder(const std::filesystem::path& root,
                                                     bool hidden = true) {
    std::map<std::string, std::string> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
        if (entry.is_regular_file() && (hidden || entry.path().filename().string()[0] != '.')) {
            files[std::filesystem::relative(entry.path(), root).string()] =
                readFile(entry.path().string());
        }
    }
    return files;
}

}  // namespace qor::testing
