// The load runs once (a function-local static), whichever thread asks first; a thread that asks
// while another loads waits for it. The background thread is kept in a never-destroyed record:
// an exit handler, registered before the thread starts, joins it and then hands fontconfig's
// memory back with FcFini, so the load neither outlives the process's clean-up nor leaks.
#include "text/font_configuration.h"

#include <fontconfig/fontconfig.h>

#include <atomic>
#include <cstdlib>
#include <mutex>
#include <system_error>
#include <thread>

namespace quorvane::text {
namespace {

struct Loader {
    std::mutex mutex;
    std::thread thread;
    bool exitHandlerRegistered = false;
    std::atomic<bool> loaded{false};
};

Loader& TheLoader()
{
    static Loader* loader = new Loader;
    return *loader;
}

bool LoadOnce()
{
    static const bool ready = [] {
        const bool done = FcInit() != FcFalse;
        TheLoader().loaded = done;
        return done;
    }();
    return ready;
}

void JoinLoaderThread(Loader& loader)
{
    if (loader.thread.joinable() && loader.thread.get_id() != std::this_thread::get_id())
        loader.thread.join();
}

void FinishAtExit()
{
    Loader& loader = TheLoader();
    {
        const std::lock_guard<std::mutex> lock(loader.mutex);
        JoinLoaderThread(loader);
    }
    if (loader.loaded)
        FcFini();
}

// Called with the mutex held.
void RegisterExitHandler(Loader& loader)
{
    if (!loader.exitHandlerRegistered)
        loader.exitHandlerRegistered = std::atexit(FinishAtExit) == 0;
}

}  // namespace

void StartLoadingFontConfiguration()
{
    Loader& loader = TheLoader();
    const std::lock_guard<std::mutex> lock(loader.mutex);
    if (loader.exitHandlerRegistered)
        return;  // started already, or loaded in the foreground
    RegisterExitHandler(loader);
    if (!loader.exitHandlerRegistered)
        return;  // no way to join at exit: the first match loads instead
    try {
        loader.thread = std::thread(LoadOnce);
    } catch (const std::system_error&) {
        // No thread to spare: the first match loads in the foreground.
    }
}

bool FontConfigurationLoaded()
{
    Loader& loader = TheLoader();
    {
        const std::lock_guard<std::mutex> lock(loader.mutex);
        RegisterExitHandler(loader);
    }
    const bool ready = LoadOnce();
    const std::lock_guard<std::mutex> lock(loader.mutex);
    JoinLoaderThread(loader);
    return ready;
}

}  // namespace quorvane::text
