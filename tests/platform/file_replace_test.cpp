// Atomic replacement under SIGKILL. A child process replaces a file holding an old score table
// with a new one while this process kills it: first stopped by ptrace at every system call of
// the save (before and after each), then at random moments. After every kill the file holds
// exactly one of the two tables; the temporary file of a killed save is never read and goes
// with a later save once it is stale.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/ptrace.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/user.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "platform/platform.h"

namespace {

namespace fs = std::filesystem;

const std::string OLD_TABLE = "ZED 900\nYOU 500\nAAA 100\n";
const std::string NEW_TABLE = "ZED 900\nNEW 750\nYOU 500\nAAA 100\nBBB 50\nCCC 10\n";

class FileReplace : public ::testing::Test {
 protected:
  void SetUp() override {
    // A kill does the same on any file system; in memory, where syncs cost nothing, the
    // thousand saves stay quick.
    const fs::path base = access("/dev/shm", W_OK) == 0 ? fs::path("/dev/shm") : fs::path(::testing::TempDir());
    folder_ = base / ("zorvane_replace_" + std::to_string(getpid()));
    fs::remove_all(folder_);
    fs::create_directories(folder_);
    path_ = (folder_ / "scores.dat").string();
  }
  void TearDown() override { fs::remove_all(folder_); }

