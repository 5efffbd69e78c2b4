#include "analysis/analysis_pass.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>

#include "analysis/profiles.h"
#include "formats/track_source.h"
#include "platform/checked.h"
#include "track/track_file.h"

namespace at {
namespace {

// Six-decimal coordinates are millionths of a degree: these turn them into kilometres on a flat
// projection around the current point.
constexpr double kLatitudeUnitsPerKmSquared = 80780549.0;  // 8987.8², per km of latitude
constexpr double kLongitudeUnitsPerKmAtEquator = 9020.0;
constexpr double kUnitsPerRadian = 57295779.0;
// A speed is taken over the first window back from the current point that spans 16 s or more:
// the last four gaps first, as always; only when none of them is that long (one-second samples)
// further back, up to 64 points.
constexpr std::int64_t kShortestSpeedWindowSeconds = 16;
constexpr int kFirstPointWithSpeed = 5;
constexpr int kDeepestSpeedWindow = 64;
// A time of day more than half a day earlier than the one before means the track crossed midnight.
constexpr std::int64_t kMidnightStepSeconds = 43200;
// Times and distances of the latest points, by point number modulo the ring size.
constexpr int kRingSize = 128;
static_assert(kRingSize > kDeepestSpeedWindow && (kRingSize & (kRingSize - 1)) == 0);

class AnalysisPass {
  public:
    AnalysisPass(const AnalysisInputs& inputs, AnalysisPort& port)
        : port_(port), profiles_(port.altitudeChart(), port.speedChart()) {
        result_.inputs = inputs;
    }

    AnalysisResult run(const NumberLocale& locale) {
        port_.clearStopList();
        const ThresholdTexts& thresholds = result_.inputs.thresholds;
        result_.settings = readAnalysisSettings(thresholds.altitudeJump, thresholds.stopMinutes,
                                                thresholds.stopSeconds, locale);
        const std::string& path = result_.inputs.trackPath;
        const std::unique_ptr<PointSource> source = openPointSource(path, result_.inputs.track);
        try {
            const std::int64_t count = source->countPoints();
            profiles_.sizeProfiles(count);
            // The count fits the charts' 16 bits here (it is negative for a file of fewer than six
            // lines); a blank line may end the points sooner.
            result_.points.reserve(static_cast<std::size_t>(std::max<std::int64_t>(count, 0)));
            port_.beginPoints();
            readTrack(*source);
        } catch (RuntimeError& e) {
            e.withFile(path);
            const std::string advice = source->tooLongAdvice();
            if (e.kind() == ErrorKind::Overflow && !advice.empty())
                e.withAdvice(advice);
            throw;
        }
        summary_.stopCount = stops_.stopCount;
        summary_.stopSeconds = stops_.stopSeconds;
        result_.summary = summary_;
        result_.tooLongAdvice = source->tooLongAdvice();
        result_.laps = laps_.finish();
        result_.heading = source->heading();
        return std::move(result_);
    }

  private:
    void readTrack(PointSource& source) {
        source.open();
        summary_.linesRead = kHeaderLines;
        TrackPoint point;
        while (!source.atEnd()) {
            previousAltitude_ = altitudeMetres_;
            summary_.linesRead = add32(summary_.linesRead, 1);
            try {
                if (!source.readPoint(point))
                    break;
                takePoint(point, source);
            } catch (RuntimeError& e) {
                source.locate(e);
                throw;
            }
        }
        source.close();
        summary_.endTime = lastTime_;
    }

    // The point's altitude is converted only after its stop check and its altitude row: a point
    // line with a bad altitude still leaves its stop in the list.
    void takePoint(const TrackPoint& point, PointSource& source) {
        const std::int16_t i = toInt16Checked(summary_.linesRead - kHeaderLines);
        previousLatitude_ = latitude_;
        latitude_ = point.latitudeDigits;
        previousLongitude_ = longitude_;
        longitude_ = point.longitudeDigits;
        const DateTime now = continuousTime(i, point.timeOfDay);
        lastTime_ = now;

        if (i == 1) {
            summary_.startTime = now;
        } else if (auto stop = checkStop(time(i - 1), now, distanceAfter(i - 2),
                                         result_.settings.stopGapSeconds, stops_)) {
            stop->row = static_cast<std::int16_t>(i - 1);
            result_.stops.push_back(*stop);
            port_.addStop(*stop);
        }
        profiles_.selectAltitudeRow(i);

        // A point without altitude still counts as one other than 0 here, as it always did.
        if (previousAltitude_ != 0)
            addDistanceStep();
        distanceAfter(i) = summary_.distanceKm;

        previousHadAltitude_ = hasAltitude_;
        const std::int16_t feet = source.altitudeFeet();
        hasAltitude_ = feet != kNoAltitudeFeet;
        altitudeMetres_ = feet * kMetresPerFoot;
        if (hasAltitude_) {
            if (altitudeMetres_ < summary_.lowestAltitude)
                summary_.lowestAltitude = altitudeMetres_;
            if (altitudeMetres_ > summary_.highestAltitude)
                summary_.highestAltitude = altitudeMetres_;
            altitudeRowValue_ = altitudeMetres_;
        }
        // Without an altitude the profile repeats the row before rather than dive to -236.8 m.
        profiles_.setAltitudeValue(altitudeRowValue_);
        if (previousAltitude_ != 0 && hasAltitude_ && previousHadAltitude_)
            takeAltitudeStep();

        speedKmh_ = i >= kFirstPointWithSpeed ? speedOverWindow(i) : 0.0;
        if (speedKmh_ < summary_.lowestSpeed)
            summary_.lowestSpeed = speedKmh_;
        if (speedKmh_ > summary_.highestSpeed)
            summary_.highestSpeed = speedKmh_;
        profiles_.addSpeedRow(i, speedKmh_);
        const PointDetail detail{i,         source.localDay(),   now,
                                 latitude_, longitude_,          altitudeRowValue_,
                                 speedKmh_, summary_.distanceKm, summary_.accumulatedClimb};
        result_.points.push_back(detail);
        laps_.takePoint(detail, source.startsLap());
        port_.addPoint(detail);
    }

