// The main form's creation, first show, activation and close, Apply, OK,
// Cancel, the language switch and the saves.
#include "forms/FoOstrel.h"

#include "chartcopy/FoDirCopy.h"
#include "config/NavIni.h"
#include "config/SetupIni.h"
#include "dbreset/FoWarning.h"
#include "files/Backslash.h"
#include "files/SetupPaths.h"
#include "forms/FoOstrelParts.h"
#include "forms/OstrelPictures.h"
#include "shell/DesktopShortcut.h"
#include "shell/HelpCommand.h"
#include "shell/Installation.h"
#include "shell/NavigatorPresence.h"
#include "shell/RegistryReads.h"
#include "text/LanguageTexts.h"

#include "os/ShellLink.h"
#include "os/codePage.h"
#include "os/drives.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>

using namespace ui::forms;

namespace {

constexpr const char* kSingleInstanceMessage = "Only one instance of Ostrel allowed!";
constexpr const char* kNoInstallationMessage =
    "No Solvanor installations found!\rPossible corrupt installation files/diskettes!!";
constexpr const char* kSetupShortcut = "Solvanor Setup.lnk";

// A form of the application by its name, made when the program did not make it.
template <class T> T& ApplicationForm(const char* name) {
    if (auto* form = dynamic_cast<T*>(Application().FindComponent(name))) return *form;
    T* form = nullptr;
    Application().CreateForm(form);
    return *form;
}

} // namespace

TFoOstrel::TFoOstrel(TComponent* owner) : TForm(owner, ostrelform::kFoOstrel), portTest_(*this) {
    CopyCharts = [](char kind, int language, const std::string& destination,
                    const TProtectedDirs& protectedDirs) {
        return ApplicationForm<TFoDirCopy>("FoDirCopy")
            .Execute(kind, language, destination, protectedDirs);
    };
    ClearDatabase = [](int language, const std::string& directory, const std::string& name) {
        ApplicationForm<TFoWarning>("FoWarning").Execute(language, directory, name);
    };
}

TFoOstrel::~TFoOstrel() {
    // The components' handlers use the members below.
    DestroyComponents();
}

std::string TFoOstrel::Text(int pair) const {
    return LanguageText(pair, data_.Language);
}

void TFoOstrel::ShowMessageText(const std::string& text) {
    ShowMessage(text);
}

bool TFoOstrel::ApplyPending() const {
    return BtnApply->GetEnabled();
}

void TFoOstrel::SetApply(bool pending) {
    BtnApply->SetEnabled(pending);
}

void TFoOstrel::SetFlag(std::uint8_t& flag, std::uint8_t value) {
    if (flag == value) return;
    flag = value;
    data_.Modified = true;
}

void TFoOstrel::SetFlag(bool& flag, bool value) {
    if (flag == value) return;
    flag = value;
    data_.Modified = true;
}

// ---- Creation, show, activation, close

bool TFoOstrel::CheckSingleInstance() {
    // A lock that cannot be taken at all (no runtime folder) does not refuse.
    return instanceLock_.acquire(os::programPath()) != os::LockResult::HeldElsewhere;
}

bool TFoOstrel::IsNavigatorRunning(const std::string& title) {
    return os::isWindowPresent(title);
}

void TFoOstrel::FormCreate(TObject*) {
    if (!CheckSingleInstance()) {
        startRefused_ = true;
        ShowMessageText(kSingleInstanceMessage);
        return;
    }
    VecSectOff->SetVisible(true);
    VecDpt->SetVisible(false);
    VecLDpt->SetVisible(false);
    for (const char* title : kNavigatorTitles) {
        if (!IsNavigatorRunning(title)) continue;
        startRefused_ = true;
        instanceLock_.release();
        ShowMessageText(kStopNavigatorMessage);
        return;
    }
    Application().SetTitle(GetCaption());
    portControls_.clear();
    labelCount_ = 0;
    data_.Modified = false;
    copiedCd1_ = false;
    GenGrpAlarmBox->SetVisible(false);
    GenGrpPosOnVessel->SetVisible(false);
    GenGrpVessel->SetVisible(false);
    VecGrpNMEA->SetVisible(false);
    VecARPA->SetVisible(false);

    ImgBoat->SetPicture(TBitmap(BoatPicture()));
    ImgCross->SetPicture(TBitmap(CrossPicture()));
    Echo->SetPicture(TBitmap(SounderMarkPicture()));
    BtnCopyCD1->SetGlyph(TBitmap(CdGlyph()));
    BtnVektorCreate->SetGlyph(TBitmap(ShortcutGlyph()));
    BtnRasterCreate->SetGlyph(TBitmap(RasterGlyph()));
    BtnLng->SetGlyph(TBitmap(FlagPicture(2)));
}

