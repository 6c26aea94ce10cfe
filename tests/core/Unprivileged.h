#pragma once

// Drops the administrator's rights while it lives, so that the permissions of a folder bind a
// test as they bind a learner (the administrator may write anywhere); an ordinary user stays
// as they are. Plain POSIX, for the tests of saving at every layer.

#include <gtest/gtest.h>

#include <pwd.h>
#include <unistd.h>

namespace vasora::testing {

class Unprivileged final {
  public:
    Unprivileged() {
        if (::geteuid() != 0) return;
        const passwd* nobody = ::getpwnam("nobody");
        const gid_t gid = nobody ? nobody->pw_gid : 65534;
        const uid_t uid = nobody ? nobody->pw_uid : 65534;
        m_dropped = ::setegid(gid) == 0 && ::seteuid(uid) == 0;
        EXPECT_TRUE(m_dropped) << "the test could not give up the administrator's rights";
    }
    ~Unprivileged() {
        if (!m_dropped) return;
        EXPECT_EQ(::seteuid(0), 0);
        EXPECT_EQ(::setegid(0), 0);
    }
    Unprivileged(const Unprivileged&) = delete;
    Unprivileged& operator=(const Unprivileged&) = delete;

  private:
    bool m_dropped = false;
};

}  // namespace vasora::testing
