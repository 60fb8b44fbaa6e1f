// The position and date-time controls, made through the window-class table
// as a dialog makes them, driven through their messages and keys offscreen.
#include "controls/dateTimeControl.h"
#include "controls/geoPositionControl.h"
#include "controls/windowClasses.h"

#include "os/Clock.h"
#include "procedureKit.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPixmap>
#include <QToolButton>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <ctime>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr std::uint32_t LAT = 1, NO_UPDOWN = 2, SECONDS = 4;
constexpr std::uint32_t K(int k) {
    return static_cast<std::uint32_t>(k) << 4;
}
constexpr std::uint32_t DAY = 1, MONTH = 2, YEAR = 4, HOUR = 8, MINUTE = 16, SECOND = 32;

// A parent widget holding the controls a test makes.
class Controls : public ::testing::Test {
  protected:
    TDialogControl* make(const char* className, std::uint32_t style, int id = 7) {
        const WindowClassFactory factory = findWindowClass(className);
        if (!factory) return nullptr;
        QWidget* widget = factory(&parent, style, id);
        if (!widget) return nullptr;
        EXPECT_EQ(widget->parentWidget(), &parent);
        TDialogControl* control = dialogControl(widget);
        if (control) control->resize(300, 30);
        return control;
    }
    TDialogControl* geo(std::uint32_t style) { return make("TGeoPosition32", style); }
    TDialogControl* date(std::uint32_t style) { return make("TDateTime32", style); }

    QWidget parent;
};

QString text(TDialogControl* c, int id) {
    QWidget* w = c->ChildWithId(id);
    if (auto* edit = dynamic_cast<QLineEdit*>(w)) return edit->text();
    if (auto* label = dynamic_cast<QLabel*>(w)) return label->text();
    if (auto* list = dynamic_cast<QListWidget*>(w))
        return list->currentItem() ? list->currentItem()->text() : QString();
    return QStringLiteral("<absent>");
}

void type(TDialogControl* c, int id, const char* value) {
    auto* edit = dynamic_cast<QLineEdit*>(c->ChildWithId(id));
    ASSERT_NE(edit, nullptr) << id;
    edit->setText(QString::fromLatin1(value));
}

void pickHemisphere(TDialogControl* c, int row) {
    auto* list = dynamic_cast<QListWidget*>(c->ChildWithId(108));
    ASSERT_NE(list, nullptr);
    list->setCurrentRow(row);
}

std::intptr_t setAngle(TDialogControl* c, std::int32_t angle) {
    return c->Message(CTLM_SETVALUE, 0, angle);
}

std::optional<std::int32_t> getAngle(TDialogControl* c) {
    std::int32_t angle = 0x12345678;
    if (c->Message(CTLM_GETVALUE, 0, reinterpret_cast<std::intptr_t>(&angle)) != 1)
        return std::nullopt;
    return angle;
}

// What the fields show, as "deg min sec dec hemisphere" with absent fields
// left out.
std::string shown(TDialogControl* c) {
    std::string out;
    for (int id : {100, 102, 104, 107, 108}) {
        if (!c->ChildWithId(id)) continue;
        if (!out.empty()) out += ' ';
        out += text(c, id).toStdString();
    }
    return out;
}

// ------------------------------------------------------------------ position

// The binary angle of a position written in degrees, minutes, seconds and a
// decimal fraction of the last unit, computed in floating point.
std::int32_t angleOf(bool negative, int deg, int min, int sec, int dec, int decDigits,
                     bool seconds) {
    long double degrees = deg + min / 60.0L;
    const long double last = seconds ? 3600.0L : 60.0L;
    if (seconds) degrees += sec / 3600.0L;
    degrees += dec / std::pow(10.0L, decDigits) / last;
    const long long units = std::llround(degrees / 90.0L * 0x40000000);
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(negative ? -units : units));
}

