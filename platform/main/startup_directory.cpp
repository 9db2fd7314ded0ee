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

// The viewer's data files, as the program reads them below Data.
const char* const dataFiles[] = {"mdl/sphere.x", "mdl/" QUORVANE_EARTH_IMAGE};

// The first of the data files that `data` lacks (not a regular file there); empty when it has all.
std::string MissingDataFile(const fs::path& data)
{
    std::error_code error;
    for (const char* file : dataFiles) {
        if (!fs::is_regular_file(data / file, error))
            return file;
    }
    return {};
}

// A folder the viewer can run in: its Data holds the viewer's own data files, not merely a
// folder of that name (a user's photos in ~/Data).
bool HoldsViewerData(const fs::path& folder)
{
    return MissingDataFile(folder / "Data").empty();
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

// Data links to the installed data. A link that leads elsewhere (another installation, or
// nowhere) is made anew; a Data of the user's that holds the data files is kept; anything else
// there (an empty folder, a file) is the user's and left alone, named on standard error with
// what to do. A link another process made meanwhile is taken when it points where this one would.
bool LinkData(const fs::path& directory, const fs::path& data, std::error_code& error)
{
    const fs::path link = directory / "Data";
    if (LinksTo(link, data))
        return true;
    if (fs::is_symlink(link, error)) {
        fs::remove(link, error);
    } else if (fs::exists(link, error)) {
        if (!HoldsViewerData(directory))
            std::fprintf(stderr,
                         "quorvane: %s is not the viewer's data (Data/%s is missing) and is left as it is; move "
                         "it away and the next start links Data to %s\n",
                         link.c_str(), MissingDataFile(link).c_str(), data.c_str());
        return true;
    }
    error.clear();
    fs::create_directory_symlink(data, link, error);
    if (error == std::errc::file_exists && LinksTo(link, data))
        error.clear();
    return !error;
}

}  // namespace

void ReportMissingData()
{
    std::error_code error;
    const std::string missing = MissingDataFile("Data");
    if (missing.empty())
        return;
    const fs::path here = fs::current_path(error);
    std::fprintf(stderr, "quorvane: the data file %s is missing; the window opens without the Earth\n",
                 (here / "Data" / missing).c_str());
}

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
