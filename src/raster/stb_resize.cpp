// stb's resizer is one header; Debian's compiled copy is for Linux only, so
// the Windows build compiles its implementation here.
#define STB_IMAGE_RESIZE_IMPLEMENTATION
#include <stb_image_resize.h>
