#include "formats/xml_track_reader.h"

#include <expat.h>

#include <algorithm>
#include <exception>
#include <limits>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "formats/point_values.h"
#include "formats/xml_format.h"
#include "formats/xml_halves.h"
#include "formats/xml_length_guard.h"
#include "platform/byte_reader.h"
#include "platform/checked.h"
#include "platform/conversions.h"
#include "platform/input_limits.h"
#include "platform/text_encoding.h"

namespace at {
namespace {

// The file is read straight into expat's own buffer (XML_Parse would copy each chunk there); the
// calls around a chunk of this size cost nothing beside its parse. Fuzzing builds read small
// chunks, so that inputs of a few kilobytes span many of them and can be read in halves.
#ifdef AT_FUZZ_SMALL_LIMITS
constexpr std::size_t kChunkSize = 512;
#else
constexpr std::size_t kChunkSize = 64 * 1024;
#endif
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

// Whether an encoding the XML declaration names writes "<" and the names of elements as single
// bytes, as a second half read from the middle of the file needs.
bool byteEncoding(const XML_Char* encoding) {
    if (encoding == nullptr)
        return true;
    const std::string name = asciiLowercase(encoding);
    return name == "utf-8" || name == "us-ascii" || name == "iso-8859-1";
}

// Where a second half stops waiting on the leader's tracks: it was not joined after all.
struct HalfCancelled {};

class XmlTrackReader final : public XmlHalvesLeader, private XmlPoints {
  public:
    enum class Role { Whole, Leader, Follower };

    XmlTrackReader(const std::string& path, std::unique_ptr<XmlFormat> format,
                   Role role = Role::Whole)
        : format_(std::move(format)), file_(path), parser_(XML_ParserCreate(nullptr)), role_(role) {
        if (parser_ == nullptr)
            throw std::bad_alloc();
        XML_SetUserData(parser_, this);
        XML_SetElementHandler(parser_, &XmlTrackReader::onStart, &XmlTrackReader::onEnd);
        // Expat would put off parsing a token cut by the chunk's end until much more has come, so
        // which of two faults a file shows would depend on where its chunks happen to end. The
        // guard keeps every token within kMostXmlRunBytes, which bounds parsing one again.
        XML_SetReparseDeferralEnabled(parser_, XML_FALSE);
        if (role_ == Role::Leader) {
            XML_SetXmlDeclHandler(parser_, &XmlTrackReader::onDeclaration);
            XML_SetStartDoctypeDeclHandler(parser_, &XmlTrackReader::onDoctype);
        }
    }

