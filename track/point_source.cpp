#include "track/point_source.h"

#include <optional>

#include "platform/text_file.h"
#include "track/point_line.h"
#include "track/track_file.h"

namespace at {
namespace {

class PointLineSource final : public PointSource {
  public:
    explicit PointLineSource(std::string path) : path_(std::move(path)) {}

    PointNumbering numbering() const override { return PointNumbering::Bits16; }

    std::int64_t countPoints() override { return countPointLines(path_); }

    void open() override {
        reader_.emplace(path_);
        skipHeader(*reader_);
    }

    bool atEnd() override { return reader_->atEnd(); }

    bool readPoint(TrackPoint& point) override {
        reader_->readLine(line_);
        if (endsPointData(line_))
            return false;
        fields_ = cutPointLine(line_);
        point.latitudeDigits = readLatitude(fields_);
        point.longitudeDigits = readLongitude(fields_);
        point.timeOfDay = readTimeOfDay(fields_);
        return true;
    }

    std::int16_t altitudeFeet() override { return readAltitudeFeet(fields_); }

    std::int32_t localDay() const override { return dayOfDayCount(fields_.dayCount); }

    void locate(RuntimeError& error) const override { error.withLine(reader_->linesRead()); }

    void close() override { reader_->close(); }

  private:
    std::string path_;
    std::optional<LineReader> reader_;
    std::string line_;
    PointLineFields fields_;
};

}  // namespace

std::unique_ptr<PointSource> openPointLineSource(const std::string& path) {
    return std::make_unique<PointLineSource>(path);
}

}  // namespace at
