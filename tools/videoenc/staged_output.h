// The output file while FFmpeg writes it: kept out of the output's name until the job is complete, so a failed,
// crashed or stopped job never leaves a partial file there, and an existing file is replaced only by a whole one.
#pragma once

#include <memory>
#include <string>

#include "translate.h"

namespace videoenc {

// Where the file is kept, in the output's own folder (so that the final rename is atomic):
//  - unnamed (open with O_TMPFILE): it vanishes with the last descriptor, whatever ends the job;
//  - where the file system refuses unnamed files, or SONOLIFT_NO_TMPFILE=1 asks for it: a named file,
//    "." + output file name + "." + the front's pid + ".part" (output /o/song.MP3 of front 4242:
//    /o/.song.MP3.4242.part). A killed front leaves it behind; the main program, which knows the pid,
//    deletes exactly that file after a kill.
// The unnamed file is linked in under that same name just before the rename onto the output.
// When FFmpeg has to choose the container from the name (an extension we have no muxer for), the file is
// always named, with the output's extension appended: /o/.song.xyz.4242.part.xyz.
class StagedOutput {
public:
    // Creates the file for the output; nullptr after saying why on stderr.
    static std::unique_ptr<StagedOutput> create(const Output& output, bool allowUnnamed);
    ~StagedOutput();  // removes the file unless it was committed
    StagedOutput(const StagedOutput&) = delete;
    StagedOutput& operator=(const StagedOutput&) = delete;

    // What FFmpeg writes to: descriptorUrl(kOutputDescriptor), or the named file when FFmpeg needs the name.
    std::string url() const;
    // The descriptor to hand down as kOutputDescriptor; -1 when FFmpeg writes by name.
    int inheritedDescriptor() const;
    // Puts the file onto the output's name, replacing what is there, if it is not empty. False after
    // saying why on stderr; the file is then removed.
    bool commit();

private:
    StagedOutput() = default;

    std::string path_;       // the output's name
    std::string partPath_;   // the named file, or where the unnamed one gets linked
    int fd_ = -1;
    bool unnamed_ = false;   // O_TMPFILE
    bool byName_ = false;    // FFmpeg opens partPath_ itself
    bool onDisk_ = false;    // partPath_ exists and is ours
};

}  // namespace videoenc
