#include "gdb/GdbObject.h"

#include "geo/GeoPoint.h"

GdbObject* GdbObject::clone() {
    return nullptr;
}
int GdbObject::Print(char*, unsigned, unsigned long) {
    return 0;
}
int GdbObject::PrintName(char*, unsigned, unsigned long) {
    return 0;
}
int GdbObject::GetLabel() {
    return 0;
}
unsigned long GdbObject::GetMetrics(void*, unsigned long) {
    return 0;
}
int GdbObject::GetDispFlags() {
    return -1;
}
int GdbObject::GetInfoPages() {
    return -1;
}
int GdbObject::GetGeometryType() {
    return 0;
}
TGdbAttr* GdbObject::GetAttr(unsigned) {
    return nullptr;
}
TGdbAttr* GdbObject::FirstAttr() {
    return nullptr;
}
TGdbAttr* GdbObject::NextAttr() {
    return nullptr;
}
int GdbObject::HasParent() {
    return 0;
}
int GdbObject::HasChilds() {
    return 0;
}
GdbObject* GdbObject::GetParent() {
    return nullptr;
}
GdbObject* GdbObject::FirstChild() {
    return nullptr;
}
GdbObject* GdbObject::NextChild() {
    return nullptr;
}
GdbObject* GdbObject::ChildNumber(unsigned) {
    return nullptr;
}
MapObject* GdbObject::newMapObject(Map*, GeoRect&, MapObject*) {
    return nullptr;
}

int TGdbAttr::GetLabel() {
    return 0;
}
int TGdbAttr::GetValue(void*, int) {
    return 0;
}
int TGdbAttr::GetDispFlags() {
    return -1;
}
int TGdbAttr::PrintName(char*, unsigned, unsigned long) {
    return 0;
}
int TGdbAttr::PrintValue(char*, unsigned) {
    return 0;
}

extern "C" {

int TGdbAttr__GetValue(TGdbAttr* attr, void* out, int typed) {
    return attr ? attr->GetValue(out, typed) : 0;
}

int GdbObject__Print(GdbObject* object, char* buf, unsigned size) {
    return object ? object->Print(buf, size, 0xFFFFFFFBul) : 0;
}

TGdbAttr* GdbObject__GetAttr(GdbObject* object, unsigned code) {
    return object ? object->GetAttr(code) : nullptr;
}

int GdbObject__HasParent(GdbObject* object) {
    return object ? object->HasParent() : 0;
}

int GdbObject__HasChilds(GdbObject* object) {
    return object ? object->HasChilds() : 0;
}

GdbObject* GdbObject__FirstChild(GdbObject* object) {
    return object ? object->FirstChild() : nullptr;
}

GdbObject* GdbObject__NextChild(GdbObject* object) {
    return object ? object->NextChild() : nullptr;
}

MapObject* GdbObject__newMapObject(GdbObject* object, Map* map, double west, double south,
                                   double east, double north, int degrees, MapObject* reuse) {
    if (!object || !map) return nullptr;
    auto angle = [degrees](double v) { return degrees ? deg2nrm(v) : rad2nrm(v); };
    GeoRect window{angle(west), angle(south), angle(east), angle(north)};
    return object->newMapObject(map, window, reuse);
}
}
