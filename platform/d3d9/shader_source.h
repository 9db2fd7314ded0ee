// The GLSL of the fixed-function pipeline, written for one program key: only the code the key's
// state runs, with no branch on state left for the shaders to take at run time. The uniforms a
// source declares are those its key needs (see FixedFunctionProgram).
#pragma once

#include <string>

#include "d3d9/program_key.h"

namespace quorvane::d3d9 {

std::string VertexShaderSource(const ProgramKey& key);
std::string FragmentShaderSource(const ProgramKey& key);

}  // namespace quorvane::d3d9