    void addDistanceStep() {
        const double dLat = sub32(latitude_, previousLatitude_);
        const double a = dLat * dLat / kLatitudeUnitsPerKmSquared;
        const double dLon = sub32(longitude_, previousLongitude_);
        const double phi = latitude_ / kUnitsPerRadian;
        const double k = kLongitudeUnitsPerKmAtEquator / std::cos(phi);
        const double b = (dLon / k) * (dLon / k);
        const double step = std::sqrt(a + b);
        if (!std::isfinite(step)) {
            throw RuntimeError(ErrorKind::DivisionByZero,
                               "El tramo entre dos puntos no tiene longitud calculable.");
        }
        summary_.distanceKm = static_cast<float>(summary_.distanceKm + step);
    }

    void takeAltitudeStep() {
        const double diff = altitudeMetres_ - previousAltitude_;
        const std::int16_t limit = result_.settings.altitudeJumpLimit;
        if (diff > 0 && diff < limit)
            summary_.accumulatedClimb += diff;
        if (diff > limit) {
            summary_.discardedSamples = add32(summary_.discardedSamples, 1);
        }
    }

    // The distance over the first window back from point i that spans 16 s or more; without one
    // the speed of the point before carries over.
    double speedOverWindow(int i) {
        const std::int64_t nowSeconds = wholeSeconds(i);
        const int deepest = std::min(kDeepestSpeedWindow, i - 1);
        for (int k = 1; k <= deepest; ++k) {
            if (nowSeconds - wholeSeconds(i - k) >= kShortestSpeedWindowSeconds) {
                const float covered = distanceAfter(i) - distanceAfter(i - k);
                return covered / (24.0 * (time(i) - time(i - k)));
            }
        }
        return speedKmh_;
    }

    // The time of day plus the days the track has run past midnight so far, so that gaps, speed
    // windows and durations stay positive through the night. Kept for point i as a date/time
    // value and in whole seconds.
    DateTime continuousTime(int i, DateTime timeOfDay) {
        const std::int64_t secondOfDay = secondsBetween(0.0, timeOfDay);
        if (i > 1 && secondOfDay - previousSecondOfDay_ < -kMidnightStepSeconds)
            ++daysPastMidnight_;
        previousSecondOfDay_ = secondOfDay;
        wholeSeconds(i) =
            secondOfDay + daysPastMidnight_ * static_cast<std::int64_t>(kSecondsPerDay);
        return time(i) = timeOfDay + daysPastMidnight_;
    }

    DateTime& time(int point) { return times_[point & (kRingSize - 1)]; }
    std::int64_t& wholeSeconds(int point) { return seconds_[point & (kRingSize - 1)]; }
    float& distanceAfter(int point) { return distances_[point & (kRingSize - 1)]; }

    AnalysisPort& port_;
    Profiles profiles_;
    AnalysisResult result_;
    TrackSummary summary_;
    StopTotals stops_;
    LapSplits laps_;

    std::int32_t latitude_ = 0;
    std::int32_t longitude_ = 0;
    std::int32_t previousLatitude_ = 0;
    std::int32_t previousLongitude_ = 0;
    double altitudeMetres_ = 0.0;
    double previousAltitude_ = 0.0;
    bool hasAltitude_ = true;
    bool previousHadAltitude_ = true;
    double altitudeRowValue_ = 0.0;
    double speedKmh_ = 0.0;
    std::int64_t previousSecondOfDay_ = 0;
    DateTime lastTime_ = 0.0;
    int daysPastMidnight_ = 0;
    // times_ holds t(p) past midnight (seconds_ the same in whole seconds) and distances_ D(p),
    // the total after point p, for the last kRingSize points; D(0) is 0.
    DateTime times_[kRingSize] = {};
    std::int64_t seconds_[kRingSize] = {};
    float distances_[kRingSize] = {};
};

}  // namespace

AnalysisResult runAnalysis(const AnalysisInputs& inputs, const NumberLocale& locale,
                           AnalysisPort& port) {
    return AnalysisPass(inputs, port).run(locale);
}

}  // namespace at
