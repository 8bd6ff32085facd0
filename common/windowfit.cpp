#include "common/windowfit.h"

#include <algorithm>

namespace lyrova {

int FitStoredExtent(qint64 storedPixels, int minimumPixels, int defaultPixels, int availablePixels) {
  const qint64 wanted = storedPixels > 0 ? storedPixels : defaultPixels;
  return int(std::max<qint64>(std::min<qint64>(wanted, availablePixels), minimumPixels));
}

}  // namespace lyrova
