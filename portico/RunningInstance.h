#pragma once

#include <QLockFile>
#include <QString>
#include <functional>
#include <memory>

class QLocalServer;

// Tells whether another launcher of the same user is running: the first one
// holds a lock file in the user's runtime folder until it ends (a lock left
// by a launcher that crashed is taken over). The first one also listens
// beside the lock, so that a second one can ask it to come to the front.
class RunningInstance {
  public:
    // The lock file of the user's launcher.
    static QString DefaultLockPath();

    explicit RunningInstance(const QString& lockPath = DefaultLockPath());
    ~RunningInstance();

    // False only when another running launcher holds the lock. A lock file
    // that cannot be created at all does not keep the launcher from starting.
    bool Acquire();

    // For the launcher that holds the lock: calls onCalled each time a later
    // launcher calls CallRunning. False when it cannot listen.
    bool Listen(std::function<void()> onCalled);

    // For a launcher that did not get the lock: asks the running one to come
    // to the front. False when the running one could not be reached.
    bool CallRunning(int timeoutMs = 2000);

  private:
    QString lockPath_;
    std::unique_ptr<QLockFile> lock_;
    QLocalServer* server_ = nullptr;
};
