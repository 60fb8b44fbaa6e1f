// The main form's tabs: building and recognising them, the fills and
// UpdateRec, the port rows and the port test, and the handlers of the tabs'
// buttons and context menu.
#include "forms/FoOstrel.h"

#include "config/NavIni.h"
#include "dbreset/UserDatabaseReset.h"
#include "files/Backslash.h"
#include "files/DirProcs.h"
#include "files/SetupPaths.h"
#include "shell/DesktopShortcut.h"
#include "shell/RegistryReads.h"
#include "text/LanguageTexts.h"

#include "os/ShellLink.h"
#include "os/drives.h"

#include <sys/stat.h>

#include <cctype>
#include <cstdint>
#include <limits>

using namespace ui::forms;

namespace {

constexpr TTabKind kCaptionOrder[] = {TTabKind::Vector, TTabKind::Bathymetric, TTabKind::Elvo,
                                      TTabKind::Raster, TTabKind::General};

int NamePair(TTabKind kind) {
    switch (kind) {
    case TTabKind::Vector:
        return lpTabVector;
    case TTabKind::Bathymetric:
        return lpTabBathymetric;
    case TTabKind::Elvo:
        return lpTabElvo;
    case TTabKind::Raster:
        return lpTabRaster;
    case TTabKind::General:
        return lpTabGeneral;
    case TTabKind::NmeaTest:
        break;
    }
    return lpTabNmeaTest;
}

bool IsVektorKind(TTabKind kind) {
    return kind == TTabKind::Vector || kind == TTabKind::Bathymetric || kind == TTabKind::Elvo;
}

TEdition EditionOf(TTabKind kind) {
    switch (kind) {
    case TTabKind::Bathymetric:
        return kBathymetric;
    case TTabKind::Elvo:
        return kElvo;
    case TTabKind::Raster:
        return kRaster;
    default:
        return kVector;
    }
}

// A whole number of digits, within `max`; false for anything else.
bool Digits(const std::string& text, std::uint64_t max, std::uint64_t& value) {
    if (text.empty() || text.size() > 19) return false;
    value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') return false;
        value = value * 10 + std::uint64_t(c - '0');
    }
    return value <= max;
}

// The number a spin edit holds, unless its text is still being typed.
bool SpinNumber(const TSpinEdit* spin, int& value) {
    const std::string text = spin->GetText();
    if (text.empty() || text == "-" || text == "+") return false;
    value = spin->GetValue();
    return true;
}

// Whether the spin edit now holds a number other than the one shown.
bool SpinEdited(const TSpinEdit* spin, int shown, std::int32_t& out) {
    int value = 0;
    if (!SpinNumber(spin, value) || value == shown) return false;
    out = value;
    return true;
}

bool EntryExists(const std::string& path) {
    struct stat st;
    return !path.empty() && ::lstat(path.c_str(), &st) == 0;
}

} // namespace

// ---- Tabs

std::string TFoOstrel::TabCaption(TTabKind kind, int language) {
    std::string caption = LanguageText(NamePair(kind), language);
    if (kind != TTabKind::NmeaTest) caption += LanguageText(lpTabSuffix, language);
    return caption;
}

TTabKind TFoOstrel::CurrentTabKind() const {
    const std::string caption = TabControl1->GetTabs().GetString(TabControl1->GetTabIndex());
    for (const TTabKind kind : kCaptionOrder)
        if (caption == TabCaption(kind, data_.Language)) return kind;
    return TTabKind::NmeaTest;
}

std::pair<std::string, std::string> TFoOstrel::CurrentTabPair() const {
    const int pair = NamePair(CurrentTabKind());
    return {LanguageText(pair, 1), LanguageText(pair, 2)};
}

void TFoOstrel::BuildTabs() {
    TStrings& tabs = TabControl1->GetTabs();
    tabs.Clear();
    for (const TTabKind kind :
         {TTabKind::Vector, TTabKind::Bathymetric, TTabKind::Elvo, TTabKind::Raster})
        if (data_.TabFlags[EditionOf(kind)]) tabs.Add(TabCaption(kind, data_.Language));
    if (!data_.Lite) tabs.Add(TabCaption(TTabKind::General, data_.Language));
    tabs.Add(TabCaption(TTabKind::NmeaTest, data_.Language));
}

