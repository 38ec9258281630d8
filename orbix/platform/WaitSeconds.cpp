// SPDX-License-Identifier: BSD-3-Clause
#include "orbix/platform/WaitSeconds.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

namespace modCommon {

namespace testing {
int MillisecondsPerSecond = 1000;
}

void WaitSeconds(std::int16_t seconds) {
    const qint64 total = static_cast<qint64>(seconds) * testing::MillisecondsPerSecond;
    QElapsedTimer clock;
    clock.start();
    // The timer only wakes the event wait below when nothing else arrives.
    QTimer wake;
    wake.setSingleShot(true);
    wake.setTimerType(Qt::PreciseTimer);
    for (qint64 left = total - clock.elapsed(); left > 0; left = total - clock.elapsed()) {
        if (!wake.isActive()) wake.start(static_cast<int>(left));
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    }
}

}  // namespace modCommon
