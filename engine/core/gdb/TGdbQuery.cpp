#include "gdb/TGdbQuery.h"

#include "gdb/TGdbObjectIterator.h"
#include "gdb/TGeoDb.h"
#include "geo/GeoPoint.h"

TGdbQuery::TGdbQuery() = default;

TGdbQuery::TGdbQuery(TGeoDb& database) : database_(&database) {
    if (database.openGdbQuery(*this) == 0 && iterator_) flags_ |= validFlag;
}

TGdbQuery::TGdbQuery(TGeoDb& database, GeoCover& cover, unsigned long scale, const void* formula)
    : TGdbQuery(database) {
    TGdbQuery::open(cover, scale, formula);
}

TGdbQuery::TGdbQuery(TGeoDb& database, GeoRect& rect, unsigned long scale, const void* formula)
    : TGdbQuery(database) {
    TGdbQuery::open(rect, scale, formula);
}

TGdbQuery::~TGdbQuery() {
    if (IsValid()) TGdbQuery::close();
    releaseCover();
    delete iterator_;
}

void TGdbQuery::SetIterator(TGdbObjectIterator* iterator) {
    if (iterator_ && iterator_ != iterator) delete iterator_;
    iterator_ = iterator;
}

void TGdbQuery::releaseCover() {
    if (flags_ & ownsCoverFlag) {
        delete cover_; // its destructor returns the rectangles to the pool
        cover_ = nullptr;
        flags_ &= ~ownsCoverFlag;
    }
}

int TGdbQuery::open(GeoCover& cover, unsigned long scale, const void* formula) {
    if (!IsValid()) return 0;
    if (IsOpen()) close();
    cover_ = &cover;
    scale_ = static_cast<std::uint32_t>(scale);
    if (formula) iterator_->setFormula(formula);
    if (iterator_->init(cover, scale) != 0)
        flags_ |= initFailedFlag;
    else
        flags_ &= ~initFailedFlag;
    flags_ |= openFlag;
    return 1;
}

int TGdbQuery::open(GeoRect& rect, unsigned long scale, const void* formula) {
    if (!IsValid()) return 0;
    if (IsOpen()) close();
    releaseCover();
    auto* cover = new GeoCover();
    cover->add(rect);
    cover_ = cover;
    flags_ |= ownsCoverFlag;
    return open(*cover, scale, formula);
}

int TGdbQuery::open(GeoCover& cover, int level, const void* formula) {
    if (!IsValid()) return 0;
    return open(cover, database_->getScale(level), formula);
}

int TGdbQuery::open(GeoRect& rect, int level, const void* formula) {
    if (!IsValid()) return 0;
    return open(rect, database_->getScale(level), formula);
}

int TGdbQuery::close() {
    if (IsOpen()) {
        if (iterator_) iterator_->done();
        releaseCover();
        cover_ = nullptr;
        flags_ &= ~(openFlag | initFailedFlag);
    }
    return 1;
}

GdbObject* TGdbQuery::next() {
    if (!IsOpen() || (flags_ & initFailedFlag) || !iterator_) return nullptr;
    return iterator_->nextGdbObject();
}

int TGdbQuery::setFormula(const void* formula) {
    if (!formula || !iterator_) return -1;
    return iterator_->setFormula(formula);
}

int TGdbQuery::preprocessScaleLevel(int) {
    return 0;
}
int TGdbQuery::postprocessScaleLevel(int) {
    return 0;
}
int TGdbQuery::preprocessPriorityLayer(int) {
    return 0;
}
int TGdbQuery::postprocessPriorityLayer(int) {
    return 0;
}
int TGdbQuery::preprocessCell(TGeoCell*) {
    return 0;
}
int TGdbQuery::postprocessCell(TGeoCell*) {
    return 0;
}

extern "C" {

TGdbQuery* new__TGdbQuery(TGeoDb* database) {
    return database ? new TGdbQuery(*database) : nullptr;
}

void delete__TGdbQuery(TGdbQuery* query) {
    delete query;
}

int TGdbQuery__open(TGdbQuery* query, double west, double south, double east, double north,
                    int degrees, unsigned long scale, const void* formula) {
    if (!query) return 0;
    auto angle = [degrees](double v) { return degrees ? deg2nrm(v) : rad2nrm(v); };
    GeoRect rect{angle(west), angle(south), angle(east), angle(north)};
    return query->open(rect, scale, formula);
}

int TGdbQuery__close(TGdbQuery* query) {
    return query ? query->close() : 0;
}

GdbObject* TGdbQuery__next(TGdbQuery* query) {
    return query ? query->next() : nullptr;
}

int TGdbQuery__setFormula(TGdbQuery* query, const void* formula) {
    return query ? query->setFormula(formula) : 0;
}
}
