// Where the viewer starts on Linux. The program reads Data\ and writes Quorvane.ini in its current
// directory, so the folder it starts in is where its files are.
#pragma once

namespace quorvane::linux_main {

// Started in a folder that has a Data folder, the viewer stays there (the build tree, a folder made
// by hand). Otherwise, when the executable is an installed one (its data at
// QUORVANE_DATA_FROM_BIN beside it), it moves to the user's own folder $XDG_DATA_HOME/quorvane
// (by default ~/.local/share/quorvane), made on the first start with a Data link to the installed
// data, so each user keeps their own settings and nothing is written under the installation.
// False, after saying why on standard error, when that folder cannot be made or written; a folder
// that could not be made completely is removed again.
bool EnterStartupDirectory();

}  // namespace quorvane::linux_main