void TFoOstrel::CreateTabs() {
    UpdateRec();
    BuildTabs();
    TabControl1Change(TabControl1);
}

void TFoOstrel::TabControl1Changing(TObject*, bool&) {
    UpdateRec();
}

std::array<TCheckBox*, 6> TFoOstrel::VecCOM() const {
    return {VecCOM1, VecCOM2, VecCOM3, VecCOM4, VecCOM5, VecCOM6};
}

std::array<TCheckBox*, 6> TFoOstrel::RstCOM() const {
    return {RstCOM1, RstCOM2, RstCOM3, RstCOM4, RstCOM5, RstCOM6};
}

std::array<TRadioButton*, 6> TFoOstrel::TstCOM() const {
    return {TstCOM1, TstCOM2, TstCOM3, TstCOM4, TstCOM5, TstCOM6};
}

void TFoOstrel::TabControl1Change(TObject*) {
    const bool pending = ApplyPending();
    filling_ = true;
    if (portTest_.IsOpen()) {
        portTest_.CloseTestPort();
        for (TCheckBox* box : VecCOM())
            box->SetChecked(false);
        for (TCheckBox* box : RstCOM())
            box->SetChecked(false);
        // No port is under test now: a click on its button opens it again.
        for (TRadioButton* radio : TstCOM())
            radio->SetChecked(false);
    }
    for (TPanel* panel : {PnlVektor, PnlRaster, PnlGenerelt, PnlTest}) {
        panel->SetVisible(false);
        panel->SetPopupMenu(nullptr);
    }
    for (TBitBtn* button : {BtnVektorCreate, BtnBathymetricCreate, BtnELVOCreate, BtnRasterCreate})
        button->SetVisible(false);
    FreePortControls();
    shown_ = TShown{};

    const TTabKind kind = CurrentTabKind();
    switch (kind) {
    case TTabKind::Vector:
    case TTabKind::Bathymetric:
    case TTabKind::Elvo:
        PopSetReadOnlyOff->SetVisible(true);
        PopClearDatabase->SetVisible(false);
        PnlVektor->SetPopupMenu(PopupMenu1);
        FillVektor(kind);
        break;
    case TTabKind::Raster:
        PopSetReadOnlyOff->SetVisible(true);
        PopClearDatabase->SetVisible(false);
        PnlRaster->SetPopupMenu(PopupMenu1);
        FillRaster();
        break;
    case TTabKind::General:
        PopSetReadOnlyOff->SetVisible(false);
        PopClearDatabase->SetVisible(false);
        PnlGenerelt->SetPopupMenu(PopupMenu1);
        BuildPortControls(GenGrpCOM, 10);
        FillGenerelt();
        break;
    case TTabKind::NmeaTest:
        BuildPortControls(TstGrpCOM, 34);
        PnlTest->SetVisible(true);
        break;
    }
    shown_.Filled = true;
    shown_.Kind = kind;
    filling_ = false;
    SetApply(pending);
}

// ---- Fills and UpdateRec

std::array<std::pair<TBitBtn*, const TButtonState*>, 4> TFoOstrel::ShortcutButtons() const {
    return {{{BtnVektorCreate, &buttons_.BtnVektorCreate},
             {BtnBathymetricCreate, &buttons_.BtnBathymetricCreate},
             {BtnELVOCreate, &buttons_.BtnELVOCreate},
             {BtnRasterCreate, &buttons_.BtnRasterCreate}}};
}

void TFoOstrel::FillPortBoxes(const std::array<TCheckBox*, 6>& boxes,
                              const std::array<bool, 6>& enabled) {
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        boxes[i]->SetEnabled(data_.Generelt.Ports[i].Usable);
        boxes[i]->SetChecked(enabled[i] && boxes[i]->GetEnabled());
        shown_.Com[i] = boxes[i]->GetChecked();
    }
}

