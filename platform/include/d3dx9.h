// D3DX9: math, textures from files in memory, X-file meshes, fonts.
#pragma once

#include <windows.h>
#include <d3d9.h>

#if __has_include("d3dx9math.h")
#include "d3dx9math.h"
#endif
#if __has_include("d3dx9core.h")
#include "d3dx9core.h"
#endif
#if __has_include("d3dx9tex.h")
#include "d3dx9tex.h"
#endif
#if __has_include("d3dx9mesh.h")
#include "d3dx9mesh.h"
#endif