TEST_F(Controls, PositionSetAndGetRoundTrip) {
    struct Case {
        std::uint32_t style;
        bool negative;
        int deg, min, sec, dec;
        const char* shown;
    };
    const Case cases[] = {
        {LAT, false, 45, 0, 0, 0, "45 00 N"},
        {LAT | K(1), true, 59, 58, 0, 12, "59 58 12 S"},
        {LAT | K(2) | NO_UPDOWN, false, 0, 7, 0, 5, "0 07 005 N"},
        {LAT | K(3), true, 89, 59, 0, 9999, "89 59 9999 S"},
        {LAT | SECONDS, false, 12, 34, 56, 0, "12 34 56 N"},
        {LAT | SECONDS | K(1), true, 90, 0, 0, 0, "90 00 00 00 S"},
        {LAT | SECONDS | K(2), true, 1, 2, 3, 4, "1 02 03 004 S"},
        {LAT | SECONDS | K(3) | NO_UPDOWN, false, 33, 33, 33, 333, "33 33 33 333 N"},
        {0, true, 180, 0, 0, 0, "180 00 W"},
        {K(1), false, 5, 20, 0, 50, "5 20 50 E"},
        {K(2), true, 123, 45, 0, 678, "123 45 678 W"},
        {K(3), false, 179, 59, 0, 9999, "179 59 9999 E"},
        {SECONDS | NO_UPDOWN, true, 100, 0, 1, 0, "100 00 01 W"},
        {SECONDS | K(1), false, 10, 10, 10, 10, "10 10 10 10 E"},
        {SECONDS | K(2), true, 0, 0, 0, 1, "0 00 00 001 W"},
        {SECONDS | K(3), false, 0, 0, 0, 1, "0 00 00 001 E"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.shown);
        TDialogControl* control = geo(c.style);
        ASSERT_NE(control, nullptr);
        const int k = (c.style >> 4) & 3;
        const int digits = k == 0 ? 0 : std::min(k + 1, (c.style & SECONDS) ? 3 : 4);
        const std::int32_t angle =
            angleOf(c.negative, c.deg, c.min, c.sec, c.dec, digits, c.style & SECONDS);
        EXPECT_EQ(setAngle(control, angle), 1);
        EXPECT_EQ(shown(control), c.shown);
        EXPECT_EQ(getAngle(control), angle);
        EXPECT_EQ(control->Message(CTLM_MODIFIED, 0, 0), 0);
        // A value between resolution steps shows the nearest step.
        const std::int32_t nudged = c.negative ? angle + 1 : angle - 1;
        EXPECT_EQ(setAngle(control, nudged), 1);
        EXPECT_EQ(shown(control), c.shown);
        EXPECT_EQ(getAngle(control), angle);
        delete control;
    }
}

TEST_F(Controls, PositionRefusesLatitudesBeyondAPole) {
    TDialogControl* lat = geo(LAT | SECONDS);
    ASSERT_EQ(setAngle(lat, 0x10000000), 1);
    for (const std::int32_t angle : {0x40000001, -0x40000001, INT32_MIN}) {
        EXPECT_EQ(setAngle(lat, angle), 0);
        EXPECT_EQ(shown(lat), "22 30 00 N");
        EXPECT_EQ(getAngle(lat), 0x10000000);
        EXPECT_EQ(lat->Message(CTLM_MODIFIED, 0, 0), 0);
    }
    EXPECT_EQ(setAngle(lat, -0x40000000), 1);
    EXPECT_EQ(shown(lat), "90 00 00 S");
    // A longitude takes the same value.
    TDialogControl* lon = geo(0);
    EXPECT_EQ(setAngle(lon, 0x40000001), 1);
    EXPECT_EQ(shown(lon), "90 00 E");
}