void TFoOstrel::FillVektor(TTabKind kind) {
    const TVektorRec& rec = data_.Vektor[EditionOf(kind)];
    bool backups = !data_.Vektor[kVector].Directory.empty();
    for (const char* file : kUserDatabaseFiles)
        backups = backups &&
                  FileExists(AddBackslash(data_.Vektor[kVector].Directory) + "BACKUP\\" + file);
    VecBtnClear->SetVisible(kind == TTabKind::Vector && backups);
    BtnCopyCD1->SetVisible(kind == TTabKind::Vector && !data_.Lite);
    BtnCopyCD2->SetVisible(kind == TTabKind::Vector && !data_.Lite);
    BtnCopyBthCD->SetVisible(kind == TTabKind::Bathymetric && !data_.Lite);
    BtnCopyELVOCD->SetVisible(kind == TTabKind::Elvo && !data_.Lite);
    FillPortBoxes(VecCOM(), rec.ComEnabled);
    VecSectOff->SetValue(rec.CrsMinutes);
    VecMainDir->SetText(rec.Directory);
    VecDictDir->SetText(InstallationSubdir(rec.DictionaryDir, rec.Directory, "KV71ATTR"));
    VecKV71Dir->SetText(rec.KV71Root);
    VecGPS->SetItemIndex(rec.GpsNmeaId < VecGPS->GetItems().GetCount() ? rec.GpsNmeaId : -1);
    VecDpt->SetItemIndex(rec.DepthIndex);
    VecAPB->SetValue(rec.NmeaOutAPB);
    VecRMB->SetValue(rec.NmeaOutRMB);
    VecRMC->SetValue(rec.NmeaOutRMC);
    VecRTE->SetChecked(rec.NmeaOutRTE);
    PnlVektor->SetVisible(true);

    shown_.Gps = VecGPS->GetText();
    shown_.SectOff = VecSectOff->GetValue();
    shown_.Apb = VecAPB->GetValue();
    shown_.Rmb = VecRMB->GetValue();
    shown_.Rmc = VecRMC->GetValue();
    shown_.Rte = VecRTE->GetChecked();
    shown_.ChartDir = VecKV71Dir->GetText();
}

void TFoOstrel::FillRaster() {
    const TRasterRec& rec = data_.Raster;
    FillPortBoxes(RstCOM(), rec.ComEnabled);
    RstGPS->SetItemIndex(rec.GpsNmeaId < RstGPS->GetItems().GetCount() ? rec.GpsNmeaId : -1);
    RstAPB->SetValue(rec.NmeaOutAPB);
    RstRMB->SetValue(rec.NmeaOutRMB);
    RstRMC->SetValue(rec.NmeaOutRMC);
    RstRTE->SetChecked(rec.NmeaOutRTE);
    RstARPA->SetVisible(true);
    RstARPA->SetChecked(rec.ArpaActive);
    RstMainDir->SetText(rec.Directory);
    RstMAPDir->SetText(rec.MapRoot);
    PnlRaster->SetVisible(true);

    shown_.Gps = RstGPS->GetText();
    shown_.Apb = RstAPB->GetValue();
    shown_.Rmb = RstRMB->GetValue();
    shown_.Rmc = RstRMC->GetValue();
    shown_.Rte = RstRTE->GetChecked();
    shown_.Arpa = RstARPA->GetChecked();
    shown_.ChartDir = RstMAPDir->GetText();
}

void TFoOstrel::FillGenerelt() {
    CmbAlarmOn->SetText(data_.Generelt.AlarmOn);
    SetVesselControls(VesselFieldsFromRecord(data_.Generelt));
    shown_.Vessel = true;
    shown_.VesselFields = VesselFromControls();
    for (const auto& [button, state] : ShortcutButtons())
        button->SetVisible(state->Visible);
    PnlGenerelt->SetVisible(true);
}

TVektorRec* TFoOstrel::ShownVektorRec() {
    if (!shown_.Filled || !IsVektorKind(shown_.Kind)) return nullptr;
    return &data_.Vektor[EditionOf(shown_.Kind)];
}

