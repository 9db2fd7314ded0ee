// Tissot's circles drawn: each small circle on the Earth, 0.01 outside it as the graticule is,
// and its image on the plane through the stereographic matrix, in a colour of their own; the
// circle under the pointer in another. Switched with F8 and the view menu; off at start and
// never saved.
#pragma once

#include "scene/circle_buffer.h"

#include <d3dx9.h>
#include <windows.h>

#include <cstddef>
#include <optional>
#include <vector>

constexpr unsigned tissotSegments = 32;                // straight segments per circle
constexpr D3DCOLOR tissotCircleColor = 0xFFFF8000;     // orange
constexpr D3DCOLOR tissotHighlightColor = 0xFFFF00FF;  // magenta: the circle under the pointer

// The circles for one pair of graticule intervals: their centres in model space and one line
// list of tissotSegments segments per circle, in the order of the centres.
struct TissotCircleSet {
    int latitudeInterval = 0;
    int longitudeInterval = 0;
    std::vector<D3DXVECTOR3> centres;
    std::vector<CircleVertex> lines;
};

// The set for these intervals, made again only when they differ from the last call's.
const TissotCircleSet& TissotCirclesFor(int latitudeInterval, int longitudeInterval);

// Draws every circle of the set and its image, then circle `highlighted` and its image over
// them, for the Earth orientation earthRotation.
//
// Leaves behind: the FVF, texture stage 0 empty, the last material and world matrix.
void DrawTissotCircles(IDirect3DDevice9* device, const TissotCircleSet& circles, const D3DXMATRIX& earthRotation,
                       std::optional<std::size_t> highlighted);
