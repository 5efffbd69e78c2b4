#include "formats/xml_halves.h"

#include <atomic>
#include <deque>
#include <exception>
#include <string_view>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

#include "platform/byte_reader.h"

namespace at {

void XmlHalfHandoff::publish(const XmlTracksAtHalf& tracks) {
    {
        const std::lock_guard lock(mutex_);
        tracks_ = tracks;
    }
    changed_.notify_all();
}

void XmlHalfHandoff::cancel() {
    {
        const std::lock_guard lock(mutex_);
        cancelled_ = true;
    }
    changed_.notify_all();
}

std::optional<XmlTracksAtHalf> XmlHalfHandoff::wait() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return tracks_ || cancelled_; });
    if (cancelled_)
        return std::nullopt;
    return tracks_;
}

namespace {

// The bytes looked through, from the middle of the file, for a point's start tag.
constexpr std::size_t kSearchBytes = 64 * 1024;
// The follower hands its points over in batches, and stops when so many wait to be taken: the
// memory stays bounded whatever the length of the file.
constexpr std::size_t kBatchPoints = 2048;
constexpr std::size_t kMostWaitingBatches = 24;

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

struct SecondHalfStart {
    std::int64_t lineStart = 0;
    // The "<" of the point's start tag.
    std::int64_t pointAt = 0;
};

// The first line at or after `from` that holds blanks, then the start tag of a point, as files
// write one point a line. No such line nearby: no second half.
std::optional<SecondHalfStart> findSecondHalf(ByteReader& file, std::int64_t from,
                                              std::string_view pointName) {
    file.seek(from);
    std::string window(kSearchBytes, '\0');
    window.resize(file.read(window.data(), window.size()));
    std::string tag(1, '<');
    tag.append(pointName);
    for (std::size_t lineEnd = window.find('\n'); lineEnd != std::string::npos;
         lineEnd = window.find('\n', lineEnd + 1)) {
        std::size_t at = lineEnd + 1;
        while (at < window.size() && isBlank(window[at]))
            ++at;
        const std::size_t after = at + tag.size();
        if (after < window.size() && window.compare(at, tag.size(), tag) == 0 &&
            std::string_view(" \t\r\n/>").find(window[after]) != std::string_view::npos) {
            return SecondHalfStart{from + static_cast<std::int64_t>(lineEnd + 1),
                                   from + static_cast<std::int64_t>(at)};
        }
    }
    return std::nullopt;
}

struct HalfPoint {
    TrackPoint point;
    SensorReading sensors;
    std::int64_t line = 0;
    std::int64_t unixSeconds = 0;
    std::int32_t day = 0;
    int track = 0;
};

// The point a reader has just handed out, with all it says of it.
HalfPoint pointRead(const PointReader& reader, const TrackPoint& point) {
    return {point,
            reader.sensors(),
            reader.place().value,
            reader.unixSeconds(),
            reader.localDay(),
            reader.track()};
}

class HalvesReader final : public XmlHalvesReader {
  public:
    HalvesReader(const std::string& path, XmlTrackKind kind)
        : path_(path), kind_(kind), leader_(openXmlLeader(path, kind)) {}

    ~HalvesReader() override { stopFollower(); }

    bool readInHalves() const override { return joined_; }

    bool next(TrackPoint& point) override {
        if (!joined_) {
            if (leader_->next(point)) {
                if (!decided_)
                    startFollower();
                current_ = pointRead(*leader_, point);
                return true;
            }
            if (!leader_->stoppedAtHalf()) {
                stopFollower();
                return false;
            }
            join();
        }
        return nextOfFollower(point);
    }

    std::int32_t localDay() const override { return current_.day; }
    PointPlace place() const override { return {current_.line, false}; }
    SensorReading sensors() const override { return current_.sensors; }
    int track() const override { return current_.track; }
    std::int64_t unixSeconds() const override { return current_.unixSeconds; }

    void close() override {
        stopFollower();
        leader_->close();
    }

    const TrackLayout& layout() const override {
        return followerDone_ ? layout_ : leader_->layout();
    }

  private:
    // Once the leader has read the first point: where the second half begins, and the follower
    // set to read it.
    void startFollower() {
        decided_ = true;
        const auto first = leader_->firstPoint();
        if (!first)
            return;
        ByteReader file(path_);
        const std::int64_t size = file.size();
        if (size < kXmlHalvesBytes)
            return;
        const auto start = findSecondHalf(file, size / 2, first->pointName);
        if (!start || start->lineStart <= first->parsedBytes)
            return;
        XmlSecondHalf half{start->lineStart, first->opening};
        try {
            follower_ = std::thread([this, half = std::move(half)] { follow(half); });
        } catch (const std::system_error&) {
            return;  // no thread to be had: one reader reads it all
        }
        leader_->stopAt(start->pointAt);
    }

