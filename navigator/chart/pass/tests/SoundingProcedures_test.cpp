// The program's procedures for soundings (147) and underwater rocks (168),
// run as the chart pass runs them: through TMapContext::Draw on the
// procedure kit's recording device context, with the depth writer replaced
// by one that notes each value.
#include "procedureKit.h"

#include "chart/pass/SoundingProcedures.h"
#include "procedures/SoundValue.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace {

struct Written {
    int x, y;
    float depth;
    unsigned a, b, c;
    bool operator==(const Written&) const = default;
};

std::vector<Written> written;

void noteDepth(TMapContext*, int x, int y, float depth, unsigned a, unsigned b, unsigned c,
               char* note, int parentheses) {
    EXPECT_EQ(note, nullptr);
    EXPECT_EQ(parentheses, 0);
    written.push_back({x, y, depth, a, b, c});
}

class SoundingProcedures : public kit::ProcedureTest {
  protected:
    void SetUp() override {
        kit::ProcedureTest::SetUp();
        written.clear();
        SoundValueWriter = noteDepth;
        SoundingDepthLimit = 5.0;
    }
    void TearDown() override {
        SoundValueWriter = _DrawSoundValue;
        kit::ProcedureTest::TearDown();
    }
};

std::string show(const std::vector<Written>& w) {
    std::string s;
    for (const Written& v : w)
        s += "(" + std::to_string(v.x) + "," + std::to_string(v.y) + ") " +
             std::to_string(v.depth) + " " + std::to_string(v.a) + "/" + std::to_string(v.b) + "/" +
             std::to_string(v.c) + "\n";
    return s;
}

TEST_F(SoundingProcedures, APointIsWrittenDownToTheLimitInclusive) {
    const struct {
        std::uint16_t decimetres;
        bool drawn;
    } cases[] = {{0, true}, {49, true}, {50, true}, {51, false}, {400, false}};
    for (const auto& c : cases) {
        written.clear();
        kit::FakeObject sounding(147);
        sounding.set(kit::wordAttr(116, c.decimetres)).setGeometry(kit::point(10, 20));
        kit::run(CondSymbProc147, sounding);
        if (c.drawn)
            EXPECT_EQ(written, (std::vector<Written>{{10, 20, float(c.decimetres * 0.1), 0, 0, 0}}))
                << c.decimetres << " dm\n"
                << show(written);
        else
            EXPECT_TRUE(written.empty()) << c.decimetres << " dm\n" << show(written);
    }
    // A point without a depth writes nothing.
    kit::FakeObject bare(147);
    bare.setGeometry(kit::point(1, 1));
    written.clear();
    kit::run(CondSymbProc147, bare);
    EXPECT_TRUE(written.empty());
}

// The sets are not ordered by depth: a deeper sounding is skipped and the
// shallow ones after it are still written.
TEST_F(SoundingProcedures, ASetSkipsTheDeeperSoundingsAndGoesOn) {
    kit::FakeObject set(147);
    set.set(kit::byteAttr(69, 2))
        .set(kit::byteAttr(92, 5))
        .setGeometry(kit::soundings({{0, 0}, {10, 0}, {20, 5}, {30, 5}, {40, 5}},
                                    {30, 70, 20, 12005, 12006}));
    kit::run(CondSymbProc147, set);
    EXPECT_EQ(written, (std::vector<Written>{
                           {0, 0, 3.0f, 2, 5, 0}, {20, 5, 2.0f, 2, 5, 0}, {30, 5, 5.0f, 2, 5, 0}}))
        << show(written);
}

TEST_F(SoundingProcedures, TheThirdStyleIsTheSecondCharacterOfAttribute111) {
    const struct {
        std::string text;
        unsigned c;
    } cases[] = {{"", 0}, {"x", 0}, {"x6", '6'}, {std::string("x\x06", 2), 6}};
    for (const auto& c : cases) {
        written.clear();
        kit::FakeObject sounding(147);
        sounding.set(kit::wordAttr(116, 20))
            .set(kit::textAttr(111, c.text))
            .setGeometry(kit::point(0, 0));
        kit::run(CondSymbProc147, sounding);
        ASSERT_EQ(written.size(), 1u) << '"' << c.text << '"';
        EXPECT_EQ(written[0].c, c.c) << '"' << c.text << '"';
    }
}

