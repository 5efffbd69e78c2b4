#include "formats/xml_track_reader.h"

#include <expat.h>

#include <algorithm>
#include <exception>
#include <limits>
#include <optional>
#include <string_view>
#include <vector>

#include "formats/point_values.h"
#include "formats/xml_format.h"
#include "formats/xml_length_guard.h"
#include "platform/byte_reader.h"
#include "platform/checked.h"
#include "platform/conversions.h"
#include "platform/input_limits.h"

namespace at {
namespace {

// The file is read straight into expat's own buffer (XML_Parse would copy each chunk there); the
// calls around a chunk of this size cost nothing beside its parse.
constexpr std::size_t kChunkSize = 64 * 1024;
// A value longer than this is no number and no time; only its start is kept, for the message.
constexpr std::size_t kMostValueBytes = 256;
constexpr std::size_t kMostQuotedBytes = 60;

// "<name>", for messages.
std::string tag(std::string_view name) {
    std::string t;
    t.reserve(name.size() + 2);
    t.append(1, '<').append(name).append(1, '>');
    return t;
}

const char* spanishXmlError(XML_Error code) {
    switch (code) {
        case XML_ERROR_NO_MEMORY:
            return "no queda memoria";
        case XML_ERROR_SYNTAX:
            return "error de sintaxis";
        case XML_ERROR_NO_ELEMENTS:
            return "no hay ningún elemento";
        case XML_ERROR_INVALID_TOKEN:
            return "carácter o símbolo no válido";
        case XML_ERROR_UNCLOSED_TOKEN:
            return "una etiqueta sin cerrar";
        case XML_ERROR_PARTIAL_CHAR:
            return "un carácter incompleto";
        case XML_ERROR_TAG_MISMATCH:
            return "la etiqueta de cierre no corresponde a la de apertura";
        case XML_ERROR_DUPLICATE_ATTRIBUTE:
            return "un atributo repetido";
        case XML_ERROR_JUNK_AFTER_DOC_ELEMENT:
            return "hay contenido detrás del elemento raíz";
        case XML_ERROR_UNDEFINED_ENTITY:
            return "una entidad no definida";
        case XML_ERROR_RECURSIVE_ENTITY_REF:
            return "una entidad que se refiere a sí misma";
        case XML_ERROR_BAD_CHAR_REF:
            return "una referencia a un carácter no válido";
        case XML_ERROR_UNKNOWN_ENCODING:
            return "una codificación de caracteres desconocida";
        case XML_ERROR_INCORRECT_ENCODING:
            return "la codificación declarada no corresponde al contenido";
        case XML_ERROR_UNCLOSED_CDATA_SECTION:
            return "una sección CDATA sin cerrar";
        case XML_ERROR_MISPLACED_XML_PI:
            return "la declaración XML no está al principio";
        case XML_ERROR_UNBOUND_PREFIX:
            return "un prefijo de espacio de nombres no declarado";
        case XML_ERROR_AMPLIFICATION_LIMIT_BREACH:
            return "las entidades crecen sin medida";
        default:
            return "el documento no es XML válido";
    }
}

struct QueuedPoint {
    TrackPoint point;
    SensorReading sensors;
    std::int32_t day = 0;
    std::int64_t line = 0;
    int track = 1;
    std::int64_t unixSeconds = 0;
};

// The point being read, until its end tag.
struct OpenPoint {
    std::int64_t line = 0;
    std::optional<std::int64_t> latitude;
    std::optional<std::int64_t> longitude;
    std::string latitudeText;
    std::string longitudeText;
    std::optional<std::int16_t> feet;
    std::optional<std::int64_t> unixSeconds;
    SensorReading sensors;
    bool hasPosition = false;
};

// The sensor a sensor's value element carries.
Sensor sensorOf(XmlValue value) {
    switch (value) {
        case XmlValue::Cadence:
            return Sensor::Cadence;
        case XmlValue::Power:
            return Sensor::Power;
        case XmlValue::Temperature:
            return Sensor::Temperature;
        case XmlValue::HeartRate:
        case XmlValue::Elevation:
        case XmlValue::Time:
        case XmlValue::Latitude:
        case XmlValue::Longitude:
            break;
    }
    return Sensor::HeartRate;
}

const char* notANumberText(Sensor sensor) {
    switch (sensor) {
        case Sensor::HeartRate:
            return "El pulso no es un número.";
        case Sensor::Cadence:
            return "La cadencia no es un número.";
        case Sensor::Power:
            return "La potencia no es un número.";
        case Sensor::Temperature:
            return "La temperatura no es un número.";
    }
    return "";
}

class XmlTrackReader final : public PointReader, private XmlPoints {
  public:
    XmlTrackReader(const std::string& path, std::unique_ptr<XmlFormat> format)
        : format_(std::move(format)), file_(path), parser_(XML_ParserCreate(nullptr)) {
        if (parser_ == nullptr)
            throw std::bad_alloc();
        XML_SetUserData(parser_, this);
        XML_SetElementHandler(parser_, &XmlTrackReader::onStart, &XmlTrackReader::onEnd);
    }