void TFoOstrel::UpdateRec() {
    // Only the controls of the tab whose fill they show.
    if (!shown_.Filled || shown_.Kind != CurrentTabKind()) return;
    const auto gpsChoice = [this](TComboBox* box, std::uint8_t& choice) {
        const std::string text = box->GetText();
        if (text == shown_.Gps) return;
        for (int i = 0; i < box->GetItems().GetCount(); ++i)
            if (box->GetItems().GetString(i) == text) {
                choice = static_cast<std::uint8_t>(i);
                return;
            }
    };
    if (TVektorRec* rec = ShownVektorRec()) {
        const auto boxes = VecCOM();
        for (std::size_t i = 0; i < boxes.size(); ++i)
            if (boxes[i]->GetChecked() != shown_.Com[i])
                rec->ComEnabled[i] = boxes[i]->GetChecked();
        gpsChoice(VecGPS, rec->GpsNmeaId);
        SpinEdited(VecAPB, shown_.Apb, rec->NmeaOutAPB);
        SpinEdited(VecRMB, shown_.Rmb, rec->NmeaOutRMB);
        SpinEdited(VecRMC, shown_.Rmc, rec->NmeaOutRMC);
        if (VecRTE->GetChecked() != shown_.Rte) rec->NmeaOutRTE = VecRTE->GetChecked();
        if (shown_.Kind == TTabKind::Vector)
            SpinEdited(VecSectOff, shown_.SectOff, rec->CrsMinutes);
        if (VecKV71Dir->GetText() != shown_.ChartDir)
            rec->KV71Root = rec->KV71Cat = rec->KV71ChrList = VecKV71Dir->GetText();
        rec->DictionaryDir = InstallationSubdir(rec->DictionaryDir, rec->Directory, "KV71ATTR");
        rec->TideDir = InstallationSubdir(rec->TideDir, rec->Directory, "TIDES");
        return;
    }
    switch (shown_.Kind) {
    case TTabKind::Raster: {
        TRasterRec& rec = data_.Raster;
        const auto boxes = RstCOM();
        for (std::size_t i = 0; i < boxes.size(); ++i)
            if (boxes[i]->GetChecked() != shown_.Com[i]) rec.ComEnabled[i] = boxes[i]->GetChecked();
        gpsChoice(RstGPS, rec.GpsNmeaId);
        SpinEdited(RstAPB, shown_.Apb, rec.NmeaOutAPB);
        SpinEdited(RstRMB, shown_.Rmb, rec.NmeaOutRMB);
        SpinEdited(RstRMC, shown_.Rmc, rec.NmeaOutRMC);
        if (RstRTE->GetChecked() != shown_.Rte) rec.NmeaOutRTE = RstRTE->GetChecked();
        if (RstARPA->GetChecked() != shown_.Arpa) rec.ArpaActive = RstARPA->GetChecked();
        if (RstMAPDir->GetText() != shown_.ChartDir) rec.MapRoot = RstMAPDir->GetText();
        break;
    }
    case TTabKind::General: {
        TakePorts();
        const TVesselFields f = VesselFromControls();
        const TVesselFields& s = shown_.VesselFields;
        int value = 0;
        const TVesselEdits edits{.Length = SpinNumber(SpinLength, value) && f.Length != s.Length,
                                 .Width = SpinNumber(SpinWidth, value) && f.Width != s.Width,
                                 .X = SpinNumber(SpinX, value) && f.X != s.X,
                                 .Y = SpinNumber(SpinY, value) && f.Y != s.Y,
                                 .EchoY = SpinNumber(EchoY, value) && f.EchoY != s.EchoY};
        VesselRecordFromFields(f, edits, data_.Generelt);
        break;
    }
    case TTabKind::NmeaTest:
        TakePorts();
        break;
    default:
        break;
    }
}

// ---- Port rows and the port test

TComboBox* TFoOstrel::PortCombo(const char* kind, int n) const {
    return dynamic_cast<TComboBox*>(FindComponent(std::string(kind) + std::to_string(n)));
}

namespace {
constexpr const char* kPortComboKinds[] = {"CmbBaud", "CmbParity", "CmbData", "CmbStop"};
constexpr int kPortComboLeft[] = {50, 130, 180, 230};
constexpr int kPortComboWidth[] = {74, 44, 44, 44};
constexpr const char* kPortComboItems[][4] = {
    {"4800", "9600"}, {"N", "O", "E", "M"}, {"5", "6", "7", "8"}, {"1", "2"}};
constexpr const char* kPortHeadings[] = {"Bps / baud", "Par.", "Data", "Stop"};
} // namespace

