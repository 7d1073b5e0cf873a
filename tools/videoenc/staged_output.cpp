// The output file while FFmpeg writes it; see staged_output.h.
#include "staged_output.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "printable.h"

namespace videoenc {
namespace {

// Errors by which a kernel or file system says it has no unnamed files (EISDIR: a kernel that predates
// O_TMPFILE sees only O_DIRECTORY). Anything else would hit a named file as well and is reported.
bool unnamedUnsupported(int error) {
    return error == EOPNOTSUPP || error == EISDIR || error == EINVAL || error == ENOSYS;
}

void report(const char* what, const std::string& path, int error) {
    std::fprintf(stderr, "videoenc.dll: %s '%s': %s\n", what, printable(path).c_str(), std::strerror(error));
}

// Creates the named file, which must be new. A file of that name can only be left over from an earlier
// front with our pid (which was killed), so it is replaced once.
int createNamed(const std::string& path) {
    for (int attempt = 0;; ++attempt) {
        const int fd = open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0666);
        if (fd >= 0 || errno != EEXIST || attempt > 0 || unlink(path.c_str()) != 0) return fd;
    }
}

}  // namespace

std::unique_ptr<StagedOutput> StagedOutput::create(const Output& output, bool allowUnnamed) {
    const std::size_t slash = output.path.rfind('/');
    const std::string folder = slash == std::string::npos ? std::string() : output.path.substr(0, slash + 1);
    const std::string name = output.path.substr(folder.size());
    if (name.empty()) {
        std::fprintf(stderr, "videoenc.dll: the output '%s' names no file\n", printable(output.path).c_str());
        return nullptr;
    }
    std::unique_ptr<StagedOutput> staged(new StagedOutput);
    staged->path_ = output.path;
    staged->partPath_ = folder + "." + name + "." + std::to_string(getpid()) + ".part";
    staged->byName_ = output.muxer.empty();
    if (staged->byName_) {
        // FFmpeg picks the container from the extension it sees.
        const std::size_t dot = name.rfind('.');
        if (dot != std::string::npos) staged->partPath_ += name.substr(dot);
    }

    if (allowUnnamed && !staged->byName_) {
        // The mode is applied with the umask as for any new file.
        staged->fd_ = open(folder.empty() ? "." : folder.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0666);
        if (staged->fd_ >= 0) {
            staged->unnamed_ = true;
            return staged;
        }
        if (!unnamedUnsupported(errno)) {
            report("cannot create the output in", folder.empty() ? "." : folder, errno);
            return nullptr;
        }
    }
    staged->fd_ = createNamed(staged->partPath_);
    if (staged->fd_ < 0) {
        report("cannot create", staged->partPath_, errno);
        return nullptr;
    }
    staged->onDisk_ = true;
    return staged;
}

StagedOutput::~StagedOutput() {
    if (onDisk_) unlink(partPath_.c_str());
    if (fd_ >= 0) close(fd_);
}

std::string StagedOutput::url() const {
    return byName_ ? "file:" + partPath_ : descriptorUrl(kOutputDescriptor);
}

int StagedOutput::inheritedDescriptor() const { return byName_ ? -1 : fd_; }

bool StagedOutput::commit() {
    struct stat st {};
    if (fstat(fd_, &st) != 0) {
        report("cannot check", partPath_, errno);
        return false;
    }
    if (st.st_size == 0) {
        std::fprintf(stderr, "videoenc.dll: FFmpeg wrote nothing; '%s' is left as it was\n", printable(path_).c_str());
        return false;
    }
    if (unnamed_) {
        const std::string self = "/proc/self/fd/" + std::to_string(fd_);
        const auto link = [&] {
            return linkat(AT_FDCWD, self.c_str(), AT_FDCWD, partPath_.c_str(), AT_SYMLINK_FOLLOW);
        };
        // As in createNamed, a file of this name is a leftover of a killed front with our pid.
        if (link() != 0 && (errno != EEXIST || unlink(partPath_.c_str()) != 0 || link() != 0)) {
            report("cannot link the finished output as", partPath_, errno);
            return false;
        }
        onDisk_ = true;
    }
    if (rename(partPath_.c_str(), path_.c_str()) != 0) {
        report("cannot put the finished output in place as", path_, errno);
        return false;  // the destructor removes the file
    }
    onDisk_ = false;
    return true;
}

}  // namespace videoenc
