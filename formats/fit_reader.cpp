#include "formats/fit_reader.h"

#include <algorithm>
#include <array>
#include <optional>
#include <vector>

#include "formats/point_values.h"
#include "platform/byte_reader.h"
#include "platform/checked.h"
#include "platform/number_text.h"

namespace at {
namespace {

constexpr std::size_t kBufferSize = 64 * 1024;
constexpr std::uint16_t kRecordMessage = 20;
constexpr std::uint8_t kTimestampField = 253;
constexpr std::uint8_t kLatitudeField = 0;
constexpr std::uint8_t kLongitudeField = 1;
constexpr std::uint8_t kAltitudeField = 2;
constexpr std::uint8_t kEnhancedAltitudeField = 78;
constexpr std::uint8_t kHeartRateField = 3;     // uint8, beats per minute
constexpr std::uint8_t kCadenceField = 4;       // uint8, revolutions per minute
constexpr std::uint8_t kPowerField = 7;         // uint16, watts
constexpr std::uint8_t kTemperatureField = 13;  // sint8, degrees Celsius
constexpr std::uint16_t kSportMessage = 12;
constexpr std::uint16_t kSessionMessage = 18;
constexpr std::uint16_t kLapMessage = 19;
constexpr std::uint8_t kSportSportField = 0;
constexpr std::uint8_t kSportNameField = 3;
constexpr std::uint8_t kSessionSportField = 5;
constexpr std::uint8_t kLapStartTimeField = 2;
constexpr std::uint8_t kLargestBaseType = 0x10;
// The sports done on foot.
constexpr std::uint8_t kRunning = 1;
constexpr std::uint8_t kWalking = 11;
constexpr std::uint8_t kHiking = 17;
constexpr std::int64_t kCrcBytes = 2;
// 90 degrees in semicircles: a latitude beyond it is no place on Earth. Every longitude a 32-bit
// semicircle count holds is one.
constexpr std::int64_t kMostLatitudeSemicircles = std::int64_t{1} << 30;

struct FieldDefinition {
    std::uint8_t number = 0;
    std::uint8_t size = 0;
};

struct MessageDefinition {
    bool defined = false;
    bool bigEndian = false;
    std::uint16_t globalNumber = 0;
    std::vector<FieldDefinition> fields;
    // Developer fields are skipped: only their total size matters.
    std::size_t developerBytes = 0;
};

class FitReader final : public PointReader {
  public:
    explicit FitReader(const std::string& path) : file_(path), buffer_(kBufferSize) {}

    bool next(TrackPoint& point) override {
        for (;;) {
            if (fileEnd_ == 0 && !startFile())
                return false;
            if (offset_ == fileEnd_) {
                endFile();
                continue;
            }
            if (readMessage(point))
                return true;
        }
    }

    std::int32_t localDay() const override { return day_; }

    PointPlace place() const override { return {pointOffset_, true}; }

    SensorReading sensors() const override { return sensors_; }

    void close() override { file_.close(); }

    int track() const override { return pointTrack_; }
    std::int64_t unixSeconds() const override { return unixSeconds_; }
    const TrackLayout& layout() const override { return layout_; }

  private:
    // --- bytes -----------------------------------------------------------------------------------

    // Makes `count` bytes available at the read position; the end of the file before them means
    // the file was cut short.
    void need(std::size_t count) {
        if (end_ - pos_ >= count)
            return;
        if (pos_ > 0) {
            std::copy(buffer_.begin() + static_cast<std::ptrdiff_t>(pos_),
                      buffer_.begin() + static_cast<std::ptrdiff_t>(end_), buffer_.begin());
            end_ -= pos_;
            pos_ = 0;
        }
        if (buffer_.size() < count)
            buffer_.resize(count);
        while (end_ < count) {
            const std::size_t got = file_.read(buffer_.data() + end_, buffer_.size() - end_);
            if (got == 0) {
                throw fault(ErrorKind::PastEndOfFile,
                            "El archivo FIT se acaba antes de tiempo: está cortado.",
                            offset_ + static_cast<std::int64_t>(end_ - pos_));
            }
            end_ += got;
        }
    }

    // Hands out `count` bytes and adds them to the running CRC.
    const unsigned char* take(std::size_t count) {
        need(count);
        const auto* bytes = reinterpret_cast<const unsigned char*>(buffer_.data() + pos_);
        crc_ = fitCrc(crc_, bytes, count);
        pos_ += count;
        offset_ += static_cast<std::int64_t>(count);
        return bytes;
    }

    std::uint8_t byte() { return *take(1); }

    bool atFileEnd() {
        if (pos_ < end_)
            return false;
        pos_ = end_ = 0;
        end_ = file_.read(buffer_.data(), buffer_.size());
        return end_ == 0;
    }