  std::string contents() const {
    std::ifstream in(path_, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  // Everything in the folder but the file itself.
  std::vector<std::string> others() const {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(folder_))
      if (e.path().filename() != "scores.dat") names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }
  // Makes every other file in the folder look two minutes old.
  void age_others() const {
    const timespec times[2] = {{0, UTIME_OMIT}, {time(nullptr) - 120, 0}};
    for (const std::string& name : others()) utimensat(AT_FDCWD, (folder_ / name).c_str(), times, AT_SYMLINK_NOFOLLOW);
  }
  void save(const std::string& table) const { ASSERT_TRUE(platform_file_replace(path_.c_str(), table.data(), table.size())); }

  fs::path folder_;
  std::string path_;
};

struct Stop {
  long call;
  bool entry;  // before the call runs; otherwise after it returned
};

constexpr int NO_TRACE = 77;

// Saves NEW_TABLE in a child stopped at every system call; the tracer cuts every write to a few
// bytes, so that the save takes several. The child is killed at stop number kill_at (or runs to
// its end). Returns the stops it made; *traced false when this system refuses tracing.
std::vector<Stop> traced_save(const std::string& path, size_t kill_at, bool* traced) {
  std::vector<Stop> stops;
  *traced = true;
  const pid_t pid = fork();
  if (pid == 0) {
    if (ptrace(PTRACE_TRACEME, 0, nullptr, nullptr) != 0) _exit(NO_TRACE);
    raise(SIGSTOP);
    _exit(platform_file_replace(path.c_str(), NEW_TABLE.data(), NEW_TABLE.size()) ? 0 : 1);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  if (WIFEXITED(status)) {
    *traced = false;
    return stops;
  }
  ptrace(PTRACE_SETOPTIONS, pid, nullptr, reinterpret_cast<void*>(PTRACE_O_TRACESYSGOOD | PTRACE_O_EXITKILL));
  bool entry = true;
  int pass_signal = 0;
  for (;;) {
    ptrace(PTRACE_SYSCALL, pid, nullptr, reinterpret_cast<void*>(static_cast<intptr_t>(pass_signal)));
    pass_signal = 0;
    waitpid(pid, &status, 0);
    if (WIFEXITED(status) || WIFSIGNALED(status)) break;
    if (WSTOPSIG(status) != (SIGTRAP | 0x80)) {
      pass_signal = WSTOPSIG(status);
      continue;
    }
    user_regs_struct regs;
    ptrace(PTRACE_GETREGS, pid, nullptr, &regs);
    const long call = static_cast<long>(regs.orig_rax);
    if (entry && call == SYS_write && regs.rdx > 5) {
      regs.rdx = 5;
      ptrace(PTRACE_SETREGS, pid, nullptr, &regs);
    }
    stops.push_back({call, entry});
    if (stops.size() - 1 == kill_at) {
      kill(pid, SIGKILL);
      waitpid(pid, &status, 0);
      break;
    }
    entry = !entry;
  }
  return stops;
}

bool is_rename(long call) { return call == SYS_rename || call == SYS_renameat || call == SYS_renameat2; }

size_t count_entries(const std::vector<Stop>& stops, long call) {
  return static_cast<size_t>(std::count_if(stops.begin(), stops.end(), [&](Stop s) { return s.entry && s.call == call; }));
}

}  // namespace

TEST_F(FileReplace, AKillAtAnySystemCallOfTheSaveLeavesTheOldTableOrTheNew) {
#if !defined(__x86_64__)
  GTEST_SKIP() << "the tracer reads x86-64 registers";
#else
  save(OLD_TABLE);
  bool traced = true;
  const std::vector<Stop> whole = traced_save(path_, SIZE_MAX, &traced);
  if (!traced) GTEST_SKIP() << "this system does not allow tracing a child";
  ASSERT_EQ(contents(), NEW_TABLE);
  // The save really is the steps it should be: a temporary file, several writes, a sync, a rename.
  ASSERT_GE(count_entries(whole, SYS_openat) + count_entries(whole, SYS_open), 1u);
  ASSERT_GE(count_entries(whole, SYS_write), NEW_TABLE.size() / 5);
  ASSERT_EQ(count_entries(whole, SYS_fsync), 2u);  // the file, then its folder
  ASSERT_EQ(std::count_if(whole.begin(), whole.end(), [](Stop s) { return s.entry && is_rename(s.call); }), 1);

  size_t left_behind = 0;
  for (size_t kill_at = 0; kill_at < whole.size(); ++kill_at) {
    save(OLD_TABLE);
    const std::vector<std::string> before = others();
    const std::vector<Stop> stops = traced_save(path_, kill_at, &traced);
    ASSERT_EQ(stops.size(), kill_at + 1);
    const Stop at = stops.back();
    SCOPED_TRACE(testing::Message() << "killed at stop " << kill_at << (at.entry ? ", before call " : ", after call ")
                                    << at.call);
    const bool renamed = std::any_of(stops.begin(), stops.end(), [](Stop s) { return !s.entry && is_rename(s.call); });
    EXPECT_EQ(contents(), renamed ? NEW_TABLE : OLD_TABLE);
    // A temporary file stays only when the kill fell between its creation and the rename.
    const size_t added = others().size() - before.size();
    EXPECT_LE(added, renamed ? 0u : 1u);
    left_behind += added;
  }
  EXPECT_GT(left_behind, NEW_TABLE.size() / 5);  // kills inside the writes leave theirs

  // Leftovers are never read; a save leaves young ones alone (another game may be saving with
  // one) and removes those a minute old, and only those that are its own kind.
  save(NEW_TABLE);
  EXPECT_EQ(others().size(), left_behind);
  age_others();
  fs::create_directory(folder_ / "scores.dat.Dir123");
  for (const char* name : {"scores.dat.bak", "scores.dat.ABC12", "other.dat.ABCDEF", "scores.dat.AB-123"})
    std::ofstream(folder_ / name) << "keep";
  age_others();
  std::ofstream(folder_ / "scores.dat.Young1") << "a save in progress";
  save(OLD_TABLE);
  EXPECT_EQ(contents(), OLD_TABLE);
  EXPECT_EQ(others(), (std::vector<std::string>{"other.dat.ABCDEF", "scores.dat.AB-123", "scores.dat.ABC12",
                                                "scores.dat.Dir123", "scores.dat.Young1", "scores.dat.bak"}));
#endif
}

// A child saves the two tables in turn, without end; it is killed at a random moment of that,
// a thousand times. Each kill leaves one table or the other, whole.
TEST_F(FileReplace, AThousandKillsAtRandomMomentsLeaveATableWhole) {
  save(OLD_TABLE);
  // How long one save takes here, so that the kills spread over a few saves.
  const auto started = std::chrono::steady_clock::now();
  for (int i = 0; i < 20; ++i) save(i % 2 ? OLD_TABLE : NEW_TABLE);
  const auto save_us =
      std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - started).count() / 20;
  std::mt19937 rnd(13);
  std::uniform_int_distribution<int64_t> delay_us(0, 3 * std::max<int64_t>(save_us, 20));