    ~XmlTrackReader() override { XML_ParserFree(parser_); }

    bool next(TrackPoint& point) override {
        while (head_ == queue_.size()) {
            queue_.clear();
            head_ = 0;
            if (failure_)
                std::rethrow_exception(failure_);
            if (finished_)
                return false;
            parseChunk();
        }
        const QueuedPoint& q = queue_[head_++];
        point = q.point;
        sensors_ = q.sensors;
        day_ = q.day;
        line_ = q.line;
        track_ = q.track;
        unixSeconds_ = q.unixSeconds;
        return true;
    }

    std::int32_t localDay() const override { return day_; }

    PointPlace place() const override { return {line_, false}; }

    SensorReading sensors() const override { return sensors_; }

    void close() override { file_.close(); }

    int track() const override { return track_; }
    std::int64_t unixSeconds() const override { return unixSeconds_; }
    const TrackLayout& layout() const override { return layout_; }

  private:
    void parseChunk() {
        chunkStart_ = file_.offset();
        chunk_ = static_cast<char*>(XML_GetBuffer(parser_, static_cast<int>(kChunkSize)));
        if (chunk_ == nullptr)
            throw std::bad_alloc();
        const std::size_t got = file_.read(chunk_, kChunkSize);
        const bool last = got < kChunkSize;
        // Expat gets the bytes before an overlong run only: it would hold the run whole.
        const auto overrun = guard_.scan(chunk_, got);
        const std::size_t fed = overrun ? overrun->offset : got;
        if (XML_ParseBuffer(parser_, static_cast<int>(fed), last && !overrun) == XML_STATUS_ERROR) {
            if (!failure_)
                failure_ = std::make_exception_ptr(xmlError(got));
            return;
        }
        if (overrun) {
            if (!failure_)
                failure_ = std::make_exception_ptr(overrunError(*overrun));
            return;
        }
        if (!last)
            return;
        finished_ = true;
        file_.close();
        if (pointsRead_ == 0) {
            failure_ =
                std::make_exception_ptr(RuntimeError(ErrorKind::PastEndOfFile,
                                                     "El archivo no tiene ningún punto de track (" +
                                                         tag(format_->pointName()) + ").")
                                            .withFile(file_.path()));
        }
    }

