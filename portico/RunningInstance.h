// SPDX-License-Identifier: BSD-3-Clause
#pragma once

#include <QLockFile>
#include <QString>
#include <functional>
#include <memory>

class QLocalServer;

// Tells whether another launcher of the same user runs on the same display:
// the first one holds a lock file in the user's runtime folder until it
// ends (a lock left by a launcher that crashed, or one whose holder cannot
// be read, is taken over). The first one also listens beside the lock, so that
// a second one can ask it to come to the front; where the lock cannot be
// written at all, whether that listener answers decides.
class RunningInstance {
  public:
    // The lock file of the user's launcher on the display the application
    // shows its windows on.
    static QString DefaultLockPath();

    explicit RunningInstance(const QString& lockPath = DefaultLockPath());
    ~RunningInstance();

    // True for the first launcher. False when another launcher runs; it has
    // been asked to come to the front. A lock that cannot be written does
    // not keep a first launcher from starting.
    bool Acquire();

    // For the first launcher: calls onCalled each time a later launcher
    // calls CallRunning. False when it cannot listen.
    bool Listen(std::function<void()> onCalled);

    // Asks the running launcher to come to the front. False when none could
    // be reached.
    bool CallRunning(int timeoutMs = 2000);

  private:
    QString lockPath_;
    std::unique_ptr<QLockFile> lock_;
    QLocalServer* server_ = nullptr;
};
