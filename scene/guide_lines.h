// The graticule on the Earth and its stereographic image on the projection plane.
#pragma once

#include <d3dx9.h>
#include <windows.h>

// Draws latitude circles every latitudeLineInterval degrees (the equator in redLineColor, the
// others in latitudeColor) and great circles through the poles every longitudeLineInterval
// degrees (in longitudeColor), each on the sphere and as its image on the plane, for the
// Earth orientation earthRotation. lineDensity is the number of segments per circle, kept in
// [4, 10000]; 0 draws only the images, as screen-space strips sampled every degree. Intervals
// of 0 or less draw only the 0-degree circle of their family. Nothing is drawn when both show
// flags are off or the circle buffer cannot be allocated.
//
// Leaves behind: the FVF, texture stage 0 empty, the last material and world matrix.
void DrawGuideLines(IDirect3DDevice9* device, BOOL showLatitudeLines, int latitudeLineInterval, BOOL showLongitudeLines,
                    int longitudeLineInterval, int lineDensity, const D3DXMATRIX& earthRotation,
                    const D3DCOLORVALUE& latitudeColor, const D3DCOLORVALUE& longitudeColor,
                    const D3DCOLORVALUE& redLineColor);
