// The setup program's main form: a tab per installed edition (vector,
// bathymetric, ELVO, raster), the General tab and the NMEA-test tab, with OK,
// Cancel, Apply and the language button.
//
// The form owns the program's state (TSetupData) and the port test. It is
// made once, shown once, and its close ends the program.
// - Creation refuses a second copy of the program and a running navigation
//   program (StartRefused: the program body then ends without a loop).
// - The first show loads .\Ostrel.INI, finds and loads the installations,
//   builds the tabs, probes COM1 to COM6 and makes the setup program's own
//   desktop shortcut; with no installation it says so and closes.
// - Two pending states: Apply pending (the Apply button enabled) saves the
//   configuration files on Apply, on OK, and on close while the configuration
//   is marked modified; the modified mark alone saves only .\Ostrel.INI when
//   the form closes. OK saves what was edited and closes; Cancel drops the
//   edits not applied.
// - A tab's fill remembers what it put into each control; leaving the tab
//   (UpdateRec) writes a record field only when its control now differs, so
//   values the controls cannot show, and those of hidden groups, reach the
//   files as they were loaded.
// - Tabs are recognised by their captions in the current language.
//
//   TFoOstrel* main = nullptr;
//   ui::forms::Application().CreateForm(main);
//   if (main->StartRefused()) return 1;
//   ui::forms::Application().Run();
#pragma once

#include "chartcopy/ChartCopier.h"
#include "config/Installations.h"
#include "config/SetupData.h"
#include "ports/PortTest.h"
#include "vessel/VesselGeometry.h"

#include "os/instanceLocks.h"
#include "ui/forms/Forms.h"

#include <array>
#include <functional>
#include <string>
#include <utility>
#include <vector>

// The kinds of tab, in the order the tabs come.
enum class TTabKind { Vector, Bathymetric, Elvo, Raster, General, NmeaTest };

class TFoOstrel : public ui::forms::TForm, private TPortTestView {
  public:
    explicit TFoOstrel(ui::forms::TComponent* owner);
    ~TFoOstrel() override;