  int olds = 0, news = 0, with_temp = 0;
  for (int round = 0; round < 1000; ++round) {
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const pid_t pid = fork();
    if (pid == 0) {
      prctl(PR_SET_PDEATHSIG, SIGKILL);  // never outlives a test that stopped half way
      close(ready[0]);
      if (write(ready[1], "r", 1) != 1) _exit(1);
      for (unsigned i = 0;; ++i) {
        const std::string& table = i % 2 ? OLD_TABLE : NEW_TABLE;
        platform_file_replace(path_.c_str(), table.data(), table.size());
      }
    }
    close(ready[1]);
    char byte = 0;
    const bool started = read(ready[0], &byte, 1) == 1;
    close(ready[0]);
    if (started) std::this_thread::sleep_for(std::chrono::microseconds(delay_us(rnd)));
    kill(pid, SIGKILL);
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(started && WIFSIGNALED(status));
    const std::string now = contents();
    ASSERT_TRUE(now == OLD_TABLE || now == NEW_TABLE) << "round " << round << ": \"" << now << "\"";
    (now == OLD_TABLE ? olds : news) += 1;
    // A killed save's temporary file is stale for the next one.
    if (!others().empty()) ++with_temp, age_others();
  }
  EXPECT_GT(olds, 0);
  EXPECT_GT(news, 0);
  save(NEW_TABLE);
  EXPECT_TRUE(others().empty());
  std::printf("1000 kills, one save %lld us: %d old, %d new, %d left a temporary file\n",
              static_cast<long long>(save_us), olds, news, with_temp);
}

// Past the file-size limit (ulimit -f) a write raises SIGXFSZ, which would end the game: the
// save must fail instead, leave the old table and its errno (EFBIG), and the next save under a
// larger limit must succeed.
TEST_F(FileReplace, AFileSizeLimitFailsTheSaveAndEndsNothing) {
  save(OLD_TABLE);
  std::fflush(nullptr);
  const pid_t pid = fork();
  ASSERT_GE(pid, 0);
  if (pid == 0) {
    const rlimit small{OLD_TABLE.size(), RLIM_INFINITY};
    if (setrlimit(RLIMIT_FSIZE, &small) != 0) _exit(3);
    errno = 0;
    const bool saved = platform_file_replace(path_.c_str(), NEW_TABLE.data(), NEW_TABLE.size());
    if (saved) _exit(1);
    if (errno != EFBIG) _exit(2);
    std::ifstream in(path_, std::ios::binary);
    if (std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()) != OLD_TABLE) _exit(5);
    const rlimit large{RLIM_INFINITY, RLIM_INFINITY};
    setrlimit(RLIMIT_FSIZE, &large);
    _exit(platform_file_replace(path_.c_str(), NEW_TABLE.data(), NEW_TABLE.size()) ? 0 : 4);
  }
  int status = 0;
  ASSERT_EQ(waitpid(pid, &status, 0), pid);
  ASSERT_FALSE(WIFSIGNALED(status)) << "ended by signal " << WTERMSIG(status);
  ASSERT_TRUE(WIFEXITED(status));
  // 1: saved past the limit; 2: another error than EFBIG; 5: the old table changed; 4: the next
  // save failed.
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_EQ(contents(), NEW_TABLE);
  EXPECT_TRUE(others().empty());
}
