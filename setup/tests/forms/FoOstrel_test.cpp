// The main form's start, saves, language switch, shortcuts and activation,
// through the headless runner on a prepared installation.
#include "OstrelMachine.h"

#include "text/LanguageTexts.h"

#include "os/instanceLocks.h"

#include <QDir>
#include <QPixmap>

#include <cerrno>
#include <functional>
#include <string>
#include <vector>

namespace {

using namespace ui::forms;
using setuptest::FileState;

constexpr const char* kSolvnv = "c/RUNTIME/SOLVNV.INI";
constexpr const char* kOstrel = "c/work/Ostrel.INI";

class FoOstrel : public setuptest::OstrelMachine {};

// ---- Saves

TEST_F(FoOstrel, WhatIsSavedByApplyOkCancelAndTheLanguage) {
    enum End { Ok, Cancel };
    struct Case {
        const char* name;
        bool repair;   // a load repair marks the configuration modified
        bool edit;     // the course-vector minutes become 15
        bool apply;    // Apply is pressed
        bool language; // the language is switched
        End end;
        bool navigationSaved, setupSaved;
    } cases[] = {
        // The edit is saved: pressing OK without Apply used to drop it.
        {"edit, OK", false, true, false, false, Ok, true, false},
        {"edit, OK after a repair", true, true, false, false, Ok, true, true},
        {"Cancel after a repair", true, false, false, false, Cancel, false, true},
        {"language, Cancel", false, false, false, true, Cancel, false, true},
        {"language, OK", false, false, false, true, Ok, false, true},
        {"edit, Cancel", false, true, false, false, Cancel, false, false},
        {"edit, Cancel after a repair", true, true, false, false, Cancel, false, true},
        {"edit, Apply, Cancel", false, true, true, false, Cancel, true, false},
        {"edit, Apply, OK after a repair", true, true, true, false, Ok, true, true},
        {"nothing, OK", false, false, false, false, Ok, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fresh();
        if (c.repair) edit(kSolvnv, "AlarmOn=NONE\r\n", "");
        const FileState navigation = state(kSolvnv), setup = state(kOstrel);
        TFoOstrel& f = show();
        EXPECT_EQ(f.Data().Modified, c.repair);
        EXPECT_FALSE(f.ApplyPending());
        if (c.edit) {
            f.VecSectOff->SetText("15");
            EXPECT_TRUE(f.ApplyPending());
        }
        if (c.apply) {
            f.BtnApplyClick(f.BtnApply);
            EXPECT_FALSE(f.ApplyPending());
        }
        if (c.language) f.BtnLngClick(f.BtnLng);
        if (c.end == Ok)
            f.BtnOKClick(f.BtnOK);
        else
            f.BtnCancelClick(f.BtnCancel);
        EXPECT_FALSE(f.GetVisible());
        EXPECT_EQ(state(kSolvnv) != navigation, c.navigationSaved);
        EXPECT_EQ(state(kOstrel) != setup, c.setupSaved);
        if (c.navigationSaved) {
            EXPECT_EQ(navigatorReads(kSolvnv, "KV71LIB", "CrsMinutes"), "15");
            EXPECT_EQ(navigatorReads(kSolvnv, "KV71LIB", "AlarmOn"), "NONE");
        }
        if (c.language) {
            EXPECT_EQ(navigatorReads(kOstrel, "CONFIG", "LANGUAGE"), "2");
        }
    }
}

TEST_F(FoOstrel, ARecordIsSavedOnlyWhenLoadedAndOnlyOncePerFile) {
    struct Case {
        const char* name;
        std::function<void()> prepare;
    } cases[] = {
        // The bathymetric directory is the vector one, so its record is never
        // loaded: saving it blanked the vector file's chart root.
        {"bathymetric in the vector directory, not loaded",
         [this] { edit(kOstrel, "BATHDB=C:\\RUNBATH\\", "BATHDB=C:\\RUNTIME\\"); }},
        // ELVO loads the same file: the vector record, saved first, stands.
        {"ELVO in the vector directory, loaded",
         [this] {
             edit(kOstrel, "ELVODB=C:\\RUNELVO\\", "ELVODB=C:\\RUNTIME");
             touch("c/RUNTIME/solvnv.exe");
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fresh();
        c.prepare();
        TFoOstrel& f = show();
        f.VecSectOff->SetText("15");
        f.BtnApplyClick(f.BtnApply);
        EXPECT_FALSE(f.ApplyPending());
        EXPECT_EQ(navigatorReads(kSolvnv, "DIRECTORY", "KV71ROOT"), "C:\\KV71");
        EXPECT_EQ(navigatorReads(kSolvnv, "KV71LIB", "CrsMinutes"), "15");
    }
}

TEST_F(FoOstrel, AFailedSaveIsReportedAndApplyStaysPending) {
    TFoOstrel& f = show();
    const FileState before = state(kSolvnv);
    f.VecSectOff->SetText("15");
    os::fileCalls().rename = [](const char*, const char*) {
        errno = ENOSPC;
        return -1;
    };
    uitest::TModalScript script;
    script.Box(mrOk).Box(mrOk);
    f.BtnApplyClick(f.BtnApply);
    EXPECT_TRUE(f.ApplyPending());
    // OK does not close over a save that failed.
    f.BtnOKClick(f.BtnOK);
    EXPECT_TRUE(f.GetVisible());
    ASSERT_EQ(script.Modals().size(), 2u);
    EXPECT_EQ(script.Modals()[0].text,
              "Kunne ikke lagre C:\\RUNTIME\\SOLVNV.INI (No space left on device)");
    EXPECT_EQ(state(kSolvnv), before);
    os::resetFileCalls();
    f.BtnOKClick(f.BtnOK);
    EXPECT_FALSE(f.GetVisible());
    EXPECT_EQ(navigatorReads(kSolvnv, "KV71LIB", "CrsMinutes"), "15");
}

// ---- Start

TEST_F(FoOstrel, StartRefusalsTouchNothing) {
    constexpr const char* kNoInstallation =
        "No Solvanor installations found!\rPossible corrupt installation files/diskettes!!";
    enum Held { NoLock, Instance, Navigator };
    struct Case {
        const char* name;
        Held held;
        std::vector<std::string> removed; // below the base
        const char* message;
        bool created; // the refusal comes at the first show
    } cases[] = {
        {"another copy runs", Instance, {}, "Only one instance of Ostrel allowed!", false},
        {"a navigation program runs",
         Navigator,
         {},
         "Stop Solvanor program and restart Ostrel!",
         false},
        {"no installation",
         NoLock,
         {"c/RUNTIME", "c/Desktop/Solvanor V.desktop"},
         kNoInstallation,
         true},
        {"no installation and no Ostrel.INI",
         NoLock,
         {"c/RUNTIME", "c/Desktop/Solvanor V.desktop", kOstrel},
         kNoInstallation,
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fresh();
        for (const std::string& path : c.removed)
            std::filesystem::remove_all(tmp / path);
        os::SingleInstanceLock other;
        os::PresenceLock navigator;
        if (c.held == Instance) {
            ASSERT_EQ(other.acquire(os::programPath()), os::LockResult::Acquired);
        }
        if (c.held == Navigator) {
            ASSERT_EQ(navigator.acquire("Solvanor V lite"), os::LockResult::Acquired);
        }
        const auto before = snapshot();
        {
            uitest::TModalScript script;
            script.Box(mrOk);
            Application().SetTitle("Solvanor setup");
            TFoOstrel& f = make();
            EXPECT_EQ(f.StartRefused(), !c.created);
            EXPECT_EQ(Application().GetTitle(),
                      c.created ? "Solvanor Setup ver. 2.18.4" : "Solvanor setup");
            if (c.created) {
                f.Show();
                settle();
                EXPECT_FALSE(f.GetVisible());
            }
            ASSERT_EQ(script.Modals().size(), 1u);
            EXPECT_EQ(script.Modals()[0].text, os::cp1252ToUtf8(c.message));
            form.reset();
        }
        EXPECT_EQ(snapshot(), before);
    }
}

// ---- Language

// Every caption and hint of the form's controls and menu items, and the tabs.
std::string Texts(TFoOstrel& f) {
    std::string all;
    std::function<void(TControl*)> walk = [&](TControl* c) {
        std::string caption;
        if (auto* b = dynamic_cast<TButton*>(c)) caption = b->GetCaption();
        if (auto* b = dynamic_cast<TCheckBox*>(c)) caption = b->GetCaption();
        if (auto* b = dynamic_cast<TRadioButton*>(c)) caption = b->GetCaption();
        if (auto* l = dynamic_cast<TLabel*>(c)) caption = l->GetCaption();
        if (auto* g = dynamic_cast<TGroupBox*>(c)) caption = g->GetCaption();
        if (auto* p = dynamic_cast<TPanel*>(c)) caption = p->GetCaption();
        all += c->GetName() + "=" + caption + "|" + c->GetHint() + "\n";
        for (TControl* child : c->Controls())
            walk(child);
    };
    walk(&f);
    for (TMenuItem* item : {f.PopSetReadOnlyOff, f.PopClearDatabase})
        all += item->GetName() + "=" + item->GetCaption() + "\n";
    for (int i = 0; i < f.TabControl1->GetTabs().GetCount(); ++i)
        all += "tab=" + f.TabControl1->GetTabs().GetString(i) + "\n";
    return all;
}

TEST_F(FoOstrel, TheLanguageSwitchRewritesEveryTextAndTheHelpCommand) {
    registry.set(os::RegistryRoot::LocalMachine, "SOFTWARE\\Classes\\.PDF", "", "pdffile");
    registry.set(os::RegistryRoot::LocalMachine, "SOFTWARE\\Classes\\pdffile\\shell\\open\\command",
                 "", "\"C:\\Viewer\\view.exe\" \"%1\"");
    touch("c/RUNTIME/DOKUVNO.PDF");
    touch("c/RUNTIME/DOKUVUK.PDF");
    TFoOstrel& f = show();
    EXPECT_EQ(f.Data().Vektor[kVector].Help, "C:\\Viewer\\view.exe \"DOKUVNO.PDF\"");
    choose(1); // General: its port rows are there too
    const std::string norwegian = Texts(f);
    EXPECT_EQ(tabs(), "Vektor instillinger\nGenerelle instillinger\nNMEA-Test\n");
    EXPECT_EQ(f.BtnLng->GetCaption(), "UK");

    f.BtnLngClick(f.BtnLng);
    const std::string english = Texts(f);
    EXPECT_EQ(tabs(), "Vector settings\nGeneral settings\nNMEA Test\n");
    EXPECT_EQ(f.CurrentTabKind(), TTabKind::General);
    EXPECT_EQ(f.BtnLng->GetCaption(), "Norsk");
    EXPECT_EQ(f.BtnApply->GetCaption(), "&Apply");
    EXPECT_EQ(f.BtnCopyCD2->GetHint(), "Zone 3-9,8");
    EXPECT_EQ(f.LblVecKV71Dir->GetCaption(), "Map directory:");
    EXPECT_EQ(f.LblGreyPorts->GetCaption(), "Grayed ports\rare not avaible\rto Setup.");
    EXPECT_EQ(f.PopSetReadOnlyOff->GetCaption(), "Turn off write&protection on the chartfiles");
    EXPECT_EQ(f.Data().Vektor[kVector].Help, "C:\\Viewer\\view.exe \"DOKUVUK.PDF\"");
    EXPECT_TRUE(f.Data().Modified);
    EXPECT_TRUE(f.ApplyPending());
    // No text of the other language is left, and every text changed that has
    // two languages.
    const auto shows = [](const std::string& texts, const std::string& text) {
        return texts.find("=" + text + "|") != std::string::npos ||
               texts.find("|" + text + "\n") != std::string::npos ||
               texts.find("=" + text + "\n") != std::string::npos;
    };
    int pairsShown = 0;
    for (int pair = 0; pair < lpPairCount; ++pair) {
        const std::string no = LanguageText(pair, 1), uk = LanguageText(pair, 2);
        if (no == uk) continue;
        SCOPED_TRACE(os::cp1252ToUtf8(no));
        EXPECT_FALSE(shows(english, no));
        EXPECT_FALSE(shows(norwegian, uk));
        pairsShown += shows(norwegian, no) && shows(english, uk);
    }
    EXPECT_GE(pairsShown, 40);

    f.BtnLngClick(f.BtnLng);
    EXPECT_EQ(Texts(f), norwegian);
    EXPECT_EQ(f.Data().Vektor[kVector].Help, "C:\\Viewer\\view.exe \"DOKUVNO.PDF\"");
    f.BtnOKClick(f.BtnOK);
    EXPECT_EQ(navigatorReads(kSolvnv, "DIRECTORY", "HELP"), "C:\\Viewer\\view.exe \"DOKUVNO.PDF\"");
    EXPECT_EQ(navigatorReads(kOstrel, "CONFIG", "LANGUAGE"), "1");
}

// ---- Shortcuts and activation

TEST_F(FoOstrel, AShortcutButtonMakesTheEntryAndTheTabAndKeepsTheEdits) {
    for (const bool fails : {false, true}) {
        SCOPED_TRACE(fails ? "the entry cannot be written" : "the entry is written");
        fresh();
        std::filesystem::remove(tmp / "c/Desktop/Solvanor V.desktop");
        edit(kOstrel, "[ICONS]\r\nVECTOR=1", "[ICONS]\r\nVECTOR=0");
        TFoOstrel& f = make();
        f.OnActivate = {}; // activation would make the shortcut itself
        show();
        EXPECT_EQ(tabs(), "Generelle instillinger\nNMEA-Test\n");
        f.PortCombo("CmbBaud", 1)->SetText("9600");
        if (fails)
            os::fileCalls().rename = [](const char*, const char*) {
                errno = EIO;
                return -1;
            };
        f.BtnVektorCreateClick(f.BtnVektorCreate);
        os::resetFileCalls();
        EXPECT_EQ(exists("c/Desktop/Solvanor V.desktop"), !fails);
        EXPECT_EQ(f.Data().TabFlags[kVector], !fails);
        EXPECT_EQ(f.Data().IconFlags[kVector], fails ? 0 : 1);
        EXPECT_EQ(f.Data().Modified, !fails);
        if (!fails) {
            EXPECT_EQ(tabs(), "Vektor instillinger\nGenerelle instillinger\nNMEA-Test\n");
            EXPECT_EQ(f.CurrentTabKind(), TTabKind::Vector);
            EXPECT_EQ(f.Data().Generelt.Ports[0].Baud, 9600u);
            os::ShellLink entry;
            ASSERT_TRUE(entry.Load(tmp / "c/Desktop/Solvanor V.desktop"));
            EXPECT_EQ(entry.GetPath(), tmp / "c/RUNTIME/vardekka");
            EXPECT_EQ(entry.GetWorkingDirectory(), tmp / "c/RUNTIME");
        } else {
            EXPECT_EQ(tabs(), "Generelle instillinger\nNMEA-Test\n");
        }
    }
}

TEST_F(FoOstrel, ActivationBringsBackTheVectorShortcutAndTab) {
    std::filesystem::remove(tmp / "c/Desktop/Solvanor V.desktop");
    TFoOstrel& f = make();
    f.OnActivate = {};
    show();
    EXPECT_EQ(tabs(), "Generelle instillinger\nNMEA-Test\n");
    f.PortCombo("CmbParity", 2)->SetText("E");
    f.FormActivate(&f);
    EXPECT_TRUE(exists("c/Desktop/Solvanor V.desktop"));
    EXPECT_EQ(tabs(), "Vektor instillinger\nGenerelle instillinger\nNMEA-Test\n");
    EXPECT_EQ(f.TabControl1->GetTabIndex(), 0);
    EXPECT_TRUE(f.PnlVektor->GetVisible());
    EXPECT_EQ(f.Data().Generelt.Ports[1].Parity, 'E');
    // Activated again: the shortcut is there, nothing changes but the tab shown.
    choose(1);
    f.FormActivate(&f);
    EXPECT_EQ(f.TabControl1->GetTabIndex(), 0);
}

TEST_F(FoOstrel, TheFirstShowMakesTheSetupShortcutOnce) {
    struct Case {
        const char* name;
        bool entry;       // "Solvanor Setup.desktop" on the desktop
        const char* flag; // ICONS Ostrel
        bool made;
        int flagAfter;
    } cases[] = {
        {"missing, never made", false, "0", true, 1},
        {"missing, made before (the user removed it)", false, "1", false, 1},
        {"there, flag off", true, "0", false, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fresh();
        if (!c.entry) std::filesystem::remove(tmp / "c/Desktop/Solvanor Setup.desktop");
        edit(kOstrel, "Ostrel=1", std::string("Ostrel=") + c.flag);
        TFoOstrel& f = show();
        EXPECT_EQ(f.Data().IconFlags[kIconSetup], c.flagAfter);
        EXPECT_EQ(exists("c/Desktop/Solvanor Setup.desktop"), c.entry || c.made);
        if (c.made) {
            os::ShellLink entry;
            ASSERT_TRUE(entry.Load(tmp / "c/Desktop/Solvanor Setup.desktop"));
            EXPECT_EQ(entry.GetPath(), os::programPath());
            EXPECT_EQ(entry.GetWorkingDirectory(), os::programDirectory());
        }
        EXPECT_EQ(f.Data().Modified, std::string(c.flag) == "0");
    }
}

// ---- Pictures

TEST_F(FoOstrel, PicturesOfEveryTab) {
    ostest::PseudoTerminal pty;
    attach(1, pty);
    edit(kSolvnv, ";Comport3=", "Comport3=");
    TFoOstrel& f = show();
    f.GenGrpVessel->SetVisible(true);
    f.GenGrpPosOnVessel->SetVisible(true);
    f.GenGrpAlarmBox->SetVisible(true);
    const QString folder = QStringLiteral(OSTREL_TEST_PICTURES);
    QDir().mkpath(folder);
    const char* names[] = {"vector", "general", "nmea-test"};
    for (int i = 0; i < 3; ++i) {
        choose(i);
        const QPixmap shot = f.GetHandle()->grab();
        EXPECT_TRUE(shot.save(folder + "/ostrel-" + names[i] + ".png"));
    }
    f.BtnLngClick(f.BtnLng);
    choose(1);
    EXPECT_TRUE(f.GetHandle()->grab().save(folder + "/ostrel-general-english.png"));
}

} // namespace
