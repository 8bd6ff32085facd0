#pragma once

#include <QtGlobal>

// Window sizes read from the settings, fitted to the screen before a window takes them: a
// hand-edited or stale value must neither make a window of gigabytes nor one that cannot be seen.
namespace lyrova {

// The largest window extent where there is no screen to measure (no display, or the offscreen
// platform, whose screen is a fiction).
inline constexpr int kNoScreenExtentPixels = 4096;

// A window extent (width or height, in pixels) as stored, fitted: a stored extent that is not
// positive (no number, 0, negative) gives `defaultPixels`; the result is then at most
// `availablePixels`, the screen's available extent, and never below `minimumPixels`, the
// smallest the window can be, even on a screen narrower than that.
int FitStoredExtent(qint64 storedPixels, int minimumPixels, int defaultPixels, int availablePixels);

}  // namespace lyrova
