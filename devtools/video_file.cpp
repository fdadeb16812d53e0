// devtools/video_file.cpp - the video writer behind --export: libswscale turns the RGB
// frames into yuv420p, libswresample the stereo floats into the sound encoder's format,
// libavcodec encodes both, libavformat interleaves them into the container.
#include "devtools/video_file.h"
extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/audio_fifo.h>
#include <libavutil/opt.h>
#include <libswresample/swresample.h>
#include <libswscale/swscale.h>
}
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <strings.h>   // Required for: strcasecmp()

//----------------------------------------------------------------------------------
// Types
//----------------------------------------------------------------------------------
struct Encoder {
    AVCodecContext *codec = nullptr;
    AVStream *stream = nullptr;
    AVFrame *frame = nullptr;
    long long next_pts = 0;      // in the codec's time base: frames for pictures, samples for sound
};

struct VideoFile {
    VideoFileSpec spec;
    std::string temporary;              // the name written until the file is finished
    AVFormatContext *format = nullptr;
    Encoder picture, sound;
    SwsContext *scaler = nullptr;
    SwrContext *resampler = nullptr;
    AVAudioFifo *fifo = nullptr;        // resampled sound waiting for a whole encoder frame
    int sound_frame_size = 0;           // samples per encoded sound frame
    int sound_pts_lead = 0;             // added to the sound's timestamps (see open_sound)
    bool created = false;               // the temporary file exists on disk
};

// Which encoders and muxer serve a container, and how they are tuned.
struct ContainerRecipe {
    const char *muxer, *picture_encoder, *picture_name, *sound_encoder, *sound_name;
};

//----------------------------------------------------------------------------------
// Internal Functions
//----------------------------------------------------------------------------------
static std::string av_error_text(int code) {
    char text[AV_ERROR_MAX_STRING_SIZE] = { 0 };
    av_strerror(code, text, sizeof text);
    return text;
}

static ContainerRecipe recipe_for(VideoContainer container) {
    switch (container) {
    case CONTAINER_MP4: return { "mp4", "libx264", "H.264", "aac", "AAC" };
    case CONTAINER_MKV: return { "matroska", "libvpx-vp9", "VP9", "libopus", "Opus" };
    case CONTAINER_WEBM: return { "webm", "libvpx-vp9", "VP9", "libopus", "Opus" };
    default: return { nullptr, nullptr, nullptr, nullptr, nullptr };
    }
}

// Sends one frame (null: flush) and writes every packet the encoder gives back.
static bool encode(VideoFile *f, Encoder &e, AVFrame *frame, std::string &error) {
    int ret = avcodec_send_frame(e.codec, frame);
    if (ret < 0) {
        error = "encoding failed: " + av_error_text(ret);
        return false;
    }
    AVPacket *packet = av_packet_alloc();
    while ((ret = avcodec_receive_packet(e.codec, packet)) >= 0) {
        // A picture lasts one frame; without saying so, MP4's edit list would cut off the last one.
        if (packet->duration <= 0 && e.codec->codec_type == AVMEDIA_TYPE_VIDEO) packet->duration = 1;
        av_packet_rescale_ts(packet, e.codec->time_base, e.stream->time_base);
        packet->stream_index = e.stream->index;
        ret = av_interleaved_write_frame(f->format, packet);   // takes the packet's data
        if (ret < 0) break;
    }
    av_packet_free(&packet);
    if (ret < 0 && ret != AVERROR(EAGAIN) && ret != AVERROR_EOF) {
        error = "cannot write " + f->temporary + ": " + av_error_text(ret);
        return false;
    }
    return true;
}

static bool open_encoder(VideoFile *f, Encoder &e, const AVCodec *codec, AVDictionary **options,
                         std::string &error) {
    if (f->format->oformat->flags & AVFMT_GLOBALHEADER) e.codec->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    e.codec->flags |= AV_CODEC_FLAG_BITEXACT;
    int ret = avcodec_open2(e.codec, codec, options);
    av_dict_free(options);
    if (ret < 0) {
        error = std::string("cannot open the ") + codec->name + " encoder: " + av_error_text(ret);
        return false;
    }
    e.stream = avformat_new_stream(f->format, nullptr);
    e.frame = av_frame_alloc();
    if (!e.stream || !e.frame || avcodec_parameters_from_context(e.stream->codecpar, e.codec) < 0) {
        error = "out of memory";
        return false;
    }
    e.stream->time_base = e.codec->time_base;
    return true;
}