TEST_F(Controls, PositionWestOf45AndMinus180) {
    TDialogControl* lon = geo(SECONDS | K(1));
    EXPECT_EQ(setAngle(lon, -0x20000000), 1);
    EXPECT_EQ(shown(lon), "45 00 00 00 W");
    EXPECT_EQ(getAngle(lon), -0x20000000);

    EXPECT_EQ(setAngle(lon, INT32_MIN), 1);
    EXPECT_EQ(shown(lon), "180 00 00 00 W");
    EXPECT_EQ(getAngle(lon), INT32_MIN);
    EXPECT_EQ(lon->Message(CTLM_MODIFIED, 0, 0), 0);
    // 180 degrees east is the same binary angle.
    pickHemisphere(lon, 0);
    EXPECT_EQ(getAngle(lon), INT32_MIN);
}

TEST_F(Controls, PositionFieldsOutOfRangeAreInvalid) {
    struct Case {
        std::uint32_t style;
        int id;
        const char* value;
    };
    const Case cases[] = {
        {LAT, 102, "60"}, {LAT, 100, "91"}, {0, 100, "181"},  {LAT | SECONDS, 104, "60"},
        {LAT, 100, ""},   {LAT, 102, "4a"}, {LAT, 102, "-1"}, {SECONDS | K(1), 107, "x"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.id) + " = \"" + c.value + "\"");
        TDialogControl* control = geo(c.style);
        ASSERT_EQ(setAngle(control, 0x01000000), 1);
        type(control, c.id, c.value);
        EXPECT_EQ(getAngle(control), std::nullopt);
        EXPECT_EQ(control->Message(CTLM_MODIFIED, 0, 0), 0);
        delete control;
    }
    // Each field in range, the total beyond the pole or the antimeridian.
    TDialogControl* lat = geo(LAT);
    type(lat, 100, "90");
    type(lat, 102, "01");
    EXPECT_EQ(getAngle(lat), std::nullopt);
    TDialogControl* lon = geo(SECONDS | K(2));
    type(lon, 100, "180");
    type(lon, 107, "001");
    EXPECT_EQ(getAngle(lon), std::nullopt);
    // Blanks around a number are allowed; a null pointer is not.
    type(lon, 107, " 0 ");
    EXPECT_EQ(getAngle(lon), INT32_MIN);
    EXPECT_EQ(lon->Message(CTLM_GETVALUE, 0, 0), 0);
}

TEST_F(Controls, PositionModified) {
    TDialogControl* c = geo(LAT | K(1));
    const std::int32_t south = angleOf(true, 10, 30, 0, 25, 2, false);
    ASSERT_EQ(setAngle(c, south), 1);
    EXPECT_EQ(c->Message(CTLM_MODIFIED, 0, 0), 0);
    type(c, 102, "31");
    EXPECT_EQ(c->Message(CTLM_MODIFIED, 0, 0), 1);
    type(c, 102, "30");
    EXPECT_EQ(c->Message(CTLM_MODIFIED, 0, 0), 0);
    pickHemisphere(c, 0);
    EXPECT_EQ(c->Message(CTLM_MODIFIED, 0, 0), 1);
    pickHemisphere(c, 1);
    type(c, 107, "26");
    EXPECT_EQ(c->Message(CTLM_MODIFIED, 0, 0), 1);
    // A kept value finer than the fields compares at their resolution.
    ASSERT_EQ(setAngle(c, south + 1), 1);
    EXPECT_EQ(c->Message(CTLM_MODIFIED, 0, 0), 0);
}

// ------------------------------------------------------------------ date and time

// A TZ setting for one test, put back afterwards.
class FixedZone {
  public:
    explicit FixedZone(const char* tz) {
        if (const char* old = std::getenv("TZ")) old_ = old;
        setenv("TZ", tz, 1);
        tzset();
    }
    ~FixedZone() {
        if (old_)
            setenv("TZ", old_->c_str(), 1);
        else
            unsetenv("TZ");
        tzset();
    }

  private:
    std::optional<std::string> old_;
};

// A fake clock the controls read, for one test.
class FakeNow {
  public:
    explicit FakeNow(const os::SystemTime& utc) {
        clock_.setNow(utc);
        setDateTimeControlClock(&clock_);
    }
    ~FakeNow() { setDateTimeControlClock(nullptr); }

