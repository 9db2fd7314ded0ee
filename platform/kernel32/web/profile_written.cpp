// The browser build: a profile file written in the viewer's folder is copied into the folder kept
// in IndexedDB (web/index.html mounts it and names it Module.quorvaneSettingsFolder) and that folder
// is saved. Without storage the folder is absent, and the page has said so once. (No === in the
// script: the formatter would split it.)
#include <emscripten.h>

#include "kernel32/profile_written.h"

namespace quorvane::kernel32 {
namespace {

EM_JS(void, KeepProfileFile, (const char* path), {
    const folder = Module.quorvaneSettingsFolder;
    if (!folder)
        return;
    const source = UTF8ToString(path);
    const name = source.substring(source.lastIndexOf('/') + 1);
    try {
        FS.writeFile(folder + '/' + name, FS.readFile(source));
    } catch (error) {
        console.warn('Quorvane: the settings could not be kept (' + source + ' to ' + folder + '): ' + error +
                     (error.errno != null ? ' errno ' + error.errno : ''));
        return;
    }
    // One save to IndexedDB at a time: writes made while one runs (the program writes its settings
    // key by key) are saved together by one more when it ends.
    const sync = Module.quorvaneSettingsSync || (Module.quorvaneSettingsSync = {running : false, again : false});
    if (sync.running) {
        sync.again = true;
        return;
    }
    const save = function()
    {
        sync.running = true;
        sync.again = false;
        FS.syncfs(
            false, function(error) {
                if (error)
                    console.warn('Quorvane: the settings could not be saved in IndexedDB: ' + error);
                sync.running = false;
                if (sync.again)
                    save();
            });
    };
    save();
});

}  // namespace

void ProfileWritten(const std::string& path)
{
    KeepProfileFile(path.c_str());
}

}  // namespace quorvane::kernel32
