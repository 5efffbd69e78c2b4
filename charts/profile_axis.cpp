#include "charts/profile_axis.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "charts/profile_drawing.h"
#include "platform/number_text.h"
#include "platform/rounding.h"

namespace at {
namespace {

// A zoom stops at about this many rows across the plot.
constexpr double kFewestRowsShown = 10.0;
constexpr int kTicks = 5;
constexpr double kHoursPerDay = 24.0;
// Tick spacings of a time axis, in seconds: the steps a clock face suggests.
constexpr std::array<int, 18> kTimeSteps = {1,   2,   5,    10,   15,   30,    60,    120,   300,
                                            600, 900, 1800, 3600, 7200, 10800, 21600, 43200, 86400};

constexpr std::array<std::pair<AxisMode, std::string_view>, 3> kNames = {{
    {AxisMode::Points, "puntos"},
    {AxisMode::Distance, "distancia"},
    {AxisMode::Time, "hora"},
}};

void appendTwoDigits(std::string& out, long long n) {
    out += static_cast<char>('0' + n / 10 % 10);
    out += static_cast<char>('0' + n % 10);
}

std::string clockText(double hours, bool withSeconds) {
    const long long total = std::llround(hours * 3600.0);
    std::string text = std::to_string(total / 3600) + ":";
    appendTwoDigits(text, total / 60 % 60);
    if (withSeconds) {
        text += ':';
        appendTwoDigits(text, total % 60);
    }
    return text;
}

double timeStepHours(double spanHours) {
    const double rawSeconds = spanHours * 3600.0 / kTicks;
    for (const int step : kTimeSteps) {
        if (rawSeconds <= step)
            return step / 3600.0;
    }
    return niceStep(spanHours / kHoursPerDay, kTicks) * kHoursPerDay;
}

}  // namespace

std::string_view axisModeName(AxisMode mode) {
    for (const auto& [m, name] : kNames) {
        if (m == mode)
            return name;
    }
    return {};
}

std::optional<AxisMode> axisModeNamed(std::string_view name) {
    for (const auto& [mode, n] : kNames) {
        if (n == name)
            return mode;
    }
    return std::nullopt;
}

bool hasMovingTime(std::span<const PointDetail> points) {
    return std::any_of(points.begin(), points.end(), [&](const PointDetail& p) {
        return p.timeOfDay != points.front().timeOfDay;
    });
}

ProfileAxis::ProfileAxis(int rowCount) : placedRows_(std::max(rowCount, 0)) {}

ProfileAxis::ProfileAxis(AxisMode mode, std::span<const PointDetail> points, int rowCount)
    : ProfileAxis(rowCount) {
    if (mode == AxisMode::Points)
        return;
    mode_ = mode;
    placedRows_ = std::min(placedRows_, static_cast<int>(points.size()));
    positions_.reserve(static_cast<std::size_t>(placedRows_));
    for (int i = 0; i < placedRows_; ++i) {
        const PointDetail& p = points[static_cast<std::size_t>(i)];
        positions_.push_back(mode == AxisMode::Distance ? static_cast<double>(p.distanceKm)
                                                        : p.timeOfDay * kHoursPerDay);
    }
    ascending_ = std::is_sorted(positions_.begin(), positions_.end());
}

double ProfileAxis::positionOf(int row) const {
    if (mode_ == AxisMode::Points)
        return row;
    return positions_[static_cast<std::size_t>(row) - 1];
}

std::pair<double, double> ProfileAxis::extent() const {
    if (mode_ == AxisMode::Points || positions_.empty())
        return placedRows_ >= 2 ? std::pair(1.0, double(placedRows_)) : std::pair(0.0, 2.0);
    const auto [low, high] = std::minmax_element(positions_.begin(), positions_.end());
    if (*high > *low)
        return {*low, *high};
    return {*low - 1.0, *high + 1.0};
}

double ProfileAxis::narrowestRange() const {
    if (mode_ == AxisMode::Points || placedRows_ < 2)
        return kFewestRowsShown;
    const auto [low, high] = extent();
    return (high - low) / (placedRows_ - 1) * kFewestRowsShown;
}

std::optional<int> ProfileAxis::nearestRow(double x) const {
    if (placedRows_ == 0 || std::isnan(x))
        return std::nullopt;
    if (mode_ == AxisMode::Points)
        return static_cast<int>(std::clamp(std::round(x), 1.0, double(placedRows_)));
    std::size_t best = 0;
    if (ascending_) {
        // The first place at or after x and the first of the places before it; on a tie, the
        // lower row.
        const auto after = std::lower_bound(positions_.begin(), positions_.end(), x);
        best = static_cast<std::size_t>(after - positions_.begin());
        if (after != positions_.begin()) {
            const double before = *(after - 1);
            const auto firstBefore = std::lower_bound(positions_.begin(), after, before);
            if (after == positions_.end() || x - before <= *after - x)
                best = static_cast<std::size_t>(firstBefore - positions_.begin());
        }
    } else {
        for (std::size_t i = 1; i < positions_.size(); ++i) {
            if (std::abs(positions_[i] - x) < std::abs(positions_[best] - x))
                best = i;
        }
    }
    return static_cast<int>(best) + 1;
}

std::pair<std::size_t, std::size_t> ProfileAxis::rowsToDraw(double low, double high) const {
    const auto n = static_cast<double>(placedRows_);
    if (mode_ == AxisMode::Points) {
        return {static_cast<std::size_t>(std::clamp(std::floor(low) - 2.0, 0.0, n)),
                static_cast<std::size_t>(std::clamp(std::ceil(high) + 1.0, 0.0, n))};
    }
    if (!ascending_)
        return {0, positions_.size()};
    const auto first = std::lower_bound(positions_.begin(), positions_.end(), low);
    const auto last = std::upper_bound(first, positions_.end(), high);
    const std::size_t begin = static_cast<std::size_t>(first - positions_.begin());
    const std::size_t end = static_cast<std::size_t>(last - positions_.begin());
    return {begin > 0 ? begin - 1 : 0, std::min(end + 1, positions_.size())};
}

std::vector<AxisTick> axisTicks(AxisMode mode, double low, double high,
                                const NumberLocale& locale) {
    std::vector<AxisTick> ticks;
    if (mode == AxisMode::Points || !(high > low))
        return ticks;
    if (mode == AxisMode::Distance) {
        const double step = niceStep(high - low, kTicks);
        const int decimals = std::max(0, static_cast<int>(-std::floor(std::log10(step) + 1e-9)));
        for (const double km : ticksBetween(low, high, step)) {
            // Plus 0.0 so that a tick at zero never reads "-0".
            const double shown = roundHalfEven(km, decimals) + 0.0;
            ticks.push_back({km, formatDouble(shown, locale) + " km"});
        }
        return ticks;
    }
    const double step = timeStepHours(high - low);
    const bool withSeconds = step * 3600.0 < 60.0 - 1e-6;
    for (const double hours : ticksBetween(low, high, step))
        ticks.push_back({hours, clockText(hours, withSeconds)});
    return ticks;
}

}  // namespace at
