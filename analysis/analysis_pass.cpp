#include "analysis/analysis_pass.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <string>

#include "analysis/climb.h"
#include "analysis/distance_step.h"
#include "analysis/gps_jump.h"
#include "analysis/profiles.h"
#include "analysis/standstill_search.h"
#include "formats/track_source.h"
#include "platform/checked.h"
#include "track/track_file.h"

namespace at {
namespace {

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

// The leg from the point before to the current one, worked out before anything of the point is
// listed: a stretch it closes and its own gap stop come first, and whether its step is a GPS jump
// decides both what it adds and whether the point can join a stretch.
struct Leg {
    std::int64_t seconds = 0;
    bool gapStop = false;
    // The step is taken after a point other than 0 ft; none when it cannot be worked out, which
    // fails the pass where the step is added.
    bool stepTaken = false;
    std::optional<double> stepKm;
    bool gpsJump = false;
};

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
        climb_.emplace(result_.settings.altitudeJumpLimit);
        standstills_.emplace(result_.settings.stopGapSeconds);
        const std::string& path = result_.inputs.trackPath;
        const std::unique_ptr<PointSource> source = openPointSource(path, result_.inputs.track);
        result_.numbering = source->numbering();
        stops_.numbering = result_.numbering;
        try {
            const std::int64_t count = source->countPoints();
            summary_.pointsWithoutTime = toInt32Checked(source->pointsWithoutTime());
            summary_.hasTimes = summary_.pointsWithoutTime == 0;
            lookForStandstills_ = summary_.hasTimes && result_.settings.stopGapSeconds >= 0;
            profiles_.sizeProfiles(count, result_.numbering);
            // The count fits the charts' row numbers here (it is negative for a file of fewer
            // than six lines); a blank line may end the points sooner.
            result_.points.reserve(static_cast<std::size_t>(std::max<std::int64_t>(count, 0)));
            port_.beginPoints();
            readTrack(*source);
        } catch (RuntimeError& e) {
            e.withFile(path);
            throw;
        }
        summary_.stopCount = stops_.stopCount;
        summary_.stopSeconds = stops_.stopSeconds;
        summary_.accumulatedClimb = climb_->accumulated();
        summary_.discardedSamples = climb_->discarded();
        summary_.gpsJumps = jumps_.count();
        summary_.hasAltitudes = result_.points.empty() || altitudeSeen_;
        result_.summary = summary_;
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
        if (lookForStandstills_)
            listStandstills(standstills_->finish());
    }

