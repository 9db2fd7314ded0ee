#include "child_process.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <thread>

extern char** environ;

namespace quorvane::tests {

namespace {

using namespace std::chrono_literals;

std::vector<char*> Pointers(std::vector<std::string>& texts)
{
    std::vector<char*> pointers;
    for (std::string& text : texts)
        pointers.push_back(text.data());
    pointers.push_back(nullptr);
    return pointers;
}

std::vector<std::string> Environment(const std::vector<std::string>& added)
{
    std::vector<std::string> entries;
    for (char** entry = environ; *entry; ++entry) {
        std::string text = *entry;
        bool replaced = false;
        for (const std::string& mine : added)
            replaced = replaced || text.compare(0, mine.find('=') + 1, mine, 0, mine.find('=') + 1) == 0;
        if (!replaced)
            entries.push_back(text);
    }
    entries.insert(entries.end(), added.begin(), added.end());
    return entries;
}

// In the child, between fork and exec: only calls that are safe there.
[[noreturn]] void Exec(char** argv, char** envp, const ChildOptions& options)
{
    setpgid(0, 0);  // its own group: a terminal's Ctrl+C reaches the test, which stops it
    if (!options.directory.empty() && chdir(options.directory.c_str()) != 0)
        _exit(126);
    if (options.inheritedDescriptor == 3)
        fcntl(3, F_SETFD, 0);  // already in place: only let it survive exec
    else if (options.inheritedDescriptor >= 0 && dup2(options.inheritedDescriptor, 3) < 0)
        _exit(126);
    if (options.quiet) {
        int null = open("/dev/null", O_WRONLY);
        dup2(null, 1);
        dup2(null, 2);
    }
    execvpe(argv[0], argv, envp);
    _exit(127);
}

}  // namespace

ChildProcess::ChildProcess(const std::vector<std::string>& arguments, const ChildOptions& options)
    : wholeGroup_(options.wholeGroup)
{
    std::vector<std::string> argumentTexts = arguments;
    std::vector<std::string> environmentTexts = Environment(options.environment);
    std::vector<char*> argv = Pointers(argumentTexts);
    std::vector<char*> envp = Pointers(environmentTexts);
    std::fflush(nullptr);
    pid_ = fork();
    if (pid_ == 0)
        Exec(argv.data(), envp.data(), options);
}

ChildProcess::~ChildProcess()
{
    Stop();
}

bool ChildProcess::Collect(int flags)
{
    if (pid_ <= 0 || ended_)
        return ended_;
    if (waitpid(pid_, &status_, flags) == pid_)
        ended_ = true;
    return ended_;
}

bool ChildProcess::Running()
{
    return pid_ > 0 && !Collect(WNOHANG);
}

std::optional<int> ChildProcess::Wait(std::chrono::milliseconds limit)
{
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!Collect(WNOHANG) && std::chrono::steady_clock::now() < end)
        std::this_thread::sleep_for(5ms);
    if (!ended_ || !WIFEXITED(status_))
        return std::nullopt;
    return WEXITSTATUS(status_);
}

void ChildProcess::Stop()
{
    // The child leads a process group of its own (see Exec), whose id is its own.
    const pid_t target = wholeGroup_ ? -pid_ : pid_;
    const bool running = Running();
    if (running)
        kill(target, SIGTERM);
    if (running && !Wait(1000ms) && !ended_) {
        kill(target, SIGKILL);
        Collect(0);
    }
    if (wholeGroup_ && pid_ > 0 && ended_) {
        kill(target, SIGKILL);  // the group's id stays taken while any member lives
        wholeGroup_ = false;    // once: later the id may be another's
    }
}

double ChildProcess::CpuSeconds() const
{
    std::ifstream file("/proc/" + std::to_string(pid_) + "/stat");
    std::string line;
    std::getline(file, line);
    // The command name, in parentheses, may hold blanks: the fields are counted after it.
    std::size_t close = line.rfind(')');
    if (close == std::string::npos)
        return -1;
    std::istringstream fields(line.substr(close + 2));
    std::string field;
    unsigned long long userTicks = 0, systemTicks = 0;
    for (int index = 3; fields >> field; ++index) {  // field 3 is the state
        if (index == 14)
            userTicks = std::stoull(field);
        if (index == 15) {
            systemTicks = std::stoull(field);
            break;
        }
    }
    return double(userTicks + systemTicks) / double(sysconf(_SC_CLK_TCK));
}

std::optional<int> RunToEnd(const std::vector<std::string>& arguments, const ChildOptions& options,
                            std::chrono::milliseconds limit)
{
    ChildProcess child(arguments, options);
    if (!child.Started())
        return std::nullopt;
    return child.Wait(limit);
}

}  // namespace quorvane::tests
