// Where the viewer starts on Linux. The program reads Data\ and writes Quorvane.ini in its current
// directory, so the folder it starts in is where its files are.
#pragma once

namespace quorvane::linux_main {

// The viewer of a build (its data not installed beside it) stays in the folder it starts in, as
// does one started in a folder whose Data holds the viewer's own data files (a folder made by
// hand). An installed viewer (its data at QUORVANE_DATA_FROM_BIN beside it) otherwise moves to
// the user's own folder $XDG_DATA_HOME/quorvane (by default ~/.local/share/quorvane), made on the
// first start with a Data link to the installed data, so each user keeps their own settings,
// nothing is written under the installation, and an unrelated Data folder where the desktop
// starts it (~/Data) is left alone. False, after saying why on standard error, when that folder
// cannot be made or written, or HOME is relative; a folder that could not be made completely is
// removed again.
bool EnterStartupDirectory();

// Names on standard error the first data file the program will not find in the current
// directory's Data, as the program itself opens its window without a picture and says nothing.
void ReportMissingData();

}  // namespace quorvane::linux_main