void TFoOstrel::BuildPortControls(TGroupBox* group, int left) {
    FreePortControls();
    const auto addLabel = [&](const std::string& caption, int x, int y) {
        auto* label = new TLabel(this);
        label->SetParent(group);
        label->SetLeft(x);
        label->SetTop(y);
        label->SetCaption(caption);
        portControls_.push_back(label);
        ++labelCount_;
    };
    for (int k = 0; k < 4; ++k)
        addLabel(kPortHeadings[k], left + kPortComboLeft[k], 18);
    for (int n = 1; n <= 6; ++n) {
        const TComPortRec& port = data_.Generelt.Ports[std::size_t(n - 1)];
        const int y = 36 + 24 * (n - 1);
        addLabel("COM " + std::to_string(n) + ":", left, y + 4);
        const std::string texts[] = {std::to_string(port.Baud), std::string(1, port.Parity),
                                     std::to_string(port.DataBits), std::to_string(port.StopBits)};
        for (int k = 0; k < 4; ++k) {
            auto* combo = new TComboBox(this);
            combo->SetName(kPortComboKinds[k] + std::to_string(n));
            combo->SetParent(group);
            combo->SetBounds(left + kPortComboLeft[k], y, kPortComboWidth[k], 22);
            for (const char* item : kPortComboItems[k])
                if (item) combo->GetItems().Add(item);
            combo->SetText(texts[k]);
            combo->SetEnabled(port.Usable);
            combo->OnChange = [this](TObject* sender) { CmbChange(sender); };
            shown_.PortTexts[std::size_t(n - 1)][std::size_t(k)] = combo->GetText();
            portControls_.push_back(combo);
        }
    }
    shown_.Ports = true;
}

void TFoOstrel::FreePortControls() {
    // A row's own change may be running: Free waits for it to return.
    for (TComponent* control : portControls_)
        control->Free();
    portControls_.clear();
    labelCount_ = 0;
    shown_.Ports = false;
}

void TFoOstrel::TakePorts() {
    if (!shown_.Ports) return;
    for (int n = 1; n <= 6; ++n) {
        TComPortRec& port = data_.Generelt.Ports[std::size_t(n - 1)];
        const auto& shown = shown_.PortTexts[std::size_t(n - 1)];
        const auto edited = [&](int k, std::string& text) {
            const TComboBox* combo = PortCombo(kPortComboKinds[k], n);
            if (!combo) return false;
            text = combo->GetText();
            return text != shown[std::size_t(k)];
        };
        std::string text;
        std::uint64_t value = 0;
        // A text that is no number leaves the record's value.
        if (edited(0, text) && Digits(text, std::numeric_limits<std::uint32_t>::max(), value) &&
            value > 0)
            port.Baud = static_cast<std::uint32_t>(value);
        if (edited(1, text) && !text.empty())
            port.Parity = static_cast<char>(std::toupper(static_cast<unsigned char>(text[0])));
        if (edited(2, text) && Digits(text, 9, value) && value > 0)
            port.DataBits = static_cast<std::uint8_t>(value);
        if (edited(3, text) && Digits(text, 9, value) && value > 0)
            port.StopBits = static_cast<std::uint8_t>(value);
    }
}

void TFoOstrel::ProbePorts() {
    const TPortProbe probe = portTest_.ProbePorts(data_.Generelt.Ports, data_.Generelt.AlarmOn);
    const auto vec = VecCOM();
    const auto rst = RstCOM();
    const auto tst = TstCOM();
    for (std::size_t i = 0; i < probe.Opened.size(); ++i) {
        vec[i]->SetEnabled(probe.Opened[i]);
        rst[i]->SetEnabled(probe.Opened[i]);
        tst[i]->SetEnabled(probe.Opened[i]);
    }
    TStrings& items = CmbAlarmOn->GetItems();
    items.Clear();
    items.Add("NONE");
    for (const std::string& item : probe.AlarmItems)
        items.Add(item);
}

void TFoOstrel::TstCOMClick(int n) {
    portTest_.TstCOMClick(n, data_.Generelt.Ports);
}

void TFoOstrel::CmbChange(TObject*) {
    const int n = portTest_.TestPort();
    std::string texts[4];
    if (n >= 1 && n <= 6)
        for (int k = 0; k < 4; ++k)
            if (const TComboBox* combo = PortCombo(kPortComboKinds[k], n))
                texts[k] = combo->GetText();
    if (portTest_.CmbChange(data_.Generelt.Ports, texts[0], texts[1], texts[2], texts[3]))
        ApplyOn(nullptr);
}

void TFoOstrel::Timer1Timer(TObject*) {
    portTest_.Timer1Timer();
}

