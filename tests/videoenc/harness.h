// Test harness for videoenc.dll: runs programs as children with an argument vector (no shell),
// makes clips with FFmpeg in a private folder and reads back what FFmpeg made.
#pragma once

#include <sys/types.h>

#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace harness {

// The front under test, as built.
std::string frontPath();

struct RunOptions {
    std::vector<std::pair<std::string, std::string>> env = {};  // added to (or replacing) ours
    std::filesystem::path cwd = {};                             // empty: ours
    bool stdinPipe = false;    // an open pipe nobody writes to, instead of /dev/null
    bool ownGroup = false;     // a new process group led by the child
    // Far beyond any run here; only there so a hang fails the test instead of stalling the suite.
    int hangLimitSeconds = 300;
};

struct Result {
    bool hung = false;  // still running at the safety limit and killed; a hang, not a slow run
    bool exited = false;
    int exitCode = -1;
    int signal = 0;
    std::string out;
    std::string err;
    std::string describe() const;
};

class Child {
public:
    Child(const std::vector<std::string>& argv, const RunOptions& options);
    ~Child();
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;

    pid_t pid() const { return pid_; }
    Result wait();

private:
    pid_t pid_ = -1;
    int stdinWrite_ = -1;
    int hangLimitMs_;
    std::filesystem::path outFile_, errFile_;
    bool waited_ = false;
};

Result run(const std::vector<std::string>& argv, const RunOptions& options = {});

// Runs jobs on two threads; each job starts its own children, so at most two run at once.
void runPool(std::size_t count, const std::function<void(std::size_t)>& job);

// A fresh folder under the system temp folder, removed with everything in it on destruction.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

private:
    std::filesystem::path path_;
};

// A testsrc 160x120 + sine clip; the audio is 48 kHz so every conversion resamples. No audio for 0 channels.
void makeClip(const std::filesystem::path& file, double seconds, int channels);

// The names in a folder, hidden ones included.
std::set<std::string> folderNames(const std::filesystem::path& dir);

struct Stream {
    std::map<std::string, std::string> fields;
    std::string get(const std::string& key) const;
};

struct MediaInfo {
    bool ok = false;       // ffprobe read and decoded the whole file without a complaint
    std::string problems;  // what ffprobe said when it did not
    std::vector<Stream> streams;
    double duration = 0;
};

// Decodes every frame (ffprobe -count_frames), so a file that opens but does not play is caught.
MediaInfo inspect(const std::filesystem::path& file);

// Live (not zombie) processes whose parent is pid / whose process group is pgid.
std::vector<pid_t> liveChildren(pid_t parent);
bool isAlive(pid_t pid);
// /proc/PID/NAME as text, NULs turned into blanks; empty if unreadable.
std::string procText(pid_t pid, const std::string& name);
bool groupAlive(pid_t pgid);
std::vector<pid_t> groupMembers(pid_t pgid);

}  // namespace harness
