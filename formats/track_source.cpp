#include "formats/track_source.h"

#include <limits>
#include <vector>

#include "formats/track_format.h"
#include "platform/text_file.h"
#include "track/point_line.h"
#include "track/track_file.h"

namespace at {
namespace {

// A GPX, TCX or FIT track. It is read whole while its points are counted, and kept: no track
// that can be analysed holds more than 32767 points, so the memory stays bounded and the file is
// read once. Beyond that only the count goes on, and the size of the profiles overflows.
class ReadPointSource final : public PointSource {
  public:
    ReadPointSource(std::string path, TrackFormat format)
        : path_(std::move(path)), format_(format) {}

    std::int64_t countPoints() override {
        const auto reader = openPointReader(path_, format_);
        TrackPoint point;
        count_ = 0;
        kept_.clear();
        sensors_.clear();
        while (reader->next(point)) {
            if (count_ < kKeptPoints) {
                sensors_.set(kept_.size(), reader->sensors());
                kept_.push_back({point, reader->place(), reader->localDay()});
            }
            ++count_;
        }
        reader->close();
        return count_;
    }

    void open() override { next_ = 0; }

    bool atEnd() override { return next_ >= kept_.size(); }

    bool readPoint(TrackPoint& point) override {
        point = kept_[next_++].point;
        return true;
    }

    std::int16_t altitudeFeet() override { return kept_[next_ - 1].point.altitudeFeet; }

    std::int32_t localDay() const override { return kept_[next_ - 1].day; }

    SensorReading sensors() const override { return sensors_.reading(next_ - 1); }

    void locate(RuntimeError& error) const override {
        if (next_ == 0)
            return;
        kept_[next_ - 1].place.addTo(error);
    }

    std::string tooLongAdvice() const override {
        if (count_ <= kMostTrackPoints)
            return {};
        return "Un track de más de " + std::to_string(kMostTrackPoints) +
               " puntos puede cortarse antes con «Cortar».";
    }

    void close() override {}

  private:
    // As many points as a chart has rows.
    static constexpr std::int64_t kKeptPoints = std::numeric_limits<std::int16_t>::max();
    struct Kept {
        TrackPoint point;
        PointPlace place;
        std::int32_t day;
    };

    std::string path_;
    TrackFormat format_;
    std::int64_t count_ = 0;
    std::vector<Kept> kept_;
    // Apart from the points: only the sensors the track has take room.
    SensorColumns sensors_;
    std::size_t next_ = 0;
};

}  // namespace

std::unique_ptr<PointSource> openPointSource(const std::string& path) {
    const TrackFormat format = detectTrackFormat(path);
    if (format == TrackFormat::Plt)
        return openPointLineSource(path);
    return std::make_unique<ReadPointSource>(path, format);
}

std::int32_t firstPointDay(const std::string& path) {
    try {
        const TrackFormat format = detectTrackFormat(path);
        if (format == TrackFormat::Plt) {
            LineReader reader(path);
            skipHeader(reader);
            std::string line;
            if (reader.atEnd())
                return 0;
            reader.readLine(line);
            return endsPointData(line) ? 0 : dayOfDayCount(cutPointLine(line).dayCount);
        }
        const auto reader = openPointReader(path, format);
        TrackPoint point;
        const std::int32_t day = reader->next(point) ? reader->localDay() : 0;
        reader->close();
        return day;
    } catch (const std::exception&) {
        return 0;
    }
}

}  // namespace at
