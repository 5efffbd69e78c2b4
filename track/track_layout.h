#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// What a file says about the tracks it holds besides their points: each track's name and sport,
// and where its laps begin. A GPX trk, a TCX Activity or Course and each FIT file of a chain is a
// track of its own, numbered from 1 in file order as the reader meets it.
namespace at {

struct TrackHeading {
    std::string name;
    // The file says the activity is running, walking or hiking: a pace means something for it.
    bool onFoot = false;
};

// A lap begins at the first point of its track at or after this instant.
// "El archivo tiene más de 4096 tracks, el máximo que se puede leer."
std::string tooManyTracksText();

struct LapStart {
    int track = 0;
    std::int64_t unixSeconds = 0;
};

class TrackLayout {
  public:
    // The heading of track `track` (from 1), made when first asked for.
    TrackHeading& heading(int track);
    // The heading of a track the file has said nothing about is empty.
    const TrackHeading& headingOf(int track) const;
    void addLap(int track, std::int64_t unixSeconds);
    const std::vector<LapStart>& laps() const { return laps_; }

    // Past this many tracks a file is refused where its first point too many lies: a file of
    // countless tiny tracks would otherwise grow every listing of its tracks without end.
    static constexpr int kMostTracks = 4096;

  private:
    // A file of countless empty tracks or laps must not grow memory without end: past these, what
    // the file says is dropped (the points still count).
    static constexpr std::size_t kMostHeadings = kMostTracks;
    static constexpr std::size_t kMostLaps = 32767;

    std::vector<TrackHeading> headings_;
    std::vector<LapStart> laps_;
    TrackHeading spare_;
};

// A track's name as far as it is worth keeping: the rest of a long one is dropped.
std::string keptName(std::string_view text);

// Whether a sport as a file writes it ("Running", "hiking", "walk") is done on foot.
bool sportOnFoot(std::string_view sport);

}  // namespace at
