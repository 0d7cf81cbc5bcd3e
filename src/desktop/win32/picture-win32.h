// Pictures stored in the executable, decoded by the system's imaging (WIC).
#pragma once

#include <windows.h>

#include "desktop/win32/handles-win32.h"

/// The JPEG in the RCDATA resource, stretched to width × height; empty when
/// it cannot be loaded or decoded.
UniqueGdiObject LoadPictureResource(int resource, int width, int height);
