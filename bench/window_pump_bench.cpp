// What the window's event pump costs a listing: lists FOLDER over and over,
// alternately without a pump hook and with the window's pump installed, and
// prints the median times and their ratio. Run it under a display (or with
// QT_QPA_PLATFORM=offscreen), warm cache:
//   window_pump_bench FOLDER [RUNS]
#include <QApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "analysis/enumeration.h"
#include "analysis/listing.h"
#include "bench/silent_controls.h"
#include "encoding/native_name.h"
#include "platform/clock.h"
#include "ui/qt/event_pump.h"

namespace {

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: window_pump_bench FOLDER [RUNS]\n");
    return 2;
  }
  QApplication application(argc, argv);
  const appdu::Text folder = appdu::TextFromNative(argv[1]);
  const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 7;
  appdu::bench::SilentControls controls;
  appdu::platform::SystemClock clock;
  appdu::ListingSession session(controls, clock);
  auto timeOne = [&] {
    QElapsedTimer timer;
    timer.start();
    appdu::ListFolder(session, folder);
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
  };
  timeOne();  // warms the cache
  std::vector<double> without, with;
  for (int run = 0; run < runs; ++run) {
    appdu::qt::RemoveEventPump();
    without.push_back(timeOne());
    appdu::qt::InstallEventPump();
    with.push_back(timeOne());
  }
  appdu::qt::RemoveEventPump();
  const double a = Median(without), b = Median(with);
  std::printf("folder %s, %d runs each, interleaved\n", argv[1], runs);
  std::printf("listing without a pump hook: median %.1f ms\n", a);
  std::printf("listing with the window's pump: median %.1f ms\n", b);
  std::printf("ratio: %.3f (target <= 1.05)\n", b / a);
  return 0;
}
