#include "NotchTray/TrayRules.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

// A 1920 × 1080 screen with a 30-point top bar, without and with a camera housing.
TrayGeometry screen(bool notch)
{
    ScreenShape shape{QRectF(0, 0, 1920, 1080), QRectF(0, 0, 1920, 1050), 0, std::nullopt, std::nullopt};
    if (notch) {
        shape.safeTop = 32;
        shape.auxLeft = shape.auxRight = (1920 - 188) / 2.0;
    }
    return TrayGeometry(shape);
}

enum class Where { hot, ear, away, inOpen, openMargin, inBanner };

QPointF point(Where where, const TrayGeometry &g)
{
    const QRectF open = g.rect(g.openSize());
    switch (where) {
    case Where::hot: return g.resting(false).center();
    // Beside the housing, where only the ears of tucked notes reach.
    case Where::ear: return QPointF(g.notch.left() - 30, g.notch.center().y());
    case Where::away: return QPointF(100, 100);
    case Where::inOpen: return open.center();
    case Where::openMargin: return QPointF(open.center().x(), open.top() - 4);
    case Where::inBanner: return g.rect(g.bannerSize()).center();
    }
    return {};
}

enum class Act { tick, ringA, ringB, ringWhileOff, toggle, answerA, peek, unpeek };

const QUuid a = QUuid::fromString(QStringLiteral("{00000000-0000-0000-0000-00000000000a}"));
const QUuid b = QUuid::fromString(QStringLiteral("{00000000-0000-0000-0000-00000000000b}"));

struct Step {
    double t;
    Where where;
    Act act;
    TrayMode expected;
    // Whether the panel takes the pointer where it is, checked when given.
    std::optional<bool> active = std::nullopt;
};

struct Script {
    const char *name;
    TrayOpen opensOn;
    bool notch;
    bool tucked;
    std::vector<Step> steps;
};

const TrayMode resting = TrayMode::resting();
const TrayMode open = TrayMode::open();
const TrayMode bannerA = TrayMode::banner(a);
const TrayMode bannerB = TrayMode::banner(b);

