// An open file behind a HANDLE: owns one file descriptor.
#pragma once

#include "kernel32/kernel_object.h"

namespace quorvane::kernel32 {

class FileObject final : public KernelObject {
public:
    explicit FileObject(int descriptor) : descriptor_(descriptor) {}
    ~FileObject() override;
    FileObject(const FileObject&) = delete;
    FileObject& operator=(const FileObject&) = delete;

    int Descriptor() const { return descriptor_; }

private:
    int descriptor_;
};

}  // namespace quorvane::kernel32
