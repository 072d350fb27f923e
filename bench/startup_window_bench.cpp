// The start of the editor to its shown main window, against a minimal Qt
// program with a menu bar (min_qt_window.cpp) built by the same build, both
// on Qt's offscreen platform, whole processes. Each iteration starts both,
// one after the other, so the two share the machine's state; the counters
// give each one's mean wall time and the ratios of the editor to the minimal
// program in wall time ("ratio") and in processor time, user and system
// ("cpu_ratio", the steadier figure on a busy machine).
//
// The editor runs on a copy of the default program folder (build/korvane,
// with the program file) and leaves as soon as its main window has been
// painted (KORVANE_EXIT_WHEN_SHOWN=1, no shut-down); the work folder it
// leaves behind is removed outside the timing, so every start is a first one.
#include <benchmark/benchmark.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

extern char** environ;

namespace {

namespace stdfs = std::filesystem;

// The environment of the started programs: this one's, on the offscreen
// platform, the editor leaving once shown, with a runtime folder of its own
// (an editor already running elsewhere would make each start a second one,
// which ends at once).
std::vector<std::string> ChildEnvironment(const stdfs::path& runtimeFolder) {
  std::vector<std::string> env;
  for (char** e = environ; *e != nullptr; ++e) {
    const std::string_view v(*e);
    if (v.starts_with("QT_QPA_PLATFORM=") || v.starts_with("KORVANE_EXIT_WHEN_SHOWN=") ||
        v.starts_with("XDG_RUNTIME_DIR="))
      continue;
    env.emplace_back(v);
  }
  env.emplace_back("QT_QPA_PLATFORM=offscreen");
  env.emplace_back("KORVANE_EXIT_WHEN_SHOWN=1");
  env.emplace_back("XDG_RUNTIME_DIR=" + runtimeFolder.string());
  return env;
}

struct RunTime {
  double wall = -1;  // seconds; negative when the program could not be started or failed
  double cpu = 0;    // user and system seconds
};

double Seconds(const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; }

// Runs a program to its end.
RunTime Run(const std::string& program, const std::vector<std::string>& env) {
  std::vector<char*> argv{const_cast<char*>(program.c_str()), nullptr};
  std::vector<char*> envp;
  for (const std::string& e : env) envp.push_back(const_cast<char*>(e.c_str()));
  envp.push_back(nullptr);
  posix_spawn_file_actions_t quiet;
  posix_spawn_file_actions_init(&quiet);
  posix_spawn_file_actions_addopen(&quiet, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&quiet, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  const auto start = std::chrono::steady_clock::now();
  pid_t pid = 0;
  const int spawned = posix_spawn(&pid, program.c_str(), &quiet, nullptr, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&quiet);
  if (spawned != 0) return {};
  int status = 0;
  rusage usage{};
  if (wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0) return {};
  return {std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(),
          Seconds(usage.ru_utime) + Seconds(usage.ru_stime)};
}

// A scratch copy of the program folder with the program file.
class ProgramFolderCopy {
 public:
  ProgramFolderCopy() {
    std::string tmpl = (stdfs::temp_directory_path() / "kvstart-XXXXXX").string();
    if (::mkdtemp(tmpl.data()) == nullptr) std::abort();
    root_ = tmpl;
    const stdfs::path exe = KORVANE_EXE;
    for (const auto& e : stdfs::directory_iterator(exe.parent_path()))
      if (e.is_regular_file()) stdfs::copy_file(e.path(), root_ / e.path().filename());
    program_ = (root_ / exe.filename()).string();
    stdfs::create_directory(root_ / "run");
    stdfs::permissions(root_ / "run", stdfs::perms::owner_all);
  }
  ~ProgramFolderCopy() {
    std::error_code ec;
    stdfs::remove_all(root_, ec);
  }
  ProgramFolderCopy(const ProgramFolderCopy&) = delete;
  ProgramFolderCopy& operator=(const ProgramFolderCopy&) = delete;

  const std::string& Program() const { return program_; }
  stdfs::path RuntimeFolder() const { return root_ / "run"; }
  // What a start left behind goes, so that the next start is a first one.
  void Clear() {
    std::error_code ec;
    stdfs::remove_all(root_ / "WORK", ec);
  }
  // A start that reached the main window has made the work folder.
  bool Started() const { return stdfs::is_directory(root_ / "WORK"); }

 private:
  stdfs::path root_;
  std::string program_;
};

void BM_StartToShownWindow(benchmark::State& state) {
  ProgramFolderCopy folder;
  const std::vector<std::string> env = ChildEnvironment(folder.RuntimeFolder());
  RunTime program{0, 0};
  RunTime minimal{0, 0};
  for (auto _ : state) {
    folder.Clear();
    const RunTime p = Run(folder.Program(), env);
    const RunTime m = Run(KORVANE_MIN_WINDOW_EXE, env);
    if (p.wall < 0 || m.wall < 0 || !folder.Started()) {
      state.SkipWithError("a program did not start or did not end cleanly");
      break;
    }
    program.wall += p.wall;
    program.cpu += p.cpu;
    minimal.wall += m.wall;
    minimal.cpu += m.cpu;
    state.SetIterationTime(p.wall);
  }
  const double n = static_cast<double>(state.iterations());
  if (n > 0 && minimal.wall > 0 && minimal.cpu > 0) {
    state.counters["program_ms"] = 1000 * program.wall / n;
    state.counters["minimal_qt_ms"] = 1000 * minimal.wall / n;
    state.counters["ratio"] = program.wall / minimal.wall;
    state.counters["cpu_ratio"] = program.cpu / minimal.cpu;
  }
}
BENCHMARK(BM_StartToShownWindow)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);

}  // namespace
