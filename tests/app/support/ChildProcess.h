// Runs a piece of a test in a child process: for limits that must not touch
// the test process (a file-size or memory limit, an ignored signal), and for
// permission checks, which root passes whatever the bits say (the child then
// runs as the user "nobody").
#pragma once

#include <functional>

#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

namespace kalvora::test {

// The exit code of a child that was to become "nobody" and could not.
inline constexpr int kCannotDropRoot = 77;

// The exit code of `fn` run in a child (101 when it throws, 200 + the
// signal when the child is killed).
inline int InChild(const std::function<int()>& fn, bool dropRoot = false) {
  const pid_t pid = ::fork();
  if (pid == 0) {
    // Root's supplementary groups go too: group bits would grant them.
    if (dropRoot && ::geteuid() == 0 &&
        (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0))
      ::_exit(kCannotDropRoot);
    int code;
    try {
      code = fn();
    } catch (...) {
      code = 101;
    }
    ::_exit(code);
  }
  int status = 0;
  ::waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 200 + WTERMSIG(status);
}

}  // namespace kalvora::test
