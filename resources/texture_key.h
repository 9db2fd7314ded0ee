// The key of a texture in its registry: empty (a texture not yet keyed), a file name (an image
// loaded from a file) or a number (an image the program makes itself, such as the white
// texture). Keys order by kind first, empty < file name < number, then within the kind: file
// names by code unit (so case-sensitively), numbers numerically.
#pragma once

#include <windows.h>

#include <boost/blank.hpp>
#include <boost/variant.hpp>

#include <string>

typedef boost::variant<boost::blank, std::wstring, INT> TextureKey;
