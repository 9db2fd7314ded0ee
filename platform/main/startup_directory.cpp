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

// A folder the viewer can run in: its Data holds the viewer's own data files, not merely a
// folder of that name (a user's photos in ~/Data).
bool HoldsViewerData(const fs::path& folder)
{
    std::error_code error;
    return fs::is_regular_file(folder / "Data/mdl/sphere.x", error) &&
           fs::is_regular_file(folder / "Data/mdl/EarthMap_2500x1250.jpg", error);
}

bool Fail(const fs::path& directory, const std::string& problem)
{
    std::fprintf(stderr, "quorvane: cannot use %s for the settings and the data link: %s\n", directory.c_str(),
                 problem.c_str());
    return false;
}

// $XDG_DATA_HOME/quorvane, or $HOME/.local/share/quorvane when that is unset, empty or relative
// (XDG base directories must be absolute: a relative one is ignored). Empty, after saying why,
// when HOME is unset too, or relative: a folder relative to wherever the viewer happens to start
// would not be the user's.
fs::path UserDirectory()
{
    const char* dataHome = std::getenv("XDG_DATA_HOME");
    if (dataHome != nullptr && dataHome[0] == '/')
        return fs::path(dataHome) / "quorvane";
    const char* home = std::getenv("HOME");
    if (home == nullptr || home[0] == '\0') {
        Fail("~/.local/share/quorvane", "neither XDG_DATA_HOME nor HOME is set");
        return {};
    }
    if (home[0] != '/') {
        Fail("~/.local/share/quorvane", std::string("HOME (") + home + ") is not an absolute path");
        return {};
    }
    return fs::path(home) / ".local" / "share" / "quorvane";
}

void RemoveAll(const std::vector<fs::path>& made)
{
    std::error_code ignored;
    for (auto it = made.rbegin(); it != made.rend(); ++it)
        fs::remove(*it, ignored);
}

// Makes the directory and the parents it lacks, from the root down, listing what it made; on a
// failure it removes what it made. A folder that is there already, or that another process makes
// meanwhile (two first starts at once), is used as it is; "." and ".." are entered as the system
// enters them.
bool MakeDirectories(const fs::path& directory, std::vector<fs::path>& made, std::error_code& error)
{
    fs::path prefix;
    for (const fs::path& part : directory) {
        prefix /= part;
        if (fs::create_directory(prefix, error))
            made.push_back(prefix);
        else if (error) {
            RemoveAll(made);
            made.clear();
            return false;
        }
    }
    return true;
}

bool LinksTo(const fs::path& link, const fs::path& data)
{
    std::error_code error;
    return fs::is_symlink(link, error) && fs::read_symlink(link, error) == data && !error;
}

// Data links to the installed data. A link left from another installation is pointed anew; a
// Data folder the user put there is kept; a link another process made meanwhile is taken when it
// points where this one would.
bool LinkData(const fs::path& directory, const fs::path& data, std::error_code& error)
{
    const fs::path link = directory / "Data";
    if (LinksTo(link, data))
        return true;
    if (fs::is_symlink(link, error))
        fs::remove(link, error);
    else if (fs::exists(link, error))
        return true;
    error.clear();
    fs::create_directory_symlink(data, link, error);
    if (error == std::errc::file_exists && LinksTo(link, data))
        error.clear();
    return !error;
}

}  // namespace

bool EnterStartupDirectory()
{
    const fs::path data = InstalledData();
    if (data.empty())
        return true;  // not installed: the program says what it misses, as it does anywhere
    if (HoldsViewerData("."))
        return true;
    const fs::path directory = UserDirectory();
    if (directory.empty())
        return false;

    std::error_code error;
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
