#include "main/startup_directory.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include <unistd.h>

namespace quorvane::linux_main {

namespace {

namespace fs = std::filesystem;

// The installed data folder, found from the executable's own place so that an installation
// works under any prefix (and unpacked anywhere); empty when this executable is not installed.
fs::path InstalledData()
{
    std::error_code error;
    const fs::path executable = fs::read_symlink("/proc/self/exe", error);
    if (error)
        return {};
    const fs::path data = (executable.parent_path() / QUORVANE_DATA_FROM_BIN).lexically_normal();
    return fs::is_directory(data, error) ? data : fs::path{};
}

// $XDG_DATA_HOME/quorvane, or $HOME/.local/share/quorvane when that is unset, empty or relative
// (XDG base directories must be absolute: a relative one is ignored); empty without either.
fs::path UserDirectory()
{
    const char* dataHome = std::getenv("XDG_DATA_HOME");
    if (dataHome != nullptr && dataHome[0] == '/')
        return fs::path(dataHome) / "quorvane";
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] != '\0')
        return fs::path(home) / ".local" / "share" / "quorvane";
    return {};
}

bool Fail(const fs::path& directory, const std::string& problem)
{
    std::fprintf(stderr, "quorvane: cannot use %s for the settings and the data link: %s\n", directory.c_str(),
                 problem.c_str());
    return false;
}

void RemoveAll(const std::vector<fs::path>& made)
{
    std::error_code ignored;
    for (auto it = made.rbegin(); it != made.rend(); ++it)
        fs::remove(*it, ignored);
}

// Makes the directory and the parents it lacks, listing what it made, outermost first; on a
// failure it removes what it made.
bool MakeDirectories(const fs::path& directory, std::vector<fs::path>& made, std::error_code& error)
{
    std::vector<fs::path> missing;
    for (fs::path p = directory; !p.empty() && !fs::exists(p, error); p = p.parent_path())
        missing.push_back(p);
    for (auto it = missing.rbegin(); it != missing.rend(); ++it) {
        if (!fs::create_directory(*it, error)) {
            if (!error)
                error = std::make_error_code(std::errc::file_exists);
            RemoveAll(made);
            made.clear();
            return false;
        }
        made.push_back(*it);
    }
    return true;
}

// Data links to the installed data. A link left from another installation is pointed anew; a
// Data folder the user put there is kept.
bool LinkData(const fs::path& directory, const fs::path& data, std::error_code& error)
{
    const fs::path link = directory / "Data";
    if (fs::is_symlink(link, error)) {
        if (fs::read_symlink(link, error) == data)
            return true;
        fs::remove(link, error);
    } else if (fs::exists(link, error)) {
        return true;
    }
    fs::create_directory_symlink(data, link, error);
    return !error;
}

}  // namespace

bool EnterStartupDirectory()
{
    std::error_code error;
    if (fs::is_directory("Data", error))
        return true;
    const fs::path data = InstalledData();
    if (data.empty())
        return true;  // not installed: the program says what it misses, as it does anywhere
    const fs::path directory = UserDirectory();
    if (directory.empty())
        return Fail("~/.local/share/quorvane", "neither XDG_DATA_HOME nor HOME is set");

    std::vector<fs::path> made;
    if (!MakeDirectories(directory, made, error))
        return Fail(directory, error.message());
    if (access(directory.c_str(), W_OK | X_OK) != 0) {
        const int code = errno;
        RemoveAll(made);
        return Fail(directory, std::generic_category().message(code));
    }
    if (!LinkData(directory, data, error)) {
        RemoveAll(made);
        return Fail(directory, "cannot link Data to " + data.string() + ": " + error.message());
    }
    fs::current_path(directory, error);
    return !error || Fail(directory, error.message());
}

}  // namespace quorvane::linux_main