    RuntimeError xmlError(std::size_t chunkBytes) const {
        const XML_Error code = XML_GetErrorCode(parser_);
        // At the end of the file an open element or tag means the file was cut short.
        const bool cutShort =
            finishedReading(chunkBytes) &&
            (code == XML_ERROR_NO_ELEMENTS || code == XML_ERROR_UNCLOSED_TOKEN ||
             code == XML_ERROR_PARTIAL_CHAR || code == XML_ERROR_UNCLOSED_CDATA_SECTION);
        RuntimeError error(
            cutShort ? ErrorKind::PastEndOfFile : ErrorKind::TypeMismatch,
            cutShort ? std::string("El XML se acaba sin cerrar sus elementos: el "
                                   "archivo está cortado.")
                     : std::string("XML mal formado: ") + spanishXmlError(code) + " (columna " +
                           std::to_string(XML_GetCurrentColumnNumber(parser_) + 1) + ").");
        error.withFile(file_.path()).withLine(XML_GetCurrentLineNumber(parser_));
        const std::int64_t at = XML_GetCurrentByteIndex(parser_) - chunkStart_;
        if (at >= 0 && static_cast<std::size_t>(at) < chunkBytes) {
            std::string_view rest(chunk_ + at, chunkBytes - static_cast<std::size_t>(at));
            rest = rest.substr(0, std::min(rest.find_first_of("\r\n"), kMostQuotedBytes));
            error.withText(std::string(rest));
        }
        return error;
    }

    RuntimeError overrunError(const XmlLengthGuard::Overrun& overrun) const {
        RuntimeError error(ErrorKind::Overflow, std::string("El XML tiene ") + overrun.what +
                                                    " de más de " +
                                                    std::to_string(kMostXmlRunBytes) + " bytes.");
        error.withFile(file_.path()).withLine(overrun.line).withText(overrun.start);
        return error;
    }

    static bool finishedReading(std::size_t chunkBytes) { return chunkBytes < kChunkSize; }

    // A fault of the track itself: parsing stops, and the points before it are still handed out.
    void fail(RuntimeError error) {
        if (!failure_)
            failure_ = std::make_exception_ptr(std::move(error.withFile(file_.path())));
        XML_StopParser(parser_, XML_FALSE);
    }

    static void XMLCALL onStart(void* self, const XML_Char* name, const XML_Char** attributes) {
        auto* reader = static_cast<XmlTrackReader*>(self);
        try {
            reader->start(localName(name), attributes);
        } catch (...) {
            reader->failure_ = std::current_exception();
            XML_StopParser(reader->parser_, XML_FALSE);
        }
    }

    static void XMLCALL onEnd(void* self, const XML_Char* name) {
        auto* reader = static_cast<XmlTrackReader*>(self);
        try {
            (void)name;
            reader->end();
        } catch (...) {
            reader->failure_ = std::current_exception();
            XML_StopParser(reader->parser_, XML_FALSE);
        }
    }

    static void XMLCALL onText(void* self, const XML_Char* text, int length) {
        auto* reader = static_cast<XmlTrackReader*>(self);
        if (!reader->collecting_ && !reader->heading_)
            return;
        const std::size_t room = kMostValueBytes - std::min(kMostValueBytes, reader->text_.size());
        reader->text_.append(text, std::min(room, static_cast<std::size_t>(length)));
    }

    std::int64_t currentLine() const { return XML_GetCurrentLineNumber(parser_); }

    void start(std::string_view name, const XML_Char** attributes) {
        ++depth_;
        if (depth_ == 1) {
            const std::string_view root = format_->rootName();
            if (name != root) {
                fail(RuntimeError(ErrorKind::TypeMismatch,
                                  "El elemento raíz no es " + tag(root) + ".")
                         .withLine(currentLine())
                         .withText(tag(name)));
            }
            return;
        }
        format_->start(*this, name, depth_, pointDepth_, attributes);
    }

    void openPoint(bool positioned) override {
        pointDepth_ = depth_;
        point_ = OpenPoint{};
        point_.line = currentLine();
        point_.hasPosition = positioned;
    }

    void markPositioned() override { point_.hasPosition = true; }

    void setCoordinate(XmlValue which, std::string_view text) override {
        const bool latitude = which == XmlValue::Latitude;
        std::string& kept = latitude ? point_.latitudeText : point_.longitudeText;
        kept = text;
        (latitude ? point_.latitude : point_.longitude) = coordinate(
            kept, format_->valueName(which), latitude ? Axis::Latitude : Axis::Longitude);
    }

