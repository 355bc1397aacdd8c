#include "ui/qt/event_pump.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <memory>

#include "analysis/enumeration.h"

namespace appdu::qt {

namespace {
constexpr qint64 kPumpIntervalMs = 8;
}  // namespace

void InstallEventPump() {
  auto last = std::make_shared<QElapsedTimer>();
  SetPumpHook([last] {
    if (last->isValid() && last->elapsed() < kPumpIntervalMs) return;
    QCoreApplication::processEvents();
    // Counted from the end, so a long nested listing is not followed by a
    // second round of events straight away.
    last->start();
  });
}

void RemoveEventPump() { SetPumpHook(nullptr); }

}  // namespace appdu::qt
