#pragma once
// Runs a program in a child process under a memory limit of 2 GB, the way a hostile page must be survived.
//
// Without AddressSanitizer the limit is the address space (RLIMIT_AS). AddressSanitizer reserves terabytes
// of address space, so in sanitizer builds the limit is its resident-memory limit and its largest single
// allocation instead; its reports then end with SanitizerExitCode so that they are never mistaken for the
// program's own exit status 1. A program that meets the limit either dies or fails an allocation: Verdict()
// counts both, the latter by the message the program prints.
#include <string>
#include <vector>

constexpr int SanitizerExitCode = 86;

struct TLimitedRun {
  int ExitCode = -1;  // when the program exited
  int Signal = 0;     // when a signal ended it
  long PeakRssKb = 0; // the child's peak resident memory
  bool TimedOut = false;
  std::string Err; // standard error

  // Empty when the program ended with exit status 0 or 1 on its own and met no limit; otherwise what went
  // wrong.
  std::string Verdict() const;
};

// Runs program with args; standard output is discarded. Killed after timeoutSeconds (far beyond any
// page deadline: only a guard against a test that would hang).
TLimitedRun RunLimited(const std::string& program, const std::vector<std::string>& args,
                       int timeoutSeconds = 600);
