// What only a simulated display can do: the controls tests (and the snapshot tool) use to set the
// display up and to play the user. Kept apart from the Driver interface, which every backend
// implements for real, as SDL keeps its test drivers apart from the real ones: a real display has
// nothing to offer here, and the program never reaches it.
#pragma once

#include <vector>

#include "display/display.h"

namespace quorvane::display {

class SimulatedDisplay {
public:
    // Replaces the mode list and the desktop mode (a changed desktop size is reported as a
    // DesktopChanged event).
    virtual void ConfigureModes(const std::vector<Mode>& modes, const Mode& desktop) = 0;
    // While refused, CreateDisplayWindow fails as on a display that cannot be opened.
    virtual void RefuseWindows(bool refused) = 0;
    // Queues an event as if the device had delivered it; may be called from any thread.
    virtual void InjectEvent(const Event& event) = 0;

protected:
    ~SimulatedDisplay() = default;
};

// The simulated display linked into this program (the same object as CurrentDriver()), or null
// when the program shows its windows on a real one.
SimulatedDisplay* CurrentSimulatedDisplay();

}  // namespace quorvane::display
