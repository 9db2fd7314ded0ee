// IUnknown: the root of every COM interface. Objects count their references; Release returns
// the new count and the object goes away at zero.
#pragma once

#include "windef.h"
#include "winerror.h"

#define STDMETHODCALLTYPE
#define interface struct

extern "C" const IID IID_IUnknown;

struct IUnknown {
    virtual HRESULT QueryInterface(REFIID riid, void** ppvObject) = 0;
    virtual ULONG AddRef() = 0;
    virtual ULONG Release() = 0;

protected:
    ~IUnknown() = default;
};
typedef IUnknown* LPUNKNOWN;