    // The point's altitude is converted only after its stop check and its altitude row: a point
    // line with a bad altitude still leaves its stop in the list.
    void takePoint(const TrackPoint& point, PointSource& source) {
        const std::int32_t i = numbered(result_.numbering, summary_.linesRead - kHeaderLines);
        previousPosition_ = position_;
        position_ = stepPoint(point.latitudeDigits, point.longitudeDigits);
        const DateTime now = summary_.hasTimes ? continuousTime(i, point.timeOfDay) : 0.0;
        lastTime_ = now;
        if (i == 1 && summary_.hasTimes)
            summary_.startTime = now;
        const Leg leg = legTo(i, now);

        if (lookForStandstills_) {
            listStandstills(standstills_->add(
                {i, wholeSeconds(i), position_, summary_.distanceKm, leg.gpsJump, leg.gapStop}));
        }
        // The leg has already asked whether its gap is a stop: most are not, and need no second
        // look.
        if (leg.gapStop)
            listGapStop(i, now);
        profiles_.selectAltitudeRow(i);

        // A point without altitude still counts as one other than 0 here, as it always did.
        if (leg.stepTaken) {
            if (!leg.stepKm)
                failDistanceStep(previousPosition_, position_);
            if (!leg.gpsJump)
                summary_.distanceKm = static_cast<float>(summary_.distanceKm + *leg.stepKm);
        }
        distanceAfter(i) = summary_.distanceKm;

        previousHadAltitude_ = hasAltitude_;
        const std::int16_t feet = source.altitudeFeet();
        hasAltitude_ = feet != kNoAltitudeFeet;
        altitudeMetres_ = feet * kMetresPerFoot;
        if (hasAltitude_) {
            altitudeSeen_ = true;
            if (altitudeMetres_ < summary_.lowestAltitude)
                summary_.lowestAltitude = altitudeMetres_;
            if (altitudeMetres_ > summary_.highestAltitude)
                summary_.highestAltitude = altitudeMetres_;
            altitudeRowValue_ = altitudeMetres_;
        }
        // Without an altitude the profile repeats the row before rather than dive to -236.8 m.
        profiles_.setAltitudeValue(altitudeRowValue_);
        if (previousAltitude_ != 0 && hasAltitude_ && previousHadAltitude_) {
            climb_->step(previousAltitude_, altitudeMetres_,
                         summary_.hasTimes ? leg.seconds : Climb::kUntimedLegSeconds);
        } else if (hasAltitude_) {
            climb_->restartAt(altitudeMetres_);
        }

        speedKmh_ = summary_.hasTimes && i >= kFirstPointWithSpeed ? speedOverWindow(i) : 0.0;
        if (speedKmh_ < summary_.lowestSpeed)
            summary_.lowestSpeed = speedKmh_;
        if (speedKmh_ > summary_.highestSpeed)
            summary_.highestSpeed = speedKmh_;
        profiles_.addSpeedRow(i, speedKmh_);
        const PointDetail detail{.point = i,
                                 .localDay = summary_.hasTimes ? source.localDay() : 0,
                                 .timeOfDay = now,
                                 .latitudeDigits = point.latitudeDigits,
                                 .longitudeDigits = point.longitudeDigits,
                                 .altitudeMetres = altitudeRowValue_,
                                 .speedKmh = speedKmh_,
                                 .distanceKm = summary_.distanceKm,
                                 .hasTime = summary_.hasTimes,
                                 .gpsJump = leg.gpsJump,
                                 .hasAltitude = hasAltitude_,
                                 .accumulatedClimb = climb_->accumulated()};
        result_.points.push_back(detail);
        port_.addPoint(detail);
        const SensorReading sensors = source.sensors();
        if (sensors.any()) {
            result_.sensors.set(result_.points.size() - 1, sensors);
            port_.addPointSensors(sensors);
        }
        laps_.takePoint(detail, source.startsLap(), sensors.value(Sensor::HeartRate));
    }

    // The leg from point i - 1 to point i (none for the first point). Without times a track has
    // no gaps, and no GPS jumps are looked for.
    Leg legTo(int i, DateTime now) {
        Leg leg;
        leg.stepTaken = previousAltitude_ != 0;
        if (leg.stepTaken)
            leg.stepKm = distanceStepKm(previousPosition_, position_);
        if (i == 1 || !summary_.hasTimes)
            return leg;
        leg.seconds = wholeSeconds(i) - wholeSeconds(i - 1);
        leg.gapStop = isGapStop(time(i - 1), now, result_.settings.stopGapSeconds);
        if (leg.stepKm) {
            leg.gpsJump = jumps_.setAside(*leg.stepKm, leg.seconds, speedKmh_);
        } else {
            jumps_.noStep();
        }
        return leg;
    }

    void listGapStop(int i, DateTime now) {
        if (std::optional<Stop> stop = checkStop(time(i - 1), now, distanceAfter(i - 2),
                                                 result_.settings.stopGapSeconds, stops_)) {
            stop->row = i - 1;
            showStop(*stop);
        }
    }

    void listStandstills(const std::vector<Stop>& stops) {
        for (const Stop& stop : stops) {
            countStop(stop.gapSeconds, stops_);
            showStop(stop);
        }
    }

    void showStop(const Stop& stop) {
        result_.stops.push_back(stop);
        port_.addStop(stop);
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
    std::optional<Climb> climb_;
    GpsJumps jumps_;
    std::optional<StandstillSearch> standstills_;
    bool lookForStandstills_ = false;
    LapSplits laps_;

    StepPoint position_;
    StepPoint previousPosition_;
    double altitudeMetres_ = 0.0;
    double previousAltitude_ = 0.0;
    bool hasAltitude_ = true;
    bool previousHadAltitude_ = true;
    bool altitudeSeen_ = false;
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
