#include "TideFileWriter.h"

#include "tideSubstitution.h"

#include <algorithm>
#include <cstdio>
#include <istream>
#include <limits>
#include <sstream>

namespace tidetools {

namespace {

void putU16(std::string& out, std::uint16_t v) {
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>(v >> 8);
}

void putI16(std::string& out, std::int16_t v) {
    putU16(out, static_cast<std::uint16_t>(v));
}

void putI32(std::string& out, std::int32_t v) {
    const auto u = static_cast<std::uint32_t>(v);
    for (int k = 0; k < 4; ++k)
        out += static_cast<char>((u >> (8 * k)) & 0xFF);
}

std::string writeFile(const std::string& path, const std::string& bytes) {
    const std::string temp = path + ".tmp";
    std::FILE* f = std::fopen(temp.c_str(), "wb");
    if (f == nullptr) return "cannot create " + temp;
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    if (std::fclose(f) != 0 || !ok) {
        std::remove(temp.c_str());
        return "cannot write " + temp;
    }
    if (std::rename(temp.c_str(), path.c_str()) != 0) {
        std::remove(temp.c_str());
        return "cannot rename " + temp;
    }
    return {};
}

std::uint32_t positionKey(const TidePort& p) {
    return static_cast<std::uint32_t>(static_cast<std::uint16_t>(p.lat)) |
           (static_cast<std::uint32_t>(static_cast<std::uint16_t>(p.lon)) << 16);
}

} // namespace

std::string writeTideFiles(const std::string& dir, const std::vector<TidePort>& ports) {
    std::string data;
    std::vector<std::int32_t> offsets;
    for (const TidePort& p : ports) {
        if (p.name.size() > 39) return "port name longer than 39 bytes: " + p.name;
        if (p.items.size() > 255 || p.countOverride > 255)
            return "more than 255 items in port " + p.name;
        if (data.size() > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max()))
            return "data file too large";
        offsets.push_back(static_cast<std::int32_t>(data.size()));
        std::string block(40, '\0');
        std::copy(p.name.begin(), p.name.end(), block.begin());
        putI16(block, p.lat);
        putI16(block, p.lon);
        block += static_cast<char>(p.timeZone);
        block += static_cast<char>(p.countOverride >= 0 ? p.countOverride : p.items.size());
        for (const TideItem& item : p.items) {
            putI16(block, item.row);
            putU16(block, item.phaseLag);
            putU16(block, item.amplitude);
        }
        for (char& c : block)
            c = static_cast<char>(flodwave::kTideSubstitution[static_cast<std::uint8_t>(c)]);
        data += block;
    }

    std::vector<std::size_t> order(ports.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    auto index = [&](auto less) {
        std::stable_sort(order.begin(), order.end(), less);
        std::string out;
        for (std::size_t i : order) {
            putI16(out, ports[i].number);
            putI16(out, ports[i].lat);
            putI16(out, ports[i].lon);
            putI32(out, offsets[i]);
        }
        return out;
    };
    const std::string byNumber =
        index([&](std::size_t a, std::size_t b) { return ports[a].number < ports[b].number; });
    const std::string byPosition = index([&](std::size_t a, std::size_t b) {
        return positionKey(ports[a]) < positionKey(ports[b]);
    });

    std::string base = dir;
    if (!base.empty() && base.back() != '/') base += '/';
    const std::pair<const char*, const std::string*> files[] = {
        {"td_pnte.dat", &data}, {"td_num.ntx", &byNumber}, {"td_crd.ntx", &byPosition}};
    for (const auto& [name, bytes] : files) {
        std::string error = writeFile(base + name, *bytes);
        if (!error.empty()) return error;
    }
    return {};
}

std::string readTidePortText(std::istream& in, std::vector<TidePort>& ports) {
    std::string line;
    int lineNumber = 0;
    auto fail = [&](const std::string& what) {
        return "line " + std::to_string(lineNumber) + ": " + what;
    };
    while (std::getline(in, line)) {
        ++lineNumber;
        std::istringstream fields(line);
        fields.imbue(std::locale::classic());
        std::string first;
        if (!(fields >> first) || first[0] == '#') continue;
        if (first == "port") {
            long number, lat, lon, zone;
            if (!(fields >> number >> lat >> lon >> zone))
                return fail("expected port <number> <lat> <lon> <zone> <name>");
            if (number < 0 || number > 32767 || lat < -5400 || lat > 5400 || lon < -10800 ||
                lon > 10800 || zone < -14 || zone > 14)
                return fail("port number, position or zone out of range");
            std::string name;
            std::getline(fields >> std::ws, name);
            if (name.empty() || name.size() > 39)
                return fail("port name missing or longer than 39 bytes");
            ports.push_back({static_cast<std::int16_t>(number),
                             static_cast<std::int16_t>(lat),
                             static_cast<std::int16_t>(lon),
                             static_cast<std::int8_t>(zone),
                             name,
                             {}});
            continue;
        }
        if (ports.empty()) return fail("constituent before the first port");
        // An item line may end with a comment (the constituent's name).
        std::istringstream item(line.substr(0, line.find('#')));
        item.imbue(std::locale::classic());
        long row, phase, amplitude;
        std::string rest;
        if (!(item >> row >> phase >> amplitude) || (item >> rest))
            return fail("expected <row> <phase lag> <amplitude>");
        if (row < 0 || row > 68 || phase < 0 || phase >= 3600 || amplitude < 0 || amplitude > 65535)
            return fail("row, phase lag or amplitude out of range");
        if (ports.back().items.size() >= 69) return fail("more than 69 constituents in one port");
        ports.back().items.push_back({static_cast<std::int16_t>(row),
                                      static_cast<std::uint16_t>(phase),
                                      static_cast<std::uint16_t>(amplitude)});
    }
    return {};
}

} // namespace tidetools