void TFoOstrel::FormShow(TObject*) {
    data_.InstallationFound = 0;
    for (TBitBtn* copy : {BtnCopyCD2, BtnCopyBthCD, BtnCopyELVOCD})
        copy->SetGlyph(BtnCopyCD1->GetGlyph());
    BtnBathymetricCreate->SetGlyph(BtnVektorCreate->GetGlyph());
    BtnELVOCreate->SetGlyph(BtnVektorCreate->GetGlyph());

    LoadSetupIni(data_);
    buttons_ = TInstallButtons{};
    FindInstallations(data_, buttons_);
    // Only the map root's repair makes Apply pending: the end of the show
    // saves it.
    SetApply(LoadAndRepairInstallations(data_, buttons_));
    if (data_.InstallationFound == 0) {
        ShowMessageText(kNoInstallationMessage);
        Close();
        return;
    }
    // The search decides which shortcut and copy buttons the user may press.
    for (const auto& [button, state] : ShortcutButtons())
        button->SetEnabled(state->Enabled);
    BtnCopyCD1->SetEnabled(buttons_.BtnCopyCD1);
    BtnCopyCD2->SetEnabled(buttons_.BtnCopyCD2);
    BtnCopyBthCD->SetEnabled(buttons_.BtnCopyBthCD);
    BtnCopyELVOCD->SetEnabled(buttons_.BtnCopyELVOCD);

    BuildTabs();
    CaptionsFromLanguage();
    ProbePorts();
    TabControl1Change(TabControl1);
    SetupShortcut();
    if (data_.Lite) BtnRasterCreateClick(BtnRasterCreate);
    BtnApplyClick(BtnApply);
}

void TFoOstrel::SetupShortcut() {
    const std::string desktop = GetDesktopFolder();
    if (desktop.empty()) return;
    std::uint8_t& flag = data_.IconFlags[kIconSetup];
    struct stat st;
    const std::string entry = os::shortcutPath(AddBackslash(desktop) + kSetupShortcut);
    if (!entry.empty() && ::lstat(entry.c_str(), &st) == 0) {
        SetFlag(flag, 1);
        return;
    }
    if (flag != 0) return; // the user removed it: not made again
    // The running program, started in its own folder so that .\Ostrel.INI is
    // the one beside it.
    const std::string program = os::utf8ToCp1252(os::programPath());
    const std::string folder = os::utf8ToCp1252(os::programDirectory());
    if (CreateDesktopShortcut(kSetupShortcut, program, "", folder)) SetFlag(flag, 1);
}

void TFoOstrel::FormActivate(TObject*) {
    if (data_.InstallationFound == 0 || startRefused_) return;
    if (InstallationKind(data_.Vektor[kVector].Directory) != 1) return;
    UpdateRec();
    BtnVektorCreateClick(BtnVektorCreate);
    if (TabControl1->GetTabs().GetCount() == 0) return;
    TabControl1->SetTabIndex(0);
    TabControl1Change(TabControl1);
}

void TFoOstrel::FormClose(TObject*, TCloseAction&) {
    if (data_.InstallationFound == 0 || startRefused_) return;
    portTest_.CloseTestPort();
    if (data_.Modified) {
        if (ApplyPending() && SaveIniFiles()) SetApply(false);
        errno = 0;
        if (!SaveSetupIni(data_)) {
            const int error = errno;
            ShowMessageText(Text(lpCouldNotSave) + "Ostrel.INI" +
                            (error ? std::string(" (") + std::strerror(error) + ")" : ""));
        }
    }
    FreePortControls();
}

