// The desktop keeps a profile file where it is written: nothing more to do.
#include "kernel32/profile_written.h"

namespace quorvane::kernel32 {

void ProfileWritten(const std::string&)
{
}

}  // namespace quorvane::kernel32