  private:
    os::FakeClock clock_;
};

// The children in id order as "id:text" for edits and separators.
std::string children(TDialogControl* c) {
    std::string out;
    for (int id = 100; id <= 110; ++id) {
        if (!c->ChildWithId(id)) continue;
        if (!out.empty()) out += '|';
        out += std::to_string(id) + ':' + text(c, id).toStdString();
    }
    return out;
}

std::intptr_t setSystemTime(TDialogControl* c, const TSystemTime& t) {
    return c->Message(CTLM_SETVALUE, 1, reinterpret_cast<std::intptr_t>(&t));
}
std::intptr_t setFileTime(TDialogControl* c, std::uint64_t ticks) {
    const TFileTime t{ticks};
    return c->Message(CTLM_SETVALUE, 0, reinterpret_cast<std::intptr_t>(&t));
}
std::optional<std::uint64_t> getFileTime(TDialogControl* c) {
    TFileTime t{1};
    if (c->Message(CTLM_GETVALUE, 0, reinterpret_cast<std::intptr_t>(&t)) != 1) return std::nullopt;
    return t.ticks;
}

// 2024-03-10 12:34:56.789, a Sunday, 154566 days after 1601-01-01.
const TSystemTime sunday{2024, 3, 0, 10, 12, 34, 56, 789};
constexpr std::uint64_t sundayTicks = 133545476967890000ull;
constexpr std::uint64_t ticksPerDay = 864000000000ull;

TEST_F(Controls, DateFieldsAndSeparators) {
    struct Case {
        std::uint32_t style;
        const char* children;
    };
    const Case cases[] = {
        {DAY | MONTH | YEAR | HOUR | MINUTE | SECOND,
         "100:10|101:.|102:03|103:.|104:2024|105: |106:12|107::|108:34|109::|110:56"},
        {DAY | YEAR, "100:10|101:.|104:2024"},
        {YEAR | MINUTE, "104:2024|105: |108:34"},
        {MONTH | HOUR | SECOND, "102:03|103: |106:12|107::|110:56"},
        {HOUR, "106:12"},
        {0, ""},
        // 64 and more: no day, no year, and with bits 6-7 the day count.
        {192 | DAY | MONTH | YEAR | HOUR | MINUTE, "102:154566|103: |106:12|107::|108:34"},
        {64 | MONTH, "102:154566"},
        {64 | DAY | YEAR | SECOND, "110:56"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.style);
        TDialogControl* control = date(c.style);
        ASSERT_NE(control, nullptr);
        ASSERT_EQ(setSystemTime(control, sunday), 1);
        EXPECT_EQ(children(control), c.children);
        EXPECT_EQ(getFileTime(control), sundayTicks);
        delete control;
    }
    // A day and an hour below 10 are padded with a blank.
    TDialogControl* c = date(DAY | HOUR);
    ASSERT_EQ(setFileTime(c, sundayTicks - 9 * ticksPerDay - 3 * 3600 * 10000000ull), 1);
    EXPECT_EQ(children(c), "100: 1|101: |106: 9");
}

