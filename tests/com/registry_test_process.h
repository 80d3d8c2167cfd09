#pragma once
// Another process for a test: a forked child that runs a body and exits with its status.
#include <sys/wait.h>
#include <unistd.h>

namespace com_test {

// Runs body in a child process and returns the child's id.
template <class Body>
pid_t Fork(Body body) {
  const pid_t pid = ::fork();
  if (pid == 0) {
    int status = 0;
    try {
      status = body();
    } catch (...) {
      status = 99;
    }
    ::_exit(status);
  }
  return pid;
}

// The child's exit status; -1 when it did not exit normally.
inline int Wait(pid_t pid) {
  int status = 0;
  if (::waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) return -1;
  return WEXITSTATUS(status);
}

// Runs body in a child process to its end and returns its exit status.
template <class Body>
int RunInChild(Body body) {
  const pid_t pid = Fork(body);
  return pid > 0 ? Wait(pid) : -1;
}

}  // namespace com_test
