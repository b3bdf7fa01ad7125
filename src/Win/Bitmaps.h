// Bitmaps from the program's resources, with their key (background) colour replaced, so that
// pictures drawn on a fixed background blend into the menu or button they sit on.
#pragma once

#include "Base/Handles.h"

// Loads bitmap resource `resourceId` of this module as a 32-bit bitmap in which every pixel
// of `keyColor` becomes `background`. Empty when the resource does not exist.
TBitmapHandle LoadBitmapOnBackground(int resourceId, COLORREF keyColor, COLORREF background);

// Loads bitmap resource `resourceId` of this module unchanged; empty when it does not exist.
TBitmapHandle LoadBitmapResource(int resourceId);