void TFoOstrel::SetTimer1(bool on) {
    Timer1->SetEnabled(on);
}

void TFoOstrel::ShowTestText(const TTestText& text) {
    TstMemo->SetText(text.Bytes());
}

void TFoOstrel::CmbAlarmOnChange(TObject*) {
    if (filling_) return;
    UpdateRec();
    data_.Generelt.AlarmOn = CmbAlarmOn->GetText();
    const std::string alarm = data_.Generelt.AlarmOn;
    ProbePorts();
    for (int n = 1; n <= 6; ++n) {
        if (alarm != "COM" + std::to_string(n)) continue;
        for (TVektorRec& rec : data_.Vektor)
            rec.ComEnabled[std::size_t(n - 1)] = false;
        data_.Raster.ComEnabled[std::size_t(n - 1)] = false;
    }
    CmbAlarmOn->SetItemIndex(CmbAlarmOn->GetItems().IndexOf(alarm));
    const bool pending = ApplyPending();
    filling_ = true;
    BuildPortControls(GenGrpCOM, 10);
    FillGenerelt();
    filling_ = false;
    SetApply(pending);
    ApplyOn(CmbAlarmOn);
}

// ---- Shortcut buttons

void TFoOstrel::CreateShortcut(TEdition edition, const char* link, const std::string& target) {
    std::string& dir = data_.Directory(edition);
    const std::string entry = os::shortcutPath(AddBackslash(GetDesktopFolder()) + link);
    if (!EntryExists(entry) && !CreateDesktopShortcut(link, target, "", RemoveBackslash(dir)))
        return; // nothing written: the flags stay
    if (!dir.empty()) dir = AddBackslash(dir);
    SetFlag(data_.TabFlags[edition], true);
    SetFlag(data_.IconFlags[edition], 1);
    CreateTabs();
}

void TFoOstrel::BtnVektorCreateClick(TObject*) {
    if (GetDesktopFolder().empty()) return;
    const std::string& dir = data_.Vektor[kVector].Directory;
    if (!ProgramFileExists(dir, "solvnvl.exe")) return;
    if (data_.TabFlags[kVector]) {
        SetFlag(data_.IconFlags[kVector], 1);
        return;
    }
    CreateShortcut(kVector, kShortcutVector, ProgramFilePath(dir, "solvnvl.exe"));
}

void TFoOstrel::BtnBathymetricCreateClick(TObject*) {
    const std::string& dir = data_.Vektor[kBathymetric].Directory;
    if (GetDesktopFolder().empty() || data_.TabFlags[kBathymetric] ||
        !ProgramFileExists(dir, "solvnv.exe"))
        return;
    CreateShortcut(kBathymetric, kShortcutBathymetric, ProgramFilePath(dir, "solvnv.exe"));
}

void TFoOstrel::BtnELVOCreateClick(TObject*) {
    const std::string& dir = data_.Vektor[kElvo].Directory;
    if (GetDesktopFolder().empty() || data_.TabFlags[kElvo] ||
        !ProgramFileExists(dir, "solvnv.exe"))
        return;
    CreateShortcut(kElvo, kShortcutElvo, ProgramFilePath(dir, "solvnv.exe"));
}

void TFoOstrel::BtnRasterCreateClick(TObject*) {
    const TRasterRec& rec = data_.Raster;
    if (GetDesktopFolder().empty() || data_.TabFlags[kRaster] ||
        !FileExists(AddBackslash(rec.Directory) + "solvnr.ini") || rec.MapRoot.empty() ||
        !FileExists(AddBackslash(rec.MapRoot) + "map.dat", rec.Directory))
        return;
    const char* program = data_.Lite ? "solvnrl.exe" : "solvnr.exe";
    CreateShortcut(kRaster, data_.Lite ? kShortcutRasterLite : kShortcutRaster,
                   ProgramFilePath(rec.Directory, program));
}

// ---- Chart copy, user database, write protection, depth unit

