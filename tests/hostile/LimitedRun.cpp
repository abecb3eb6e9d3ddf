#include "LimitedRun.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <stdexcept>

namespace {

constexpr unsigned long MemoryLimitMb = 2048;

#if defined(__SANITIZE_ADDRESS__)
constexpr bool Sanitized = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool Sanitized = true;
#else
constexpr bool Sanitized = false;
#endif
#else
constexpr bool Sanitized = false;
#endif

// What a program prints when an allocation failed (std::bad_alloc caught and reported, or the sanitizer's
// own report).
const char* const OutOfMemoryMarks[] = {
    "bad_alloc",          "out of memory",    "Out of memory", "allocation-size-too-big",
    "rss-limit-exceeded", "AddressSanitizer", "runtime error"};

[[noreturn]] void ExecChild(const std::string& program, const std::vector<std::string>& args, int errFd,
                            int timeoutSeconds) {
  const int devNull = open("/dev/null", O_WRONLY);
  dup2(devNull, 1);
  dup2(errFd, 2);
  if (Sanitized) {
    const std::string options = "hard_rss_limit_mb=" + std::to_string(MemoryLimitMb) +
                                ":max_allocation_size_mb=" + std::to_string(MemoryLimitMb) +
                                ":allocator_may_return_null=1:exitcode=" + std::to_string(SanitizerExitCode) +
                                ":detect_leaks=1";
    setenv("ASAN_OPTIONS", options.c_str(), 1);
    setenv("UBSAN_OPTIONS", ("exitcode=" + std::to_string(SanitizerExitCode)).c_str(), 1);
  } else {
    const rlimit limit{MemoryLimitMb << 20, MemoryLimitMb << 20};
    setrlimit(RLIMIT_AS, &limit);
  }
  // Kept across exec: the drawing program zvptool starts inherits it.
  alarm(unsigned(timeoutSeconds));
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(program.c_str()));
  for (const std::string& a : args)
    argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  execv(program.c_str(), argv.data());
  _exit(127);
}

} // namespace

std::string TLimitedRun::Verdict() const {
  if (TimedOut) return "still running after the guard time";
  if (Signal != 0) return "ended by signal " + std::to_string(Signal);
  if (ExitCode == SanitizerExitCode) return "the sanitizer reported an error or the memory limit";
  if (ExitCode != 0 && ExitCode != 1) return "exit status " + std::to_string(ExitCode);
  for (const char* mark : OutOfMemoryMarks)
    if (Err.find(mark) != std::string::npos)
      return std::string("out of memory or sanitizer (\"") + mark + "\")";
  return {};
}

TLimitedRun RunLimited(const std::string& program, const std::vector<std::string>& args, int timeoutSeconds) {
  std::FILE* err = std::tmpfile();
  if (!err) throw std::runtime_error("no temporary file for standard error");
  const pid_t pid = fork();
  if (pid < 0) throw std::runtime_error("fork failed");
  if (pid == 0) ExecChild(program, args, fileno(err), timeoutSeconds);

  int status = 0;
  rusage usage{};
  while (wait4(pid, &status, 0, &usage) < 0) {
  }
  TLimitedRun run;
  run.PeakRssKb = usage.ru_maxrss;
  if (WIFEXITED(status)) run.ExitCode = WEXITSTATUS(status);
  if (WIFSIGNALED(status)) {
    run.Signal = WTERMSIG(status);
    run.TimedOut = run.Signal == SIGALRM;
  }
  std::rewind(err);
  char buffer[4096];
  size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, err)) > 0)
    run.Err.append(buffer, n);
  std::fclose(err);
  return run;
}
