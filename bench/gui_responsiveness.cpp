// How long the desktop program's event loop is blocked while it loads a full
// race day of a five-year home and runs its all-race comparison (the option
// "データ読込後直ちに全レース比較を行う" is on by default). A 1 ms timer
// probes the event loop; the longest gap between two of its ticks, less the
// interval, is the longest time the window could not repaint.
//
//   gui_responsiveness [DAYS]     (default 520 race days, about five years)
//
// Runs under the offscreen platform; the simulated source and the acquired
// home are kept under $ORVALLE_BENCH_DATA (default bench-data) for later runs.
#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "acquire/acquisition_observer.h"
#include "app/acquire_command.h"
#include "app/startup.h"
#include "bench_sources.h"
#include "command_runner.h"
#include "gui_text.h"
#include "main_window.h"

namespace {

namespace fs = std::filesystem;
using namespace orvalle;

// The home of `days` simulated race days, acquired once.
fs::path acquiredHome(int days) {
  const fs::path source = bench::simulatedSource(days);
  const fs::path home = source.parent_path() / ("home-" + std::to_string(days));
  if (fs::exists(home / "ready")) return home;
  fs::remove_all(home);
  std::printf("acquiring %d simulated race days into %s ...\n", days, home.c_str());
  const app::Home started = app::startUp(home.string());
  acquire::AcquisitionObserver observer;
  app::AcquireCommandOptions options;
  options.source = source.string();
  options.fromText = "2000/01/01 00:00:00";
  options.setup = true;
  (void)app::runAcquireCommand(started, options, observer);
  std::ofstream(home / "ready") << "ready\n";
  return home;
}

// The newest final day with the most races (the RA day file is 1274 bytes a
// race); the newest day of all still waits for its results.
std::string fullestDay(const app::DaySession& session) {
  const std::vector<std::string> days = session.dateList();
  std::string best;
  std::uintmax_t bestSize = 0;
  for (size_t i = 1; i < days.size(); ++i) {
    const fs::path ra = session.home().dataFolder() / (days[i] + ".jvRA");
    std::error_code error;
    const std::uintmax_t size = fs::file_size(ra, error);
    if (!error && size > bestSize) {
      bestSize = size;
      best = days[i];
    }
  }
  return best;
}

}  // namespace

int main(int argc, char* argv[]) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  const int days = argc > 1 ? std::atoi(argv[1]) : 520;
  const fs::path home = acquiredHome(days);

  gui::MainWindow window{app::Home(home)};
  window.resize(1280, 760);
  window.show();
  const std::string day = fullestDay(window.session());
  std::printf("day %s\n", day.c_str());

  for (int run = 1; run <= 3; ++run) {
    QElapsedTimer clock;
    qint64 last = 0;
    qint64 longest = 0;
    QTimer probe;
    probe.setTimerType(Qt::PreciseTimer);
    probe.setInterval(1);
    QObject::connect(&probe, &QTimer::timeout, [&] {
      const qint64 now = clock.nsecsElapsed();
      longest = std::max(longest, now - last);
      last = now;
    });
    clock.start();
    probe.start();
    window.makeDateList();
    window.chooseDay(gui::fromUtf8(day));
    while (window.runner().busy()) QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    // The race display after the command runs from the event loop too.
    for (int i = 0; i < 20; ++i) QApplication::processEvents();
    probe.stop();
    const double total = static_cast<double>(clock.nsecsElapsed()) / 1e6;
    std::printf(
        "run %d: %zu races, load and all-race comparison %.0f ms, "
        "longest event-loop block %.1f ms\n",
        run, window.session().raceList().size(), total,
        std::max(0.0, static_cast<double>(longest) / 1e6 - 1.0));
  }
  return 0;
}
