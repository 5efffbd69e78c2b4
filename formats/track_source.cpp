#include "formats/track_source.h"

#include <algorithm>
#include <vector>

#include "formats/track_format.h"
#include "formats/track_list.h"
#include "platform/text_file.h"
#include "track/point_line.h"
#include "track/track_file.h"

namespace at {
namespace {

// A GPX, TCX or FIT track. It is read whole while its points are counted, and kept, so that the
// file is read once: its points are numbered in 32 bits, and a track of more than kMostReadPoints
// is refused as soon as the reader meets the point beyond them, so the memory stays bounded.
class ReadPointSource final : public PointSource {
  public:
    ReadPointSource(std::string path, TrackFormat format, int track)
        : path_(std::move(path)), format_(format), track_(track) {}

    PointNumbering numbering() const override { return PointNumbering::Bits32; }

    std::int64_t countPoints() override {
        const auto reader = openTrackReader(path_, format_, track_);
        TrackPoint point;
        withoutTime_ = 0;
        kept_.clear();
        sensors_.clear();
        int fileTrack = 0;
        while (reader->next(point)) {
            const PointPlace place = reader->place();
            if (static_cast<std::int64_t>(kept_.size()) == kMostReadPoints)
                throw tooLong(place);
            placesAreByteOffsets_ = place.byteOffset;
            sensors_.set(kept_.size(), reader->sensors());
            kept_.push_back({point, place.value, reader->localDay(), reader->unixSeconds(), false});
            if (!point.hasTime)
                ++withoutTime_;
            fileTrack = reader->track();
        }
        reader->close();
        heading_ = reader->layout().headingOf(fileTrack);
        markLaps(reader->layout(), fileTrack);
        return static_cast<std::int64_t>(kept_.size());
    }

    std::int64_t pointsWithoutTime() const override { return withoutTime_; }

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
        PointPlace{kept_[next_ - 1].place, placesAreByteOffsets_}.addTo(error);
    }

    // The pass has taken every point; its result holds what it needs of them.
    void close() override {
        std::vector<Kept>().swap(kept_);
        sensors_.clear();
    }

    bool startsLap() const override { return next_ > 0 && kept_[next_ - 1].startsLap; }

    std::optional<TrackHeading> heading() const override { return heading_; }

  private:
    // A lap begins at the first point at or after its start; one that starts before the track
    // begins at its first point, two that meet the same point are one.
    void markLaps(const TrackLayout& layout, int fileTrack) {
        std::vector<std::int64_t> starts;
        for (const LapStart& lap : layout.laps()) {
            if (lap.track == fileTrack)
                starts.push_back(lap.unixSeconds);
        }
        std::sort(starts.begin(), starts.end());
        auto nextStart = starts.begin();
        for (Kept& k : kept_) {
            if (nextStart == starts.end())
                break;
            if (k.point.hasTime && k.unixSeconds >= *nextStart) {
                k.startsLap = true;
                while (nextStart != starts.end() && *nextStart <= k.unixSeconds)
                    ++nextStart;
            }
        }
    }

    struct Kept {
        TrackPoint point;
        std::int64_t place;
        std::int32_t day;
        std::int64_t unixSeconds;
        bool startsLap;
    };

    RuntimeError tooLong(const PointPlace& place) const {
        const std::string most = std::to_string(kMostReadPoints);
        RuntimeError error(ErrorKind::Overflow, "El track tiene más de " + most +
                                                    " puntos, el máximo que se puede analizar.");
        error.withFile(path_).withAdvice("Un track de más de " + most +
                                         " puntos puede cortarse antes con «Cortar».");
        place.addTo(error);
        return error;
    }

    std::string path_;
    TrackFormat format_;
    int track_;
    TrackHeading heading_;
    std::int64_t withoutTime_ = 0;
    std::vector<Kept> kept_;
    // Apart from the points: only the sensors the track has take room.
    SensorColumns sensors_;
    bool placesAreByteOffsets_ = false;
    std::size_t next_ = 0;
};

}  // namespace

std::unique_ptr<PointSource> openPointSource(const std::string& path, int track) {
    const TrackFormat format = detectTrackFormat(path);
    if (format == TrackFormat::Plt)
        return openPointLineSource(path);
    return std::make_unique<ReadPointSource>(path, format, track);
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
