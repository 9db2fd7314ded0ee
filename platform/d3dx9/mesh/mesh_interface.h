// The ID3DXMesh an object implements. The system's header declares the whole interface, of which
// the program calls a part: the rest answer E_NOTIMPL there.
#pragma once

#include <d3dx9mesh.h>

#include "com/com_object.h"

namespace quorvane::d3dx9 {

#ifdef _WIN32
class MeshInterface : public ComObject<ID3DXMesh> {
public:
    HRESULT WINAPI GetDeclaration(D3DVERTEXELEMENT9*) override { return E_NOTIMPL; }
    HRESULT WINAPI CloneMesh(DWORD, const D3DVERTEXELEMENT9*, IDirect3DDevice9*, ID3DXMesh**) override
    {
        return E_NOTIMPL;
    }
    HRESULT WINAPI ConvertPointRepsToAdjacency(const DWORD*, DWORD*) override { return E_NOTIMPL; }
    HRESULT WINAPI ConvertAdjacencyToPointReps(const DWORD*, DWORD*) override { return E_NOTIMPL; }
    HRESULT WINAPI UpdateSemantics(D3DVERTEXELEMENT9*) override { return E_NOTIMPL; }
    HRESULT WINAPI OptimizeInplace(DWORD, const DWORD*, DWORD*, DWORD*, ID3DXBuffer**) override { return E_NOTIMPL; }
};
#else
using MeshInterface = ComObject<ID3DXMesh>;
#endif

}  // namespace quorvane::d3dx9