static bool open_picture(VideoFile *f, const AVCodec *codec, VideoContainer container, std::string &error) {
    AVCodecContext *c = f->picture.codec = avcodec_alloc_context3(codec);
    c->width = f->spec.width;
    c->height = f->spec.height;
    c->time_base = { 1, f->spec.fps };
    c->framerate = { f->spec.fps, 1 };
    c->pix_fmt = AV_PIX_FMT_YUV420P;
    c->gop_size = 2 * f->spec.fps;   // a key frame every two seconds, for seeking
    // Standard definition pictures are BT.601, larger ones BT.709; both in limited range.
    const bool hd = f->spec.height >= 720;
    c->colorspace = hd ? AVCOL_SPC_BT709 : AVCOL_SPC_SMPTE170M;
    c->color_primaries = hd ? AVCOL_PRI_BT709 : AVCOL_PRI_SMPTE170M;
    c->color_trc = hd ? AVCOL_TRC_BT709 : AVCOL_TRC_SMPTE170M;
    c->color_range = AVCOL_RANGE_MPEG;
    AVDictionary *options = nullptr;
    if (container == CONTAINER_MP4) {
        av_dict_set(&options, "preset", "medium", 0);
        av_dict_set(&options, "crf", "20", 0);
    } else {
        c->bit_rate = 0;   // constant quality
        av_dict_set(&options, "crf", "31", 0);
        av_dict_set(&options, "deadline", "good", 0);
        av_dict_set(&options, "cpu-used", "4", 0);
        av_dict_set(&options, "row-mt", "1", 0);
    }
    if (!open_encoder(f, f->picture, codec, &options, error)) return false;

    AVFrame *frame = f->picture.frame;
    frame->format = c->pix_fmt;
    frame->width = c->width;
    frame->height = c->height;
    f->scaler = sws_getContext(c->width, c->height, AV_PIX_FMT_RGB24, c->width, c->height, c->pix_fmt,
                               SWS_BICUBIC | SWS_ACCURATE_RND, nullptr, nullptr, nullptr);
    if (!f->scaler || av_frame_get_buffer(frame, 0) < 0) {
        error = "out of memory";
        return false;
    }
    const int *matrix = sws_getCoefficients(hd ? SWS_CS_ITU709 : SWS_CS_SMPTE170M);
    sws_setColorspaceDetails(f->scaler, matrix, 1, matrix, 0, 0, 1 << 16, 1 << 16);
    return true;
}

// The encoder's own rate when it takes ours, else its highest; its float format if any.
static bool open_sound(VideoFile *f, const AVCodec *codec, VideoContainer container, std::string &error) {
    AVCodecContext *c = f->sound.codec = avcodec_alloc_context3(codec);
    int rate = f->spec.sound_rate;
    if (codec->supported_samplerates) {
        const int *r = codec->supported_samplerates;
        int best = r[0];
        for (; *r; r++) {
            if (*r == f->spec.sound_rate) break;
            best = std::max(best, *r);
        }
        rate = *r ? *r : best;
    }
    c->sample_rate = rate;
    c->time_base = { 1, rate };
    c->sample_fmt = codec->sample_fmts ? codec->sample_fmts[0] : AV_SAMPLE_FMT_FLTP;
    for (const AVSampleFormat *s = codec->sample_fmts; s && *s != AV_SAMPLE_FMT_NONE; s++)
        if (*s == AV_SAMPLE_FMT_FLT || *s == AV_SAMPLE_FMT_FLTP) c->sample_fmt = *s;
    av_channel_layout_default(&c->ch_layout, 2);
    c->bit_rate = 192000;
    AVDictionary *options = nullptr;
    if (!open_encoder(f, f->sound, codec, &options, error)) return false;

    f->sound_frame_size = c->frame_size > 0 ? c->frame_size : 1024;
    // The encoder stamps its first packet initial_padding samples early, to be skipped on
    // playback. An MP4 edit list says so; this Matroska muxer would instead shift every
    // stream later to keep that stamp from going negative, the pictures included, so there
    // the sound is stamped later by as much and its first heard sample lands on 0.
    if (container != CONTAINER_MP4) f->sound_pts_lead = c->initial_padding;
    AVChannelLayout stereo;
    av_channel_layout_default(&stereo, 2);
    int ret = swr_alloc_set_opts2(&f->resampler, &c->ch_layout, c->sample_fmt, rate,
                                  &stereo, AV_SAMPLE_FMT_FLT, f->spec.sound_rate, 0, nullptr);
    if (ret < 0 || swr_init(f->resampler) < 0) {
        error = "cannot set up the sound resampler";
        return false;
    }
    f->fifo = av_audio_fifo_alloc(c->sample_fmt, 2, f->sound_frame_size);
    if (!f->fifo) {
        error = "out of memory";
        return false;
    }
    return true;
}