void TFoOstrel::FormPaint(TObject*) {
    // The copy buttons paint with the form: Qt paints every child after its
    // parent. Asking them to paint again from inside the form's paint would
    // make Qt paint the form below them again, and so on without end.
}

// ---- Apply, OK, Cancel, language

void TFoOstrel::ApplyOn(TObject*) {
    if (filling_) return;
    if (!ApplyPending()) SetApply(true);
}

void TFoOstrel::BtnApplyClick(TObject*) {
    if (!ApplyPending()) return;
    if (SaveIniFiles()) SetApply(false);
}

void TFoOstrel::BtnOKClick(TObject*) {
    BtnApplyClick(BtnApply);
    if (!ApplyPending()) Close();
}

void TFoOstrel::BtnCancelClick(TObject*) {
    SetApply(false);
    Close();
}

void TFoOstrel::BtnLngClick(TObject*) {
    if (BtnLng->GetCaption() != "UK") {
        data_.Language = 1;
    } else {
        data_.Language = 2;
    }
    CaptionsFromLanguage();
    data_.Modified = true;
    TVektorRec& vector = data_.Vektor[kVector];
    const std::string help = HelpCommandLine(vector.Directory, data_.Language);
    // Only a help command that exists replaces the record's.
    if (!help.empty() && help != vector.Help) {
        vector.Help = help;
        ApplyOn(BtnLng);
    }
}

bool TFoOstrel::SaveIniFiles() {
    UpdateRec();
    bool ok = true;
    std::vector<std::string> written; // the files saved, as found on disk
    const auto save = [&](const std::string& file, const auto& saver) {
        if (!FileExists(file)) return; // never created
        const std::string path = ExistingPath(file);
        for (const std::string& w : written)
            if (SamePath(w, path)) return; // one record per file: the first wins
        written.push_back(path);
        errno = 0;
        if (saver(file)) return;
        const int error = errno;
        ok = false;
        ShowMessageText(Text(lpCouldNotSave) + file +
                        (error ? std::string(" (") + std::strerror(error) + ")" : ""));
    };
    for (const TEdition edition : {kVector, kBathymetric, kElvo}) {
        const TVektorRec& record = data_.Vektor[edition];
        if (!record.Loaded || InstallationKind(record.Directory) != 1) continue;
        save(AddBackslash(record.Directory) + "SOLVNV.INI",
             [&](const std::string& file) { return SaveVIni(data_, file, record); });
    }
    const TRasterRec& raster = data_.Raster;
    const int kind = InstallationKind(raster.Directory);
    if (raster.Loaded && (kind == 3 || kind == 5))
        save(AddBackslash(raster.Directory) + "SOLVNR.INI",
             [&](const std::string& file) { return SaveRIni(data_, file, raster); });
    return ok;
}