    RuntimeError fault(ErrorKind kind, const std::string& detail, std::int64_t at) const {
        RuntimeError error(kind, detail);
        error.withFile(file_.path()).withByteOffset(at);
        return error;
    }

    static std::uint32_t readUnsigned(const unsigned char* p, std::size_t size, bool bigEndian) {
        std::uint32_t v = 0;
        for (std::size_t i = 0; i < size; ++i)
            v |= std::uint32_t{p[bigEndian ? size - 1 - i : i]} << (8 * i);
        return v;
    }

    // --- file header and CRC ---------------------------------------------------------------------

    // Reads the header of the next FIT file; false at the end of the data.
    bool startFile() {
        if (atFileEnd()) {
            if (files_ == 0) {
                throw fault(ErrorKind::PastEndOfFile, "El archivo FIT está vacío.", offset_);
            }
            finish();
            return false;
        }
        const std::int64_t headerStart = offset_;
        crc_ = 0;
        need(12);
        const auto headerSize = static_cast<std::uint8_t>(buffer_[pos_]);
        if (headerSize < 12) {
            throw fault(ErrorKind::TypeMismatch,
                        "La cabecera FIT declara un tamaño de " + std::to_string(headerSize) +
                            " bytes (al menos 12).",
                        headerStart);
        }
        const unsigned char* header = take(headerSize);
        if (header[8] != '.' || header[9] != 'F' || header[10] != 'I' || header[11] != 'T') {
            throw fault(ErrorKind::TypeMismatch, "Falta la firma «.FIT» de la cabecera.",
                        headerStart + 8);
        }
        if (headerSize >= 14) {
            const std::uint16_t stored =
                static_cast<std::uint16_t>(readUnsigned(header + 12, 2, false));
            if (stored != 0 && stored != fitCrc(0, header, 12)) {
                throw fault(ErrorKind::TypeMismatch,
                            "La suma de control (CRC) de la cabecera FIT no coincide.",
                            headerStart + 12);
            }
        }
        const std::uint32_t dataSize = readUnsigned(header + 4, 4, false);
        // A header that promises more than the file holds would otherwise be believed to the
        // last byte before the file is found short.
        const std::int64_t fileSize = file_.size();
        if (offset_ + dataSize + kCrcBytes > fileSize) {
            throw fault(ErrorKind::PastEndOfFile,
                        "La cabecera FIT declara " + std::to_string(dataSize) +
                            " bytes de datos y el archivo no los tiene: está cortado.",
                        fileSize);
        }
        fileEnd_ = offset_ + dataSize;
        ++files_;
        lastTimestamp_.reset();
        for (MessageDefinition& d : definitions_)
            d = MessageDefinition{};
        return true;
    }

    void endFile() {
        const std::int64_t crcAt = offset_;
        const std::uint16_t computed = crc_;
        const unsigned char* stored = take(kCrcBytes);
        if (readUnsigned(stored, 2, false) != computed) {
            throw fault(ErrorKind::TypeMismatch,
                        "La suma de control (CRC) del archivo FIT no coincide: el archivo está "
                        "dañado.",
                        crcAt);
        }
        fileEnd_ = 0;
    }

    void finish() {
        file_.close();
        if (points_ == 0) {
            throw fault(ErrorKind::PastEndOfFile,
                        "El archivo FIT no tiene ningún registro con posición (record).", offset_);
        }
    }

    // --- messages --------------------------------------------------------------------------------

    // One message; true when it was a record with a position, now in `point`.
    bool readMessage(TrackPoint& point) {
        const std::int64_t messageStart = offset_;
        const std::uint8_t header = byte();
        if (header & 0x80) {
            // Compressed timestamp header: a data message whose time is the last full timestamp
            // advanced to the five bits given here.
            const int local = (header >> 5) & 0x03;
            if (!lastTimestamp_) {
                throw fault(ErrorKind::TypeMismatch,
                            "Cabecera de hora comprimida sin una hora completa antes.",
                            messageStart);
            }
            const std::uint32_t offset = header & 0x1F;
            std::uint32_t t = (*lastTimestamp_ & ~0x1Fu) + offset;
            if (offset < (*lastTimestamp_ & 0x1Fu))
                t += 0x20;
            lastTimestamp_ = t;
            return readData(local, messageStart, t, point);
        }
        const int local = header & 0x0F;
        if (header & 0x40) {
            readDefinition(local, (header & 0x20) != 0, messageStart);
            return false;
        }
        if (header & 0x30) {
            throw fault(ErrorKind::TypeMismatch, "Cabecera de mensaje con bits reservados.",
                        messageStart);
        }
        return readData(local, messageStart, std::nullopt, point);
    }