// Encodes whole sound frames from the fifo; with drain also the last, shorter one.
static bool encode_sound_fifo(VideoFile *f, bool drain, std::string &error) {
    Encoder &e = f->sound;
    while (av_audio_fifo_size(f->fifo) >= f->sound_frame_size || (drain && av_audio_fifo_size(f->fifo) > 0)) {
        const int n = std::min(av_audio_fifo_size(f->fifo), f->sound_frame_size);
        av_frame_unref(e.frame);
        e.frame->nb_samples = n;
        e.frame->format = e.codec->sample_fmt;
        e.frame->sample_rate = e.codec->sample_rate;
        av_channel_layout_copy(&e.frame->ch_layout, &e.codec->ch_layout);
        if (av_frame_get_buffer(e.frame, 0) < 0) {
            error = "out of memory";
            return false;
        }
        av_audio_fifo_read(f->fifo, reinterpret_cast<void **>(e.frame->data), n);
        e.frame->pts = e.next_pts + f->sound_pts_lead;
        e.next_pts += n;
        if (!encode(f, e, e.frame, error)) return false;
    }
    return true;
}

// Resamples count stereo frames (null: the resampler's remainder) into the fifo.
static bool resample_into_fifo(VideoFile *f, const float *stereo, int count, std::string &error) {
    const int room = swr_get_out_samples(f->resampler, count);
    if (room <= 0) return true;
    uint8_t **planes = nullptr;
    if (av_samples_alloc_array_and_samples(&planes, nullptr, 2, room, f->sound.codec->sample_fmt, 0) < 0) {
        error = "out of memory";
        return false;
    }
    const uint8_t *in = reinterpret_cast<const uint8_t *>(stereo);
    const int got = swr_convert(f->resampler, planes, room, stereo ? &in : nullptr, stereo ? count : 0);
    const bool ok = got >= 0 && av_audio_fifo_write(f->fifo, reinterpret_cast<void **>(planes), got) == got;
    av_freep(&planes[0]);
    av_freep(&planes);
    if (!ok) error = "sound conversion failed";
    return ok;
}

// Brings the sound to exactly the pictures' length: cut from, or silence added to, the fifo.
static bool match_sound_length(VideoFile *f, std::string &error) {
    const long long want = av_rescale(f->picture.next_pts, f->sound.codec->sample_rate, f->spec.fps);
    const long long have = f->sound.next_pts + av_audio_fifo_size(f->fifo);
    if (have > want) {
        const long long keep = std::max(0LL, want - f->sound.next_pts);
        av_audio_fifo_drain(f->fifo, int(av_audio_fifo_size(f->fifo) - keep));
        return true;
    }
    const int missing = int(want - have);
    if (missing == 0) return true;
    uint8_t **planes = nullptr;
    if (av_samples_alloc_array_and_samples(&planes, nullptr, 2, missing, f->sound.codec->sample_fmt, 0) < 0) {
        error = "out of memory";
        return false;
    }
    av_samples_set_silence(planes, 0, missing, 2, f->sound.codec->sample_fmt);
    const bool ok = av_audio_fifo_write(f->fifo, reinterpret_cast<void **>(planes), missing) == missing;
    av_freep(&planes[0]);
    av_freep(&planes);
    if (!ok) error = "out of memory";
    return ok;
}

static void free_encoder(Encoder &e) {
    av_frame_free(&e.frame);
    avcodec_free_context(&e.codec);
}

static void free_video_file(VideoFile *f) {
    free_encoder(f->picture);
    free_encoder(f->sound);
    sws_freeContext(f->scaler);
    swr_free(&f->resampler);
    if (f->fifo) av_audio_fifo_free(f->fifo);
    if (f->format) {
        if (f->format->pb) avio_closep(&f->format->pb);
        avformat_free_context(f->format);
    }
    delete f;
}

//----------------------------------------------------------------------------------
// Module Functions
//----------------------------------------------------------------------------------
VideoContainer container_for_path(const std::string &path) {
    const size_t dot = path.rfind('.');
    const size_t slash = path.rfind('/');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return CONTAINER_UNKNOWN;
    const char *ext = path.c_str() + dot + 1;
    if (!strcasecmp(ext, "mp4")) return CONTAINER_MP4;
    if (!strcasecmp(ext, "mkv")) return CONTAINER_MKV;
    if (!strcasecmp(ext, "webm")) return CONTAINER_WEBM;
    return CONTAINER_UNKNOWN;
}

std::string temporary_video_path(const std::string &path) {
    return path + ".partial";
}

