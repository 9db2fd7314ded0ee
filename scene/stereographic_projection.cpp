// The constant projection matrix. 2.02, 1.01 and 1.0201 are the floats nearest those decimals;
// 1.0201 (= 1.01 squared) is written out rather than computed so that the matrix is the same
// on every compiler.
#include "scene/stereographic_projection.h"

const D3DXMATRIX StereographicMatrix(2.02f, 0.0f, 0.0f, 0.0f, 0.0f, 1.01f, 0.0f, -1.0201f, 0.0f, 0.0f, 2.02f, 0.0f,
                                     0.0f, -1.0f, 0.0f, 1.01f);
