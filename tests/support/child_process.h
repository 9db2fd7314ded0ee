// A program started by a test, in a directory of its own and with DISPLAY set, that is never left
// behind: the destructor kills it (and waits for it) unless it has already ended.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace quorvane::tests {

struct ChildOptions {
    std::string directory;                 // where it starts (empty: the test's own)
    std::vector<std::string> environment;  // NAME=value entries added to the test's environment
    int inheritedDescriptor = -1;          // handed on as descriptor 3 (-1: none)
    bool quiet = false;                    // standard output and error go to /dev/null
    bool wholeGroup = false;               // stopping it stops the programs it started too
};

// A quiet program on the X display `display`.
inline ChildOptions QuietOn(const std::string& display)
{
    ChildOptions options;
    options.environment = {"DISPLAY=" + display};
    options.quiet = true;
    return options;
}

class ChildProcess {
public:
    ChildProcess(const std::vector<std::string>& arguments, const ChildOptions& options = {});
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool Started() const { return pid_ > 0; }
    pid_t Pid() const { return pid_; }
    // Whether it still runs (collecting its status if it has ended).
    bool Running();
    // Waits at most `limit` for it to end; its exit code, or nothing when it did not end in time
    // or was ended by a signal.
    std::optional<int> Wait(std::chrono::milliseconds limit);
    // SIGTERM, then SIGKILL if it has not gone within a second (to its whole process group, with
    // wholeGroup: what is left of the group once it has gone is killed).
    void Stop();
    // User and system time it has used so far, all its threads included, in seconds.
    double CpuSeconds() const;

private:
    bool Collect(int flags);

    pid_t pid_ = -1;
    bool wholeGroup_ = false;
    bool ended_ = false;
    int status_ = 0;
};

// Runs a program to its end (at most `limit`); its exit code, or nothing when it failed to start,
// timed out (it is then killed) or died of a signal.
std::optional<int> RunToEnd(const std::vector<std::string>& arguments, const ChildOptions& options,
                            std::chrono::milliseconds limit);

}  // namespace quorvane::tests
