// Test harness for videoenc.dll; see harness.h.
#include "harness.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

extern char** environ;

namespace harness {
namespace fs = std::filesystem;

namespace {

const fs::path& scratch() {
    static TempDir dir;
    return dir.path();
}

std::string slurp(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

std::vector<std::string> environmentWith(const std::vector<std::pair<std::string, std::string>>& extra) {
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e) {
        const std::string entry(*e);
        bool replaced = false;
        for (const auto& [name, value] : extra) replaced = replaced || entry.starts_with(name + "=");
        if (!replaced) env.push_back(entry);
    }
    for (const auto& [name, value] : extra) env.push_back(name + "=" + value);
    return env;
}

void check(int error, const char* what) {
    if (error != 0) throw std::runtime_error(std::string(what) + ": " + std::strerror(error));
}

}  // namespace

std::string frontPath() { return VIDEOENC_PATH; }

std::string Result::describe() const {
    std::ostringstream s;
    if (hung) s << "hung; ";
    if (exited) s << "exit " << exitCode;
    else if (signal) s << "killed by signal " << signal;
    s << "\n--- stderr ---\n" << err.substr(err.size() > 3000 ? err.size() - 3000 : 0);
    return s.str();
}

Child::Child(const std::vector<std::string>& argv, const RunOptions& options)
    : hangLimitMs_(options.hangLimitSeconds * 1000) {
    static std::atomic<int> counter{0};
    const int n = counter++;
    outFile_ = scratch() / ("out-" + std::to_string(n));
    errFile_ = scratch() / ("err-" + std::to_string(n));

    posix_spawn_file_actions_t actions;
    posix_spawnattr_t attr;
    check(posix_spawn_file_actions_init(&actions), "spawn actions");
    check(posix_spawnattr_init(&attr), "spawn attributes");
    int pipeFds[2] = {-1, -1};
    if (options.stdinPipe) {
        check(pipe2(pipeFds, O_CLOEXEC) != 0 ? errno : 0, "pipe");
        posix_spawn_file_actions_adddup2(&actions, pipeFds[0], 0);
        stdinWrite_ = pipeFds[1];
    } else {
        posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    }
    posix_spawn_file_actions_addopen(&actions, 1, outFile_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions, 2, errFile_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (!options.cwd.empty()) posix_spawn_file_actions_addchdir_np(&actions, options.cwd.c_str());

    short flags = POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF;
    sigset_t none, defaults;
    sigemptyset(&none);
    sigemptyset(&defaults);
    sigaddset(&defaults, SIGPIPE);
    posix_spawnattr_setsigmask(&attr, &none);
    posix_spawnattr_setsigdefault(&attr, &defaults);
    if (options.ownGroup) {
        flags |= POSIX_SPAWN_SETPGROUP;
        posix_spawnattr_setpgroup(&attr, 0);
    }
    posix_spawnattr_setflags(&attr, flags);

    std::vector<char*> args;
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    std::vector<std::string> env = environmentWith(options.env);
    std::vector<char*> envp;
    for (std::string& e : env) envp.push_back(e.data());
    envp.push_back(nullptr);

    const int error = posix_spawnp(&pid_, args[0], &actions, &attr, args.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attr);
    if (pipeFds[0] >= 0) close(pipeFds[0]);
    if (error != 0) {
        pid_ = -1;
        throw std::runtime_error("cannot start " + argv[0] + ": " + std::strerror(error));
    }
}

Child::~Child() {
    if (!waited_ && pid_ > 0) {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
    if (stdinWrite_ >= 0) close(stdinWrite_);
    std::error_code ignored;
    fs::remove(outFile_, ignored);
    fs::remove(errFile_, ignored);
}

Result Child::wait() {
    Result result;
    const int pidfd = static_cast<int>(syscall(SYS_pidfd_open, pid_, 0));
    if (pidfd >= 0) {
        pollfd p{pidfd, POLLIN, 0};
        int ready;
        do {
            ready = poll(&p, 1, hangLimitMs_);
        } while (ready < 0 && errno == EINTR);
        close(pidfd);
        if (ready == 0) {
            result.hung = true;
            kill(-pid_, SIGKILL);  // its group, if it leads one
            kill(pid_, SIGKILL);
        }
    }
    int status = 0;
    while (waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
    }
    waited_ = true;
    if (stdinWrite_ >= 0) {
        close(stdinWrite_);
        stdinWrite_ = -1;
    }
    if (WIFEXITED(status)) {
        result.exited = true;
        result.exitCode = WEXITSTATUS(status);
    } else if (WIFSIGNALED(status)) {
        result.signal = WTERMSIG(status);
    }
    result.out = slurp(outFile_);
    result.err = slurp(errFile_);
    return result;
}

Result run(const std::vector<std::string>& argv, const RunOptions& options) {
    Child child(argv, options);
    return child.wait();
}

void runPool(std::size_t count, const std::function<void(std::size_t)>& job) {
    std::atomic<std::size_t> next{0};
    const auto worker = [&] {
        for (std::size_t i; (i = next++) < count;) job(i);
    };
    std::thread helper(worker);
    worker();
    helper.join();
}

TempDir::TempDir() {
    std::string pattern = (fs::temp_directory_path() / "videoenc-test-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot make a temporary folder");
    path_ = pattern;
}

TempDir::~TempDir() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
}

void makeClip(const fs::path& file, double seconds, int channels) {
    const std::string d = std::to_string(seconds);
    const bool matroska = file.extension() == ".mkv";
    std::vector<std::string> argv = {"ffmpeg", "-nostdin", "-v", "error", "-f", "lavfi", "-i",
                                     "testsrc=size=160x120:rate=25:duration=" + d};
    if (channels > 0) {
        argv.insert(argv.end(), {"-f", "lavfi", "-i", "sine=frequency=440:sample_rate=48000:duration=" + d, "-ac",
                                 std::to_string(channels), "-c:a", matroska ? "pcm_s16le" : "aac", "-shortest"});
    }
    argv.insert(argv.end(), {"-c:v", "mpeg4", "file:" + file.string()});
    const Result r = run(argv);
    if (!r.exited || r.exitCode != 0) {
        throw std::runtime_error("cannot make clip " + file.string() + ": " + r.describe());
    }
}

std::set<std::string> folderNames(const fs::path& dir) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir)) names.insert(entry.path().filename().string());
    return names;
}