TEST_F(Controls, DateGetAndSetThroughBothRecords) {
    TDialogControl* c = date(DAY | MONTH | YEAR | HOUR | MINUTE | SECOND);
    // A file time finer than a millisecond is kept whole.
    ASSERT_EQ(setFileTime(c, sundayTicks + 1234), 1);
    EXPECT_EQ(getFileTime(c), sundayTicks + 1234);
    TSystemTime t{};
    ASSERT_EQ(c->Message(CTLM_GETVALUE, 1, reinterpret_cast<std::intptr_t>(&t)), 1);
    EXPECT_EQ(std::vector<int>({t.year, t.month, t.dayOfWeek, t.day, t.hour, t.minute, t.second,
                                t.milliseconds}),
              std::vector<int>({2024, 3, 0, 10, 12, 34, 56, 789}));

    // The fields replace their parts; the milliseconds stay.
    type(c, 100, "9");
    type(c, 106, "0");
    ASSERT_EQ(c->Message(CTLM_GETVALUE, 1, reinterpret_cast<std::intptr_t>(&t)), 1);
    EXPECT_EQ(std::vector<int>({t.dayOfWeek, t.day, t.hour, t.milliseconds}),
              std::vector<int>({6, 9, 0, 789}));

    // No such date or time, or no pointer.
    for (const auto& [id, value] :
         {std::pair{100, "31"}, {102, "13"}, {104, "1600"}, {106, "24"}, {110, "60"}, {108, ""}}) {
        SCOPED_TRACE(id);
        ASSERT_EQ(setSystemTime(c, {2023, 2, 0, 28, 0, 0, 0, 0}), 1);
        type(c, id, value);
        EXPECT_EQ(getFileTime(c), std::nullopt);
    }
    EXPECT_EQ(c->Message(CTLM_GETVALUE, 0, 0), 0);

    // Values that are no date are refused and change nothing.
    ASSERT_EQ(setSystemTime(c, sunday), 1);
    EXPECT_EQ(setSystemTime(c, {2023, 2, 0, 29, 0, 0, 0, 0}), 0);
    EXPECT_EQ(setSystemTime(c, {2023, 13, 0, 1, 0, 0, 0, 0}), 0);
    EXPECT_EQ(setSystemTime(c, {1600, 12, 0, 31, 0, 0, 0, 0}), 0);
    EXPECT_EQ(setSystemTime(c, {2023, 1, 0, 1, 24, 0, 0, 0}), 0);
    EXPECT_EQ(setFileTime(c, 0x8000000000000000ull), 0);
    EXPECT_EQ(getFileTime(c), sundayTicks);
    EXPECT_EQ(text(c, 104), "2024");
    // The first and the last day a control shows.
    EXPECT_EQ(setFileTime(c, 0), 1);
    EXPECT_EQ(children(c),
              "100: 1|101:.|102:01|103:.|104:1601|105: |106: 0|107::|108:00|109::|110:00");
    EXPECT_EQ(setSystemTime(c, {30827, 12, 0, 31, 23, 59, 59, 999}), 1);
    EXPECT_EQ(text(c, 104), "30827");
    EXPECT_TRUE(getFileTime(c).has_value());
}

TEST_F(Controls, DateDayCountReadsBack) {
    TDialogControl* c = date(128 | MONTH | HOUR);
    ASSERT_EQ(setFileTime(c, sundayTicks), 1);
    type(c, 102, "154565");
    EXPECT_EQ(getFileTime(c), sundayTicks - ticksPerDay);
    type(c, 102, "0");
    EXPECT_EQ(getFileTime(c), sundayTicks % ticksPerDay);
    type(c, 102, "99999999"); // beyond the year 30827
    EXPECT_EQ(getFileTime(c), std::nullopt);
}

TEST_F(Controls, DateLocalTime) {
    FixedZone zone("CET-1CEST,M3.5.0,M10.5.0/3");
    FakeNow now({2024, 7, 1, 22, 30, 15, 250}); // 2024-07-02 00:30:15 in summer time
    // A control starts with the local time.
    TDialogControl* c = date(DAY | MONTH | YEAR | HOUR | MINUTE | SECOND);
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(children(c),
              "100: 2|101:.|102:07|103:.|104:2024|105: |106: 0|107::|108:30|109::|110:15");
    ASSERT_EQ(setSystemTime(c, sunday), 1);
    EXPECT_EQ(c->Message(CTLM_SETVALUE, 0, 0), 1);
    TSystemTime t{};
    ASSERT_EQ(c->Message(CTLM_GETVALUE, 1, reinterpret_cast<std::intptr_t>(&t)), 1);
    EXPECT_EQ(std::vector<int>({t.year, t.month, t.dayOfWeek, t.day, t.hour, t.minute, t.second,
                                t.milliseconds}),
              std::vector<int>({2024, 7, 2, 2, 0, 30, 15, 250}));
    // The day count of the local date.
    TDialogControl* days = date(192 | MONTH);
    EXPECT_EQ(children(days), "102:154680");
}