    // The tabs and their panels.
    PUBLISHED_FIELD(ui::forms::TTabControl, TabControl1);
    PUBLISHED_FIELD(ui::forms::TPanel, PnlVektor);
    PUBLISHED_FIELD(ui::forms::TPanel, PnlRaster);
    PUBLISHED_FIELD(ui::forms::TPanel, PnlGenerelt);
    PUBLISHED_FIELD(ui::forms::TPanel, PnlTest);
    // The form's buttons.
    PUBLISHED_FIELD(ui::forms::TButton, BtnOK);
    PUBLISHED_FIELD(ui::forms::TButton, BtnCancel);
    PUBLISHED_FIELD(ui::forms::TButton, BtnApply);
    PUBLISHED_FIELD(ui::forms::TBitBtn, BtnLng);
    // Shortcut buttons (General tab) and chart-copy buttons (vector panel).
    PUBLISHED_FIELD(ui::forms::TBitBtn, BtnVektorCreate);
    PUBLISHED_FIELD(ui::forms::TBitBtn, BtnBathymetricCreate);
    PUBLISHED_FIELD(ui::forms::TBitBtn, BtnELVOCreate);
    PUBLISHED_FIELD(ui::forms::TBitBtn, BtnRasterCreate);
    PUBLISHED_FIELD(ui::forms::TBitBtn, BtnCopyCD1);
    PUBLISHED_FIELD(ui::forms::TBitBtn, BtnCopyCD2);
    PUBLISHED_FIELD(ui::forms::TBitBtn, BtnCopyBthCD);
    PUBLISHED_FIELD(ui::forms::TBitBtn, BtnCopyELVOCD);
    PUBLISHED_FIELD(ui::forms::TButton, VecBtnClear);
    // The vector panel (vector, bathymetric and ELVO tabs).
    PUBLISHED_FIELD(ui::forms::TGroupBox, VecGrpCOM);
    PUBLISHED_FIELD(ui::forms::TCheckBox, VecCOM1);
    PUBLISHED_FIELD(ui::forms::TCheckBox, VecCOM2);
    PUBLISHED_FIELD(ui::forms::TCheckBox, VecCOM3);
    PUBLISHED_FIELD(ui::forms::TCheckBox, VecCOM4);
    PUBLISHED_FIELD(ui::forms::TCheckBox, VecCOM5);
    PUBLISHED_FIELD(ui::forms::TCheckBox, VecCOM6);
    PUBLISHED_FIELD(ui::forms::TGroupBox, VecGrpMisc);
    PUBLISHED_FIELD(ui::forms::TLabel, LblCourseVector);
    PUBLISHED_FIELD(ui::forms::TSpinEdit, VecSectOff);
    PUBLISHED_FIELD(ui::forms::TLabel, VecLDpt);
    PUBLISHED_FIELD(ui::forms::TComboBox, VecDpt);
    PUBLISHED_FIELD(ui::forms::TGroupBox, VecGrpNMEA);
    PUBLISHED_FIELD(ui::forms::TLabel, LblVecGPS);
    PUBLISHED_FIELD(ui::forms::TComboBox, VecGPS);
    PUBLISHED_FIELD(ui::forms::TLabel, LblVecAPB);
    PUBLISHED_FIELD(ui::forms::TSpinEdit, VecAPB);
    PUBLISHED_FIELD(ui::forms::TLabel, LblVecRMB);
    PUBLISHED_FIELD(ui::forms::TSpinEdit, VecRMB);
    PUBLISHED_FIELD(ui::forms::TLabel, LblVecRMC);
    PUBLISHED_FIELD(ui::forms::TSpinEdit, VecRMC);
    PUBLISHED_FIELD(ui::forms::TLabel, LblVecInterval);
    PUBLISHED_FIELD(ui::forms::TCheckBox, VecRTE);
    PUBLISHED_FIELD(ui::forms::TCheckBox, VecARPA);
    PUBLISHED_FIELD(ui::forms::TLabel, LblVecMainDir);
    PUBLISHED_FIELD(ui::forms::TEdit, VecMainDir);
    PUBLISHED_FIELD(ui::forms::TLabel, LblVecDictDir);
    PUBLISHED_FIELD(ui::forms::TEdit, VecDictDir);
    PUBLISHED_FIELD(ui::forms::TLabel, LblVecKV71Dir);
    PUBLISHED_FIELD(ui::forms::TEdit, VecKV71Dir);
    // The raster panel.
    PUBLISHED_FIELD(ui::forms::TGroupBox, RstGrpCOM);
    PUBLISHED_FIELD(ui::forms::TCheckBox, RstCOM1);
    PUBLISHED_FIELD(ui::forms::TCheckBox, RstCOM2);
    PUBLISHED_FIELD(ui::forms::TCheckBox, RstCOM3);
    PUBLISHED_FIELD(ui::forms::TCheckBox, RstCOM4);
    PUBLISHED_FIELD(ui::forms::TCheckBox, RstCOM5);
    PUBLISHED_FIELD(ui::forms::TCheckBox, RstCOM6);
    PUBLISHED_FIELD(ui::forms::TLabel, LblGreyPorts);
    PUBLISHED_FIELD(ui::forms::TGroupBox, RstGrpNMEA);
    PUBLISHED_FIELD(ui::forms::TLabel, LblRstGPS);
    PUBLISHED_FIELD(ui::forms::TComboBox, RstGPS);
    PUBLISHED_FIELD(ui::forms::TLabel, LblRstAPB);
    PUBLISHED_FIELD(ui::forms::TSpinEdit, RstAPB);
    PUBLISHED_FIELD(ui::forms::TLabel, LblRstRMB);
    PUBLISHED_FIELD(ui::forms::TSpinEdit, RstRMB);
    PUBLISHED_FIELD(ui::forms::TLabel, LblRstRMC);
    PUBLISHED_FIELD(ui::forms::TSpinEdit, RstRMC);
    PUBLISHED_FIELD(ui::forms::TLabel, LblRstInterval);
    PUBLISHED_FIELD(ui::forms::TCheckBox, RstRTE);
    PUBLISHED_FIELD(ui::forms::TGroupBox, RstGrpMisc);
    PUBLISHED_FIELD(ui::forms::TCheckBox, RstARPA);
    PUBLISHED_FIELD(ui::forms::TLabel, LblRstMainDir);
    PUBLISHED_FIELD(ui::forms::TEdit, RstMainDir);
    PUBLISHED_FIELD(ui::forms::TLabel, LblRstMAPDir);
    PUBLISHED_FIELD(ui::forms::TEdit, RstMAPDir);
    // The General panel.
    PUBLISHED_FIELD(ui::forms::TGroupBox, GenGrpCOM);
    PUBLISHED_FIELD(ui::forms::TGroupBox, GenGrpAlarmBox);
    PUBLISHED_FIELD(ui::forms::TComboBox, CmbAlarmOn);
    PUBLISHED_FIELD(ui::forms::TGroupBox, GenGrpVessel);
    PUBLISHED_FIELD(ui::forms::TLabel, LblLength);
    PUBLISHED_FIELD(ui::forms::TSpinEdit, SpinLength);
    PUBLISHED_FIELD(ui::forms::TLabel, LblWidth);
    PUBLISHED_FIELD(ui::forms::TSpinEdit, SpinWidth);
    PUBLISHED_FIELD(ui::forms::TGroupBox, GenGrpPosOnVessel);
    PUBLISHED_FIELD(ui::forms::TImage, ImgBoat);
    PUBLISHED_FIELD(ui::forms::TImage, ImgCross);
    PUBLISHED_FIELD(ui::forms::TImage, Echo);
    PUBLISHED_FIELD(ui::forms::TLabel, LblFromStarboard);
    PUBLISHED_FIELD(ui::forms::TSpinEdit, SpinX);
    PUBLISHED_FIELD(ui::forms::TLabel, LblFromBow);
    PUBLISHED_FIELD(ui::forms::TSpinEdit, SpinY);
    PUBLISHED_FIELD(ui::forms::TLabel, LblTransducer);
    PUBLISHED_FIELD(ui::forms::TSpinEdit, EchoY);
    // The NMEA-test panel.
    PUBLISHED_FIELD(ui::forms::TGroupBox, TstGrpCOM);
    PUBLISHED_FIELD(ui::forms::TRadioButton, TstCOM1);
    PUBLISHED_FIELD(ui::forms::TRadioButton, TstCOM2);
    PUBLISHED_FIELD(ui::forms::TRadioButton, TstCOM3);
    PUBLISHED_FIELD(ui::forms::TRadioButton, TstCOM4);
    PUBLISHED_FIELD(ui::forms::TRadioButton, TstCOM5);
    PUBLISHED_FIELD(ui::forms::TRadioButton, TstCOM6);
    PUBLISHED_FIELD(ui::forms::TMemo, TstMemo);
    PUBLISHED_FIELD(ui::forms::TTimer, Timer1);
    // The context menu.
    PUBLISHED_FIELD(ui::forms::TPopupMenu, PopupMenu1);
    PUBLISHED_FIELD(ui::forms::TMenuItem, PopSetReadOnlyOff);
    PUBLISHED_FIELD(ui::forms::TMenuItem, PopClearDatabase);

