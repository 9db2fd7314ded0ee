// ID3DXBuffer: a block of zeroed memory, 16-byte aligned so that it can hold any struct.
#pragma once

#include <d3dx9core.h>

#include <memory>

#include "com/com_object.h"

namespace quorvane::d3dx9 {

class Buffer final : public ComObject<ID3DXBuffer> {
public:
    // Null when memory runs out.
    static Buffer* Create(DWORD size);

    LPVOID GetBufferPointer() override { return bytes_.get(); }
    DWORD GetBufferSize() override { return size_; }

private:
    Buffer(std::unique_ptr<unsigned char[]> bytes, DWORD size) : bytes_(std::move(bytes)), size_(size) {}
    bool Implements(REFIID riid) const override { return SameIid(riid, IID_ID3DXBuffer); }

    std::unique_ptr<unsigned char[]> bytes_;
    DWORD size_;
};

}  // namespace quorvane::d3dx9