TEST_F(Controls, DateModified) {
    TDialogControl* c = date(DAY | MONTH | YEAR | HOUR | MINUTE);
    ASSERT_EQ(setFileTime(c, sundayTicks + 5), 1);
    EXPECT_EQ(c->Message(CTLM_MODIFIED, 0, 0), 0);
    type(c, 108, "35");
    EXPECT_EQ(c->Message(CTLM_MODIFIED, 0, 0), 1);
    type(c, 108, "34");
    EXPECT_EQ(c->Message(CTLM_MODIFIED, 0, 0), 0);
    type(c, 100, "11");
    EXPECT_EQ(c->Message(CTLM_MODIFIED, 0, 0), 1);
    type(c, 100, "32");
    EXPECT_EQ(c->Message(CTLM_MODIFIED, 0, 0), 0); // invalid
}

// ------------------------------------------------------------------ layout

TEST_F(Controls, ChildrenLieInOrderInsideTheControl) {
    std::vector<std::pair<const char*, std::uint32_t>> styles;
    for (std::uint32_t s = 0; s < 64; ++s)
        if (!(s & 8)) styles.push_back({"TGeoPosition32", s});
    for (std::uint32_t s : {63u, 5u, 18u, 192u | 2u | 8u | 16u | 32u, 64u | 2u})
        styles.push_back({"TDateTime32", s});
    for (const auto& [name, style] : styles) {
        SCOPED_TRACE(std::string(name) + " " + std::to_string(style));
        TDialogControl* c = make(name, style);
        ASSERT_NE(c, nullptr);
        c->resize(257, 40);
        // A hidden widget takes a new size when it is shown.
        parent.show();
        c->show();
        std::vector<QRect> fields;
        for (int id = 100; id <= 110; ++id) {
            QWidget* child = c->ChildWithId(id);
            if (!child) continue;
            const QRect r = child->geometry();
            EXPECT_EQ(r.top(), 0);
            EXPECT_GT(r.width(), 0);
            if (id == 109 && name[1] == 'G')
                EXPECT_EQ(r.right(), 256); // the up-down at the right edge
            else
                fields.push_back(r);
        }
        std::sort(fields.begin(), fields.end(),
                  [](const QRect& a, const QRect& b) { return a.left() < b.left(); });
        int right = 0;
        for (const QRect& r : fields) {
            // x and width are scaled apart, so neighbours may share a pixel.
            EXPECT_GE(r.left(), right - 1);
            right = r.left() + r.width();
        }
        EXPECT_LE(right, 257);
        // The whole width is used, up to the up-down when there is one.
        const bool upDown = name[1] == 'G' && !(style & NO_UPDOWN);
        if (!fields.empty() && !upDown) {
            EXPECT_GE(right, 255);
        }
        delete c;
    }
}

TEST_F(Controls, FontSetsTheFieldHeight) {
    TDialogControl* c = geo(LAT);
    QFont font = c->font();
    font.setPixelSize(40);
    c->setFont(font);
    const int height = (10 * QFontMetrics(font).height() + 4) / 8;
    for (int id : {100, 101, 108, 109})
        EXPECT_EQ(c->ChildWithId(id)->height(), height) << id;
}

