#pragma once
// The graphics unit: colours, fonts, pens, brushes, canvases, graphics, pictures and bitmaps.

#include "framework/graphics/Bitmap.h"
#include "framework/graphics/Canvas.h"
#include "framework/graphics/Colors.h"
#include "framework/graphics/Graphic.h"
#include "framework/graphics/GraphicsObjects.h"
#include "framework/graphics/Types.h"
