// One chart object and one attribute of an object, as a chart database hands
// them out. The base classes answer 0 or null everywhere (display flags and
// information pages -1), so a partial database still works.
//
// Objects handed out by an iterator belong to it and change with every step;
// clone() gives an object the caller owns and deletes.
#pragma once

#include "geo/GeoRect.h"

class TGeoDb;
class TGdbAttr;
class Map;
class MapObject;

class GdbObject {
  public:
    explicit GdbObject(TGeoDb* database = nullptr) : database_(database) {}
    virtual ~GdbObject() = default;
    GdbObject(const GdbObject&) = delete;
    GdbObject& operator=(const GdbObject&) = delete;

    TGeoDb* GetDatabase() const { return database_; }

    // A copy that outlives the iteration, owned by the caller; null when the
    // object cannot be copied.
    virtual GdbObject* clone();
    // Name and attributes as text into buf (size bytes, always terminated);
    // answers the length written. flags select what is shown (see the
    // database's objects).
    virtual int Print(char* buf, unsigned size, unsigned long flags);
    // Class name as text, like Print.
    virtual int PrintName(char* buf, unsigned size, unsigned long flags);
    // Object class code.
    virtual int GetLabel();
    // Geometry in binary angles written to buf when it holds size bytes;
    // answers the bytes needed.
    virtual unsigned long GetMetrics(void* buf, unsigned long size);
    // Display mask of the object's class; -1 when unknown.
    virtual int GetDispFlags();
    // Information-page mask of the object's class; -1 when unknown.
    virtual int GetInfoPages();
    virtual int GetGeometryType();
    // The first attribute with that code, or null.
    virtual TGdbAttr* GetAttr(unsigned code);
    // Attribute walk: the first, then each following attribute; null at the
    // end. The attribute object belongs to this object.
    virtual TGdbAttr* FirstAttr();
    virtual TGdbAttr* NextAttr();
    virtual int HasParent();
    virtual int HasChilds();
    virtual GdbObject* GetParent();
    // Child walk: the first, then each following child; null at the end.
    // The child object belongs to this object.
    virtual GdbObject* FirstChild();
    virtual GdbObject* NextChild();
    // Child n (from 0), or null.
    virtual GdbObject* ChildNumber(unsigned n);
    // The object's geometry projected by map and clipped to window; reuse
    // may be filled instead of a new object. Null when nothing is built.
    virtual MapObject* newMapObject(Map* map, GeoRect& window, MapObject* reuse);

  protected:
    TGeoDb* database_;
};

class TGdbAttr {
  public:
    explicit TGdbAttr(TGeoDb* database = nullptr) : database_(database) {}
    virtual ~TGdbAttr() = default;
    TGdbAttr(const TGdbAttr&) = delete;
    TGdbAttr& operator=(const TGdbAttr&) = delete;

    TGeoDb* GetDatabase() const { return database_; }

    // Attribute code. Base: 0.
    virtual int GetLabel();
    // The value into out; answers its size in bytes (see the database's
    // attributes). Base: 0.
    virtual int GetValue(void* out, int typed);
    // Display mask of the attribute; -1 when unknown.
    virtual int GetDispFlags();
    // Attribute name as text into buf (size bytes); answers the length.
    virtual int PrintName(char* buf, unsigned size, unsigned long flags);
    // Attribute value as text into buf (size bytes); answers the length.
    virtual int PrintValue(char* buf, unsigned size);

  protected:
    TGeoDb* database_;
};

extern "C" {
// Flat forms of the object and attribute operations; each answers 0 (or
// null) when its object argument is null.
int TGdbAttr__GetValue(TGdbAttr* attr, void* out, int typed);
// Print with every flag bit but bit 2: the class name on its own line and
// one line per shown attribute ("name: value").
int GdbObject__Print(GdbObject* object, char* buf, unsigned size);
TGdbAttr* GdbObject__GetAttr(GdbObject* object, unsigned code);
int GdbObject__HasParent(GdbObject* object);
int GdbObject__HasChilds(GdbObject* object);
GdbObject* GdbObject__FirstChild(GdbObject* object);
GdbObject* GdbObject__NextChild(GdbObject* object);
// newMapObject over the window west, south, east, north, given in degrees
// when degrees is non-zero, else in radians. Null when object or map is null.
MapObject* GdbObject__newMapObject(GdbObject* object, Map* map, double west, double south,
                                   double east, double north, int degrees, MapObject* reuse);
}
