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
                     (error.errno != null ? ' errno ' + error.errno : ""));
        return;
    }
    // Once the folder has been read from IndexedDB its database is open: the file is put there in a
    // transaction made now, which the browser completes even when this write is the last thing the
    // page does (the settings saved as the page goes; a whole save would first read what is stored,
    // and the page would be gone before it wrote).
    const idbfs = Module.IDBFS;
    const db = idbfs && idbfs.dbs && idbfs.dbs[folder];
    if (db) {
        try {
            const transaction = db.transaction([idbfs.DB_STORE_NAME], 'readwrite');
            const store = transaction.objectStore(idbfs.DB_STORE_NAME);
            idbfs.loadLocalEntry(
                folder + '/' + name, function(error, entry) {
                    if (error)
                        console.warn('Quorvane: the settings could not be read for IndexedDB: ' + error);
                    else
                        idbfs.storeRemoteEntry(
                            store, folder + '/' + name, entry, function(error) {
                                if (error)
                                    console.warn('Quorvane: the settings could not be saved in IndexedDB: ' + error);
                            });
                });
            // Committed at once, not when the page next yields: it may not.
            if (transaction.commit)
                transaction.commit();
            return;
        } catch (error) {
            // The database was closed meanwhile: a whole save below opens it again.
        }
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
