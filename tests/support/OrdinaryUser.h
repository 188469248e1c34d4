#pragma once
// File permissions mean nothing to the superuser, so tests of refused reads and writes run
// their file accesses as an ordinary user. Only the file-system identity of the calling
// thread changes (setfsuid/setfsgid), which also drops the thread's right to override file
// permissions; other threads and the process keep theirs, and the destructor restores it.
// When the tests already run as an ordinary user nothing changes.

#include <gtest/gtest.h>

#include <sys/fsuid.h>
#include <sys/types.h>
#include <unistd.h>

class AsOrdinaryUser
{
public:
    static constexpr uid_t kUser = 65534; // "nobody"
    static constexpr gid_t kGroup = 65534;

    AsOrdinaryUser() : dropped_(::geteuid() == 0)
    {
        if (dropped_) {
            ::setfsgid(kGroup);
            ::setfsuid(kUser);
        }
    }
    ~AsOrdinaryUser()
    {
        if (dropped_) {
            ::setfsuid(0);
            ::setfsgid(0);
        }
    }
    AsOrdinaryUser(const AsOrdinaryUser&) = delete;
    AsOrdinaryUser& operator=(const AsOrdinaryUser&) = delete;

    // The thread's file-system user now: kUser, or the ordinary user the tests run as.
    static uid_t CurrentFsUser() { return static_cast<uid_t>(::setfsuid(static_cast<uid_t>(-1))); }

private:
    bool dropped_;
};
