// What happens after a profile file (Quorvane.ini) has been written: nothing on the desktop, where
// the file is the store; the browser build copies it to IndexedDB.
#pragma once

#include <string>

namespace quorvane::kernel32 {

// Called with the native path of a profile file each time WritePrivateProfileStringW has replaced it.
void ProfileWritten(const std::string& path);

}  // namespace quorvane::kernel32
