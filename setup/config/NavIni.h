// The navigation program's configuration files: SOLVNV.INI of each V-type
// installation (vector, bathymetric, ELVO) and SOLVNR.INI of the R
// installation, loaded into their records and written back key by key through
// the INI text buffer, so every other line of the file stays as it was.
//
// Keys, in the order the savers write them:
//   SOLVNV.INI  [DIRECTORY] KV71ROOT, KV71CAT, KV71CHRLIST, HELP
//               [DICTIONARY] KV71ATTR.DIC, TIDES
//               [KV71LIB] Comport1..Comport6, NmeaOutAPB, NmeaOutRMB, NmeaOutRMC,
//                         NmeaOutRTE, AlarmOn, GpsNmeaId, DepthUnit, CrsMinutes
//               [VESSEL] Stem, Stern, Starboard, Port, Sounder
//   SOLVNR.INI  [DIRECTORY] MAPROOT
//               [KV71LIB] Comport1..Comport6, NmeaOutAPB, NmeaOutRMB, NmeaOutRMC,
//                         NmeaOutRTE, GpsNmeaId, ArpaActive, AlarmOn
//               [VESSEL] Stem, Stern, Starboard, Port, Sounder
// Keys the program never writes (DBROOT, dwMaxBuffSize, unknown ones) and
// comments stay as they stand.
//
// Load rules (a value that is not a decimal integer counts as missing):
// - KV71ROOT, KV71CAT, KV71CHRLIST: missing gives drive + ":\KV71"; MAPROOT
//   drive + ":\SOLVNR" (drive: CurrentDrive() at load).
// - HELP: missing gives ""; replaced, marking modified, by the help command of
//   the installation directory and language when that command is not empty
//   and differs.
// - KV71ATTR.DIC, TIDES: missing gives the current directory (drive form) +
//   "\KV71ATTR", "\TIDES".
// - Comport n: a plain line enables the port; else a commented line's value
//   is used with the port disabled; else the port is disabled with
//   "COMn:4800,n,8,1". The value fills port record n (the device text is
//   kept); a repair of it marks modified.
// - NmeaOutAPB/RMB/RMC 0, GpsNmeaId 0 (low byte), CrsMinutes 10, ArpaActive
//   off unless 1, DepthUnit "METER" (another text gives index 0, kept as text).
// - NmeaOutRTE: 1 on, else off; missing or 2 also marks modified.
// - AlarmOn: missing gives "NONE", modified.
// - Stem, Stern, Starboard, Port: missing or -1 gives 0, modified. Sounder:
//   the record is Stem - value; missing gives 0, modified (-1 is a real
//   offset here).
// - The shared record (TGenereltRec): a value the file holds overwrites the
//   one an earlier file of this run supplied, but a default for a missing key
//   (a port, AlarmOn, a VESSEL value) does not; the modified mark is set all
//   the same.
//
// Files are named by directory text (D + "SOLVNV.INI") and found without
// regard to case; they are saved under their own name and never created.
#pragma once

#include "config/SetupData.h"

#include <string>

// Loads the SOLVNV.INI `file` into `record` and data.Generelt by the rules
// above, marking data.Modified for each repair, and sets the records' Loaded
// marks. False, with nothing changed but the emptied buffer, when the file
// does not exist or cannot be read.
bool LoadVIni(TSetupData& data, const std::string& file, TVektorRec& record);

// The same for the SOLVNR.INI `file` and `record`.
bool LoadRIni(TSetupData& data, const std::string& file, TRasterRec& record);

// Reloads the SOLVNV.INI `file` (so lines other programs changed since the
// load stay), writes every key of the record and data.Generelt in the order
// above, and saves the file under its own name. Ports are written from their
// records, commented where `record` has them disabled. The dictionary and
// tide directories are written through InstallationSubdir (the record itself
// is not changed). False, writing nothing, when the file does not exist or
// cannot be read; false when the save fails (the old file is then unchanged).
bool SaveVIni(TSetupData& data, const std::string& file, const TVektorRec& record);

// The same for the SOLVNR.INI `file` and `record`.
bool SaveRIni(TSetupData& data, const std::string& file, const TRasterRec& record);

// The dictionary or tide directory to write for an installation: `value` when
// it names the folder `name` ("KV71ATTR", "TIDES") of the installation
// directory `dir` (SamePath, relative values taken against `dir`; case
// counts, a trailing separator does not), else dir + name with a separator.
// An empty `dir` keeps the value.
std::string InstallationSubdir(const std::string& value, const std::string& dir,
                               const std::string& name);
