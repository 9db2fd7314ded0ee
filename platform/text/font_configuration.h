// fontconfig's configuration and font list, loaded once for the process.
//
// Loading reads and parses the configuration files and the font caches, about 10 ms. A caller
// that knows fonts will be wanted soon starts it on a thread of its own, so that it overlaps
// other start-up work; the first font match then waits for it rather than loading again.
#pragma once

namespace quorvane::text {

// Starts loading on a background thread unless loading has started already. The thread is
// joined by the first wait, or at process exit when nothing waited.
void StartLoadingFontConfiguration();

// Loads the configuration, or waits for the load already under way. False when fontconfig
// cannot load it; the answer is the same on every call.
bool FontConfigurationLoaded();

}  // namespace quorvane::text
