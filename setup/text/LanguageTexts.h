// The setup program's texts in its two languages.
//
// Every text the program shows exists as a pair, Norwegian then English,
// stored one pair after the other and picked by the pair's index and the
// language (1 Norwegian, 2 English). The texts are the program's own UTF-8
// literals, as the form tables' texts are; LanguageText gives them as
// Windows-1252 bytes, the form layer's text type. Texts from files (INI values,
// paths) are never in this table: they stay Windows-1252 bytes throughout. A
// "\r" in a text breaks the line where a box or label shows it.
//
// Adding texts: a name in TLanguagePair and its two texts at the same place in
// kLanguageTexts.
#pragma once

#include <string>

enum TLanguagePair : int {
    lpGetStringCancel, // the cancel button of the one-line text input
    // The chart copy form.
    lpDirCopyCaption,
    lpDirCopySourceLabel,
    lpDirCopyDestinationLabel,
    lpDirCopyFilesCopiedLabel,
    lpDirCopyCopyButton,
    lpDirCopyCancelButton,
    lpDirCopySure, // the first question
    lpDirCopyKind1,
    lpDirCopyKind2,
    lpDirCopyKindF,
    lpDirCopyKindB,
    lpDirCopySourceOnC,
    lpDirCopySameDrive,
    lpDirCopyChecking,
    lpDirCopyFilesToCopy,
    lpDirCopyNoRoom,
    lpDirCopyForCharts,
    lpDirCopySpaceAvailable,
    lpDirCopySpaceRequired,
    lpDirCopyBytes,
    lpDirCopyError, // the first word of the delete and create errors
    lpDirCopyDeleting,
    lpDirCopyCreating,
    lpDirCopyCopyError,
    lpDirCopyDone,
    lpDirCopyNoCdRom,
    lpDirCopyNoCharts,
    lpDirCopyCannotCopyTo,
    // The warning form of the user-database reset.
    lpWarningCaption,
    lpWarningHeading,
    lpWarningText,     // followed by the installation's name
    lpWarningQuestion, // after the name, ".", and two line breaks
    lpWarningErase,
    lpWarningCancel,
    lpResetFailed, // followed by the file and the reason
    lpPairCount
};

// The texts, two per pair: kLanguageTexts[2 * pair] Norwegian,
// kLanguageTexts[2 * pair + 1] English.
inline constexpr const char8_t* kLanguageTexts[] = {
    u8"&Avbryt", u8"&Cancel", // lpGetStringCancel
    // clang-format off
    u8"Solvanor - Kopiering av kart", u8"Solvanor - Install chart-CD",
    u8"Kilde-stasjon:", u8"Source drive:",
    u8"Mål-stasjon:", u8"Destination drive:",
    u8"Filer kopiert:", u8"Files copied:",
    u8"&Kopiér", u8"&Copy",
    u8"Avbryt", u8"Cancel",
    u8"Er du sikker på at du vil kopiere kartene fra CD nå?\rDette vil ta en stund (15-30 minutter).",
    u8"Are you sure you want to copy the charts from CD now?\rThis may take a while (15-30 minutes).",
    u8"Sett inn den første CD'en og trykk OK\rfor å kopiere, eller trykk Avbryt for å avbryte.",
    u8"Insert the first CD and press OK\rto copy, or press Cancel to cancel.",
    u8"Sett inn den andre eller tredje CD'en og trykk OK\rfor å kopiere, eller trykk Avbryt for å avbryte.",
    u8"Insert the second or third CD and press OK\rto copy, or press Cancel to cancel.",
    u8"Sett inn fiskeridatabase-CD'en og trykk OK\rfor å kopiere, eller trykk Avbryt for å avbryte.",
    u8"Insert the CD containing fisheries charts and\rpress OK to copy, or press Cancel to cancel.",
    u8"Sett inn Bathymetric-database-CD'en og trykk OK\rfor å kopiere, eller trykk Avbryt for å avbryte.",
    u8"Insert the CD containing bathymetric charts and\rpress OK to copy, or press Cancel to cancel.",
    u8"Du må spesifisere din CD-ROM stasjon.", u8"You must specify your CD-ROM drive.",
    u8"Du har spesifisert samme kilde- og mål-stasjon.\rEn katalog kan ikke kopieres til seg selv.",
    u8"You have specified the same source- and destination drive.\rA directory cannot be copied onto itself.",
    u8"Sjekker tilgjengelig plass på harddisk...", u8"Checking avaible space on harddisk...",
    u8"Filer å kopiere : ", u8"Files to copy : ",
    u8"Det er ikke nok ledig plass på ", u8"There is not enough free space on ",
    u8": til kartene.", u8": for the charts.",
    u8"Plass tilgjengelig : ", u8"Space avaible : ",
    u8"Plass nødvendig : ", u8"Space required : ",
    u8" Bytes", u8" Bytes",
    u8"FEIL", u8"ERROR",
    u8"ved sletting av", u8"deleting",
    u8"under oppretting av", u8"in creating",
    u8"FEIL oppdaget under kopiering.\rKopiering avbrutt.", u8"ERROR detected during copying.\rCopying cancelled.",
    u8"Kopiering fullført.", u8"Finished copying.",
    u8"Fant ingen CD-ROM stasjon", u8"No CD-ROM drive was found",
    u8"Fant ingen Kelva kart på ", u8"No Kelva charts was found on ",
    u8"Kan ikke kopiere kartene til ", u8"Cannot copy the charts to ",
    u8"Advarsel", u8"Warning",
    u8"Advarsel!", u8"Warning!",
    u8"Du er i ferd med å slette ruter, track og symboler\rfor Solvanor ",
    u8"You are about to erase routs, tracks and symbols\rfor Solvanor ",
    u8"Har du sikkerhetskopi av dataene?", u8"Do you have backup of those data?",
    u8"Nullstill", u8"Clear",
    u8"Avbryt", u8"Cancel",
    u8"Databasen ble ikke nullstilt: ", u8"The user database was not cleared: ",
    // clang-format on
};
static_assert(sizeof kLanguageTexts / sizeof kLanguageTexts[0] == 2 * lpPairCount,
              "every pair has its two texts");

// The text of `pair` in `language` as Windows-1252 bytes: English for
// language 2, Norwegian for every other value (the program's first language).
// "" for a pair outside the table.
std::string LanguageText(int pair, int language);
