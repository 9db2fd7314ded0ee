// A fresh directory for one test, removed with everything in it afterwards, and small helpers
// for the files in it. Paths are given to the program as wide text.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <sys/stat.h>

namespace quorvane::tests {

class TempDirectory {
public:
    TempDirectory()
    {
        const char* base = std::getenv("TMPDIR");
        std::string pattern = std::string(base != nullptr ? base : "/tmp") + "/quorvane-test-XXXXXX";
        if (mkdtemp(pattern.data()) == nullptr)
            ADD_FAILURE() << "cannot make a temporary directory";
        path_ = std::filesystem::canonical(pattern).string();  // as /proc/self/maps shows it
    }
    ~TempDirectory()
    {
        // Give back write permission that a test took away, so that everything can go.
        std::error_code error;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(path_, error)) {
            if (entry.is_directory(error) && !entry.is_symlink(error))
                chmod(entry.path().c_str(), 0755);
        }
        std::filesystem::remove_all(path_, error);
    }
    TempDirectory(const TempDirectory&) = delete;
    TempDirectory& operator=(const TempDirectory&) = delete;

    const std::string& Path() const { return path_; }
    std::string Path(const std::string& name) const { return path_ + "/" + name; }
    std::wstring WidePath(const std::string& name = "") const
    {
        const std::string full = name.empty() ? path_ : Path(name);
        return std::wstring(full.begin(), full.end());  // test paths are ASCII
    }

    void Write(const std::string& name, const std::string& bytes) const
    {
        std::filesystem::create_directories(std::filesystem::path(Path(name)).parent_path());
        std::ofstream(Path(name), std::ios::binary) << bytes;
    }
    std::string Read(const std::string& name) const
    {
        std::ifstream file(Path(name), std::ios::binary);
        return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    }
    bool Exists(const std::string& name) const { return std::filesystem::exists(Path(name)); }
    std::vector<std::string> List() const
    {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(path_)) {
            names.push_back(entry.path().filename().string());
        }
        return names;
    }

private:
    std::string path_;
};

// Runs a test body with another current directory and goes back afterwards.
class CurrentDirectoryScope {
public:
    explicit CurrentDirectoryScope(const std::string& directory) : previous_(std::filesystem::current_path())
    {
        std::filesystem::current_path(directory);
    }
    ~CurrentDirectoryScope() { std::filesystem::current_path(previous_); }
    CurrentDirectoryScope(const CurrentDirectoryScope&) = delete;
    CurrentDirectoryScope& operator=(const CurrentDirectoryScope&) = delete;

private:
    std::filesystem::path previous_;
};

}  // namespace quorvane::tests