std::string Stream::get(const std::string& key) const {
    const auto it = fields.find(key);
    return it == fields.end() ? std::string() : it->second;
}

MediaInfo inspect(const fs::path& file) {
    MediaInfo info;
    const Result r = run({"ffprobe", "-v", "error", "-count_frames", "-show_entries",
                          "stream=codec_type,codec_name,sample_rate,channels,nb_read_frames:format=duration", "-of",
                          "compact=p=0", "file:" + file.string()});
    info.ok = r.exited && r.exitCode == 0 && r.err.empty();
    info.problems = r.err;
    std::istringstream lines(r.out);
    for (std::string line; std::getline(lines, line);) {
        Stream s;
        std::istringstream fields(line);
        for (std::string field; std::getline(fields, field, '|');) {
            const auto eq = field.find('=');
            if (eq != std::string::npos) s.fields[field.substr(0, eq)] = field.substr(eq + 1);
        }
        if (s.fields.count("codec_type")) {
            info.streams.push_back(std::move(s));
        } else if (s.fields.count("duration")) {
            info.duration = std::atof(s.get("duration").c_str());
        }
    }
    return info;
}

namespace {

struct ProcStat {
    pid_t pid;
    char state;
    pid_t ppid;
    pid_t pgrp;
};

std::vector<ProcStat> processes() {
    std::vector<ProcStat> all;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator("/proc", ec)) {
        const std::string name = entry.path().filename().string();
        if (name.empty() || name.find_first_not_of("0123456789") != std::string::npos) continue;
        const std::string stat = slurp(entry.path() / "stat");
        // The command name may hold blanks and parentheses; the fields after its last ')' are fixed.
        const auto close = stat.rfind(')');
        if (close == std::string::npos) continue;
        std::istringstream rest(stat.substr(close + 1));
        ProcStat p{std::atoi(name.c_str()), '?', 0, 0};
        if (rest >> p.state >> p.ppid >> p.pgrp) all.push_back(p);
    }
    return all;
}

bool live(char state) { return state != 'Z' && state != 'X' && state != 'x'; }

}  // namespace

std::vector<pid_t> liveChildren(pid_t parent) {
    std::vector<pid_t> found;
    for (const ProcStat& p : processes()) {
        if (p.ppid == parent && live(p.state)) found.push_back(p.pid);
    }
    return found;
}

bool isAlive(pid_t pid) {
    for (const ProcStat& p : processes()) {
        if (p.pid == pid) return live(p.state);
    }
    return false;
}

std::string procText(pid_t pid, const std::string& name) {
    std::string text = slurp(fs::path("/proc") / std::to_string(pid) / name);
    for (char& c : text) {
        if (c == '\0') c = ' ';
    }
    return text;
}

std::vector<pid_t> groupMembers(pid_t pgid) {
    std::vector<pid_t> found;
    for (const ProcStat& p : processes()) {
        if (p.pgrp == pgid && live(p.state)) found.push_back(p.pid);
    }
    return found;
}

bool groupAlive(pid_t pgid) { return !groupMembers(pgid).empty(); }

}  // namespace harness
