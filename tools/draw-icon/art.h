#pragma once

#include "tools/draw-icon/image.h"

namespace setip::icon {

// The application's artwork, a receipt printer with a receipt coming out of it, drawn at `size` pixels square.
Image drawReceiptPrinter(int size);

}  // namespace setip::icon
