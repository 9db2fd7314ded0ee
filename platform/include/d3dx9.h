// D3DX9: math, textures from files in memory, X-file meshes, fonts.
#pragma once

#include <d3d9.h>
#include <windows.h>

#include "d3dx9core.h"
#include "d3dx9math.h"
#include "d3dx9mesh.h"
#include "d3dx9tex.h"
