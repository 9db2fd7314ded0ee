// What one run of quorvane-snapshot is asked to do, read from its command line.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace quorvane::snapshot {

// One input, applied as the viewer applies the same input.
struct Action {
    enum class Kind {
        LeftDrag,   // turns the Earth by (dx, dy) pixels
        RightDrag,  // orbits the camera by (dx, dy) pixels
        Wheel,      // notches of 120, positive forward
        Key,        // function key F<number>
        Pointer,    // a mouse move with no button to client position (x, y)
        Circle,     // a left drag with Ctrl held from (x, y) to (endX, endY): draws a circle
    };
    Kind kind;
    int dx = 0;
    int dy = 0;
    int notches = 0;
    int functionKey = 0;  // 1 to the viewer's last function key (functionKeyCount)
    int x = 0;
    int y = 0;
    int endX = 0;
    int endY = 0;

    bool operator==(const Action&) const = default;
};

struct Request {
    std::string directory = ".";  // Data/ and Quorvane.ini are read there
    unsigned width = 1024;
    unsigned height = 768;
    std::vector<Action> actions;
    std::string language;  // "ja" or "en"; empty: the environment's, as the viewer chooses
    std::string output;    // the PNG file
    bool help = false;     // --help: print the usage and stop
};

// The tool's usage text, its keys as the viewer's command table has them.
std::string Usage();

// The request of argv[1 .. argc-1], or nothing with a one-line reason in error.
std::optional<Request> ParseArguments(const std::vector<std::string>& arguments, std::string& error);

}  // namespace quorvane::snapshot