void TFoOstrel::CaptionsFromLanguage() {
    const auto label = [this](TLabel* l, int pair) { l->SetCaption(Text(pair)); };
    BtnApply->SetCaption(Text(lpApply));
    BtnCancel->SetCaption(Text(lpCancel));
    BtnLng->SetCaption(Text(lpLanguageButton));
    BtnLng->SetHint(Text(lpLanguageHint));
    BtnLng->SetGlyph(TBitmap(FlagPicture(data_.Language == 2 ? 1 : 2)));
    for (TGroupBox* g : {VecGrpCOM, RstGrpCOM})
        g->SetCaption(Text(lpComActivatedGroup));
    for (TGroupBox* g : {VecGrpMisc, RstGrpMisc})
        g->SetCaption(Text(lpMiscGroup));
    for (TGroupBox* g : {VecGrpNMEA, RstGrpNMEA})
        g->SetCaption(Text(lpNmeaGroup));
    for (TGroupBox* g : {GenGrpCOM, TstGrpCOM})
        g->SetCaption(Text(lpComGroup));
    GenGrpAlarmBox->SetCaption(Text(lpAlarmGroup));
    const std::pair<TBitBtn*, int> shortcuts[] = {{BtnVektorCreate, lpVectorIcon},
                                                  {BtnBathymetricCreate, lpBathymetricIcon},
                                                  {BtnELVOCreate, lpElvoIcon},
                                                  {BtnRasterCreate, lpRasterIcon}};
    for (const auto& [button, pair] : shortcuts) {
        button->SetCaption(Text(pair));
        button->SetHint(Text(lpShortcutHint));
    }
    BtnCopyCD1->SetCaption(Text(lpCopyCd1));
    BtnCopyCD1->SetHint(Text(lpCopyCd1Hint));
    BtnCopyCD2->SetCaption(Text(lpCopyCd2));
    BtnCopyCD2->SetHint(Text(lpCopyCd2Hint));
    BtnCopyBthCD->SetCaption(Text(lpCopyCd));
    BtnCopyBthCD->SetHint(Text(lpCopyBathymetricHint));
    BtnCopyELVOCD->SetCaption(Text(lpCopyCd));
    BtnCopyELVOCD->SetHint(Text(lpCopyElvoHint));
    label(LblGreyPorts, lpGreyPortNote);
    label(LblCourseVector, lpCourseVectorNote);
    for (TLabel* l : {LblVecGPS, LblRstGPS})
        label(l, lpGpsSentence);
    for (TLabel* l : {LblVecAPB, LblRstAPB})
        label(l, lpApbOut);
    for (TLabel* l : {LblVecRMB, LblRstRMB})
        label(l, lpRmbOut);
    for (TLabel* l : {LblVecRMC, LblRstRMC})
        label(l, lpRmcOut);
    for (TCheckBox* c : {VecRTE, RstRTE})
        c->SetCaption(Text(lpRteOut));
    for (TLabel* l : {LblVecInterval, LblRstInterval})
        label(l, lpIntervalNote);
    for (TLabel* l : {LblVecMainDir, LblRstMainDir})
        label(l, lpDirectory);
    LblVecDictDir->SetCaption(Text(lpDictionary) + Text(lpDirectorySuffix));
    for (TLabel* l : {LblVecKV71Dir, LblRstMAPDir})
        l->SetCaption(Text(lpMap) + Text(lpDirectorySuffix));
    label(VecLDpt, lpDepthUnit);
    VecBtnClear->SetCaption(Text(lpClearDatabase));
    PopSetReadOnlyOff->SetCaption(Text(lpSetReadOnlyOffItem));
    PopClearDatabase->SetCaption(Text(lpClearVectorDatabaseItem));
    GenGrpVessel->SetCaption(Text(lpVessel));
    GenGrpPosOnVessel->SetCaption(Text(lpGpsPosOnVessel));
    label(LblLength, lpVesselLength);
    label(LblWidth, lpVesselWidth);
    label(LblFromStarboard, lpFromStarboard);
    label(LblFromBow, lpFromBow);
    label(LblTransducer, lpTransducer);

    // The tab captions: the same tabs, the same one shown.
    TStrings& tabs = TabControl1->GetTabs();
    const int shown = TabControl1->GetTabIndex();
    std::vector<std::string> captions;
    for (int i = 0; i < tabs.GetCount(); ++i) {
        const std::string caption = tabs.GetString(i);
        TTabKind kind = TTabKind::NmeaTest;
        for (const TTabKind k : {TTabKind::Vector, TTabKind::Bathymetric, TTabKind::Elvo,
                                 TTabKind::Raster, TTabKind::General, TTabKind::NmeaTest})
            if (caption == TabCaption(k, 1) || caption == TabCaption(k, 2)) {
                kind = k;
                break;
            }
        captions.push_back(TabCaption(kind, data_.Language));
    }
    tabs.Clear();
    for (const std::string& caption : captions)
        tabs.Add(caption);
    if (shown >= 0 && shown < tabs.GetCount()) TabControl1->SetTabIndex(shown);
}