// Each script plays ticks of a stepped clock and a scripted pointer against the rules, and checks
// the mode (and where told, whether clicks are taken) after every step. No real time passes.
TEST(TrayRules, ModesFollowThePointerTheClockRingsAndToggles)
{
    const Script scripts[] = {
        {"resting on the strip for 0.1 s and leaving keeps it resting; the next visit times afresh",
         TrayOpen::hover, false, false,
         {{0.00, Where::hot, Act::tick, resting, false}, {0.05, Where::hot, Act::tick, resting},
          {0.10, Where::hot, Act::tick, resting}, {0.15, Where::away, Act::tick, resting},
          {0.20, Where::hot, Act::tick, resting}, {0.30, Where::hot, Act::tick, resting},
          {0.35, Where::hot, Act::tick, resting}, {0.40, Where::hot, Act::tick, open, true}}},
        {"hover opens at the first tick strictly after 0.18 s", TrayOpen::hover, false, false,
         {{0.00, Where::hot, Act::tick, resting}, {0.18, Where::hot, Act::tick, resting},
          {0.19, Where::hot, Act::tick, open}}},
        {"with the click setting the pointer never opens it and the resting strip takes the click",
         TrayOpen::click, false, false,
         {{0.00, Where::hot, Act::tick, resting, true}, {1.00, Where::hot, Act::tick, resting, true},
          {1.05, Where::away, Act::tick, resting, false}}},
        {"on a notch the ears wake the tray only while notes are tucked: without", TrayOpen::hover, true, false,
         {{0.00, Where::ear, Act::tick, resting}, {0.50, Where::ear, Act::tick, resting}}},
        {"on a notch the ears wake the tray only while notes are tucked: with", TrayOpen::hover, true, true,
         {{0.00, Where::ear, Act::tick, resting}, {0.50, Where::ear, Act::tick, open}}},
        {"an open tray keeps the pointer 8 points outside its edge, but clicks there pass through",
         TrayOpen::hover, false, false,
         {{0.00, Where::inOpen, Act::toggle, open}, {0.01, Where::inOpen, Act::tick, open},
          {0.05, Where::openMargin, Act::tick, open, false},
          {5.00, Where::openMargin, Act::tick, open}, {5.05, Where::inOpen, Act::tick, open, true}}},
        {"an open tray closes at the first tick more than 0.45 s after the pointer left", TrayOpen::hover,
         false, false,
         {{0.00, Where::inOpen, Act::toggle, open}, {0.05, Where::inOpen, Act::tick, open},
          {0.10, Where::away, Act::tick, open}, {0.50, Where::away, Act::tick, open},
          {0.56, Where::away, Act::tick, resting}}},
        {"a peek keeps the tray open wherever the pointer is", TrayOpen::hover, false, false,
         {{0.00, Where::inOpen, Act::toggle, open}, {0.05, Where::inOpen, Act::tick, open},
          {0.06, Where::away, Act::peek, open}, {3.00, Where::away, Act::tick, open},
          {3.05, Where::away, Act::unpeek, open},
          {3.50, Where::away, Act::tick, open}, {3.90, Where::away, Act::tick, open},
          {3.96, Where::away, Act::tick, resting}}},
        {"a toggle holds the tray open until the pointer has been on it and left", TrayOpen::hover, false,
         false,
         {{0.00, Where::away, Act::toggle, open}, {0.50, Where::away, Act::tick, open},
          {2.00, Where::openMargin, Act::tick, open}, {5.00, Where::away, Act::tick, open},
          {5.05, Where::inOpen, Act::tick, open}, {5.10, Where::away, Act::tick, open},
          {5.50, Where::away, Act::tick, open}, {5.61, Where::away, Act::tick, resting},
          {5.65, Where::away, Act::toggle, open}, {8.00, Where::away, Act::tick, open},
          {8.05, Where::away, Act::toggle, resting}}},
        {"a tray opened by hover closes once the pointer has been away 0.45 s", TrayOpen::hover, false, false,
         {{0.00, Where::hot, Act::tick, resting}, {0.19, Where::hot, Act::tick, open},
          {0.25, Where::away, Act::tick, open}, {0.70, Where::away, Act::tick, open},
          {0.71, Where::away, Act::tick, resting}}},
        {"a ring while open is dropped, not queued", TrayOpen::hover, false, true,
         {{0.00, Where::inOpen, Act::toggle, open}, {0.01, Where::inOpen, Act::tick, open},
          {0.05, Where::inOpen, Act::ringA, open},
          {0.10, Where::away, Act::tick, open}, {0.60, Where::away, Act::tick, resting},
          {0.65, Where::away, Act::tick, resting}}},
        {"a ring while the tray is off is ignored", TrayOpen::hover, false, true,
         {{0.00, Where::away, Act::ringWhileOff, resting}}},
        {"a second ring replaces the banner and gets 10 fresh seconds", TrayOpen::hover, false, true,
         {{0.00, Where::away, Act::ringA, bannerA, false}, {5.00, Where::away, Act::ringB, bannerB},
          {14.00, Where::away, Act::tick, bannerB}, {15.05, Where::away, Act::tick, resting}}},
        {"a banner under the pointer outlives its time and its ringing, and goes once the pointer leaves",
         TrayOpen::hover, false, true,
         {{0.00, Where::inBanner, Act::ringA, bannerA, true}, {11.00, Where::inBanner, Act::tick, bannerA},
          {11.05, Where::inBanner, Act::answerA, bannerA}, {11.10, Where::away, Act::tick, resting}}},
        {"a banner whose note stops ringing goes as soon as the pointer is off it", TrayOpen::hover, false, true,
         {{0.00, Where::inBanner, Act::ringA, bannerA}, {1.00, Where::inBanner, Act::answerA, bannerA},
          {1.05, Where::away, Act::tick, resting}}},
        {"a banner toggles open and back to rest", TrayOpen::click, false, true,
         {{0.00, Where::away, Act::ringA, bannerA}, {0.05, Where::away, Act::toggle, open},
          {0.10, Where::away, Act::toggle, resting}, {0.15, Where::hot, Act::tick, resting, true}}},
    };

    for (const Script &script : scripts) {
        SCOPED_TRACE(script.name);
        const TrayGeometry g = screen(script.notch);
        TrayRules rules;
        TrayMode mode;
        QSet<QUuid> ringing;
        bool peeking = false;
        for (const Step &step : script.steps) {
            SCOPED_TRACE(step.t);
            const TraySight sight{point(step.where, g), script.tucked, script.opensOn, &ringing, peeking, step.t};
            switch (step.act) {
            case Act::ringA:
                ringing.insert(a);
                mode = rules.ring(mode, a, true, step.t);
                break;
            case Act::ringB:
                ringing.insert(b);
                mode = rules.ring(mode, b, true, step.t);
                break;
            case Act::ringWhileOff: mode = rules.ring(mode, a, false, step.t); break;
            case Act::toggle: mode = rules.toggle(mode); break;
            case Act::answerA: ringing.remove(a); break;
            case Act::peek: peeking = true; break;
            case Act::unpeek: peeking = false; break;
            case Act::tick: break;
            }
            if (step.act == Act::tick)
                mode = rules.track(mode, g, sight);
            EXPECT_EQ(mode.kind, step.expected.kind);
            EXPECT_EQ(mode.note, step.expected.note);
            if (step.active) {
                const auto area = TrayRules::activeArea(mode, g, script.tucked, script.opensOn);
                EXPECT_EQ(area && area->contains(sight.pointer), *step.active);
            }
        }
    }
}

} // namespace