    // ---- Start-up and main form
    // Refuses a second copy and a running navigation program (the message,
    // then StartRefused); hides what the program never shows.
    void FormCreate(ui::forms::TObject* sender);
    PUBLISHED_METHOD(FormCreate);
    // The settings, the installation search and load, the tabs, the port
    // probe and the setup program's shortcut; with no installation the
    // message, and the form closes.
    void FormShow(ui::forms::TObject* sender);
    PUBLISHED_METHOD(FormShow);
    // An installed vector edition of kind 1 gets its shortcut and tab back,
    // and the first tab is shown (the shown tab's edits are taken first).
    void FormActivate(ui::forms::TObject* sender);
    PUBLISHED_METHOD(FormActivate);
    // Closes a test port; saves what is pending when the configuration is
    // marked modified.
    void FormClose(ui::forms::TObject* sender, ui::forms::TCloseAction& action);
    PUBLISHED_METHOD(FormClose);
    void FormPaint(ui::forms::TObject* sender);
    PUBLISHED_METHOD(FormPaint);

    // Makes Apply pending (the change event of the editing controls).
    void ApplyOn(ui::forms::TObject* sender);
    PUBLISHED_METHOD(ApplyOn);
    // With Apply pending: SaveIniFiles; Apply goes off only when every file
    // was saved.
    void BtnApplyClick(ui::forms::TObject* sender);
    PUBLISHED_METHOD(BtnApplyClick);
    // Applies what was edited, then closes (stays open when a save failed).
    void BtnOKClick(ui::forms::TObject* sender);
    PUBLISHED_METHOD(BtnOKClick);
    // Drops what was not applied and closes.
    void BtnCancelClick(ui::forms::TObject* sender);
    PUBLISHED_METHOD(BtnCancelClick);
    // Switches between Norwegian and English; marks the configuration
    // modified, and takes the new language's help command.
    void BtnLngClick(ui::forms::TObject* sender);
    PUBLISHED_METHOD(BtnLngClick);