    void readDefinition(int local, bool developer, std::int64_t at) {
        MessageDefinition d;
        d.defined = true;
        const unsigned char* fixed = take(5);
        if (fixed[1] > 1) {
            throw fault(ErrorKind::TypeMismatch, "Arquitectura desconocida en una definición FIT.",
                        at + 2);
        }
        d.bigEndian = fixed[1] == 1;
        d.globalNumber = static_cast<std::uint16_t>(readUnsigned(fixed + 2, 2, d.bigEndian));
        const std::uint8_t count = fixed[4];
        const unsigned char* fields = take(std::size_t{count} * 3);
        d.fields.reserve(count);
        for (std::size_t i = 0; i < count; ++i) {
            const unsigned char* f = fields + 3 * i;
            if (f[1] == 0 || (f[2] & 0x1F) > kLargestBaseType) {
                throw fault(ErrorKind::TypeMismatch, "Campo mal definido en una definición FIT.",
                            at + 6 + static_cast<std::int64_t>(3 * i));
            }
            d.fields.push_back({f[0], f[1]});
        }
        if (developer) {
            const std::uint8_t devCount = byte();
            const unsigned char* devFields = take(std::size_t{devCount} * 3);
            for (std::size_t i = 0; i < devCount; ++i)
                d.developerBytes += devFields[3 * i + 1];
        }
        if (offset_ > fileEnd_) {
            throw fault(ErrorKind::TypeMismatch, "Una definición FIT pasa del final de los datos.",
                        at);
        }
        definitions_[static_cast<std::size_t>(local)] = std::move(d);
    }

    bool readData(int local, std::int64_t at, std::optional<std::uint32_t> compressedTime,
                  TrackPoint& point) {
        const MessageDefinition& d = definitions_[static_cast<std::size_t>(local)];
        if (!d.defined) {
            throw fault(
                ErrorKind::TypeMismatch,
                "Mensaje de datos de un tipo local (" + std::to_string(local) + ") sin definir.",
                at);
        }
        std::optional<std::uint32_t> timestamp = compressedTime;
        std::optional<std::int32_t> latitude;
        std::optional<std::int32_t> longitude;
        std::optional<double> altitude;
        std::optional<double> enhancedAltitude;
        SensorReading sensors;
        for (const FieldDefinition& f : d.fields) {
            const unsigned char* v = take(f.size);
            const bool record = d.globalNumber == kRecordMessage;
            if (f.number == kTimestampField && f.size == 4) {
                const std::uint32_t t = readUnsigned(v, 4, d.bigEndian);
                if (t != 0xFFFFFFFFu) {
                    timestamp = t;
                    lastTimestamp_ = t;
                }
            } else if (record && f.size == 4 &&
                       (f.number == kLatitudeField || f.number == kLongitudeField)) {
                const auto raw = static_cast<std::int32_t>(readUnsigned(v, 4, d.bigEndian));
                if (raw != 0x7FFFFFFF)
                    (f.number == kLatitudeField ? latitude : longitude) = raw;
            } else if (record && f.number == kAltitudeField && f.size == 2) {
                const std::uint32_t raw = readUnsigned(v, 2, d.bigEndian);
                if (raw != 0xFFFFu)
                    altitude = raw / 5.0 - 500.0;
            } else if (record && f.number == kEnhancedAltitudeField && f.size == 4) {
                const std::uint32_t raw = readUnsigned(v, 4, d.bigEndian);
                if (raw != 0xFFFFFFFFu)
                    enhancedAltitude = raw / 5.0 - 500.0;
            } else if (record) {
                readSensor(f, v, d.bigEndian, sensors);
            } else {
                noteActivityField(d, f, v);
            }
        }
        take(d.developerBytes);
        if (offset_ > fileEnd_) {
            throw fault(ErrorKind::TypeMismatch, "Un mensaje FIT pasa del final de los datos.", at);
        }
        if (d.globalNumber != kRecordMessage || !latitude || !longitude)
            return false;
        pointOffset_ = at;
        if (!timestamp) {
            throw fault(ErrorKind::TypeMismatch, "Punto sin hora: el registro no tiene timestamp.",
                        at)
                .withField("timestamp");
        }
        if (*latitude > kMostLatitudeSemicircles || *latitude < -kMostLatitudeSemicircles) {
            std::string degrees;
            appendMillionths(degrees, toInt32Checked(semicirclesToMillionths(*latitude)), ".");
            throw fault(ErrorKind::TypeMismatch, offEarthText(Axis::Latitude), at)
                .withField("position_lat")
                .withText(degrees);
        }
        point.latitudeDigits = toInt32Checked(semicirclesToMillionths(*latitude));
        point.longitudeDigits = toInt32Checked(semicirclesToMillionths(*longitude));
        const std::optional<double> metres = enhancedAltitude ? enhancedAltitude : altitude;
        try {
            point.altitudeFeet = metres ? metresToFeet(*metres) : kNoAltitudeFeet;
        } catch (RuntimeError& e) {
            throw std::move(e.withFile(file_.path()).withByteOffset(at).withField("altitude"));
        }
        const LocalTime when =
            clock_.at(static_cast<std::int64_t>(*timestamp) + kFitEpochUnixSeconds);
        point.timeOfDay = when.timeOfDay;
        day_ = when.day;
        sensors_ = sensors;
        if (files_ > TrackLayout::kMostTracks)
            throw fault(ErrorKind::Overflow, tooManyTracksText(), at);
        pointTrack_ = files_;
        unixSeconds_ = static_cast<std::int64_t>(*timestamp) + kFitEpochUnixSeconds;
        ++points_;
        return true;
    }

