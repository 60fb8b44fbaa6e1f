#include "ViewRequest.h"

#include "ChartLevels.h"

#include <charconv>
#include <cmath>
#include <filesystem>
#include <optional>
#include <string_view>

namespace chartview {

namespace {

const char kUsage[] =
    "usage: chartview --chart DIR --dict DIR --lat DEG --lon DEG\n"
    "                 (--scale N | --level I | both) [--size WxH]\n"
    "                 [--scheme day|dusk|night|darknight] [--palette FILE] --out FILE\n"
    "\n"
    "Draws one view of a KV71 chart as the navigation program draws it, into a PNG.\n"
    "  --chart DIR      the chart root (the folder holding the block folders)\n"
    "  --dict DIR       the dictionaries with OBJLUT.DIC and ATTRLUT.DIC\n"
    "  --lat, --lon DEG the view's centre in decimal degrees, north and east\n"
    "                   positive (latitude -80 to 80, longitude -180 to 180)\n"
    "  --scale N        the display scale denominator, 100 to 100000000\n"
    "  --level I        the chart level 0 to 7; without it, the level whose\n"
    "                   display scale is nearest to N; without --scale, the\n"
    "                   level's own display scale\n"
    "  --size WxH       the picture in pixels, 16 to 8192 each (1920x1080)\n"
    "  --scheme NAME    the palette's column: day, dusk, night or darknight (day)\n"
    "  --palette FILE   the palette (ECPALETT.INI in the folder above --dict)\n"
    "  --out FILE       the PNG to write\n"
    "  --help           this text\n"
    "Exit status: 0 written, 1 the view cannot be drawn, 2 a command-line error.\n";

// A decimal number in "C" syntax (an optional sign, digits, a point, an
// exponent), the whole text and nothing else, finite.
std::optional<double> decimal(std::string_view text) {
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    if (text.empty() || text.front() == '+') return std::nullopt;
    double v = 0;
    const auto [end, ec] =
        std::from_chars(text.data(), text.data() + text.size(), v, std::chars_format::general);
    if (ec != std::errc() || end != text.data() + text.size() || !std::isfinite(v))
        return std::nullopt;
    return v;
}

// Digits only, the whole text, in lo..hi.
std::optional<std::uint64_t> whole(std::string_view text, std::uint64_t lo, std::uint64_t hi) {
    if (text.empty() || text.front() < '0' || text.front() > '9') return std::nullopt;
    std::uint64_t v = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (ec != std::errc() || end != text.data() + text.size() || v < lo || v > hi)
        return std::nullopt;
    return v;
}

struct Options {
    std::optional<std::string> chart, dict, palette, out, lat, lon, scale, level, size, scheme;

    std::optional<std::string>* find(std::string_view name) {
        if (name == "--chart") return &chart;
        if (name == "--dict") return &dict;
        if (name == "--palette") return &palette;
        if (name == "--out") return &out;
        if (name == "--lat") return &lat;
        if (name == "--lon") return &lon;
        if (name == "--scale") return &scale;
        if (name == "--level") return &level;
        if (name == "--size") return &size;
        if (name == "--scheme") return &scheme;
        return nullptr;
    }
};

ParsedCommandLine error(std::string text) {
    ParsedCommandLine p;
    p.outcome = ParsedCommandLine::Error;
    p.error = std::move(text);
    return p;
}

} // namespace

const char* usageText() {
    return kUsage;
}

std::string defaultPalettePath(const std::string& dictionary) {
    namespace fs = std::filesystem;
    fs::path p = fs::path(dictionary).lexically_normal();
    if (!p.has_filename() && p.has_relative_path()) p = p.parent_path(); // a trailing '/'
    fs::path above;
    if (p.empty() || p == ".")
        above = "..";
    else if (p.filename() == "..")
        above = p / "..";
    else if (p == p.root_path())
        above = p;
    else
        above = p.parent_path(); // empty: the current folder
    return (above / "ECPALETT.INI").string();
}

ParsedCommandLine parseCommandLine(const std::vector<std::string>& arguments) {
    for (const std::string& a : arguments)
        if (a == "--help") {
            ParsedCommandLine p;
            p.outcome = ParsedCommandLine::Help;
            return p;
        }

    Options o;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& name = arguments[i];
        std::optional<std::string>* slot = o.find(name);
        if (!slot) return error("unknown argument: " + name);
        if (*slot) return error(name + " is given twice");
        if (i + 1 == arguments.size()) return error(name + " needs a value");
        *slot = arguments[++i];
    }

    ViewRequest r;
    for (auto [slot, name] :
         {std::pair{&o.chart, "--chart"}, std::pair{&o.dict, "--dict"}, std::pair{&o.lat, "--lat"},
          std::pair{&o.lon, "--lon"}, std::pair{&o.out, "--out"}})
        if (!*slot) return error(std::string(name) + " is required");
    if (!o.scale && !o.level) return error("--scale or --level is required");
    for (auto [slot, name] : {std::pair{&o.chart, "--chart"}, std::pair{&o.dict, "--dict"},
                              std::pair{&o.out, "--out"}, std::pair{&o.palette, "--palette"}})
        if (*slot && (*slot)->empty()) return error(std::string(name) + " is empty");
    r.chartRoot = *o.chart;
    r.dictionary = *o.dict;
    r.output = *o.out;
    r.palette = o.palette ? *o.palette : defaultPalettePath(r.dictionary);

    const auto lat = decimal(*o.lat);
    if (!lat || !(*lat >= -80 && *lat <= 80))
        return error("--lat " + *o.lat + ": not a latitude from -80 to 80");
    const auto lon = decimal(*o.lon);
    if (!lon || !(*lon >= -180 && *lon <= 180))
        return error("--lon " + *o.lon + ": not a longitude from -180 to 180");
    r.latDeg = *lat;
    r.lonDeg = *lon;

    if (o.scale) {
        const auto s = whole(*o.scale, 100, 100000000);
        if (!s) return error("--scale " + *o.scale + ": not a whole number from 100 to 100000000");
        r.scale = static_cast<std::uint32_t>(*s);
    }
    if (o.level) {
        const auto l = whole(*o.level, 0, kChartLevelCount - 1);
        if (!l) return error("--level " + *o.level + ": not a chart level from 0 to 7");
        r.level = static_cast<int>(*l);
    } else {
        r.level = nearestChartLevel(r.scale);
    }
    if (!o.scale) r.scale = chartLevel(r.level).displayScale;

    if (o.size) {
        const std::string& t = *o.size;
        const std::size_t x = t.find('x');
        const auto w = x == std::string::npos ? std::nullopt : whole(t.substr(0, x), 16, 8192);
        const auto h = x == std::string::npos ? std::nullopt : whole(t.substr(x + 1), 16, 8192);
        if (!w || !h) return error("--size " + t + ": not WxH with each from 16 to 8192");
        r.width = static_cast<int>(*w);
        r.height = static_cast<int>(*h);
    }
    if (o.scheme) {
        const std::string& s = *o.scheme;
        if (s == "day")
            r.scheme = SchemeDay;
        else if (s == "dusk")
            r.scheme = SchemeDusk;
        else if (s == "night")
            r.scheme = SchemeNight;
        else if (s == "darknight")
            r.scheme = SchemeDarkNight;
        else
            return error("--scheme " + s + ": not day, dusk, night or darknight");
    }

    ParsedCommandLine p;
    p.outcome = ParsedCommandLine::Run;
    p.request = std::move(r);
    return p;
}

} // namespace chartview