    // Takes the program's single-instance lock (held while the form lives);
    // false when another copy holds it.
    bool CheckSingleInstance();
    // Whether a navigation program with this main-window title runs.
    static bool IsNavigatorRunning(const std::string& title);
    // The shown tab's controls into the records, then each record loaded this
    // run into its file (never two records into one file). A failure is
    // reported; false when any file was not saved.
    bool SaveIniFiles();
    // Every caption and hint in the current language, the tab captions too.
    void CaptionsFromLanguage();

    // ---- Tabs and their handlers
    // Rebuilds the tabs from the tab flags (the shown tab's edits are taken
    // first) and fills the first.
    void CreateTabs();
    // The kind of the tab shown, by its caption; NMEA test when none matches.
    TTabKind CurrentTabKind() const;
    // The tab shown's names: (Norwegian, English).
    std::pair<std::string, std::string> CurrentTabPair() const;
    // The tab's caption in a language.
    static std::string TabCaption(TTabKind kind, int language);
    void TabControl1Changing(ui::forms::TObject* sender, bool& allowChange);
    PUBLISHED_METHOD(TabControl1Changing);
    void TabControl1Change(ui::forms::TObject* sender);
    PUBLISHED_METHOD(TabControl1Change);
    // The shown tab's edited controls into its record.
    void UpdateRec();

    void BtnVektorCreateClick(ui::forms::TObject* sender);
    PUBLISHED_METHOD(BtnVektorCreateClick);
    void BtnBathymetricCreateClick(ui::forms::TObject* sender);
    PUBLISHED_METHOD(BtnBathymetricCreateClick);
    void BtnELVOCreateClick(ui::forms::TObject* sender);
    PUBLISHED_METHOD(BtnELVOCreateClick);
    void BtnRasterCreateClick(ui::forms::TObject* sender);
    PUBLISHED_METHOD(BtnRasterCreateClick);
    void BtnCopyCD1Click(ui::forms::TObject* sender);
    PUBLISHED_METHOD(BtnCopyCD1Click);
    void BtnCopyCD2Click(ui::forms::TObject* sender);
    PUBLISHED_METHOD(BtnCopyCD2Click);
    void BtnCopyBthCDClick(ui::forms::TObject* sender);
    PUBLISHED_METHOD(BtnCopyBthCDClick);
    void BtnCopyELVOCDClick(ui::forms::TObject* sender);
    PUBLISHED_METHOD(BtnCopyELVOCDClick);
    void VecBtnClearClick(ui::forms::TObject* sender);
    PUBLISHED_METHOD(VecBtnClearClick);
    void PopClearDatabaseClick(ui::forms::TObject* sender);
    PUBLISHED_METHOD(PopClearDatabaseClick);
    void PopSetReadOnlyOffClick(ui::forms::TObject* sender);
    PUBLISHED_METHOD(PopSetReadOnlyOffClick);
    void VecDptChange(ui::forms::TObject* sender);
    PUBLISHED_METHOD(VecDptChange);
    void CmbAlarmOnChange(ui::forms::TObject* sender);
    PUBLISHED_METHOD(CmbAlarmOnChange);