// A sheet of controls at a dialog's sizes, for a person to look at.
TEST_F(Controls, PictureOfTheControls) {
    FakeNow now({2024, 3, 10, 12, 34, 56, 0});
    FixedZone zone("UTC0");
    const std::pair<const char*, std::uint32_t> styles[] = {
        {"TGeoPosition32", LAT},
        {"TGeoPosition32", LAT | K(2)},
        {"TGeoPosition32", SECONDS | K(1)},
        {"TGeoPosition32", SECONDS | K(3) | NO_UPDOWN},
        {"TDateTime32", DAY | MONTH | YEAR | HOUR | MINUTE | SECOND},
        {"TDateTime32", DAY | MONTH | YEAR},
        {"TDateTime32", 192 | MONTH | HOUR | MINUTE},
    };
    int y = 4;
    for (const auto& [name, style] : styles) {
        auto* label = new QLabel(QString::asprintf("%s %u", name, style), &parent);
        label->setGeometry(4, y, 170, 24);
        TDialogControl* c = make(name, style);
        ASSERT_NE(c, nullptr);
        c->setGeometry(180, y, 240, 24);
        if (name[1] == 'G') setAngle(c, angleOf(true, 59, 58, 57, 654, 3, true));
        y += 30;
    }
    parent.resize(430, y);
    parent.show();
    QApplication::processEvents();
    const std::string path = kit::picturesFolder() + "/dialog-controls.png";
    EXPECT_TRUE(parent.grab().save(QString::fromStdString(path)));
}

// ------------------------------------------------------------------ keys and the up-down

void press(QWidget* w, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
           const QString& text = QString()) {
    QKeyEvent down(QEvent::KeyPress, key, modifiers, text);
    QKeyEvent up(QEvent::KeyRelease, key, modifiers, text);
    QApplication::sendEvent(w, &down);
    QApplication::sendEvent(w, &up);
}

class ControlKeys : public Controls {
  protected:
    void SetUp() override {
        before = new QLineEdit(&parent);
        control = geo(LAT | SECONDS | K(1));
        ASSERT_NE(control, nullptr);
        after = new QLineEdit(&parent);
        parent.resize(400, 40);
        parent.show();
        parent.activateWindow();
        QApplication::setActiveWindow(&parent);
        QApplication::processEvents();
        ASSERT_TRUE(parent.isActiveWindow());
        control->SetNotify([this](int id, unsigned code) { notices.push_back({id, code}); });
    }
    QWidget* focus() const { return QApplication::focusWidget(); }
    QWidget* child(int id) const { return control->ChildWithId(id); }
    void focusOn(int id, int caret) {
        child(id)->setFocus(Qt::OtherFocusReason);
        if (auto* edit = dynamic_cast<QLineEdit*>(child(id))) edit->setCursorPosition(caret);
    }

    QLineEdit* before = nullptr;
    QLineEdit* after = nullptr;
    TDialogControl* control = nullptr;
    std::vector<std::pair<int, unsigned>> notices;
};

TEST_F(ControlKeys, TabLeavesTheControl) {
    control->setFocus();
    EXPECT_EQ(focus(), child(100));
    for (int id : {100, 104, 108}) {
        focusOn(id, 0);
        press(focus(), Qt::Key_Tab);
        EXPECT_EQ(focus(), after) << id;
        focusOn(id, 0);
        press(focus(), Qt::Key_Backtab, Qt::ShiftModifier);
        EXPECT_EQ(focus(), before) << id;
    }
    // Into the control from outside, Tab lands on the first field.
    before->setFocus();
    press(before, Qt::Key_Tab);
    EXPECT_EQ(focus(), child(100));
}

TEST_F(ControlKeys, LeftAndRightMoveBetweenFields) {
    ASSERT_EQ(setAngle(control, angleOf(false, 12, 34, 56, 78, 2, true)), 1);
    // From an edit only when the caret cannot move.
    focusOn(100, 1);
    press(focus(), Qt::Key_Right);
    EXPECT_EQ(focus(), child(100));
    press(focus(), Qt::Key_Right);
    EXPECT_EQ(focus(), child(102));
    // The field reached is selected whole, and Left first moves its caret.
    press(focus(), Qt::Key_Left);
    EXPECT_EQ(focus(), child(102));
    focusOn(102, 0);
    press(focus(), Qt::Key_Left);
    EXPECT_EQ(focus(), child(100));
    focusOn(107, 2);
    press(focus(), Qt::Key_Right);
    EXPECT_EQ(focus(), child(108));
    // Around the fields: from the first back to the list; the list moves on
    // at once either way.
    focusOn(100, 0);
    press(focus(), Qt::Key_Left);
    EXPECT_EQ(focus(), child(108));
    press(focus(), Qt::Key_Left);
    EXPECT_EQ(focus(), child(107));
    focusOn(108, 0);
    press(focus(), Qt::Key_Right);
    EXPECT_EQ(focus(), child(100));
    EXPECT_TRUE(notices.empty());
}

