#pragma once
// Regions between the program's form and GDI's.
#include <windows.h>

#include "base/Region.h"

namespace vormix {

HRGN CreateNativeRegion(const TRegion& region);  // the caller deletes it
TRegion RegionFromNative(HRGN region);

}  // namespace vormix
