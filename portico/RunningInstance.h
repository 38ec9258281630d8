#pragma once

#include <QLockFile>
#include <QString>
#include <memory>

// Tells whether another launcher of the same user is running: the first one
// holds a lock file in the user's runtime folder until it ends (a lock left
// by a launcher that crashed is taken over).
class RunningInstance {
  public:
    // The lock file of the user's launcher.
    static QString DefaultLockPath();

    explicit RunningInstance(const QString& lockPath = DefaultLockPath());

    // False only when another running launcher holds the lock. A lock file
    // that cannot be created at all does not keep the launcher from starting.
    bool Acquire();

  private:
    std::unique_ptr<QLockFile> lock_;
};