    // ---- The port test
    void TstCOM1Click(ui::forms::TObject*) { TstCOMClick(1); }
    PUBLISHED_METHOD(TstCOM1Click);
    void TstCOM2Click(ui::forms::TObject*) { TstCOMClick(2); }
    PUBLISHED_METHOD(TstCOM2Click);
    void TstCOM3Click(ui::forms::TObject*) { TstCOMClick(3); }
    PUBLISHED_METHOD(TstCOM3Click);
    void TstCOM4Click(ui::forms::TObject*) { TstCOMClick(4); }
    PUBLISHED_METHOD(TstCOM4Click);
    void TstCOM5Click(ui::forms::TObject*) { TstCOMClick(5); }
    PUBLISHED_METHOD(TstCOM5Click);
    void TstCOM6Click(ui::forms::TObject*) { TstCOMClick(6); }
    PUBLISHED_METHOD(TstCOM6Click);
    // The change of every port combo box (made at run time).
    void CmbChange(ui::forms::TObject* sender);
    void Timer1Timer(ui::forms::TObject* sender);
    PUBLISHED_METHOD(Timer1Timer);

    // ---- The vessel
    void SpinLengthChange(ui::forms::TObject* sender);
    PUBLISHED_METHOD(SpinLengthChange);
    void SpinWidthChange(ui::forms::TObject* sender);
    PUBLISHED_METHOD(SpinWidthChange);
    void SpinXChange(ui::forms::TObject* sender);
    PUBLISHED_METHOD(SpinXChange);
    void SpinYChange(ui::forms::TObject* sender);
    PUBLISHED_METHOD(SpinYChange);
    void EchoYChange(ui::forms::TObject* sender);
    PUBLISHED_METHOD(EchoYChange);
    void ImgBoatMouseDown(ui::forms::TObject* sender, ui::forms::TMouseButton button,
                          ui::forms::TShiftState shift, int x, int y);
    PUBLISHED_METHOD(ImgBoatMouseDown);
    void ImgBoatMouseMove(ui::forms::TObject* sender, ui::forms::TShiftState shift, int x, int y);
    PUBLISHED_METHOD(ImgBoatMouseMove);
    void ImgCrossMouseDown(ui::forms::TObject* sender, ui::forms::TMouseButton button,
                           ui::forms::TShiftState shift, int x, int y);
    PUBLISHED_METHOD(ImgCrossMouseDown);
    void ImgCrossMouseMove(ui::forms::TObject* sender, ui::forms::TShiftState shift, int x, int y);
    PUBLISHED_METHOD(ImgCrossMouseMove);
    void EchoMouseDown(ui::forms::TObject* sender, ui::forms::TMouseButton button,
                       ui::forms::TShiftState shift, int x, int y);
    PUBLISHED_METHOD(EchoMouseDown);
    void EchoMouseMove(ui::forms::TObject* sender, ui::forms::TShiftState shift, int x, int y);
    PUBLISHED_METHOD(EchoMouseMove);

