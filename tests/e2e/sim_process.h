// Runs qxsim (or any program that announces something on its first line of
// output) as a child process for an end-to-end test:
//
//   qx::test::SimProcess sim(QXSIM_PATH, {"--once", "--image", path});
//   ASSERT_TRUE(sim.Started()) << sim.Error();
//   ... open sim.Path() as the serial port, or hand it to qxctl ...
//   EXPECT_EQ(sim.Wait(std::chrono::seconds(5)), 0);
//
// The child's standard output is a pipe: its first line (the pseudo-terminal
// path) is read at start, waiting at most the given time. Its standard error
// goes to `stderrPath` when one is given, else to the test's own. The
// destructor kills and reaps a child that is still running, so a failing
// test never leaves a qxsim behind.
#pragma once

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace qx::test {

class SimProcess {
  public:
    SimProcess(const std::string& program, const std::vector<std::string>& args,
               const std::filesystem::path& stderrPath = {},
               std::chrono::milliseconds timeout = std::chrono::seconds(5)) {
        int out[2] = {-1, -1};
        if (pipe(out) != 0) {
            error_ = "cannot create a pipe";
            return;
        }
        // Later children must not hold this child's pipe; dup2 clears the
        // flag on the child's own standard output.
        fcntl(out[0], F_SETFD, FD_CLOEXEC);
        fcntl(out[1], F_SETFD, FD_CLOEXEC);
        const int errFd = stderrPath.empty() ? -1
                                             : open(stderrPath.c_str(),
                                                    O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        // Everything the child needs is prepared before fork.
        std::vector<std::string> words{program};
        words.insert(words.end(), args.begin(), args.end());
        std::vector<char*> argv;
        for (std::string& word : words) argv.push_back(word.data());
        argv.push_back(nullptr);

        pid_ = fork();
        if (pid_ == 0) {
            dup2(out[1], STDOUT_FILENO);
            if (errFd >= 0) dup2(errFd, STDERR_FILENO);
            close(out[0]);
            close(out[1]);
            execv(argv[0], argv.data());
            _exit(127);
        }
        close(out[1]);
        if (errFd >= 0) close(errFd);
        out_ = out[0];
        if (pid_ < 0) {
            error_ = "cannot fork";
            return;
        }
        ReadFirstLine(timeout);
    }
    ~SimProcess() {
        Kill();
        if (out_ >= 0) close(out_);
    }
    SimProcess(const SimProcess&) = delete;
    SimProcess& operator=(const SimProcess&) = delete;

    // True once the first line has been read.
    bool Started() const { return started_; }
    // Why the start failed: no first line within the time-out, early exit, ...
    const std::string& Error() const { return error_; }
    // The first line without its line end: qxsim's pseudo-terminal path.
    const std::string& Path() const { return path_; }
    pid_t Pid() const { return pid_; }

    // SIGKILL and reap; nothing when the child has already been reaped.
    void Kill() {
        if (!Running()) return;
        kill(pid_, SIGKILL);
        Reap(0);
    }
    // SIGTERM, then the exit code as Wait gives it.
    std::optional<int> Stop(std::chrono::milliseconds timeout = std::chrono::seconds(5)) {
        if (Running()) kill(pid_, SIGTERM);
        return Wait(timeout);
    }
    // The exit code once the child has ended (128 + the signal number when a
    // signal ended it), or nullopt when it is still running after `timeout`.
    std::optional<int> Wait(std::chrono::milliseconds timeout) {
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        while (Running()) {
            if (Reap(WNOHANG)) break;
            if (std::chrono::steady_clock::now() >= deadline) return std::nullopt;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return exitCode_;
    }

  private:
    bool Running() const { return pid_ > 0 && !exitCode_; }

    bool Reap(int flags) {
        int status = 0;
        pid_t done = -1;
        do {
            done = waitpid(pid_, &status, flags);
        } while (done < 0 && errno == EINTR);
        if (done != pid_) return false;
        exitCode_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        return true;
    }

    void ReadFirstLine(std::chrono::milliseconds timeout) {
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        std::string line;
        for (;;) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
            pollfd ready{out_, POLLIN, 0};
            if (left.count() <= 0 || poll(&ready, 1, static_cast<int>(left.count())) <= 0) {
                error_ = "no first line within the time-out";
                return;
            }
            char c = 0;
            const ssize_t count = read(out_, &c, 1);
            if (count <= 0) {
                error_ = "the program ended before its first line";
                return;
            }
            if (c == '\n') break;
            line.push_back(c);
        }
        path_ = line;
        started_ = true;
    }

    pid_t pid_ = -1;
    int out_ = -1;
    bool started_ = false;
    std::string path_;
    std::string error_;
    std::optional<int> exitCode_;
};

}  // namespace qx::test
