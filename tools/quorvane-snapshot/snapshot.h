// The viewer's picture made off-screen by the program's own start-up and frame code, on the
// headless display, and written as a PNG file.
#pragma once

#include "snapshot_request.h"

#include <ostream>

namespace quorvane::snapshot {

// Exit codes of the tool.
constexpr int succeeded = 0;
constexpr int pictureFailed = 1;  // no Data files, no GL, a failed start-up, an unwritable file
constexpr int badArguments = 2;

// Reads the settings of request.directory, starts the picture as the viewer does, applies the
// actions, renders one frame and writes it to request.output (through a file beside it that is
// renamed into place, so that no partial PNG is ever left there). pictureFailed, with a message
// on errors naming the cause, when the picture cannot be made.
int MakeSnapshot(const Request& request, std::ostream& errors);

}  // namespace quorvane::snapshot
