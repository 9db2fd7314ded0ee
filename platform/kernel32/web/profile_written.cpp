// The browser build: a profile file written in the viewer's folder is copied into the folder kept
// in IndexedDB (web/index.html mounts it and names it Module.quorvaneSettingsFolder) and that folder
// is saved. Without storage the folder is absent, and the page has said so once.
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
        console.warn('Quorvane: the settings could not be kept: ' + error);
        return;
    }
    FS.syncfs(
        false, function(error) {
            if (error)
                console.warn('Quorvane: the settings could not be saved in IndexedDB: ' + error);
        });
});

}  // namespace

void ProfileWritten(const std::string& path)
{
    KeepProfileFile(path.c_str());
}

}  // namespace quorvane::kernel32