VideoFile *open_video_file(const VideoFileSpec &spec, std::string &error) {
    const VideoContainer container = container_for_path(spec.path);
    const ContainerRecipe recipe = recipe_for(container);
    if (!recipe.muxer) {
        error = "cannot tell the video format of " + spec.path + ": name it .mp4, .mkv or .webm";
        return nullptr;
    }
    if (spec.width <= 0 || spec.height <= 0 || spec.width % 2 || spec.height % 2 || spec.fps <= 0 ||
        spec.sound_rate <= 0) {
        error = "bad video size, frame rate or sound rate";
        return nullptr;
    }
    const AVCodec *picture_codec = avcodec_find_encoder_by_name(recipe.picture_encoder);
    const AVCodec *sound_codec = avcodec_find_encoder_by_name(recipe.sound_encoder);
    if (!picture_codec || !sound_codec) {
        const bool picture = !picture_codec;
        error = std::string("this FFmpeg has no ") + (picture ? recipe.picture_name : recipe.sound_name) +
                " encoder (" + (picture ? recipe.picture_encoder : recipe.sound_encoder) + ")";
        return nullptr;
    }

    VideoFile *f = new VideoFile;
    f->spec = spec;
    f->temporary = temporary_video_path(spec.path);
    av_log_set_level(AV_LOG_ERROR);
    if (avformat_alloc_output_context2(&f->format, nullptr, recipe.muxer, f->temporary.c_str()) < 0) {
        error = std::string("no ") + recipe.muxer + " muxer in this FFmpeg";
        free_video_file(f);
        return nullptr;
    }
    f->format->flags |= AVFMT_FLAG_BITEXACT;
    if (!open_picture(f, picture_codec, container, error) || !open_sound(f, sound_codec, container, error)) {
        free_video_file(f);
        return nullptr;
    }
    const int ret = avio_open(&f->format->pb, f->temporary.c_str(), AVIO_FLAG_WRITE);
    if (ret < 0) {
        error = "cannot write " + f->temporary + ": " + av_error_text(ret);
        free_video_file(f);
        return nullptr;
    }
    f->created = true;
    AVDictionary *options = nullptr;
    if (container == CONTAINER_MP4) av_dict_set(&options, "movflags", "+faststart", 0);
    const int header = avformat_write_header(f->format, &options);
    av_dict_free(&options);
    if (header < 0) {
        error = "cannot start " + f->temporary + ": " + av_error_text(header);
        abandon_video_file(f);
        return nullptr;
    }
    return f;
}

bool add_video_picture(VideoFile *f, const unsigned char *rgb, std::string &error) {
    Encoder &e = f->picture;
    if (av_frame_make_writable(e.frame) < 0) {
        error = "out of memory";
        return false;
    }
    // Bottom row first in memory: start at the top row and step backwards.
    const int stride = 3 * f->spec.width;
    const uint8_t *top = rgb + size_t(stride) * (f->spec.height - 1);
    const int strides[1] = { -stride };
    sws_scale(f->scaler, &top, strides, 0, f->spec.height, e.frame->data, e.frame->linesize);
    e.frame->pts = e.next_pts++;
    return encode(f, e, e.frame, error);
}

bool add_video_sound(VideoFile *f, const float *stereo, int frames, std::string &error) {
    if (frames <= 0) return true;
    return resample_into_fifo(f, stereo, frames, error) && encode_sound_fifo(f, false, error);
}

bool finish_video_file(VideoFile *f, std::string &error) {
    bool ok = encode(f, f->picture, nullptr, error) && resample_into_fifo(f, nullptr, 0, error) &&
              match_sound_length(f, error) && encode_sound_fifo(f, true, error) &&
              encode(f, f->sound, nullptr, error);
    if (ok) {
        const int ret = av_write_trailer(f->format);
        if (ret < 0) error = "cannot finish " + f->temporary + ": " + av_error_text(ret);
        ok = ret >= 0;
    }
    if (ok) {
        const int ret = avio_closep(&f->format->pb);
        if (ret < 0) error = "cannot finish " + f->temporary + ": " + av_error_text(ret);
        ok = ret >= 0;
    }
    if (ok && std::rename(f->temporary.c_str(), f->spec.path.c_str()) != 0) {
        error = "cannot rename " + f->temporary + " to " + f->spec.path + ": " + std::strerror(errno);
        ok = false;
    }
    if (!ok) {
        abandon_video_file(f);
        return false;
    }
    free_video_file(f);
    return true;
}

void abandon_video_file(VideoFile *f) {
    if (!f) return;
    const std::string temporary = f->temporary;
    const bool created = f->created;
    free_video_file(f);
    if (created) std::remove(temporary.c_str());
}
