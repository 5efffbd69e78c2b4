#include "formats/track_format.h"

#include <optional>

#include <fcntl.h>
#include <sys/stat.h>

#include "formats/fit_reader.h"
#include "formats/point_values.h"
#include "formats/xml_track_reader.h"
#include "platform/file_descriptor.h"
#include "platform/text_encoding.h"

namespace at {
namespace {

// Enough for an XML declaration, a few comments and the root's start tag.
constexpr std::size_t kSniffBytes = 4096;

bool startsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

// The local name of the XML document's root element, if the start holds it.
std::optional<std::string_view> xmlRootName(std::string_view text) {
    if (startsWith(text, "\xEF\xBB\xBF"))
        text.remove_prefix(3);
    for (;;) {
        while (!text.empty() && isXmlSpace(text.front()))
            text.remove_prefix(1);
        if (text.empty() || text.front() != '<')
            return std::nullopt;
        std::string_view close;
        if (startsWith(text, "<?")) {
            close = "?>";
        } else if (startsWith(text, "<!--")) {
            close = "-->";
        } else if (startsWith(text, "<!")) {
            close = ">";
        } else {
            break;
        }
        const std::size_t end = text.find(close);
        if (end == std::string_view::npos)
            return std::nullopt;
        text.remove_prefix(end + close.size());
    }
    text.remove_prefix(1);
    const std::size_t nameEnd = text.find_first_of(" \t\r\n/>");
    if (nameEnd == std::string_view::npos || nameEnd == 0)
        return std::nullopt;
    std::string_view name = text.substr(0, nameEnd);
    const std::size_t colon = name.rfind(':');
    if (colon != std::string_view::npos)
        name.remove_prefix(colon + 1);
    return name;
}

std::optional<TrackFormat> formatOfExtension(const std::string& path) {
    const std::size_t dot = path.rfind('.');
    if (dot == std::string::npos || path.find('/', dot) != std::string::npos)
        return std::nullopt;
    const std::string extension = asciiLowercase(std::string_view(path).substr(dot + 1));
    if (extension == "gpx")
        return TrackFormat::Gpx;
    if (extension == "tcx")
        return TrackFormat::Tcx;
    if (extension == "fit")
        return TrackFormat::Fit;
    return std::nullopt;
}

}  // namespace

TrackFormat formatOfContent(std::string_view start, const std::string& path) {
    if (start.size() >= 12 && static_cast<unsigned char>(start[0]) >= 12 &&
        start.substr(8, 4) == ".FIT") {
        return TrackFormat::Fit;
    }
    if (const auto root = xmlRootName(start)) {
        if (*root == "gpx")
            return TrackFormat::Gpx;
        if (*root == "TrainingCenterDatabase")
            return TrackFormat::Tcx;
    }
    return formatOfExtension(path).value_or(TrackFormat::Plt);
}

TrackFormat detectTrackFormat(const std::string& path) {
    // A direct look with the system's calls: whatever happens here, the reading proper meets the
    // file as if it had not been looked at, failures included.
    FileCalls& calls = systemFileCalls();
    const FileDescriptor file(
        calls.open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK, 0), calls);
    std::string start;
    struct stat st {};
    if (file.isOpen() && calls.fstat(file.get(), &st) == 0 && S_ISREG(st.st_mode)) {
        start.resize(kSniffBytes);
        const ssize_t n = file.readSome(start.data(), start.size());
        start.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
    }
    return formatOfContent(start, path);
}

std::unique_ptr<PointReader> openPointReader(const std::string& path, TrackFormat format) {
    switch (format) {
        case TrackFormat::Gpx:
            return openXmlTrackReader(path, XmlTrackKind::Gpx);
        case TrackFormat::Tcx:
            return openXmlTrackReader(path, XmlTrackKind::Tcx);
        case TrackFormat::Fit:
            return openFitReader(path);
        case TrackFormat::Plt:
            break;
    }
    return nullptr;
}

const char* formatName(TrackFormat format) {
    switch (format) {
        case TrackFormat::Gpx:
            return "GPX";
        case TrackFormat::Tcx:
            return "TCX";
        case TrackFormat::Fit:
            return "FIT";
        case TrackFormat::Plt:
            break;
    }
    return "PLT";
}

}  // namespace at