    std::optional<std::int64_t> coordinate(const std::string& text, const char* field, Axis axis) {
        auto millionths = decimalToMillionths(text);
        const char* fault = nullptr;
        if (!millionths) {
            fault = text.empty() ? "Al punto le falta la coordenada."
                                 : "La coordenada no es un número decimal.";
        } else if (!coordinateOnEarth(axis, *millionths, text)) {
            fault = offEarthText(axis);
            millionths.reset();
        }
        if (fault != nullptr) {
            fail(RuntimeError(ErrorKind::TypeMismatch, fault)
                     .withLine(point_.line)
                     .withField(field)
                     .withText(text));
        }
        return millionths;
    }

    // Text is handed over only while a value is being collected: most of a track's text is the
    // white space between its elements.
    void collect(XmlValue value) override {
        XML_SetCharacterDataHandler(parser_, &XmlTrackReader::onText);
        collecting_ = value;
        valueDepth_ = depth_;
        text_.clear();
    }

    void openTrack() override {
        // Points outside any track (a hand-made file) stay with the first.
        if (tracksOpened_ < std::numeric_limits<int>::max())
            ++tracksOpened_;
        openTrack_ = tracksOpened_;
        lapPending_ = false;
    }

    void collectHeading(HeadingText which) override {
        XML_SetCharacterDataHandler(parser_, &XmlTrackReader::onText);
        heading_ = which;
        valueDepth_ = depth_;
        text_.clear();
    }

    void setSport(std::string_view sport) override {
        TrackHeading& heading = layout_.heading(openTrack_);
        heading.onFoot = sportOnFoot(sport);
        if (heading.name.empty())
            heading.name = keptName(sport);
    }

    void openLap() override { lapPending_ = true; }

    void takeHeading() {
        const HeadingText which = *heading_;
        heading_.reset();
        XML_SetCharacterDataHandler(parser_, nullptr);
        TrackHeading& heading = layout_.heading(openTrack_);
        if (which == HeadingText::Name)
            heading.name = keptName(text_);
        else
            heading.onFoot = sportOnFoot(text_);
    }

    void end() {
        if (heading_ && depth_ == valueDepth_)
            takeHeading();
        if (collecting_ && depth_ == valueDepth_)
            takeValue();
        if (depth_ == pointDepth_) {
            pointDepth_ = 0;
            closePoint();
        }
        format_->end(depth_);
        --depth_;
    }

    void takeValue() {
        const XmlValue value = *collecting_;
        collecting_.reset();
        XML_SetCharacterDataHandler(parser_, nullptr);
        const char* field = format_->valueName(value);
        switch (value) {
            case XmlValue::Elevation: {
                const auto metres = parseElevation(text_);
                if (!metres) {
                    fail(valueError(ErrorKind::TypeMismatch, "La altitud no es un número.", field));
                    return;
                }
                try {
                    point_.feet = metresToFeet(*metres);
                } catch (RuntimeError& e) {
                    fail(std::move(e.withLine(currentLine()).withField(field).withText(text_)));
                }
                return;
            }
            case XmlValue::Time:
                point_.unixSeconds = parseXmlDateTime(text_);
                if (!point_.unixSeconds) {
                    fail(valueError(ErrorKind::TypeMismatch,
                                    "La hora no es una fecha y hora XML (aaaa-mm-ddThh:mm:ssZ).",
                                    field));
                }
                return;
            case XmlValue::Latitude:
            case XmlValue::Longitude:
                setCoordinate(value, text_);
                return;
            case XmlValue::HeartRate:
            case XmlValue::Cadence:
            case XmlValue::Power:
            case XmlValue::Temperature: {
                const Sensor sensor = sensorOf(value);
                // Read as decimals, like the elevation: watches write whole numbers, but a
                // temperature may have tenths.
                const auto micro = decimalToMillionths(text_);
                if (!micro) {
                    fail(valueError(ErrorKind::TypeMismatch, notANumberText(sensor), field));
                    return;
                }
                point_.sensors.set(sensor, static_cast<float>(static_cast<double>(*micro) / 1e6));
                return;
            }
        }
    }

