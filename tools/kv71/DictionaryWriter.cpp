#include "tools/kv71/DictionaryWriter.h"

#include "tools/kv71/ByteBuffer.h"

#include <algorithm>

namespace kv71write {

DicText& DicText::line(const std::string& raw) {
    lines_.push_back(raw);
    return *this;
}

DicText& DicText::fields(const std::vector<std::string>& values) {
    std::string joined;
    for (std::size_t i = 0; i < values.size(); ++i)
        joined += (i ? "|" : "") + values[i];
    return line(joined);
}

DicText& DicText::lines(const std::vector<std::string>& raws) {
    for (const auto& raw : raws)
        line(raw);
    return *this;
}

std::string DicText::text(const TextOptions& options) const {
    const char* end = options.crlf ? "\r\n" : "\n";
    std::string out;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        out += lines_[i];
        if (i + 1 < lines_.size() || options.finalNewline) out += end;
    }
    return out;
}

std::string objectLine(const ObjectClassDef& def) {
    std::string out = def.acronym + "|" + std::to_string(def.code) + "|" + def.primitives + "|" +
                      std::to_string(def.priority) + "|" + def.name;
    for (const auto& a : def.attributes)
        out += "|" + a;
    return out;
}

std::string attributeLine(const AttributeDef& def) {
    std::string out = def.acronym + "|" + std::to_string(def.code) + "|" + def.format;
    if (!def.minimum.empty() || !def.maximum.empty()) out += "|" + def.minimum + "|" + def.maximum;
    return out;
}

std::string hosLine(const HosDef& def) {
    return def.first + "|" + std::to_string(def.code) + "|" + def.sorind + "|" + def.authority;
}

std::vector<std::string> valueDescriptionBlock(const AttributeDef& def) {
    if (def.name.empty() && def.values.empty()) return {};
    int count = 1;
    for (const auto& [v, text] : def.values)
        count = std::max(count, v + 1);
    std::vector<std::string> out{"[" + def.acronym + "]", "N=" + std::to_string(count)};
    if (!def.name.empty()) out.push_back("0=" + def.name);
    for (const auto& [v, text] : def.values)
        out.push_back(std::to_string(v) + "=" + text);
    return out;
}

bool writeDictionaries(const std::string& dir, const DictionarySet& set) {
    const std::string base = dir.empty() || dir.back() == '/' ? dir : dir + "/";
    DicText objects, attributes, values, sources;
    objects.comment(" object classes");
    for (const auto& o : set.objects)
        objects.line(objectLine(o));
    attributes.comment(" attributes");
    values.comment(" attribute value descriptions");
    for (const auto& a : set.attributes) {
        attributes.line(attributeLine(a));
        values.lines(valueDescriptionBlock(a));
    }
    sources.comment(" hydrographic sources");
    for (const auto& s : set.sources)
        sources.line(hosLine(s));
    return writeFileAtomically(base + objectDicName, objects.text(set.options)) &&
           writeFileAtomically(base + attributeDicName, attributes.text(set.options)) &&
           writeFileAtomically(base + valueDescriptionName, values.text(set.options)) &&
           writeFileAtomically(base + hosDicName, sources.text(set.options));
}

} // namespace kv71write
