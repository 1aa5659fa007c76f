// The arithmetic of dialog font scaling, free of any window or display.
#pragma once

#include <windows.h>

// Whether a display of these resolutions needs no scaling: only 96 in both directions.
bool IsStandardResolution(int dpiX, int dpiY);

// Size in whole points of a font whose lfHeight is given, on a display of dpiY dots per inch,
// taken up to the next whole point.
int PointSizeAt(LONG lfHeight, int dpiY);

// The lfHeight (a negative character height) of a font of the given points at referenceDpi.
LONG HeightAtReferenceDpi(int points, double referenceDpi);

// A pixel height (lfHeight) of a font made for a display of dpiY, converted to the pixel height
// the same font has at referenceDpi, to the nearest pixel.
LONG PixelHeightAtReferenceDpi(LONG lfHeight, int dpiY, double referenceDpi);

// Average character width from the extent of the 52 letters a..z A..Z, rounded half up.
int CharWidthFromLetterExtent(int extentOf52Letters);

// Pixels back to dialog units: pixels × units / pixelsPerUnits, truncating. unitsPerBase is 4
// horizontally and 8 vertically; a base of zero or less counts as the unscaled base.
int PixelsToDialogUnits(int pixels, int unitsPerBase, int pixelsPerUnits);

// Dialog units forward to pixels of the measured font, taken up to the next whole pixel.
int HorizontalUnitsToPixels(int dialogUnits, int fontCharWidth);
int VerticalUnitsToPixels(int dialogUnits, int fontCharHeight);
