#include "procedures/AttributeReads.h"

#include "gdb/GdbObject.h"

#include <cmath>
#include <cstring>

namespace {

// The size GetValue reports for a copy; 0 for none.
int storedSize(TGdbAttr* attr) {
    return attr ? attr->GetValue(nullptr, 1) : 0;
}

// The address of the stored value, or null.
std::uint8_t* storedBytes(TGdbAttr* attr) {
    std::uint8_t* p = nullptr;
    if (attr->GetValue(&p, 0) != static_cast<int>(sizeof p)) return nullptr;
    return p;
}

// A copy of a four-byte value.
bool copy4(TGdbAttr* attr, unsigned char (&out)[4]) {
    if (storedSize(attr) != 4) return false;
    return attr->GetValue(out, 1) == 4;
}

} // namespace

bool AttrByte(TGdbAttr* attr, unsigned& out) {
    const int size = storedSize(attr);
    if (size <= 0) return false;
    if (size <= 8) {
        unsigned char value[8];
        if (attr->GetValue(value, 1) != size) return false;
        out = value[0];
        return true;
    }
    // A longer value (a text or a list): its first byte as stored.
    const std::uint8_t* p = storedBytes(attr);
    if (!p) return false;
    out = p[0];
    return true;
}

bool AttrFloat(TGdbAttr* attr, float& out) {
    unsigned char bytes[4];
    if (!copy4(attr, bytes)) return false;
    float f;
    std::memcpy(&f, bytes, 4);
    if (!std::isfinite(f)) return false;
    out = f;
    return true;
}

bool AttrLong(TGdbAttr* attr, std::int32_t& out) {
    unsigned char bytes[4];
    if (!copy4(attr, bytes)) return false;
    std::memcpy(&out, bytes, 4);
    return true;
}

bool AttrText(TGdbAttr* attr, char*& out) {
    const int size = storedSize(attr);
    if (size <= 0) return false;
    std::uint8_t* p = storedBytes(attr);
    if (!p || !std::memchr(p, 0, static_cast<std::size_t>(size))) return false;
    out = reinterpret_cast<char*>(p);
    return true;
}

bool AttrSecondByte(TGdbAttr* attr, unsigned& out) {
    const int size = storedSize(attr);
    if (size <= 0) return false;
    if (size < 2) {
        out = 0;
        return true;
    }
    const std::uint8_t* p = storedBytes(attr);
    if (!p) return false;
    out = p[1];
    return true;
}

bool AttrListOf(TGdbAttr* attr, AttrList& out) {
    const int size = storedSize(attr);
    if (size <= 0) return false;
    const std::uint8_t* p = storedBytes(attr);
    if (!p) return false;
    const unsigned room = static_cast<unsigned>(size) - 1;
    out.values = p + 1;
    out.count = p[0] < room ? p[0] : room;
    return true;
}

bool AttrPackedText(TGdbAttr* attr, PackedText& out) {
    const int size = storedSize(attr);
    if (size < 4) return false;
    std::uint8_t* p = storedBytes(attr);
    if (!p || !std::memchr(p + 3, 0, static_cast<std::size_t>(size) - 3)) return false;
    out.flags = p[0];
    out.dx = static_cast<std::int8_t>(p[1]);
    out.dy = static_cast<std::int8_t>(p[2]);
    out.text = reinterpret_cast<char*>(p + 3);
    return true;
}

bool AttrByte(GdbObject* object, unsigned code, unsigned& out) {
    return object && AttrByte(object->GetAttr(code), out);
}
bool AttrFloat(GdbObject* object, unsigned code, float& out) {
    return object && AttrFloat(object->GetAttr(code), out);
}
bool AttrLong(GdbObject* object, unsigned code, std::int32_t& out) {
    return object && AttrLong(object->GetAttr(code), out);
}
bool AttrText(GdbObject* object, unsigned code, char*& out) {
    return object && AttrText(object->GetAttr(code), out);
}
bool AttrSecondByte(GdbObject* object, unsigned code, unsigned& out) {
    return object && AttrSecondByte(object->GetAttr(code), out);
}
bool AttrListOf(GdbObject* object, unsigned code, AttrList& out) {
    return object && AttrListOf(object->GetAttr(code), out);
}
bool AttrFirstOfList(GdbObject* object, unsigned code, unsigned& out) {
    AttrList list;
    if (!AttrListOf(object, code, list)) return false;
    out = list.count ? list.values[0] : 0;
    return true;
}
bool AttrPackedText(GdbObject* object, unsigned code, PackedText& out) {
    return object && AttrPackedText(object->GetAttr(code), out);
}
