#include "analysis/point_details.h"

namespace at {

const PointDetail* PointTable::atRow(int row) const {
    // Points arrive in row order from row 1 without gaps, so row r is entry r - 1.
    if (row < 1 || static_cast<std::size_t>(row) > points_.size())
        return nullptr;
    const PointDetail& detail = points_[static_cast<std::size_t>(row) - 1];
    return detail.point == row ? &detail : nullptr;
}

}  // namespace at
