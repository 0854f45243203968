// The drawing layer in one include.
#pragma once

#include "platform/gfx/bitmap.h"
#include "platform/gfx/brush.h"
#include "platform/gfx/font.h"
#include "platform/gfx/graphics.h"
#include "platform/gfx/image.h"
#include "platform/gfx/path.h"
#include "platform/gfx/pen.h"
#include "platform/gfx/region.h"
#include "platform/gfx/string_format.h"
#include "platform/gfx/types.h"
