// The guide lines' images on the projection plane as screen-space line strips: the drawing
// for a line density of 0, where the segment count follows the size of each image on screen
// instead of a fixed count per circle.
#pragma once

#include <d3dx9.h>
#include <windows.h>

// Samples every circle each degree, projects the samples through the stereographic matrix and
// the device's current view, projection and viewport, and draws them as pre-transformed strips,
// skipping samples closer than a threshold to the last one kept. Samples that the pipeline
// would clip (behind the camera's near plane, or behind the projection centre) break the strip.
// Latitudes run over both hemispheres (the equator in redLineColor), great circles from 0 up to
// 180 degrees. View and projection are identity while it draws and restored afterwards; nothing
// is drawn when the device cannot report its view, projection or viewport.
void DrawProjectedGuideLines(IDirect3DDevice9* device, BOOL showLatitudeLines, int latitudeLineInterval,
                             BOOL showLongitudeLines, int longitudeLineInterval, const D3DXMATRIX& earthRotation,
                             const D3DCOLORVALUE& latitudeColor, const D3DCOLORVALUE& longitudeColor,
                             const D3DCOLORVALUE& redLineColor);
