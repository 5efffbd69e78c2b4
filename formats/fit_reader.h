#pragma once

#include <memory>
#include <string>

#include "track/point_reader.h"

// FIT activity files, decoded by a small and strict decoder of our own for exactly what a track
// needs: the record messages' timestamp, position_lat and position_long (semicircles), altitude,
// enhanced_altitude, heart_rate, cadence, power and temperature; the start_time of lap messages,
// the sport of session and sport messages and the sport's name. Each FIT file of a chain is a
// track of its own. File headers, definition messages, compressed timestamp headers and developer
// fields are read as the protocol lays them out; every other message is skipped. The CRC of the
// header and of every file (FIT files may follow each other) is checked. Any byte that does not fit
// the protocol ends reading with an error naming its offset.
namespace at {

std::unique_ptr<PointReader> openFitReader(const std::string& path);

// The CRC-16 of FIT files over `size` bytes, starting from `crc`.
std::uint16_t fitCrc(std::uint16_t crc, const unsigned char* data, std::size_t size);

}  // namespace at
