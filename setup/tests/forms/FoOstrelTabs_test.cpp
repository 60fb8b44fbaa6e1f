// The main form's tabs: their order, what a round of tabs keeps, the port
// rows, the alarm port, the port test, the tabs' buttons and context menu,
// and the boat picture.
#include "OstrelMachine.h"

#include "dbreset/UserDatabaseReset.h"
#include "forms/OstrelPictures.h"

#include <QComboBox>
#include <QLineEdit>
#include <QMouseEvent>

#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace ui::forms;

constexpr const char* kSolvnv = "c/RUNTIME/SOLVNV.INI";
constexpr const char* kOstrel = "c/work/Ostrel.INI";

class FoOstrelTabs : public setuptest::OstrelMachine {
  protected:
    // The other three editions installed, each with its shortcut on the desktop.
    void installAll() {
        for (const std::string name : {"RUNBATH", "RUNELVO"}) {
            const std::string ini = "c/" + name + "/SOLVNV.INI";
            copyTo(sample("SOLVNV.INI"), ini);
            edit(ini, "C:\\RUNTIME\\KV71ATTR", "C:\\" + name + "\\KV71ATTR");
            edit(ini, "C:\\RUNTIME\\TIDES", "C:\\" + name + "\\TIDES");
            touch("c/" + name + "/solvnv.exe");
        }
        copyTo(sample("SOLVNR.INI"), "c/SOLVNR/SOLVNR.INI");
        touch("c/SOLVNR/solvnr.exe");
        touch("c/SOLVNR/map.dat");
        desktopEntry("Solvanor V Bathymetric", tmp / "c/RUNBATH/solvnv.exe");
        desktopEntry("Solvanor V ELVO", tmp / "c/RUNELVO/solvnv.exe");
        desktopEntry("Solvanor R", tmp / "c/SOLVNR/solvnr.exe");
    }
};