TEST_F(ControlKeys, UpDownStepsItsBuddyField) {
    ASSERT_EQ(setAngle(control, angleOf(false, 0, 59, 0, 98, 2, true)), 1);
    auto buttons = child(109)->findChildren<QToolButton*>();
    ASSERT_EQ(buttons.size(), 2);
    QToolButton* up = buttons[0]->arrowType() == Qt::UpArrow ? buttons[0] : buttons[1];
    QToolButton* down = up == buttons[0] ? buttons[1] : buttons[0];

    // With no buddy yet it takes the first field.
    up->click();
    EXPECT_EQ(shown(control), "1 59 00 98 N");
    EXPECT_EQ(static_cast<QLineEdit*>(child(100))->selectedText(), "1");
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_EQ(notices[0], (std::pair<int, unsigned>{7, TDialogControl::EN_CHANGE}));
    EXPECT_EQ(control->Message(CTLM_MODIFIED, 0, 0), 1);

    // The focused field is the buddy; values stay in the field's range and
    // keep its format.
    focusOn(102, 0);
    up->click();
    EXPECT_EQ(text(control, 102), "59");
    focusOn(104, 0);
    up->click();
    EXPECT_EQ(text(control, 104), "01");
    focusOn(107, 0);
    up->click();
    up->click();
    EXPECT_EQ(text(control, 107), "99");
    down->click();
    EXPECT_EQ(text(control, 107), "98");
    focusOn(108, 0);
    up->click();
    EXPECT_EQ(text(control, 108), "S");
    EXPECT_EQ(focus(), child(108)); // the buttons never take the focus
    EXPECT_EQ(notices.size(), 7u);
    ASSERT_EQ(getAngle(control), angleOf(true, 1, 59, 1, 98, 2, true));
}

TEST_F(ControlKeys, UserChangesAreReportedAndSetValuesAreNot) {
    ASSERT_EQ(setAngle(control, -0x10000000), 1);
    EXPECT_TRUE(notices.empty());
    focusOn(102, 2);
    press(focus(), Qt::Key_Backspace);
    press(focus(), Qt::Key_4, Qt::NoModifier, QStringLiteral("4"));
    EXPECT_EQ(text(control, 102), "34");
    EXPECT_EQ(notices.size(), 2u);
    focusOn(108, 0);
    press(focus(), Qt::Key_Up);
    EXPECT_EQ(text(control, 108), "N");
    EXPECT_EQ(notices.size(), 3u);
}

// ------------------------------------------------------------------ the class table

TEST_F(Controls, ClassTableMakesBothControls) {
    TDialogControl* g = make("tgeoposition32", LAT, 12);
    ASSERT_NE(g, nullptr);
    EXPECT_NE(dynamic_cast<TGeoPositionControl*>(g), nullptr);
    EXPECT_EQ(g->GetId(), 12);
    TDialogControl* d = make("TDATETIME32", 0x50000000u | DAY, 13);
    ASSERT_NE(d, nullptr);
    EXPECT_NE(dynamic_cast<TDateTimeControl*>(d), nullptr);
    EXPECT_EQ(d->GetStyle(), DAY); // general window bits are not the control's
    EXPECT_EQ(dialogControl(&parent), nullptr);
    EXPECT_EQ(parent.findChildren<TDialogControl*>(Qt::FindDirectChildrenOnly).size(), 2);
}

} // namespace
