// The viewer's picture made off-screen by the viewer itself, its main window on the headless
// display driven by injected input, and written as a PNG file.
#pragma once

#include "snapshot_request.h"

#include <ostream>

namespace quorvane::snapshot {

// Exit codes of the tool.
constexpr int succeeded = 0;
constexpr int pictureFailed = 1;  // no Data files, no GL, a failed start-up, an unwritable file
constexpr int badArguments = 2;

// Starts the viewer in request.directory (which becomes the current directory) as wWinMain
// starts it, sizes its main window's client area to the request, gives the actions as a person's
// input, and writes the frame the window then shows to request.output (through a file beside it
// that is renamed into place, so that no partial PNG is ever left there). The settings are read,
// never written. pictureFailed, with a message on errors naming the cause, when the picture
// cannot be made.
int MakeSnapshot(const Request& request, std::ostream& errors);

}  // namespace quorvane::snapshot
