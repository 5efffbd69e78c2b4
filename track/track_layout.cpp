#include "track/track_layout.h"

#include <cctype>

#include "platform/text_encoding.h"

namespace at {
namespace {

constexpr std::size_t kMostNameBytes = 200;

}  // namespace

TrackHeading& TrackLayout::heading(int track) {
    if (track < 1 || static_cast<std::size_t>(track) > kMostHeadings) {
        spare_ = TrackHeading{};
        return spare_;
    }
    if (headings_.size() < static_cast<std::size_t>(track))
        headings_.resize(static_cast<std::size_t>(track));
    return headings_[static_cast<std::size_t>(track) - 1];
}

const TrackHeading& TrackLayout::headingOf(int track) const {
    static const TrackHeading none;
    if (track < 1 || static_cast<std::size_t>(track) > headings_.size())
        return none;
    return headings_[static_cast<std::size_t>(track) - 1];
}

void TrackLayout::addLap(int track, std::int64_t unixSeconds) {
    if (laps_.size() < kMostLaps)
        laps_.push_back({track, unixSeconds});
}

std::string keptName(std::string_view text) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front())))
        text.remove_prefix(1);
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back())))
        text.remove_suffix(1);
    std::string name(text.substr(0, kMostNameBytes));
    // Never half a UTF-8 character at the cut.
    if (text.size() > kMostNameBytes) {
        while (!name.empty() && (static_cast<unsigned char>(name.back()) & 0xC0) == 0x80)
            name.pop_back();
        if (!name.empty() && (static_cast<unsigned char>(name.back()) & 0x80) != 0)
            name.pop_back();
    }
    return name;
}

bool sportOnFoot(std::string_view sport) {
    const std::string lower = asciiLowercase(sport);
    for (const char* word :
         {"run", "walk", "hik", "trail", "correr", "carrera", "caminar", "senderismo", "marcha"}) {
        if (lower.find(word) != std::string::npos)
            return true;
    }
    return false;
}

std::string tooManyTracksText() {
    return "El archivo tiene más de " + std::to_string(TrackLayout::kMostTracks) +
           " tracks, el máximo que se puede leer.";
}

}  // namespace at
