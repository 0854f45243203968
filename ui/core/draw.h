// Every drawing primitive of the library in one include.
#pragma once

#include "ui/core/draw_colour.h"
#include "ui/core/draw_geometry.h"
#include "ui/core/draw_images.h"
#include "ui/core/draw_shapes.h"
