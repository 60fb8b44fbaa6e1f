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
    // The main form.
    lpComActivatedGroup, // the COM check-box groups of the edition tabs
    lpMiscGroup,
    lpNmeaGroup,
    lpComGroup, // the COM groups of the General and NMEA-test tabs
    lpAlarmGroup,
    lpApply,
    lpCancel,
    lpVectorIcon,
    lpBathymetricIcon,
    lpElvoIcon,
    lpRasterIcon,
    lpShortcutHint,
    lpCopyCd1,
    lpCopyCd2,
    lpCopyCd, // the bathymetric and ELVO copy buttons
    lpCopyCd1Hint,
    lpCopyCd2Hint,
    lpCopyBathymetricHint,
    lpCopyElvoHint,
    lpLanguageButton, // the language the button offers
    lpLanguageHint,
    lpGreyPortNote,
    lpCourseVectorNote,
    lpGpsSentence,
    lpApbOut,
    lpRmbOut,
    lpRmcOut,
    lpRteOut,
    lpIntervalNote,
    lpDirectory,  // the installation directory's label
    lpDictionary, // followed by lpDirectorySuffix
    lpMap,        // followed by lpDirectorySuffix
    lpDirectorySuffix,
    lpDepthUnit,
    lpClearDatabase,
    lpSetReadOnlyOffItem,
    lpClearVectorDatabaseItem,
    // Tab names, in the order the tabs come; the edition and General tabs'
    // captions add lpTabSuffix.
    lpTabVector,
    lpTabBathymetric,
    lpTabElvo,
    lpTabRaster,
    lpTabGeneral,
    lpTabNmeaTest,
    lpTabSuffix,
    // The vessel groups.
    lpVessel,
    lpGpsPosOnVessel,
    lpVesselLength,
    lpVesselWidth,
    lpFromStarboard,
    lpFromBow,
    lpTransducer,
    // The tabs' commands.
    lpReadOnlyOffQuestion,
    lpReadOnlyOffCdRom,
    lpReadOnlyOffRefused, // followed by the directory
    lpCouldNotSave,       // followed by the file and the reason
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
    u8"COM-porter aktivert", u8"COM-ports activated",
    u8"Diverse", u8"Misc.",
    u8"NMEA-data", u8"NMEA-data",
    u8"COM-porter", u8"COM-ports",
    u8"Alarm på Com-port", u8"Alarm On Com port",
    u8"&Bruk", u8"&Apply",
    u8"Avbryt", u8"Cancel",
    u8"Vektor ikon", u8"Vector icon",
    u8"Bathymetric ikon", u8"Bathymetric icon",
    u8"ELVO ikon", u8"ELVO icon",
    u8"Raster ikon", u8"Bitmap icon",
    u8"Opprett snarvei", u8"Create shortcut",
    u8"Kopiér CD #1", u8"Copy CD #1",
    u8"Kopiér CD #2,#3", u8"Copy CD #2,#3",
    u8"Kopiér CD", u8"Copy CD",
    u8"Sone 1-2", u8"Zone 1-2",
    u8"Sone 3-9,8", u8"Zone 3-9,8",
    u8"\"Russiske fiskerikart\"", u8"\"Russian fishingcharts\"",
    u8"ELVO", u8"ELVO",
    u8"UK", u8"Norsk",
    u8"Forandre språk", u8"Change language",
    u8"Porter som er\rskravert er ikke\rtilgjengelig for\rSetup.", u8"Grayed ports\rare not avaible\rto Setup.",
    u8"Båtens kursvektor-lengde i minutter", u8"Coursevector of boat in minutes",
    u8"GPS-setning:", u8"GPS-sentence:",
    u8"APB ut:", u8"APB out:",
    u8"RMB ut:", u8"RMB out:",
    u8"RMC ut:", u8"RMC out:",
    u8"RTE ut:", u8"RTE out:",
    u8"Intervall i sekunder.\r0 = ingen data.", u8"Interval in seconds.\r0 = no data.",
    u8"Katalog", u8"Directory",
    u8"Bibliotek", u8"Dictionary",
    u8"Kart", u8"Map",
    u8"-katalog:", u8" directory:",
    u8"Dybde enhet:", u8" Depth unit:",
    u8"Nullstill Database", u8"Clear Database",
    u8"Slå av skrive&beskyttelse på kartfilene", u8"Turn off write&protection on the chartfiles",
    u8"&Nullstill vektor database", u8"&Clear vector database",
    u8"Vektor", u8"Vector",
    u8"Bathymetric", u8"Bathymetric",
    u8"ELVO", u8"ELVO",
    u8"Raster", u8"Bitmap",
    u8"Generelle", u8"General",
    u8"NMEA-Test", u8"NMEA Test",
    u8" instillinger", u8" settings",
    u8"Båt", u8"Vessel",
    u8"GPS-Pos på båt", u8"GPS-Pos on vessel",
    u8"Lengde (m):", u8"Length (m):",
    u8"Bredde (m):", u8"Width (m):",
    u8"Fra styrbord (m):", u8"From starboard (m):",
    u8"Fra bau (m):", u8"From bow (m):",
    u8"Ekkolodd", u8"Transducer",
    u8"Dette vil slå av eventuell skrivebeskyttelse på kartfilene, og\rvil ta et minutt eller to.",
    u8"This will turn off any writeprotection on the chartfiles, and\rwill take a minute or two.",
    u8"Kan ikke slå av skrivebeskyttelse på en CD-ROM.", u8"Cannot turn off writeprotection on a CD-ROM.",
    u8"Kan ikke slå av skrivebeskyttelse på ", u8"Cannot turn off writeprotection on ",
    u8"Kunne ikke lagre ", u8"Could not save ",
    // clang-format on
};
static_assert(sizeof kLanguageTexts / sizeof kLanguageTexts[0] == 2 * lpPairCount,
              "every pair has its two texts");

// The text of `pair` in `language` as Windows-1252 bytes: English for
// language 2, Norwegian for every other value (the program's first language).
// "" for a pair outside the table.
std::string LanguageText(int pair, int language);
