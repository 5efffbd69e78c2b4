#include "formats/track_source.h"

#include <algorithm>
#include <limits>
#include <vector>

#include "formats/track_format.h"
#include "formats/track_list.h"
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
    ReadPointSource(std::string path, TrackFormat format, int track)
        : path_(std::move(path)), format_(format), track_(track) {}

    std::int64_t countPoints() override {
        const auto reader = openTrackReader(path_, format_, track_);
        TrackPoint point;
        count_ = 0;
        kept_.clear();
        int fileTrack = 0;
        while (reader->next(point)) {
            if (count_ < kKeptPoints) {
                kept_.push_back(
                    {point, reader->place(), reader->localDay(), reader->unixSeconds(), false});
            }
            fileTrack = reader->track();
            ++count_;
        }
        reader->close();
        heading_ = reader->layout().headingOf(fileTrack);
        markLaps(reader->layout(), fileTrack);
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
            if (k.unixSeconds >= *nextStart) {
                k.startsLap = true;
                while (nextStart != starts.end() && *nextStart <= k.unixSeconds)
                    ++nextStart;
            }
        }
    }

    // As many points as a chart has rows.
    static constexpr std::int64_t kKeptPoints = std::numeric_limits<std::int16_t>::max();
    struct Kept {
        TrackPoint point;
        PointPlace place;
        std::int32_t day;
        std::int64_t unixSeconds;
        bool startsLap;
    };

    std::string path_;
    TrackFormat format_;
    int track_;
    TrackHeading heading_;
    std::int64_t count_ = 0;
    std::vector<Kept> kept_;
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
