#include "analysis/analysis_pass.h"

#include <cmath>
#include <memory>
#include <string>

#include "analysis/analysis_settings.h"
#include "analysis/stop_check.h"
#include "analysis/summary_panel.h"
#include "charts/profiles.h"
#include "platform/checked.h"
#include "track/point_source.h"
#include "track/track_file.h"

namespace at {
namespace {

constexpr double kMetresPerFoot = 0.3048;
// Six-decimal coordinates are millionths of a degree: these turn them into kilometres on a flat
// projection around the current point.
constexpr double kLatitudeUnitsPerKmSquared = 80780549.0;  // 8987.8², per km of latitude
constexpr double kLongitudeUnitsPerKmAtEquator = 9020.0;
constexpr double kUnitsPerRadian = 57295779.0;
// A speed is taken over the first of the last four gaps that spans more than this.
constexpr double kSpeedWindowDays = 15.0 / kSecondsPerDay;
constexpr int kRing = 5;

class AnalysisPass {
  public:
    AnalysisPass(AnalysisView& view, const NumberLocale& locale)
        : view_(view),
          locale_(locale),
          profiles_(view.altitudeChart(), view.speedChart(), locale) {}

    TrackSummary run() {
        view_.clearStopList();
        settings_ = readAnalysisSettings(view_.altitudeJumpText(), view_.stopMinutesText(),
                                         view_.stopSecondsText(), locale_);
        const std::string path = view_.trackPath();
        const std::unique_ptr<PointSource> source = openPointSource(path);
        try {
            analyse(*source, path);
        } catch (RuntimeError& e) {
            source->advise(e);
            throw;
        }
        return summary_;
    }

  private:
    void analyse(PointSource& source, const std::string& path) {
        try {
            profiles_.sizeProfiles(source.countPoints());
            readTrack(source);
        } catch (RuntimeError& e) {
            e.withFile(path);
            throw;
        }
        summary_.stopCount = stops_.stopCount;
        summary_.stopSeconds = stops_.stopSeconds;
        writeSummary(summary_, view_, profiles_, locale_);
    }

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
        summary_.endTime = time_[0];
    }

    // The point's altitude is converted only after its stop check and its altitude row: a point
    // line with a bad altitude still leaves its stop in the list.
    void takePoint(const TrackPoint& point, PointSource& source) {
        const std::int16_t i = toInt16Checked(summary_.linesRead - kHeaderLines);
        previousLatitude_ = latitude_;
        latitude_ = point.latitudeDigits;
        previousLongitude_ = longitude_;
        longitude_ = point.longitudeDigits;
        shiftRing(time_);
        time_[0] = point.timeOfDay;

        if (i == 1) {
            summary_.startTime = time_[0];
        } else if (auto entry = checkStop(time_[1], time_[0], distanceRing_[1],
                                          settings_.stopGapSeconds, stops_, locale_)) {
            view_.addStopEntry(*entry);
        }
        profiles_.selectAltitudeRow(i);

        shiftRing(distanceRing_);
        distanceRing_[1] = summary_.distanceKm;
        if (previousAltitude_ != 0)
            addDistanceStep();
        distanceRing_[0] = summary_.distanceKm;

        altitudeMetres_ = source.altitudeFeet() * kMetresPerFoot;
        if (altitudeMetres_ < summary_.lowestAltitude)
            summary_.lowestAltitude = altitudeMetres_;
        if (altitudeMetres_ > summary_.highestAltitude)
            summary_.highestAltitude = altitudeMetres_;
        profiles_.setAltitudeValue(altitudeMetres_);
        if (previousAltitude_ != 0)
            takeAltitudeStep();

        speedKmh_ = i >= kRing ? speedOverWindow() : 0.0;
        if (speedKmh_ < summary_.lowestSpeed)
            summary_.lowestSpeed = speedKmh_;
        if (speedKmh_ > summary_.highestSpeed)
            summary_.highestSpeed = speedKmh_;
        profiles_.addSpeedRow(i, speedKmh_);
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
        if (diff > 0 && diff < settings_.altitudeJumpLimit)
            summary_.accumulatedClimb += diff;
        if (diff > settings_.altitudeJumpLimit) {
            summary_.discardedSamples = add32(summary_.discardedSamples, 1);
        }
    }

    // The distance over the first window of the last four gaps longer than 15 s; without one the
    // speed of the point before carries over.
    double speedOverWindow() const {
        for (int k = 1; k < kRing; ++k) {
            const double span = time_[0] - time_[k];
            if (span > kSpeedWindowDays) {
                const float covered = distanceRing_[0] - distanceRing_[k];
                return covered / (24.0 * span);
            }
        }
        return speedKmh_;
    }

    template <typename T>
    static void shiftRing(T (&ring)[kRing]) {
        for (int k = kRing - 1; k > 0; --k)
            ring[k] = ring[k - 1];
    }

    AnalysisView& view_;
    NumberLocale locale_;
    Profiles profiles_;
    AnalysisSettings settings_;
    TrackSummary summary_;
    StopTotals stops_;

    std::int32_t latitude_ = 0;
    std::int32_t longitude_ = 0;
    std::int32_t previousLatitude_ = 0;
    std::int32_t previousLongitude_ = 0;
    double altitudeMetres_ = 0.0;
    double previousAltitude_ = 0.0;
    double speedKmh_ = 0.0;
    // time_[k] is t(i-k); distanceRing_[k] is D(i-k), distanceRing_[0] the total after point i.
    DateTime time_[kRing] = {};
    float distanceRing_[kRing] = {};
};

}  // namespace

TrackSummary runAnalysis(AnalysisView& view, const NumberLocale& locale) {
    return AnalysisPass(view, locale).run();
}

}  // namespace at