    RuntimeError valueError(ErrorKind kind, const char* detail, const char* field) const {
        RuntimeError error(kind, detail);
        // Reached at the value's end tag, which is on the value's line in all but odd layouts.
        error.withLine(currentLine()).withField(field).withText(text_);
        return error;
    }

    static std::optional<double> parseElevation(const std::string& text) {
        // Elevations are decimals like coordinates; millionths keep every digit that matters.
        const auto micro = decimalToMillionths(text);
        if (!micro)
            return std::nullopt;
        return static_cast<double>(*micro) / 1e6;
    }

    void closePoint() {
        if (failure_)
            return;
        if (!point_.hasPosition)
            return;
        if (!point_.latitude || !point_.longitude) {
            fail(
                RuntimeError(ErrorKind::TypeMismatch, "Al punto le falta la latitud o la longitud.")
                    .withLine(point_.line)
                    .withText(tag(format_->pointName())));
            return;
        }
        QueuedPoint q;
        q.line = point_.line;
        try {
            q.point.latitudeDigits = toInt32Checked(*point_.latitude);
            q.point.longitudeDigits = toInt32Checked(*point_.longitude);
        } catch (RuntimeError& e) {
            fail(std::move(e.withLine(point_.line).withText(pointTag())));
            return;
        }
        q.point.altitudeFeet = point_.feet.value_or(kNoAltitudeFeet);
        q.sensors = point_.sensors;
        q.track = std::max(openTrack_, 1);
        if (q.track > TrackLayout::kMostTracks) {
            fail(RuntimeError(ErrorKind::Overflow, tooManyTracksText())
                     .withLine(point_.line)
                     .withText(pointTag()));
            return;
        }
        // A point without a time (a route planned in an app) has no day either, and no lap begins
        // at it: laps are placed by their start times.
        if (point_.unixSeconds) {
            const LocalTime local = clock_.at(*point_.unixSeconds);
            q.point.timeOfDay = local.timeOfDay;
            q.day = local.day;
            q.unixSeconds = *point_.unixSeconds;
            if (lapPending_) {
                layout_.addLap(q.track, q.unixSeconds);
                lapPending_ = false;
            }
        } else {
            q.point.hasTime = false;
        }
        queue_.push_back(q);
        ++pointsRead_;
    }

    std::string pointTag() const {
        return format_->pointTag(point_.latitudeText, point_.longitudeText);
    }

    std::unique_ptr<XmlFormat> format_;
    ByteReader file_;
    XML_Parser parser_;
    XmlLengthGuard guard_;
    // Expat's buffer for the bytes being parsed; it stays where it is until the next chunk.
    char* chunk_ = nullptr;
    std::int64_t chunkStart_ = 0;
    std::vector<QueuedPoint> queue_;
    std::size_t head_ = 0;
    std::exception_ptr failure_;
    bool finished_ = false;
    std::int64_t pointsRead_ = 0;
    std::int32_t day_ = 0;
    std::int64_t line_ = 0;
    SensorReading sensors_;
    int track_ = 1;
    std::int64_t unixSeconds_ = 0;
    LocalClock clock_;
    TrackLayout layout_;
    int tracksOpened_ = 0;
    int openTrack_ = 0;
    bool lapPending_ = false;
    std::optional<HeadingText> heading_;

    int depth_ = 0;
    int pointDepth_ = 0;
    std::optional<XmlValue> collecting_;
    int valueDepth_ = 0;
    std::string text_;
    OpenPoint point_;
};

}  // namespace

std::string_view localName(const XML_Char* name) {
    const XML_Char* start = name;
    const XML_Char* p = name;
    for (; *p != '\0'; ++p) {
        if (*p == ':')
            start = p + 1;
    }
    return {start, static_cast<std::size_t>(p - start)};
}

std::unique_ptr<PointReader> openXmlTrackReader(const std::string& path, XmlTrackKind kind) {
    return std::make_unique<XmlTrackReader>(path,
                                            kind == XmlTrackKind::Gpx ? gpxFormat() : tcxFormat());
}

}  // namespace at