    void follow(const XmlSecondHalf& half) {
        std::vector<HalfPoint> batch;
        batch.reserve(kBatchPoints);
        try {
            const auto reader = openXmlFollower(path_, kind_, half, handoff_);
            TrackPoint point;
            while (!stop_.load(std::memory_order_relaxed) && reader->next(point)) {
                batch.push_back(pointRead(*reader, point));
                if (batch.size() == kBatchPoints) {
                    if (!deliver(std::exchange(batch, {}), false))
                        return;
                    batch.reserve(kBatchPoints);
                }
            }
            reader->close();
            deliver(std::move(batch), true);
        } catch (...) {
            deliver(std::move(batch), true, std::current_exception());
        }
    }

    // False when the halves are not joined after all.
    bool deliver(std::vector<HalfPoint> batch, bool last, std::exception_ptr failure = nullptr) {
        std::unique_lock lock(mutex_);
        taken_.wait(lock, [this] { return waiting_.size() < kMostWaitingBatches || stop_; });
        if (stop_)
            return false;
        waiting_.push_back(std::move(batch));
        if (last) {
            followerEnded_ = true;
            followerFailure_ = std::move(failure);
        }
        lock.unlock();
        delivered_.notify_all();
        return true;
    }

    // The leader has stopped where the second half begins: the follower's points go on from it.
    void join() {
        joined_ = true;
        XmlTracksAtHalf tracks = leader_->tracksAtHalf();
        layout_ = *tracks.layout;
        tracks.layout = &layout_;
        continuingTrack_ = std::max(tracks.openTrack, 1);
        // The follower's line 2 is the line where the leader stopped.
        lineShift_ = leader_->lineAtHalf() - 2;
        handoff_.publish(tracks);
    }

    bool nextOfFollower(TrackPoint& point) {
        while (head_ == batch_.size()) {
            batch_.clear();
            head_ = 0;
            std::unique_lock lock(mutex_);
            delivered_.wait(lock, [this] { return !waiting_.empty() || followerEnded_; });
            if (!waiting_.empty()) {
                batch_ = std::move(waiting_.front());
                waiting_.pop_front();
                lock.unlock();
                taken_.notify_all();
                continue;
            }
            lock.unlock();
            if (follower_.joinable())
                follower_.join();
            followerDone_ = true;
            if (followerFailure_)
                rethrowInPlace();
            return false;
        }
        // Its lines counted from the opening, its track 0 the one open where it began.
        current_ = batch_[head_++];
        current_.line += lineShift_;
        if (current_.track == 0)
            current_.track = continuingTrack_;
        point = current_.point;
        return true;
    }

    // The follower's failure, at the line of the file where it lies.
    [[noreturn]] void rethrowInPlace() {
        try {
            std::rethrow_exception(followerFailure_);
        } catch (RuntimeError& error) {
            if (!failureShifted_)
                error.movedDown(lineShift_);
            failureShifted_ = true;
            throw;
        }
    }

    void stopFollower() {
        handoff_.cancel();
        stop_ = true;
        { const std::lock_guard lock(mutex_); }
        taken_.notify_all();
        if (follower_.joinable())
            follower_.join();
    }

    std::string path_;
    XmlTrackKind kind_;
    std::unique_ptr<XmlHalvesLeader> leader_;
    bool decided_ = false;
    bool joined_ = false;

    std::thread follower_;
    XmlHalfHandoff handoff_;
    std::atomic<bool> stop_ = false;
    std::mutex mutex_;
    std::condition_variable delivered_;
    std::condition_variable taken_;
    std::deque<std::vector<HalfPoint>> waiting_;
    bool followerEnded_ = false;
    std::exception_ptr followerFailure_;
    bool failureShifted_ = false;
    bool followerDone_ = false;

    std::vector<HalfPoint> batch_;
    std::size_t head_ = 0;
    TrackLayout layout_;
    int continuingTrack_ = 1;
    std::int64_t lineShift_ = 0;

    HalfPoint current_;
};

}  // namespace

std::unique_ptr<XmlHalvesReader> openXmlHalvesReader(const std::string& path, XmlTrackKind kind) {
    return std::make_unique<HalvesReader>(path, kind);
}

}  // namespace at
