// tests/export/video_reader.h - reads a finished video back with FFmpeg's own demuxers and
// decoders: what streams it holds, how many pictures and sound samples they decode to, and
// the first picture as RGB rows (top first).
#pragma once
extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libswscale/swscale.h>
}
#include <cstdio>
#include <string>
#include <vector>

struct VideoReadBack {
    bool ok = false;
    std::string format;                       // demuxer name, e.g. "mov,mp4,m4a,3gp,3g2,mj2"
    std::vector<AVMediaType> kinds;           // each stream's kind, in file order
    AVCodecID picture_codec = AV_CODEC_ID_NONE, sound_codec = AV_CODEC_ID_NONE;
    int width = 0, height = 0, pixel_format = -1;
    double fps = 0;                           // the picture stream's average frame rate
    int pictures = 0;                         // decoded pictures
    int sound_rate = 0, sound_channels = 0;
    long long sound_samples = 0;              // decoded samples per channel, priming removed
    double sound_seconds = 0;                 // the sound's length as the container states it
                                              // (MP4 trims the encoder's last padding by its edit
                                              // list), else as decoded
    double picture_start = -1, sound_start = -1;   // first timestamps, seconds
    std::vector<unsigned char> first_rgb;     // the first picture, RGB, top row first
};

inline double stream_seconds(const AVStream *s, int64_t ts) {
    return ts == AV_NOPTS_VALUE ? -1.0 : double(ts) * av_q2d(s->time_base);
}

// Decodes every packet of the file; pictures are counted, the first one kept as RGB.
inline VideoReadBack read_video_back(const std::string &path) {
    VideoReadBack r;
    AVFormatContext *format = nullptr;
    if (avformat_open_input(&format, path.c_str(), nullptr, nullptr) < 0) return r;
    if (avformat_find_stream_info(format, nullptr) < 0) {
        avformat_close_input(&format);
        return r;
    }
    r.format = format->iformat->name;
    std::vector<AVCodecContext *> decoders(format->nb_streams, nullptr);
    for (unsigned i = 0; i < format->nb_streams; i++) {
        const AVStream *s = format->streams[i];
        r.kinds.push_back(s->codecpar->codec_type);
        const AVCodec *codec = avcodec_find_decoder(s->codecpar->codec_id);
        AVCodecContext *c = decoders[i] = avcodec_alloc_context3(codec);
        avcodec_parameters_to_context(c, s->codecpar);
        c->pkt_timebase = s->time_base;
        if (!codec || avcodec_open2(c, codec, nullptr) < 0) continue;
        if (s->codecpar->codec_type == AVMEDIA_TYPE_VIDEO) {
            r.picture_codec = s->codecpar->codec_id;
            r.width = s->codecpar->width;
            r.height = s->codecpar->height;
            r.pixel_format = s->codecpar->format;
            r.fps = av_q2d(s->avg_frame_rate);
        } else if (s->codecpar->codec_type == AVMEDIA_TYPE_AUDIO) {
            r.sound_codec = s->codecpar->codec_id;
            r.sound_rate = s->codecpar->sample_rate;
            r.sound_channels = s->codecpar->ch_layout.nb_channels;
        }
    }
    AVPacket *packet = av_packet_alloc();
    AVFrame *frame = av_frame_alloc();
    auto drain = [&](unsigned index) {
        AVCodecContext *c = decoders[index];
        const AVStream *s = format->streams[index];
        while (avcodec_receive_frame(c, frame) >= 0) {
            if (c->codec_type == AVMEDIA_TYPE_AUDIO) {
                if (r.sound_start < 0) r.sound_start = stream_seconds(s, frame->best_effort_timestamp);
                r.sound_samples += frame->nb_samples;
                continue;
            }
            if (r.pictures++ > 0) continue;
            r.picture_start = stream_seconds(s, frame->best_effort_timestamp);
            r.first_rgb.assign(size_t(frame->width) * frame->height * 3, 0);
            SwsContext *sws = sws_getContext(frame->width, frame->height, AVPixelFormat(frame->format),
                                             frame->width, frame->height, AV_PIX_FMT_RGB24, SWS_BICUBIC,
                                             nullptr, nullptr, nullptr);
            uint8_t *dst[1] = { r.first_rgb.data() };
            const int stride[1] = { 3 * frame->width };
            sws_scale(sws, frame->data, frame->linesize, 0, frame->height, dst, stride);
            sws_freeContext(sws);
        }
    };
    while (av_read_frame(format, packet) >= 0) {
        const unsigned index = unsigned(packet->stream_index);
        if (index < decoders.size() && decoders[index] && avcodec_is_open(decoders[index]) &&
            avcodec_send_packet(decoders[index], packet) >= 0)
            drain(index);
        av_packet_unref(packet);
    }
    for (unsigned i = 0; i < decoders.size(); i++) {
        if (decoders[i] && avcodec_is_open(decoders[i]) && avcodec_send_packet(decoders[i], nullptr) >= 0) drain(i);
        avcodec_free_context(&decoders[i]);
    }
    for (unsigned i = 0; i < format->nb_streams; i++) {
        const AVStream *s = format->streams[i];
        if (s->codecpar->codec_type != AVMEDIA_TYPE_AUDIO) continue;
        r.sound_seconds = s->duration != AV_NOPTS_VALUE ? stream_seconds(s, s->duration)
                          : r.sound_rate > 0              ? double(r.sound_samples) / r.sound_rate : 0.0;
    }
    av_frame_free(&frame);
    av_packet_free(&packet);
    avformat_close_input(&format);
    r.ok = true;
    return r;
}

// Byte offsets of the top-level MP4 boxes named "moov" and "mdat" (-1 when missing).
inline void mp4_box_offsets(const std::string &path, long &moov, long &mdat) {
    moov = mdat = -1;
    FILE *f = std::fopen(path.c_str(), "rb");
    if (!f) return;
    long at = 0;
    unsigned char head[8];
    while (std::fseek(f, at, SEEK_SET) == 0 && std::fread(head, 1, 8, f) == 8) {
        const unsigned long size = (unsigned long)head[0] << 24 | head[1] << 16 | head[2] << 8 | head[3];
        const std::string name(reinterpret_cast<char *>(head + 4), 4);
        if (name == "moov") moov = at;
        if (name == "mdat") mdat = at;
        if (size < 8) break;   // 64-bit or to-the-end sizes do not occur in our small files
        at += long(size);
    }
    std::fclose(f);
}