TEST_F(SoundingProcedures, NothingBelowScaleExponentMinusOne) {
    kit::FakeObject sounding(147), rock(168);
    sounding.set(kit::wordAttr(116, 20)).setGeometry(kit::point(0, 0));
    rock.set(kit::wordAttr(116, 20)).set(kit::byteAttr(124, 3)).setGeometry(kit::point(0, 0));
    for (int exponent : {-2, -1}) {
        written.clear();
        kit::Settings s;
        s.scaleExponent = exponent;
        kit::run(CondSymbProc147, sounding, s);
        const kit::Drawing d = kit::run(CondSymbProc168, rock, s);
        const bool drawn = exponent >= -1;
        EXPECT_EQ(written.size(), drawn ? 2u : 0u) << exponent;
        EXPECT_EQ(d.hasGlyph(35, 76, 0, {0, 0}), drawn) << exponent << "\n" << d.log();
    }
}

// A rock by kind (attribute 124) and depth (116): where the value goes, and
// which mark stands on the point.
TEST_F(SoundingProcedures, ARockWritesItsValueAndItsKindsMark) {
    const std::optional<int> kinds[] = {std::nullopt, 0, 1, 2, 3, 4, 5, 6};
    const std::optional<std::uint16_t> depths[] = {std::nullopt, 20, 60};
    const auto markOf = [](std::optional<int> kind) {
        switch (kind.value_or(0)) {
        case 1:
        case 2:
            return 75;
        case 3:
            return 76;
        case 4:
            return 74;
        case 5:
            return 77;
        default:
            return 0;
        }
    };
    const Point at{-30, 12};
    for (const auto& kind : kinds)
        for (const auto& depth : depths) {
            const std::string label = "kind " + (kind ? std::to_string(*kind) : "absent") +
                                      ", depth " + (depth ? std::to_string(*depth) : "absent");
            written.clear();
            kit::FakeObject rock(168);
            if (kind) rock.set(kit::byteAttr(124, std::uint8_t(*kind)));
            if (depth) rock.set(kit::wordAttr(116, *depth));
            rock.set(kit::byteAttr(69, 1)).setGeometry(kit::point(at.x, at.y));
            const kit::Drawing d = kit::run(CondSymbProc168, rock);
            if (depth == 60) {
                // Deeper than the limit: nothing at all.
                EXPECT_TRUE(written.empty()) << label;
                EXPECT_TRUE(d.calls().empty()) << label << "\n" << d.log();
                continue;
            }
            if (depth) {
                const int x = kind.value_or(0) > 0 ? at.x + 10 : at.x;
                EXPECT_EQ(written, (std::vector<Written>{{x, at.y, 2.0f, 1, 0, 0}}))
                    << label << "\n"
                    << show(written);
            } else {
                EXPECT_TRUE(written.empty()) << label;
            }
            const int mark = markOf(kind);
            EXPECT_EQ(d.texts(35).size(), mark ? 1u : 0u) << label << "\n" << d.log();
            if (mark) {
                EXPECT_TRUE(d.hasGlyph(35, mark, 0, at)) << label << "\n" << d.log();
            }
        }
}

// A rock needs a point: other geometry draws nothing.
TEST_F(SoundingProcedures, ARockOfAnotherGeometryDrawsNothing) {
    kit::FakeObject rock(168);
    rock.set(kit::wordAttr(116, 20))
        .set(kit::byteAttr(124, 3))
        .setGeometry(kit::soundings({{0, 0}}, {20}));
    const kit::Drawing d = kit::run(CondSymbProc168, rock);
    EXPECT_TRUE(written.empty());
    EXPECT_TRUE(d.calls().empty()) << d.log();
}

} // namespace