    // ---- State
    TSetupData& Data() { return data_; }
    const TInstallButtons& Buttons() const { return buttons_; }
    TPortTest& PortTest() { return portTest_; }
    bool ApplyPending() const;
    // Creation refused to start (another copy, or a navigation program runs).
    bool StartRefused() const { return startRefused_; }
    // The run-time port combo box of port n (1..6): "CmbBaud", "CmbParity",
    // "CmbData" or "CmbStop"; null while the rows are not built.
    ui::forms::TComboBox* PortCombo(const char* kind, int n) const;

    // The chart-copy form: (kind, language, destination, protected folders)
    // gives the chart directory after a completed copy, else "". By default
    // the application's TFoDirCopy.
    std::function<std::string(char, int, const std::string&, const TProtectedDirs&)> CopyCharts;
    // The warning form of the user-database reset: (language, vector
    // directory, tab name). By default the application's TFoWarning.
    std::function<void(int, const std::string&, const std::string&)> ClearDatabase;

  private:
    // What a tab's fill put into its controls.
    struct TShown {
        bool Filled = false;
        TTabKind Kind = TTabKind::NmeaTest;
        std::array<bool, 6> Com{};
        std::string Gps;
        int Apb = 0, Rmb = 0, Rmc = 0, SectOff = 0;
        bool Rte = false, Arpa = false;
        std::string ChartDir; // KV71ROOT or MAPROOT
        bool Ports = false;   // the port rows were built
        std::array<std::array<std::string, 4>, 6> PortTexts{};
        bool Vessel = false;
        TVesselFields VesselFields;
    };

    // TPortTestView
    void SetTimer1(bool on) override;
    void ShowTestText(const TTestText& text) override;

    void SetApply(bool pending);
    void ShowMessageText(const std::string& text);
    std::string Text(int pair) const;
    TVektorRec* ShownVektorRec();
    std::array<ui::forms::TCheckBox*, 6> VecCOM() const;
    std::array<ui::forms::TCheckBox*, 6> RstCOM() const;
    std::array<ui::forms::TRadioButton*, 6> TstCOM() const;

    // The probe of the six ports; enables the port boxes by what opened and
    // fills the alarm-port list.
    void ProbePorts();
    // The tab list from the tab flags, without a fill.
    void BuildTabs();
    // Each shortcut button with the search's state of it.
    std::array<std::pair<ui::forms::TBitBtn*, const TButtonState*>, 4> ShortcutButtons() const;
    // An edition's port boxes: enabled when usable, checked as the record says.
    void FillPortBoxes(const std::array<ui::forms::TCheckBox*, 6>& boxes,
                       const std::array<bool, 6>& enabled);
    void FillVektor(TTabKind kind);
    void FillRaster();
    void FillGenerelt();
    void BuildPortControls(ui::forms::TGroupBox* group, int left);
    void FreePortControls();
    void TakePorts();
    void TstCOMClick(int n);
    // The edition's shortcut: made when missing; its tab and icon flags on
    // when it is there. The tabs are rebuilt.
    void CreateShortcut(TEdition edition, const char* link, const std::string& target);
    void SetupShortcut();
    void CopyChartsOf(TEdition edition, char kind);
    void SetFlag(std::uint8_t& flag, std::uint8_t value);
    void SetFlag(bool& flag, bool value);

    TVesselFields VesselFromControls() const;
    void SetVesselControls(const TVesselFields& f);
    void VesselChanged(ui::forms::TSpinEdit* field, TVesselField which);
    void PlaceMarks();
    void PickAntenna(int x, int y);
    void PickSounder(int y);

    TSetupData data_;
    TInstallButtons buttons_;
    TPortTest portTest_;
    os::SingleInstanceLock instanceLock_;
    bool startRefused_ = false;
    bool copiedCd1_ = false;
    bool filling_ = false;
    TShown shown_;
    std::vector<ui::forms::TComponent*> portControls_;
    int labelCount_ = 0;
};
