#include "analysis/distance_step.h"

namespace at {

void failDistanceStep(const StepPoint& from, const StepPoint& to) {
    sub32(to.latitude, from.latitude);
    sub32(to.longitude, from.longitude);
    throw RuntimeError(ErrorKind::DivisionByZero,
                       "El tramo entre dos puntos no tiene longitud calculable.");
}

}  // namespace at