    // A record's sensor field, if `f` is one of the sizes the protocol gives it; the invalid value
    // of its base type means the point has none.
    static void readSensor(const FieldDefinition& f, const unsigned char* v, bool bigEndian,
                           SensorReading& sensors) {
        if (f.size == 1 && (f.number == kHeartRateField || f.number == kCadenceField)) {
            if (v[0] != 0xFF)
                sensors.set(f.number == kHeartRateField ? Sensor::HeartRate : Sensor::Cadence,
                            v[0]);
        } else if (f.size == 2 && f.number == kPowerField) {
            const std::uint32_t raw = readUnsigned(v, 2, bigEndian);
            if (raw != 0xFFFFu)
                sensors.set(Sensor::Power, static_cast<float>(raw));
        } else if (f.size == 1 && f.number == kTemperatureField) {
            if (v[0] != 0x7F)
                sensors.set(Sensor::Temperature, static_cast<std::int8_t>(v[0]));
        }
    }

    // Each FIT file of a chain is an activity of its own: where its laps begin, its sport, its
    // name.
    void noteActivityField(const MessageDefinition& d, const FieldDefinition& f,
                           const unsigned char* v) {
        if (d.globalNumber == kLapMessage && f.number == kLapStartTimeField && f.size == 4) {
            const std::uint32_t start = readUnsigned(v, 4, d.bigEndian);
            if (start != 0xFFFFFFFFu)
                layout_.addLap(files_, static_cast<std::int64_t>(start) + kFitEpochUnixSeconds);
        } else if ((d.globalNumber == kSessionMessage && f.number == kSessionSportField) ||
                   (d.globalNumber == kSportMessage && f.number == kSportSportField)) {
            if (v[0] != 0xFF)
                layout_.heading(files_).onFoot =
                    v[0] == kRunning || v[0] == kWalking || v[0] == kHiking;
        } else if (d.globalNumber == kSportMessage && f.number == kSportNameField) {
            const auto* text = reinterpret_cast<const char*>(v);
            layout_.heading(files_).name =
                keptName(std::string_view(text, std::find(text, text + f.size, '\0') - text));
        }
    }

    ByteReader file_;
    std::vector<char> buffer_;
    std::size_t pos_ = 0;
    std::size_t end_ = 0;
    // Offset in the file of the byte at pos_.
    std::int64_t offset_ = 0;
    // Where the CRC of the FIT file being read stands; 0 between files.
    std::int64_t fileEnd_ = 0;
    std::uint16_t crc_ = 0;
    int files_ = 0;
    std::array<MessageDefinition, 16> definitions_{};
    std::optional<std::uint32_t> lastTimestamp_;
    std::int64_t points_ = 0;
    std::int64_t pointOffset_ = 0;
    std::int32_t day_ = 0;
    SensorReading sensors_;
    int pointTrack_ = 1;
    std::int64_t unixSeconds_ = 0;
    TrackLayout layout_;
    LocalClock clock_;
};

}  // namespace

std::uint16_t fitCrc(std::uint16_t crc, const unsigned char* data, std::size_t size) {
    static constexpr std::uint16_t kTable[16] = {0x0000, 0xCC01, 0xD801, 0x1400, 0xF001, 0x3C00,
                                                 0x2800, 0xE401, 0xA001, 0x6C00, 0x7800, 0xB401,
                                                 0x5000, 0x9C01, 0x8801, 0x4400};
    for (std::size_t i = 0; i < size; ++i) {
        const std::uint8_t b = data[i];
        std::uint16_t t = kTable[crc & 0xF];
        crc = (crc >> 4) & 0x0FFF;
        crc = crc ^ t ^ kTable[b & 0xF];
        t = kTable[crc & 0xF];
        crc = (crc >> 4) & 0x0FFF;
        crc = crc ^ t ^ kTable[(b >> 4) & 0xF];
    }
    return crc;
}

std::unique_ptr<PointReader> openFitReader(const std::string& path) {
    return std::make_unique<FitReader>(path);
}

}  // namespace at
