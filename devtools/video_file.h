// devtools/video_file.h - one video file with its sound track, written through FFmpeg's
// libraries: .mp4 holds H.264 (yuv420p, index at the front, plays on the web) with AAC;
// .mkv and .webm hold VP9 with Opus. Pictures come as packed RGB rows bottom first, as
// glReadPixels returns them; sound comes as interleaved stereo floats at any rate, and is
// resampled to what the sound encoder takes. The sound track ends with the last picture:
// finish_video_file pads it with silence, or cuts it, to frames x rate / fps samples.
//
// The file is written under temporary_video_path(path), beside the final name, and renamed
// over it only by finish_video_file; abandon_video_file (or any failure) removes it, so a
// file under the final name is always whole. Files are bit-exact: the same pictures and
// sound give the same bytes.
#pragma once
#include <string>

enum VideoContainer { CONTAINER_UNKNOWN, CONTAINER_MP4, CONTAINER_MKV, CONTAINER_WEBM };

struct VideoFileSpec {
    std::string path;        // final name; the extension picks the container
    int width, height;       // even, in pixels
    int fps;                 // frames per second
    int sound_rate;          // frames per second of the stereo sound given to add_video_sound
};

struct VideoFile;   // an open file being written; owned by the caller until finished or abandoned

VideoContainer container_for_path(const std::string &path);   // by extension, any letter case
std::string temporary_video_path(const std::string &path);    // "<path>.partial"

VideoFile *open_video_file(const VideoFileSpec &spec, std::string &error);   // null with a reason
bool add_video_picture(VideoFile *file, const unsigned char *rgb, std::string &error);   // the next frame
bool add_video_sound(VideoFile *file, const float *stereo, int frames, std::string &error);
bool finish_video_file(VideoFile *file, std::string &error);   // flush, close, rename; frees file
void abandon_video_file(VideoFile *file);                      // close, remove the temporary file; frees file
