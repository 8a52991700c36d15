#pragma once

namespace bosquell {

// How far, in user units, an arrow key moves something on the map at a zoom of
// `mapUnitsPerPixel`: about 8 pixels' worth, rounded up to 1, 2 or 5 times a power of ten, and
// at least one user unit, so that typed values stay short.
double KeyStep(double mapUnitsPerPixel);

}  // namespace bosquell
