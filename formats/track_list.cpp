#include "formats/track_list.h"

namespace at {
namespace {

// Tracks come one after the other: the n-th is the n-th change of the reader's track among the
// points.
class OneTrackReader final : public PointReader {
  public:
    OneTrackReader(std::unique_ptr<PointReader> reader, int number)
        : reader_(std::move(reader)), number_(number) {}

    bool next(TrackPoint& point) override {
        while (reader_->next(point)) {
            if (seen_ == 0 || reader_->track() != lastTrack_) {
                lastTrack_ = reader_->track();
                ++seen_;
            }
            if (seen_ == number_)
                return true;
        }
        if (seen_ < number_) {
            throw RuntimeError(ErrorKind::PastEndOfFile, "El archivo no tiene el track " +
                                                             std::to_string(number_) + ": tiene " +
                                                             std::to_string(seen_) + ".");
        }
        return false;
    }

    std::int32_t localDay() const override { return reader_->localDay(); }
    PointPlace place() const override { return reader_->place(); }
    SensorReading sensors() const override { return reader_->sensors(); }
    void close() override { reader_->close(); }
    int track() const override { return reader_->track(); }
    std::int64_t unixSeconds() const override { return reader_->unixSeconds(); }
    const TrackLayout& layout() const override { return reader_->layout(); }

  private:
    std::unique_ptr<PointReader> reader_;
    int number_;
    int seen_ = 0;
    int lastTrack_ = 0;
};

}  // namespace

std::vector<TrackListing> listTracks(const std::string& path) {
    const TrackFormat format = detectTrackFormat(path);
    if (format == TrackFormat::Plt)
        return {};
    const auto reader = openPointReader(path, format);
    std::vector<TrackListing> tracks;
    std::vector<int> fileTracks;
    TrackPoint point;
    while (reader->next(point)) {
        if (fileTracks.empty() || reader->track() != fileTracks.back()) {
            fileTracks.push_back(reader->track());
            tracks.push_back(
                {static_cast<int>(tracks.size()) + 1, {}, false, reader->localDay(), 0});
        }
        ++tracks.back().points;
    }
    reader->close();
    for (std::size_t i = 0; i < tracks.size(); ++i) {
        const TrackHeading& heading = reader->layout().headingOf(fileTracks[i]);
        tracks[i].name = heading.name;
        tracks[i].onFoot = heading.onFoot;
    }
    return tracks;
}

std::unique_ptr<PointReader> openTrackReader(const std::string& path, TrackFormat format,
                                             int number) {
    auto reader = openPointReader(path, format);
    if (number == 0)
        return reader;
    return std::make_unique<OneTrackReader>(std::move(reader), number);
}

}  // namespace at
