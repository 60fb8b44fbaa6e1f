// The machine of the main form's tests: the configuration tests' drive table
// (C, D, E fixed, F a CD-ROM; desktop C:\Desktop; current directory C:\work),
// a runtime folder of the test's own, the six ports on missing devices
// (attach() puts a pseudo-terminal behind one), and a vector installation:
//   C:\RUNTIME   the sample SOLVNV.INI, a stand-in navigation program
//                (vardekka), the folders KV71ATTR and TIDES
//   C:\KV71      its chart root
//   C:\work\Ostrel.INI   naming it, its tab and shortcut flags on
//   the desktop   "Solvanor V.desktop" and "Solvanor Setup.desktop"
// so that showing the form repairs nothing and writes nothing.
#pragma once

#include "ConfigMachine.h"

#include "forms/FoOstrel.h"

#include "ModalScript.h"
#include "os/ShellLink.h"
#include "os/TMComm.h"
#include "os/codePage.h"
#include "os/SerialPort.h"
#include "os/tests/PseudoTerminal.h"
#include "os/textFiles.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QTabBar>
#include <QTest>

#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <sstream>
#include <string>

namespace setuptest {

using namespace ui::forms;

inline constexpr const char* kOstrelIni = "[DIRECTORY]\r\n"
                                          "VECTOR=C:\\RUNTIME\\\r\n"
                                          "BATHDB=C:\\RUNBATH\\\r\n"
                                          "ELVODB=C:\\RUNELVO\\\r\n"
                                          "BITMAP=C:\\SOLVNR\\\r\n"
                                          "\r\n"
                                          "[CONFIG]\r\n"
                                          "VECTOR=1\r\n"
                                          "BATHDB=0\r\n"
                                          "ELVODB=0\r\n"
                                          "BITMAP=0\r\n"
                                          "LANGUAGE=1\r\n"
                                          "\r\n"
                                          "[ICONS]\r\n"
                                          "VECTOR=1\r\n"
                                          "BATHDB=0\r\n"
                                          "ELVODB=0\r\n"
                                          "BITMAP=0\r\n"
                                          "Ostrel=1\r\n";

// The bytes and the inode of a file: a save replaces the inode, so a file
// written with the same bytes counts as written too.
struct FileState {
    bool exists = false;
    ino_t inode = 0;
    std::string bytes;
    bool operator==(const FileState&) const = default;
};

class OstrelMachine : public ConfigMachine {
  protected:
    void SetUp() override {
        ConfigMachine::SetUp();
        if (const char* runtime = std::getenv("XDG_RUNTIME_DIR")) oldRuntime = runtime;
        mkdirs("run");
        ::chmod((tmp / "run").c_str(), 0700);
        setenv("XDG_RUNTIME_DIR", (tmp / "run").c_str(), 1);
        for (int n = 1; n <= 6; ++n)
            os::setSerialDevicePath(n, tmp / ("no-port-" + std::to_string(n)));
        copyTo(sample("SOLVNV.INI"), "c/RUNTIME/SOLVNV.INI");
        touch("c/RUNTIME/vardekka", "#!/bin/sh\n");
        mkdirs("c/RUNTIME/KV71ATTR");
        mkdirs("c/RUNTIME/TIDES");
        mkdirs("c/KV71");
        touch("c/work/Ostrel.INI", kOstrelIni);
        desktopEntry("Solvanor V", tmp / "c/RUNTIME/vardekka");
        desktopEntry("Solvanor Setup", tmp / "ostrel");
    }

    void TearDown() override {
        form.reset();
        os::resetFileCalls();
        for (int n = 1; n <= 6; ++n)
            os::setSerialDevicePath(n, "");
        for (int h = 1; h <= 999; ++h)
            TMCloseComm(h);
        if (oldRuntime)
            setenv("XDG_RUNTIME_DIR", oldRuntime->c_str(), 1);
        else
            unsetenv("XDG_RUNTIME_DIR");
        ConfigMachine::TearDown();
    }

    // Starts a case of a table afresh: the base emptied and prepared again.
    void fresh() {
        TearDown();
        std::error_code ec;
        for (const auto& entry : std::filesystem::directory_iterator(tmp.path(), ec))
            std::filesystem::remove_all(entry.path(), ec);
        SetUp();
    }

    void desktopEntry(const std::string& name, const std::string& program) {
        touch("c/Desktop/" + name + ".desktop", "[Desktop Entry]\nType=Application\nName=" + name +
                                                    "\nExec=\"" + program + "\"\nTerminal=false\n");
    }

