// time_command RUNS PROGRAM [ARGS...]: runs a program RUNS times (after one run that is not
// counted) with its output discarded, and prints the median wall-clock and CPU milliseconds
// of one run, from just before it is started to just after it is reaped.
//
// Timing a command from a shell with `date` before and after puts two more process starts
// and the shell's forks into every figure: on the machines this project is measured on that
// was 15 ms, a quarter of a whole `quenlor unit` run.
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

extern char** environ;

namespace {

struct Sample {
  double wall_ms;
  double cpu_ms;
};

double Milliseconds(const timeval& t) { return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_usec) / 1e3; }

// One run; false when the program cannot be started or does not exit with status 0.
bool RunOnce(char** argv, Sample& sample) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  const auto start = std::chrono::steady_clock::now();
  pid_t pid = 0;
  const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv, environ);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) return false;
  int status = 0;
  rusage usage{};
  if (wait4(pid, &status, 0, &usage) != pid) return false;
  const auto end = std::chrono::steady_clock::now();
  sample.wall_ms = std::chrono::duration<double, std::milli>(end - start).count();
  sample.cpu_ms = Milliseconds(usage.ru_utime) + Milliseconds(usage.ru_stime);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const std::size_t n = values.size();
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3 || std::atoi(argv[1]) < 1) {
    std::fprintf(stderr, "usage: time_command RUNS PROGRAM [ARGS...]\n");
    return 2;
  }
  const int runs = std::atoi(argv[1]);
  char** command = argv + 2;
  Sample sample{};
  if (!RunOnce(command, sample)) {
    std::fprintf(stderr, "time_command: %s failed or could not be started\n", command[0]);
    return 1;
  }
  std::vector<double> walls, cpus;
  for (int i = 0; i < runs; ++i) {
    if (!RunOnce(command, sample)) {
      std::fprintf(stderr, "time_command: %s failed on run %d\n", command[0], i + 1);
      return 1;
    }
    walls.push_back(sample.wall_ms);
    cpus.push_back(sample.cpu_ms);
  }
  std::printf("%.1f %.1f\n", Median(walls), Median(cpus));
  return 0;
}
