// What the viewer keeps for one session besides its settings: the switches of the projection
// rays and of Tissot's circles, the pointer the rays follow, and the circles drawn. One record,
// read by the frame as it reads the settings; never saved.
#pragma once

#include "scene/drawn_circles.h"

#include <windows.h>

struct SessionStateRecord {
    BOOL showProjectionRays = FALSE;
    BOOL showTissotCircles = FALSE;
    POINT pointer{0, 0};  // client coordinates, where the last mouse message put it
    DrawnCircleList circles;
};

extern SessionStateRecord ViewerSession;
