// Flodwave's interface: the tide curve of one port for one day (TideWave)
// and the flat functions that load the tide data files, list the ports and
// release the library.
//
// Heights are in the unit of the data files (centimetres above chart datum in
// the shipped data). Times of the curve and of the sun are hours of the
// port's standard-time day: the curve starts at the port's local midnight,
// which is 00:00 UTC plus the port's time zone. The time zone is in whole
// hours with local = UTC - zone, so a port east of Greenwich has a negative
// zone (Bergen -1) and one west of it a positive zone (Halifax +4). Nothing
// depends on the process's time-zone setting.
//
// The library's state (files, engine tables) is global and unguarded: use it
// from one thread.
#pragma once

#include "TideTypes.h"
#include "util/dates.h"

#define FLODWAVE_API __attribute__((visibility("default")))

class FLODWAVE_API TideWave {
  public:
    // The port at exactly lat, lon (minutes of arc, north and east positive;
    // a position of the port index). The first construction in the process
    // loads the tide data files from dir (ignoring the outcome; the fourth
    // argument is not used). The curve starts as 25 zeros at step 1.0, the
    // name empty, the zone 0 and the sun times absent until Calculate.
    // Throws the const char* "Out of memory in TideWave(2) constructor\n".
    TideWave(short lat, short lon, char* dir, char* unused);
    // Not available: each throws the const char* "Not implemented for this
    // moment, use TideWave(Lat,Lon) constructor".
    TideWave(int, char*, char*);
    TideWave(char*, char*, char*);
    TideWave(char*, char*);
    ~TideWave();
    TideWave(const TideWave&) = delete;
    TideWave& operator=(const TideWave&) = delete;

    // Resizes the curve to GetNumPoints() floats (a new curve is all zeros,
    // an existing one keeps its heights). 0, or -1 when memory is short (the
    // object then has no curve and GetPoint yields 0).
    int AllocMem();
    // Points of the curve: trunc(24 / step + 0.49) + 1 (25 at 1.0 h, 81 at
    // 0.3 h); 0 for a step that is not positive.
    short GetNumPoints() const;
    // Height i, i in 0..GetNumPoints()-1; 0.0 outside.
    float GetPoint(int i) const;
    // Highest (lowest) height and its index in idx, the first among equals;
    // 0.0 and idx unchanged when the curve has no points.
    float GetMaxValue(short& idx) const;
    float GetMinValue(short& idx) const;
    double GetStep() const;
    // Hours, local = UTC - zone.
    char GetTimeZone() const;
    // Sun times of the day in the port's standard time; hour -1, minute 0
    // when the event does not occur that day (polar day or night).
    void GetSunRize(t_time& t) const;
    void GetSunSet(t_time& t) const;
    void GetBeginTwilight(t_time& t) const; // sun 12 degrees below, morning
    void GetEndTwilight(t_time& t) const;   // sun 12 degrees below, evening
    void GetPredictionDate(t_date* date) const;
    short GetPortLat() const;
    short GetPortLon() const;
    // Copies the port's name (at most 40 characters and the NUL) to name.
    void GetPortName(char* name) const;
    // Computes the curve of the date (day 1..31, month 1..12, four-digit
    // year) from the port's local midnight, step hours apart, with the
    // port's name, zone and sun times. 0, or -1 when the step is not
    // positive or below about 0.00073 h, the date does not exist, no port is
    // at the object's position, its data are damaged or memory is short; on
    // -1 the object is left as it was.
    int Calculate(double step, char day, char month, short year);

  private:
    short lat_;
    short lon_;
    char timeZone_;
    char name_[80];
    t_time beginTwilight_;
    t_time sunrise_;
    t_time sunset_;
    t_time endTwilight_;
    t_date date_;
    double step_;
    float* values_;
};

extern "C" {

// Loads the tide data files of dir (at most 240 characters; the three files
// td_num.ntx, td_crd.ntx, td_pnte.dat). 0, or -1 when dir is null or too
// long or a file is missing or damaged; a failed load keeps what was loaded.
FLODWAVE_API int TD_LoadDataFiles(char* dir);
// Resets the engine tables; the number of ports loaded (0 when none).
FLODWAVE_API int TD_GetNumPorts();
// Resets the engine tables and copies port i (0..TD_GetNumPorts()-1, in
// port-number order) to *point. 0, or -1 (nothing copied) for an index out
// of range or a null point.
FLODWAVE_API int TD_GetTidePoint(int i, IndexFileStruct* point);
// Closes the data file and frees the port indexes.
FLODWAVE_API void TD_DoneTides();
}