    XmlTrackReader(const std::string& path, std::unique_ptr<XmlFormat> format,
                   const XmlSecondHalf& half, XmlHalfHandoff& handoff)
        : XmlTrackReader(path, std::move(format), Role::Follower) {
        opening_ = half.opening;
        openingLeft_ = opening_.size();
        lineStart_ = half.lineStart;
        handoff_ = &handoff;
        file_.seek(half.lineStart);
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
    const TrackLayout& layout() const override { return *layout_; }

    std::optional<FirstPoint> firstPoint() const override {
        if (!halves_)
            return std::nullopt;
        return FirstPoint{halves_->opening, halves_->pointName, streamOffset_};
    }

    void stopAt(std::int64_t offset) override {
        if (halves_)
            stopAt_ = offset;
    }

    bool stoppedAtHalf() const override { return stoppedAtHalf_; }
    std::int64_t lineAtHalf() const override { return lineAtHalf_; }
    XmlTracksAtHalf tracksAtHalf() override { return {openTrack_, tracksOpened_, layout_}; }

  private:
    void parseChunk() {
        char* const chunk =
            static_cast<char*>(XML_GetBuffer(parser_, static_cast<int>(kChunkSize)));
        if (chunk == nullptr)
            throw std::bad_alloc();
        // A second half begins with its opening, which is far shorter than a chunk.
        const std::size_t opening = std::exchange(openingLeft_, 0);
        std::copy_n(opening_.data(), opening, chunk);
        const std::size_t got = opening + file_.read(chunk + opening, kChunkSize - opening);
        if (streamOffset_ == 0 && got >= 2 &&
            (chunk[0] == '\0' || chunk[1] == '\0' ||
             static_cast<unsigned char>(chunk[0]) >= 0xFE)) {
            byteEncoding_ = false;  // UTF-16
        }
        streamOffset_ += static_cast<std::int64_t>(got);
        const bool last = got < kChunkSize;
        // Expat gets the bytes before an overlong run only: it would hold the run whole.
        const auto overrun = guard_.scan(chunk, got);
        const std::size_t fed = overrun ? overrun->offset : got;
        if (XML_ParseBuffer(parser_, static_cast<int>(fed), last && !overrun) == XML_STATUS_ERROR) {
            if (stoppedAtHalf_) {
                finished_ = true;
                file_.close();
                return;
            }
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
        if (pointsRead_ == 0 && role_ != Role::Follower) {
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
        const std::int64_t at = XML_GetCurrentByteIndex(parser_);
        if (at >= static_cast<std::int64_t>(opening_.size()))
            quoteFrom(error, at - static_cast<std::int64_t>(opening_.size()) + lineStart_);
        return error;
    }

    // The fault's text, from where it lies in the file to the end of its line, as far as a
    // message shows it; read again from the file, so that where the chunks met plays no part.
    void quoteFrom(RuntimeError& error, std::int64_t offset) const {
        try {
            ByteReader file(file_.path());
            file.seek(offset);
            std::string text(kMostQuotedBytes, '\0');
            text.resize(file.read(text.data(), text.size()));
            if (!text.empty())
                error.withText(text.substr(0, text.find_first_of("\r\n")));
        } catch (const RuntimeError&) {
            // The message goes without its text.
        }
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
            reader->start(name, localName(name), attributes);
        } catch (...) {
            reader->failure_ = std::current_exception();
            XML_StopParser(reader->parser_, XML_FALSE);
        }
    }

    static void XMLCALL onEnd(void* self, const XML_Char* name) {
        auto* reader = static_cast<XmlTrackReader*>(self);
        try {
            (void)name;
            if (reader->role_ == Role::Leader)
                reader->noteEnd();
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

    static void XMLCALL onDeclaration(void* self, const XML_Char* version, const XML_Char* encoding,
                                      int /*standalone*/) {
        auto* reader = static_cast<XmlTrackReader*>(self);
        reader->byteEncoding_ = byteEncoding(encoding);
        if (version != nullptr) {
            reader->declaration_ = std::string("<?xml version=\"") + version + "\"";
            if (encoding != nullptr)
                reader->declaration_.append(" encoding=\"").append(encoding).append("\"");
            reader->declaration_.append("?>");
        }
    }

    static void XMLCALL onDoctype(void* self, const XML_Char*, const XML_Char*, const XML_Char*,
                                  int) {
        // Its entities would be unknown to a second half.
        static_cast<XmlTrackReader*>(self)->byteEncoding_ = false;
    }

    std::int64_t currentLine() const { return XML_GetCurrentLineNumber(parser_); }

    // The leader keeps the names of the elements open outside points: a second half is read
    // behind them, and joins only where they are the same.
    void noteStart(const XML_Char* qualifiedName) {
        if (stopAt_ >= 0 && reachedHalf(qualifiedName))
            return;
        if (pointDepth_ == 0)
            openNames_.emplace_back(qualifiedName);
    }

    // At the start tag where the second half begins, ends the leader's parse; true there.
    bool reachedHalf(const XML_Char* qualifiedName) {
        const std::int64_t at = XML_GetCurrentByteIndex(parser_);
        if (at < stopAt_)
            return false;
        const bool joined = at == stopAt_ && !failure_ && pointDepth_ == 0 && !collecting_ &&
                            !heading_ && halves_->pointName == qualifiedName &&
                            openNames_ == halves_->names &&
                            std::max(openTrack_, 1) <= TrackLayout::kMostTracks;
        stopAt_ = -1;
        if (!joined)
            return false;
        stoppedAtHalf_ = true;
        lineAtHalf_ = currentLine();
        XML_StopParser(parser_, XML_FALSE);
        return true;
    }

    // Before the element at depth_ ends.
    void noteEnd() {
        if (pointDepth_ == 0 && openNames_.size() == static_cast<std::size_t>(depth_))
            openNames_.pop_back();
    }

    void noteFirstPoint(const XML_Char* qualifiedName) {
        if (!byteEncoding_ || pointsRead_ != 0 || halves_ || noHalves_)
            return;
        noHalves_ = true;
        Halves halves;
        halves.names = openNames_;
        halves.pointName = qualifiedName;
        halves.opening = declaration_;
        for (const std::string& open : openNames_)
            halves.opening.append(1, '<').append(open).append(1, '>');
        halves.opening.append(1, '\n');
        if (halves.opening.size() < kChunkSize / 4)
            halves_ = std::move(halves);
    }

    void start(const XML_Char* qualifiedName, std::string_view name, const XML_Char** attributes) {
        if (role_ == Role::Leader) {
            noteStart(qualifiedName);
            if (stoppedAtHalf_)
                return;
        }
        start(name, attributes);
        if (role_ == Role::Leader && pointDepth_ == depth_ && pointDepth_ != 0) {
            openNames_.pop_back();
            noteFirstPoint(qualifiedName);
        }
    }

    // The second half's points go on in the track open where it begins, and say track 0 for it
    // until the half opens or names a track: then it needs the leader's tracks.
    void takeLeadersTracks() {
        if (role_ != Role::Follower || tracksTaken_ ||
            XML_GetCurrentByteIndex(parser_) < static_cast<std::int64_t>(opening_.size())) {
            return;
        }
        const auto tracks = handoff_->wait();
        if (!tracks)
            throw HalfCancelled{};
        openTrack_ = tracks->openTrack;
        tracksOpened_ = tracks->tracksOpened;
        layout_ = tracks->layout;
        tracksTaken_ = true;
    }

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
        takeLeadersTracks();
        // Points outside any track (a hand-made file) stay with the first.
        if (tracksOpened_ < std::numeric_limits<int>::max())
            ++tracksOpened_;
        openTrack_ = tracksOpened_;
        lapPending_ = false;
    }

    void collectHeading(HeadingText which) override {
        takeLeadersTracks();
        XML_SetCharacterDataHandler(parser_, &XmlTrackReader::onText);
        heading_ = which;
        valueDepth_ = depth_;
        text_.clear();
    }

    void setSport(std::string_view sport) override {
        takeLeadersTracks();
        TrackHeading& heading = layout_->heading(openTrack_);
        heading.onFoot = sportOnFoot(sport);
        if (heading.name.empty())
            heading.name = keptName(sport);
    }

    void openLap() override {
        takeLeadersTracks();
        lapPending_ = true;
    }

    void takeHeading() {
        const HeadingText which = *heading_;
        heading_.reset();
        XML_SetCharacterDataHandler(parser_, nullptr);
        TrackHeading& heading = layout_->heading(openTrack_);
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
        const bool continuing = role_ == Role::Follower && !tracksTaken_;
        q.track = continuing ? 0 : std::max(openTrack_, 1);
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
                layout_->addLap(q.track, q.unixSeconds);
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
    TrackLayout ownLayout_;
    TrackLayout* layout_ = &ownLayout_;
    int tracksOpened_ = 0;
    int openTrack_ = 0;
    bool lapPending_ = false;
    std::optional<HeadingText> heading_;

    Role role_;
    // A leader's view of the halves: the names of the elements open outside points, the XML
    // declaration, whether the document can be read in halves; where it is to stop and where it
    // stopped.
    struct Halves {
        std::vector<std::string> names;
        std::string pointName;
        std::string opening;
    };
    std::vector<std::string> openNames_;
    std::string declaration_;
    bool byteEncoding_ = true;
    bool noHalves_ = false;
    std::optional<Halves> halves_;
    std::int64_t stopAt_ = -1;
    bool stoppedAtHalf_ = false;
    std::int64_t lineAtHalf_ = 0;
    // A follower's opening, still to be fed, and the leader's tracks once taken.
    std::string opening_;
    std::size_t openingLeft_ = 0;
    std::int64_t lineStart_ = 0;
    XmlHalfHandoff* handoff_ = nullptr;
    bool tracksTaken_ = false;
    std::int64_t streamOffset_ = 0;

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

namespace {

std::unique_ptr<XmlFormat> formatOf(XmlTrackKind kind) {
    return kind == XmlTrackKind::Gpx ? gpxFormat() : tcxFormat();
}

}  // namespace

std::unique_ptr<PointReader> openXmlTrackReader(const std::string& path, XmlTrackKind kind) {
    if (kind == XmlTrackKind::Gpx)
        return openXmlHalvesReader(path, kind);
    return std::make_unique<XmlTrackReader>(path, formatOf(kind));
}

std::unique_ptr<XmlHalvesLeader> openXmlLeader(const std::string& path, XmlTrackKind kind) {
    return std::make_unique<XmlTrackReader>(path, formatOf(kind), XmlTrackReader::Role::Leader);
}

std::unique_ptr<PointReader> openXmlFollower(const std::string& path, XmlTrackKind kind,
                                             const XmlSecondHalf& half, XmlHalfHandoff& handoff) {
    return std::make_unique<XmlTrackReader>(path, formatOf(kind), half, handoff);
}

}  // namespace at
