#include "dialogs/scaling_arithmetic.h"

#include <cmath>

namespace {

int Ceiling(double value) {
    return static_cast<int>(std::ceil(value));
}

} // namespace

bool IsStandardResolution(int dpiX, int dpiY) {
    return dpiX == 96 && dpiY == 96;
}

int PointSizeAt(LONG lfHeight, int dpiY) {
    if (dpiY <= 0) {
        return 0;
    }
    return Ceiling(-static_cast<double>(lfHeight) * 72.0 / dpiY);
}

LONG HeightAtReferenceDpi(int points, double referenceDpi) {
    return -MulDiv(points, static_cast<int>(referenceDpi), 72);
}

LONG PixelHeightAtReferenceDpi(LONG lfHeight, int dpiY, double referenceDpi) {
    if (dpiY <= 0) {
        return lfHeight;
    }
    return MulDiv(lfHeight, static_cast<int>(referenceDpi), dpiY);
}

int CharWidthFromLetterExtent(int extentOf52Letters) {
    return (extentOf52Letters / 26 + 1) / 2;
}

int PixelsToDialogUnits(int pixels, int unitsPerBase, int pixelsPerUnits) {
    if (pixelsPerUnits <= 0) {
        pixelsPerUnits = unitsPerBase;
    }
    return pixels * unitsPerBase / pixelsPerUnits;
}

int HorizontalUnitsToPixels(int dialogUnits, int fontCharWidth) {
    return Ceiling(dialogUnits * fontCharWidth * 0.25);
}

int VerticalUnitsToPixels(int dialogUnits, int fontCharHeight) {
    return Ceiling(dialogUnits * fontCharHeight * 0.125);
}
