// Every window, reached through the menus, driven for a bounded time with key and mouse
// events that enter as the window system's do: typing key by key, pasting texts up to tens
// of thousands of characters, clicking, double-clicking, closing windows while their timers
// run, and answering the real message boxes. Fails on a second message box, a box larger
// than the screen, "inf" or "nan" on screen, a message raised by a keystroke or by a timer
// tick about a text box, a timer step under an open box, a typed character that did not
// arrive in its box, input that reached a window under a modal box, and a frozen event loop.
//
// KORVALEN_DRIVER_SEED=<n> replays a run (or "time" for a fresh seed); KORVALEN_DRIVER_SECONDS
// runs longer by hand; KORVALEN_DRIVER_VERBOSE=1 prints every action. A replay repeats the
// driver's choices, but timers and batches make the program's timing differ a little.
// The watchdog aborts after 5 s without an event (20 s in sanitizer builds, where everything
// runs several times slower; KORVALEN_DRIVER_STALL_SECONDS overrides both).
#include <gtest/gtest.h>

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include "kit/registry.h"
#include "support/event_driver.h"

#if defined(__SANITIZE_ADDRESS__)
#define KV_DRIVER_SANITIZED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define KV_DRIVER_SANITIZED 1
#endif
#endif

namespace {

#ifdef KV_DRIVER_SANITIZED
// Instrumented code runs several times slower; a busy handler must not pass for a freeze.
constexpr double kStallSeconds = 20;
#else
constexpr double kStallSeconds = 5;
#endif

double EnvNumber(const char* name, double fallback) {
    const char* v = std::getenv(name);
    if (!v || !*v) return fallback;
    char* end = nullptr;
    const double d = std::strtod(v, &end);
    return end && *end == '\0' && d > 0 ? d : fallback;
}

std::uint32_t Seed() {
    const char* v = std::getenv("KORVALEN_DRIVER_SEED");
    if (!v || !*v) return 1;
    if (std::string(v) == "time")
        return static_cast<std::uint32_t>(std::chrono::system_clock::now().time_since_epoch().count() % 1000000007);
    return static_cast<std::uint32_t>(std::strtoul(v, nullptr, 10));
}

}  // namespace

TEST(EventDriver, RealEventsOnEveryWindowNeverBreakTheProgram) {
    kvtest::DriverOptions options;
    options.seed = Seed();
    options.seconds = EnvNumber("KORVALEN_DRIVER_SECONDS", 45);
    options.stallSeconds = EnvNumber("KORVALEN_DRIVER_STALL_SECONDS", kStallSeconds);
    options.verbose = std::getenv("KORVALEN_DRIVER_VERBOSE") != nullptr;
    const QSize screen = QGuiApplication::primaryScreen()->availableGeometry().size();
    std::printf("event driver: seed %u (replay with KORVALEN_DRIVER_SEED=%u), %.0f s, stall limit %.0f s, screen %dx%d\n",
                options.seed, options.seed, options.seconds, options.stallSeconds, screen.width(), screen.height());
    std::fflush(stdout);

    kvtest::EventDriver driver(options);
    driver.Run();

    std::printf("event driver: %llu events sent in %llu actions, %d message box answers, %zu distinct faults\n",
                static_cast<unsigned long long>(driver.eventsSent()), static_cast<unsigned long long>(driver.actions()),
                driver.boxesAnswered(), driver.faults().size());
    for (const auto& [kind, n] : driver.actionsByKind()) std::printf("    %-13s %d\n", kind.toStdString().c_str(), n);
    std::fflush(stdout);

    // The driver really drove: every kind of window came on screen and got events.
    for (const QString& kind : kv::WindowKinds()) EXPECT_TRUE(driver.kindsShown().contains(kind)) << kind.toStdString();
    EXPECT_GT(static_cast<double>(driver.eventsSent()), 10 * options.seconds);

    for (const kvtest::Fault& f : driver.faults())
        ADD_FAILURE() << f.kind.toStdString() << " (" << f.count << "x, first at " << QString::number(f.at, 'f', 3).toStdString() << " s, seed " << options.seed
                      << "): " << f.detail.toStdString() << "\n  last actions before it:\n"
                      << f.lastActions;
}

TEST(StallWatchdog, AbortsWithItsDescriptionWhenNothingIsProcessed) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_DEATH(
        {
            kvtest::StallWatchdog dog(0.3, [] { return std::string("stalled; seed 77\n"); });
            std::this_thread::sleep_for(std::chrono::seconds(3));
        },
        "stalled; seed 77");
}

TEST(StallWatchdog, StaysQuietWhileTheLoopBeats) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            {
                kvtest::StallWatchdog dog(0.3, [] { return std::string("stalled\n"); });
                for (int i = 0; i < 20; ++i) {
                    dog.beat();
                    std::this_thread::sleep_for(std::chrono::milliseconds(50));
                }
            }
            std::exit(0);
        },
        ::testing::ExitedWithCode(0), "");
}