TEST_F(FoOstrelTabs, TabsFollowTheFlags) {
    struct Case {
        const char* name;
        std::vector<std::string> removedShortcuts;
        const char* tabs;
        bool lite = false;
    } cases[] = {
        {"every edition",
         {},
         "Vektor instillinger\nBathymetric instillinger\nELVO instillinger\n"
         "Raster instillinger\nGenerelle instillinger\nNMEA-Test\n"},
        {"no vector shortcut",
         {"Solvanor V"},
         "Bathymetric instillinger\nELVO instillinger\nRaster instillinger\n"
         "Generelle instillinger\nNMEA-Test\n"},
        {"none",
         {"Solvanor V", "Solvanor V Bathymetric", "Solvanor V ELVO", "Solvanor R"},
         "Generelle instillinger\nNMEA-Test\n"},
        // Lite mode: no General tab; the first show makes the R Lite shortcut.
        {"lite", {"Solvanor R"}, "Raster instillinger\nNMEA-Test\n", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fresh();
        installAll();
        if (c.lite) {
            edit(kOstrel, "LANGUAGE=1", "LANGUAGE=1\r\nLITE=1");
            touch("c/SOLVNR/solvnrl.exe");
        }
        for (const std::string& name : c.removedShortcuts)
            std::filesystem::remove(tmp / ("c/Desktop/" + name + ".desktop"));
        TFoOstrel& f = make();
        f.OnActivate = {}; // activation would bring the vector tab back
        show();
        EXPECT_EQ(tabs(), c.tabs);
        EXPECT_EQ(f.TabControl1->GetTabIndex(), 0);
        EXPECT_EQ(exists("c/Desktop/Solvanor R Lite.desktop"), c.lite);
    }
}

TEST_F(FoOstrelTabs, ADepthUnitChosenOnTheBathymetricTabIsItsOwn) {
    installAll();
    std::filesystem::remove(tmp / "c/Desktop/Solvanor V.desktop");
    TFoOstrel& f = make();
    f.OnActivate = {};
    show();
    ASSERT_EQ(f.CurrentTabKind(), TTabKind::Bathymetric);
    EXPECT_EQ(f.CurrentTabPair(),
              std::make_pair(std::string("Bathymetric"), std::string("Bathymetric")));
    f.VecDpt->SetItemIndex(2);
    f.VecDptChange(f.VecDpt);
    EXPECT_EQ(f.Data().Vektor[kBathymetric].DepthUnit, "FATHOM");
    EXPECT_EQ(f.Data().Vektor[kBathymetric].DepthIndex, 2);
    EXPECT_EQ(f.Data().Vektor[kVector].DepthUnit, "METER");
    EXPECT_TRUE(f.ApplyPending());
    f.BtnApplyClick(f.BtnApply);
    EXPECT_EQ(navigatorReads("c/RUNBATH/SOLVNV.INI", "KV71LIB", "DepthUnit"), "FATHOM");
    EXPECT_EQ(navigatorReads(kSolvnv, "KV71LIB", "DepthUnit"), "METER");
}

TEST_F(FoOstrelTabs, ARoundOfTabsChangesNoRecordAndNotApply) {
    installAll();
    TFoOstrel& f = show();
    const std::string records = setuptest::Records(f);
    for (const bool pending : {false, true}) {
        SCOPED_TRACE(pending ? "Apply pending" : "Apply off");
        if (pending) f.ApplyOn(nullptr);
        for (int i = 1; i <= f.TabControl1->GetTabs().GetCount(); ++i) {
            choose(i % f.TabControl1->GetTabs().GetCount());
            EXPECT_EQ(f.ApplyPending(), pending);
        }
        EXPECT_EQ(setuptest::Records(f), records);
    }
}

TEST_F(FoOstrelTabs, ValuesTheControlsCannotShowSurviveARoundAndASave) {
    // Out of the controls' ranges, a port enabled that does not open here,
    // and a hidden group's values: saved as they were loaded.
    edit(kSolvnv, "NmeaOutAPB=0", "NmeaOutAPB=120");
    edit(kSolvnv, "Stern=12", "Stern=2000");
    edit(kSolvnv, ";Comport3=", "Comport3=");
    edit(kSolvnv, "GpsNmeaId=0", "GpsNmeaId=7");
    const std::string loaded = bytes(kSolvnv);
    TFoOstrel& f = show();
    EXPECT_EQ(f.VecAPB->GetValue(), 60);
    EXPECT_FALSE(f.VecCOM3->GetEnabled());
    EXPECT_FALSE(f.VecCOM3->GetChecked());
    for (int i : {1, 2, 0})
        choose(i);
    EXPECT_EQ(f.SpinLength->GetValue(), 1000);
    f.VecSectOff->SetText("15");
    f.BtnApplyClick(f.BtnApply);
    std::string expected = loaded;
    expected.replace(expected.find("CrsMinutes=10"), 13, "CrsMinutes=15");
    EXPECT_EQ(bytes(kSolvnv), expected);
}

TEST_F(FoOstrelTabs, TypedPortSettingsAreTakenWhenTheyAreNumbers) {
    ostest::PseudoTerminal pty;
    attach(1, pty);
    TFoOstrel& f = show();
    choose(TTabKind::General);
    ASSERT_TRUE(f.PortCombo("CmbBaud", 1)->GetEnabled());
    EXPECT_FALSE(f.PortCombo("CmbBaud", 2)->GetEnabled());
    struct Typed {
        const char* combo;
        int n;
        const char* text;
    } typed[] = {
        {"CmbBaud", 1, "19200"}, {"CmbData", 1, "abc"}, {"CmbStop", 1, ""}, {"CmbParity", 1, "e"}};
    for (const Typed& t : typed) {
        QLineEdit* line =
            static_cast<QComboBox*>(f.PortCombo(t.combo, t.n)->GetHandle())->lineEdit();
        ASSERT_NE(line, nullptr);
        line->selectAll();
        QTest::keyClick(line, Qt::Key_Delete);
        QTest::keyClicks(line, t.text);
    }
    EXPECT_TRUE(f.ApplyPending());
    choose(TTabKind::Vector);
    const TComPorts& ports = f.Data().Generelt.Ports;
    EXPECT_EQ(FormatComSettings(ports, 1), "COM1:19200,E,8,1");
    EXPECT_EQ(FormatComSettings(ports, 2), "COM2:4800,N,8,1");
    f.BtnApplyClick(f.BtnApply);
    EXPECT_EQ(navigatorReads(kSolvnv, "KV71LIB", "Comport1"), "COM1:19200,E,8,1");
}

TEST_F(FoOstrelTabs, AnAlarmPortIsTakenFromEveryEdition) {
    installAll();
    ostest::PseudoTerminal one, two;
    attach(1, one);
    attach(2, two);
    for (const char* file : {kSolvnv, "c/SOLVNR/SOLVNR.INI"})
        edit(file, ";Comport2=", "Comport2=");
    TFoOstrel& f = show();
    EXPECT_TRUE(f.VecCOM2->GetChecked());
    choose(TTabKind::General);
    EXPECT_EQ(f.CmbAlarmOn->GetItems().GetCount(), 3); // NONE, COM1, COM2
    f.CmbAlarmOn->SetText("COM2");
    EXPECT_EQ(f.Data().Generelt.AlarmOn, "COM2");
    for (const TVektorRec& rec : f.Data().Vektor)
        EXPECT_FALSE(rec.ComEnabled[1]);
    EXPECT_FALSE(f.Data().Raster.ComEnabled[1]);
    EXPECT_TRUE(f.Data().Raster.ComEnabled[0]);
    EXPECT_FALSE(f.Data().Generelt.Ports[1].Usable);
    EXPECT_TRUE(f.Data().Generelt.Ports[0].Usable);
    EXPECT_FALSE(f.PortCombo("CmbBaud", 2)->GetEnabled());
    EXPECT_EQ(f.CmbAlarmOn->GetText(), "COM2");
    EXPECT_TRUE(f.ApplyPending());
    choose(TTabKind::Vector);
    EXPECT_FALSE(f.VecCOM2->GetEnabled());
    EXPECT_FALSE(f.VecCOM2->GetChecked());
    EXPECT_TRUE(f.VecCOM1->GetChecked());
    choose(TTabKind::Raster);
    EXPECT_FALSE(f.RstCOM2->GetEnabled());
    f.BtnApplyClick(f.BtnApply);
    EXPECT_EQ(navigatorReads(kSolvnv, "KV71LIB", "AlarmOn"), "COM2");
    EXPECT_EQ(navigatorReads(kSolvnv, "KV71LIB", "Comport2"), "<none>"); // commented out
}

TEST_F(FoOstrelTabs, LeavingTheTestTabClosesTheTestPort) {
    ostest::PseudoTerminal pty;
    attach(1, pty);
    TFoOstrel& f = show();
    choose(TTabKind::NmeaTest);
    EXPECT_TRUE(f.TstCOM1->GetEnabled());
    EXPECT_FALSE(f.TstCOM2->GetEnabled());
    f.TstCOM1->SetChecked(true);
    ASSERT_TRUE(f.PortTest().IsOpen());
    EXPECT_TRUE(f.Timer1->GetEnabled());
    pty.send("$GPGGA,1*00\r\n");
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    f.Timer1Timer(f.Timer1);
    EXPECT_EQ(f.TstMemo->GetLines().GetString(0), "$GPGGA,1*00");
    choose(TTabKind::Vector);
    EXPECT_FALSE(f.PortTest().IsOpen());
    EXPECT_FALSE(f.Timer1->GetEnabled());
    EXPECT_TRUE(f.VecCOM1->GetChecked()); // the record's value again
    EXPECT_FALSE(f.ApplyPending());
    // The port's button can open it again.
    choose(TTabKind::NmeaTest);
    EXPECT_FALSE(f.TstCOM1->GetChecked());
    f.TstCOM1->SetChecked(true);
    EXPECT_TRUE(f.PortTest().IsOpen());
}

TEST_F(FoOstrelTabs, TheFirstCdButtonCopiesTheFirstCdOnlyOnce) {
    TFoOstrel& f = show();
    std::vector<char> kinds;
    std::vector<std::string> destinations;
    TProtectedDirs seen;
    f.CopyCharts = [&](char kind, int language, const std::string& destination,
                       const TProtectedDirs& protectedDirs) {
        EXPECT_EQ(language, 1);
        kinds.push_back(kind);
        destinations.push_back(destination);
        seen = protectedDirs;
        return kinds.size() == 1 ? std::string() : std::string("D:\\CHARTS");
    };
    f.BtnCopyCD1Click(f.BtnCopyCD1);
    EXPECT_FALSE(f.ApplyPending());
    f.BtnCopyCD1Click(f.BtnCopyCD1);
    EXPECT_EQ(kinds, (std::vector<char>{'1', '2'}));
    EXPECT_EQ(destinations, (std::vector<std::string>{"C:\\KV71", "C:\\KV71"}));
    EXPECT_EQ(seen.Installations, std::vector<std::string>{"C:\\RUNTIME\\"});
    const TVektorRec& v = f.Data().Vektor[kVector];
    EXPECT_EQ(v.KV71Root, "D:\\CHARTS");
    EXPECT_EQ(v.KV71Cat, "D:\\CHARTS");
    EXPECT_EQ(v.KV71ChrList, "D:\\CHARTS");
    EXPECT_EQ(f.VecKV71Dir->GetText(), "D:\\CHARTS");
    EXPECT_TRUE(f.ApplyPending());
    f.BtnCopyCD2Click(f.BtnCopyCD2);
    EXPECT_EQ(kinds.back(), '2');
    EXPECT_EQ(destinations.back(), "D:\\CHARTS");
}

TEST_F(FoOstrelTabs, TheClearButtonNeedsAllSixBackups) {
    std::vector<std::string> asked;
    for (const std::size_t backups : {std::size_t(0), std::size_t(5), std::size_t(6)}) {
        SCOPED_TRACE(backups);
        fresh();
        for (std::size_t i = 0; i < backups; ++i)
            touch(std::string("c/RUNTIME/backup/") + kUserDatabaseFiles[i]);
        TFoOstrel& f = show();
        EXPECT_EQ(f.VecBtnClear->GetVisible(), backups == 6);
        f.ClearDatabase = [&](int language, const std::string& dir, const std::string& name) {
            asked.push_back(std::to_string(language) + " " + dir + " " + name);
        };
        if (backups == 6) {
            f.VecBtnClearClick(f.VecBtnClear);
            f.BtnLngClick(f.BtnLng);
            f.VecBtnClearClick(f.VecBtnClear);
        }
    }
    EXPECT_EQ(asked,
              (std::vector<std::string>{"1 C:\\RUNTIME\\ Vektor", "2 C:\\RUNTIME\\ Vector"}));
}

TEST_F(FoOstrelTabs, WriteProtectionIsRemovedOnlyWhereItMay) {
    struct Case {
        const char* name;
        std::string root; // the chart root typed on the vector tab
        const char* tree; // below the base
        const char* message;
    } cases[] = {
        {"the chart root on the disk", "C:\\KV71", "c/KV71", nullptr},
        {"a CD-ROM", "F:\\KV71", "f/KV71", "Kan ikke sl\xE5 av skrivebeskyttelse p\xE5 en CD-ROM."},
        {"the home folder", "", "home", "Kan ikke sl\xE5 av skrivebeskyttelse p\xE5 "},
        {"a drive's root", "D:\\", "d", "Kan ikke sl\xE5 av skrivebeskyttelse p\xE5 D:\\"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fresh();
        touch(std::string(c.tree) + "/L1/cell.dat", "cell");
        ::chmod((tmp / (std::string(c.tree) + "/L1/cell.dat")).c_str(), 0444);
        const std::string root = c.root.empty() ? tmp / "home" : c.root;
        TFoOstrel& f = show();
        f.VecKV71Dir->SetText(root);
        uitest::TModalScript script;
        script.Box(mrCancel); // asked first: Cancel does nothing
        f.PopSetReadOnlyOffClick(f.PopSetReadOnlyOff);
        EXPECT_EQ(mode(std::string(c.tree) + "/L1/cell.dat"), 0444u);
        script.Box(mrOk);
        if (c.message) script.Box(mrOk);
        f.PopSetReadOnlyOffClick(f.PopSetReadOnlyOff);
        EXPECT_EQ(mode(std::string(c.tree) + "/L1/cell.dat"), c.message ? 0444u : 0644u);
        ASSERT_EQ(script.Modals().size(), c.message ? 3u : 2u);
        EXPECT_EQ(script.Modals()[1].kind, ui::TModalTask::Kind::Box);
        if (c.message) {
            std::string expected = c.message;
            if (c.root.empty()) expected += root;
            EXPECT_EQ(script.Modals()[2].text, os::cp1252ToUtf8(expected));
        }
    }
}

// ---- The boat picture

TEST_F(FoOstrelTabs, AClickOnTheBoatSetsTheAntennaPosition) {
    TFoOstrel& f = show();
    choose(TTabKind::General);
    EXPECT_EQ(f.SpinLength->GetValue(), 20);
    EXPECT_EQ(f.SpinWidth->GetValue(), 6);
    // The cross stands on the antenna: 2 m from starboard, 8 m from the bow.
    EXPECT_EQ(f.ImgCross->GetLeft() + kCrossSize / 2 - f.ImgBoat->GetLeft(), 39);
    EXPECT_EQ(f.ImgCross->GetTop() + kCrossSize / 2 - f.ImgBoat->GetTop(), 57);
    EXPECT_FALSE(f.ApplyPending());
    QWidget* boat = f.ImgBoat->GetHandle();
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(29, 71), boat->mapToGlobal(QPointF(29, 71)),
                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(boat, &press);
    EXPECT_EQ(f.SpinX->GetValue(), 3);
    EXPECT_EQ(f.SpinY->GetValue(), 10);
    EXPECT_EQ(f.SpinLength->GetValue(), 20);
    EXPECT_TRUE(f.BtnOK->Focused());
    EXPECT_TRUE(f.ApplyPending());
    EXPECT_EQ(f.ImgCross->GetLeft() + kCrossSize / 2 - f.ImgBoat->GetLeft(), 29);
    EXPECT_EQ(f.ImgCross->GetTop() + kCrossSize / 2 - f.ImgBoat->GetTop(), 71);
    choose(TTabKind::Vector);
    const TGenereltRec& g = f.Data().Generelt;
    EXPECT_EQ(g.Starboard, 3);
    EXPECT_EQ(g.Port, 3);
    EXPECT_EQ(g.Stem, 10);
    EXPECT_EQ(g.Stern, 10);
    EXPECT_EQ(g.Sounder, 5); // untouched
}

} // namespace