void TFoOstrel::CopyChartsOf(TEdition edition, char kind) {
    UpdateRec();
    if (!data_.TabFlags[edition]) return;
    TVektorRec& rec = data_.Vektor[edition];
    const std::string root = rec.KV71Root;
    TProtectedDirs protectedDirs;
    const std::pair<const TButtonState*, TEdition> found[] = {
        {&buttons_.BtnVektorCreate, kVector},
        {&buttons_.BtnBathymetricCreate, kBathymetric},
        {&buttons_.BtnELVOCreate, kElvo},
        {&buttons_.BtnRasterCreate, kRaster}};
    for (const auto& [button, e] : found)
        if (button->Enabled && !data_.Directory(e).empty())
            protectedDirs.Installations.push_back(data_.Directory(e));
    for (const TEdition e : {kVector, kBathymetric, kElvo})
        if (e != edition && data_.Vektor[e].Loaded && !data_.Vektor[e].KV71Root.empty())
            protectedDirs.ChartRoots.push_back(data_.Vektor[e].KV71Root);
    if (data_.Raster.Loaded && !data_.Raster.MapRoot.empty())
        protectedDirs.ChartRoots.push_back(data_.Raster.MapRoot);
    const std::string copied =
        CopyCharts(kind, data_.Language, root.empty() ? "C:\\KV71" : root, protectedDirs);
    if (copied.empty() || copied == root) return;
    rec.KV71Root = rec.KV71Cat = rec.KV71ChrList = copied;
    if (ShownVektorRec() == &rec) {
        filling_ = true;
        VecKV71Dir->SetText(copied);
        filling_ = false;
        shown_.ChartDir = copied;
    }
    ApplyOn(nullptr);
}

void TFoOstrel::BtnCopyCD1Click(TObject*) {
    const char kind = copiedCd1_ ? '2' : '1';
    copiedCd1_ = true;
    CopyChartsOf(kVector, kind);
}

void TFoOstrel::BtnCopyCD2Click(TObject*) {
    CopyChartsOf(kVector, '2');
}

void TFoOstrel::BtnCopyBthCDClick(TObject*) {
    CopyChartsOf(kBathymetric, 'B');
}

void TFoOstrel::BtnCopyELVOCDClick(TObject*) {
    CopyChartsOf(kElvo, 'F');
}

void TFoOstrel::VecBtnClearClick(TObject*) {
    const std::pair<std::string, std::string> names = CurrentTabPair();
    ClearDatabase(data_.Language, data_.Vektor[kVector].Directory,
                  data_.Language == 2 ? names.second : names.first);
}

void TFoOstrel::PopClearDatabaseClick(TObject* sender) {
    VecBtnClearClick(sender);
}

void TFoOstrel::PopSetReadOnlyOffClick(TObject*) {
    const TTabKind kind = CurrentTabKind();
    if (!IsVektorKind(kind) && kind != TTabKind::Raster) return;
    UpdateRec();
    if (MessageDlg(Text(lpReadOnlyOffQuestion), mtConfirmation, {mbOK, mbCancel}) != mrOk) return;
    const std::string dir =
        kind == TTabKind::Raster ? data_.Raster.MapRoot : data_.Vektor[EditionOf(kind)].KV71Root;
    // A relative root lies in the installation directory, where the
    // navigation program runs; the drive form tells its drive.
    const std::string local = LocalPath(dir, data_.Directory(EditionOf(kind)));
    const std::string stored = local.empty() ? std::string() : os::windowsPath(local);
    const std::string target = stored.empty() ? dir : stored;
    if (target.size() >= 2 && target[1] == ':' &&
        os::driveType(target[0]) == os::DriveType::CdRom) {
        ShowMessageText(Text(lpReadOnlyOffCdRom));
        return;
    }
    if (IsUnsafeTreeRoot(target)) {
        ShowMessageText(Text(lpReadOnlyOffRefused) + dir);
        return;
    }
    std::int64_t files = 0;
    ClearReadOnlyTree(files, target);
}

void TFoOstrel::VecDptChange(TObject*) {
    if (filling_) return;
    TVektorRec* rec = nullptr;
    const TTabKind kind = CurrentTabKind();
    if (IsVektorKind(kind)) rec = &data_.Vektor[EditionOf(kind)];
    if (!rec) return;
    static const char* const kUnits[] = {"METER", "FOOT", "FATHOM"};
    const int index = VecDpt->GetItemIndex();
    if (index < 0 || index > 2) return;
    rec->DepthIndex = static_cast<std::uint8_t>(index);
    rec->DepthUnit = kUnits[index];
    ApplyOn(VecDpt);
}
