// Reads a recorded file back with libavformat and libavcodec: its streams, and the first
// decoded video pictures' luma.
#pragma once

#include <string>
#include <vector>

namespace recording_test {

struct StreamInfo {
    bool video = false;
    std::string codec;
    int width = 0;
    int height = 0;
    double frameRate = 0;  // average frame rate of a video stream
    long long frames = 0;  // frames in the header (video), 0 when unknown
    double duration = 0;   // seconds, from the stream's own duration or its last packet
    int sampleRate = 0;
    int channels = 0;
};

struct FileInfo {
    bool opened = false;
    std::vector<StreamInfo> streams;
    // Luma planes (width x height bytes) of the decoded video pictures, in order.
    std::vector<std::vector<unsigned char>> luma;
    long long decodedPictures = 0;
    long long videoPackets = 0;
    long long videoIndexEntries = 0;  // index entries of the video stream found on opening
};

// Opens `path`, reads every packet and decodes the video stream; keeps the first `keepLuma`
// luma planes.
FileInfo ReadAvi(const std::string& path, int keepLuma = 2);

// Seeks the video stream of `path` to the key frame at or before `seconds` and gives the time of
// the first video packet read there, in seconds; -1 when the file cannot seek.
double SeekVideo(const std::string& path, double seconds);

}  // namespace recording_test
