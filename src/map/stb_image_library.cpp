// The one copy of stb_image's code in the program.
#define STB_IMAGE_IMPLEMENTATION
#include "map/stb_image_library.h"