    // Puts a pseudo-terminal behind COMn.
    void attach(int n, const ostest::PseudoTerminal& pty) {
        ASSERT_FALSE(pty.name.empty());
        os::setSerialDevicePath(n, pty.name);
    }

    // Replaces `from` by `to` in a file below the base (the text must be there).
    void edit(const std::string& path, const std::string& from, const std::string& to) {
        std::string text = bytes(path);
        const auto at = text.find(from);
        ASSERT_NE(at, std::string::npos) << from << " in " << path;
        text.replace(at, from.size(), to);
        touch(path, text);
    }

    FileState state(const std::string& path) const {
        FileState s;
        struct stat st;
        if (::stat((tmp / path).c_str(), &st) != 0) return s;
        s.exists = true;
        s.inode = st.st_ino;
        s.bytes = bytes(path);
        return s;
    }

    // Every file, folder and link below the base with its mode and bytes.
    std::map<std::string, std::string> snapshot() const {
        std::map<std::string, std::string> all;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(tmp.path())) {
            const std::string path = entry.path().string().substr(tmp.path().size());
            if (path.rfind("/run", 0) == 0) continue; // the locks
            struct stat st;
            ::lstat(entry.path().c_str(), &st);
            std::string what = std::to_string(st.st_mode) + " " + std::to_string(st.st_ino);
            if (entry.is_regular_file() && !entry.is_symlink())
                what += " " + ostest::readBytes(entry.path().string());
            all[path] = what;
        }
        return all;
    }

    // Makes the form (its creation runs).
    TFoOstrel& make() {
        form.reset(CreateForm<TFoOstrel>(nullptr));
        form->Data().OwnDirectory = tmp / "c/work";
        return *form;
    }

    // Makes and shows the form and lets the window system activate it.
    TFoOstrel& show() {
        if (!form) make();
        form->Show();
        settle();
        return *form;
    }

    static void settle() {
        for (int i = 0; i < 5; ++i)
            QApplication::processEvents(QEventLoop::AllEvents);
    }

    // The tab captions, one per line.
    std::string tabs() const {
        std::string all;
        TStrings& list = form->TabControl1->GetTabs();
        for (int i = 0; i < list.GetCount(); ++i)
            all += list.GetString(i) + "\n";
        return all;
    }

    // Chooses tab `index` with a click on the tab bar, as the user does.
    void choose(int index) {
        QTabBar* bar = form->TabControl1->GetTabBar();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
        settle();
        ASSERT_EQ(form->TabControl1->GetTabIndex(), index);
    }
    void choose(TTabKind kind) {
        for (int i = 0; i < form->TabControl1->GetTabs().GetCount(); ++i)
            if (form->TabControl1->GetTabs().GetString(i) ==
                TFoOstrel::TabCaption(kind, form->Data().Language)) {
                choose(i);
                return;
            }
        FAIL() << "no such tab";
    }

    std::unique_ptr<TFoOstrel> form;
    std::optional<std::string> oldRuntime;
};

// The records of the form as text, for comparing them whole.
inline std::string Records(TFoOstrel& form) {
    std::ostringstream out;
    const TSetupData& d = form.Data();
    for (const TVektorRec& v : d.Vektor) {
        out << v.Directory << "|";
        for (bool b : v.ComEnabled)
            out << b;
        out << "|" << int(v.DepthIndex) << "|" << int(v.GpsNmeaId) << "|" << v.NmeaOutAPB << "|"
            << v.NmeaOutRMB << "|" << v.NmeaOutRMC << "|" << v.NmeaOutRTE << "|" << v.CrsMinutes
            << "|" << v.Help << "|" << v.KV71Root << "|" << v.KV71Cat << "|" << v.KV71ChrList << "|"
            << v.DictionaryDir << "|" << v.DepthUnit << "|" << v.TideDir << "\n";
    }
    const TRasterRec& r = d.Raster;
    out << r.Directory << "|";
    for (bool b : r.ComEnabled)
        out << b;
    out << "|" << int(r.GpsNmeaId) << "|" << r.NmeaOutAPB << "|" << r.NmeaOutRMB << "|"
        << r.NmeaOutRMC << "|" << r.NmeaOutRTE << "|" << r.ArpaActive << "|" << r.MapRoot << "\n";
    const TGenereltRec& g = d.Generelt;
    for (int n = 1; n <= 6; ++n)
        out << FormatComSettings(g.Ports, n) << "|";
    out << g.AlarmOn << "|" << g.Stem << "|" << g.Stern << "|" << g.Starboard << "|" << g.Port
        << "|" << g.Sounder << "\n";
    return out.str();
}

} // namespace setuptest
