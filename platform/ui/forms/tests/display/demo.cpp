// The forms' display demo: a form with a two-tab control, shown by the forms'
// application on a real X server. Once its window is exposed it chooses the
// second tab with a mouse click on the tab bar, checks that the choice went
// through OnChanging (old tab current) and OnChange (its panel shown), writes
// a screen shot into the folder given as its argument and prints "ready".
// It runs until it is closed (SIGTERM); OnClose prints "closed". The exit
// code is 0 when every check held.
#include "ui/Application.h"
#include "ui/forms/Forms.h"

#include <QDir>
#include <QScreen>
#include <QTabBar>
#include <QTest>
#include <QTimer>

#include <cstdio>
#include <string>

using namespace ui::forms;

namespace {

constexpr TComponentDesc kDemoParts[] = {
    {.Name = "TabControl1",
     .Maker = Make<TTabControl>,
     .Bounds = {8, 8, 384, 220},
     .Items = u8"Vektor instillinger\nGenerelle instillinger",
     .Events = {"OnChanging=TabControl1Changing", "OnChange=TabControl1Change"}},
    {.Name = "PnlVektor",
     .Maker = Make<TPanel>,
     .Parent = "TabControl1",
     .Caption = u8"Kart-katalog:",
     .Bounds = {8, 36, 368, 176}},
    {.Name = "PnlGenerelt",
     .Maker = Make<TPanel>,
     .Parent = "TabControl1",
     .Caption = u8"Båt",
     .Bounds = {8, 36, 368, 176},
     .Visible = false},
    {.Name = "BtnOK", .Maker = Make<TButton>, .Caption = u8"OK", .Bounds = {236, 236, 75, 25}},
    {.Name = "BtnCancel",
     .Maker = Make<TButton>,
     .Caption = u8"Avbryt",
     .Bounds = {317, 236, 75, 25}},
};
constexpr TFormDesc kDemoForm{.Name = "FoDemo",
                              .Caption = u8"Forms display demo",
                              .Bounds = {40, 40, 400, 270},
                              .Events = {"OnClose=FormClose"},
                              .Components = kDemoParts};

class TFoDemo : public TForm {
  public:
    TFoDemo(TComponent* owner) : TForm(owner, kDemoForm) {}
    PUBLISHED_FIELD(TTabControl, TabControl1);
    PUBLISHED_FIELD(TPanel, PnlVektor);
    PUBLISHED_FIELD(TPanel, PnlGenerelt);

    void TabControl1Changing(TObject*, bool&) {
        Seen +=
            "changing from " + TabControl1->GetTabs().GetString(TabControl1->GetTabIndex()) + ";";
    }
    PUBLISHED_METHOD(TabControl1Changing);
    void TabControl1Change(TObject*) {
        const bool general = TabControl1->GetTabIndex() == 1;
        PnlVektor->SetVisible(!general);
        PnlGenerelt->SetVisible(general);
        Seen += "change to " + TabControl1->GetTabs().GetString(TabControl1->GetTabIndex()) + ";";
    }
    PUBLISHED_METHOD(TabControl1Change);
    void FormClose(TObject*, TCloseAction&) {
        std::printf("closed\n");
        std::fflush(stdout);
    }
    PUBLISHED_METHOD(FormClose);

    std::string Seen;
};

int status = 0;

void fail(const std::string& why) {
    std::printf("failed: %s\n", why.c_str());
    std::fflush(stdout);
    status = 1;
}

void probe(TFoDemo& demo, const QString& pictures) {
    QWidget* window = demo.GetHandle();
    if (!QTest::qWaitForWindowExposed(window, 5000)) return fail("the form was never exposed");
    QTabBar* bar = demo.TabControl1->GetTabBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(1).center());
    QTest::qWait(100);
    if (demo.Seen != "changing from Vektor instillinger;change to Generelle instillinger;")
        return fail("the tab change went " + demo.Seen);
    if (!demo.PnlGenerelt->GetHandle()->isVisible() || demo.PnlVektor->GetHandle()->isVisible())
        return fail("the second tab's panel is not the one shown");
    QDir().mkpath(pictures);
    const QPixmap shot = window->screen()->grabWindow(0, window->x(), window->y(), window->width(),
                                                      window->height());
    if (!shot.save(pictures + QStringLiteral("/forms-demo.png")))
        return fail("the screen shot was not written");
    std::printf("ready\n");
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv) {
    ui::EnsureQtApplication(argc, argv);
    const QString pictures = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    TApplication& app = Application();
    app.Initialize();
    app.SetTitle("Forms display demo");
    TFoDemo* demo = nullptr;
    app.CreateForm(demo);
    QTimer::singleShot(0, [demo, pictures] { probe(*demo, pictures); });
    app.Run();
    ui::ShutdownQtApplication();
    return status;
}
