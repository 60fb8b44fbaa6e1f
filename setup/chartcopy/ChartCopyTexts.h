// The texts the chart copy form shows for a copy's questions and results, in
// the program's two languages (1 Norwegian, 2 English). Windows-1252; "\r"
// breaks a line.
#pragma once

#include "chartcopy/ChartCopier.h"

#include <string>

// The question for the CD of `kind` ('1', '2', 'B', 'F'; any other as '1').
std::string CopyKindQuestion(char kind, int language);

// The drive a directory text lies on, as messages name it: the letter of a
// drive-form text, else the letter its mapped path lies under, else the text.
std::string DriveOfText(const std::string& directory);

// The no-room message: the drive, the space available (A + 1 000 000, as the
// allowance counts) and the space required, in bytes.
std::string NoRoomMessage(const TChartCopyResult& result, const std::string& destination,
                          int language);

// "ERROR (e) deleting <path>" and "ERROR (e) in creating <path>".
std::string DeleteErrorText(const std::string& path, int error, int language);
std::string CreateErrorText(const std::string& path, int error, int language);

// The message of a refusal; "" for a result that is no refusal.
std::string RefusalMessage(const TChartCopyResult& result, int language);

// The file and the reason of a failure, for the status bar: "<path> (<reason>)".
std::string FailureDetail(const std::string& path, int error);
