// tools/musicgen/encode.cpp - VBR quality 0.45 encoding through libvorbisenc.
#include "tools/musicgen/encode.h"
#include <cstdio>
#include <string>
#include <vorbis/vorbisenc.h>   // Required for: vorbis_encode_init_vbr(), vorbis_analysis*()

constexpr int   OGG_SERIAL  = 0x0b1f5a3e;   // fixed so that every build writes the same bytes
constexpr float VBR_QUALITY = 0.45f;
constexpr long  BLOCK       = 1024;          // frames handed to the encoder per call

static bool write_page(FILE *f, const ogg_page &pg) {
    return fwrite(pg.header, 1, pg.header_len, f) == (size_t)pg.header_len &&
           fwrite(pg.body, 1, pg.body_len, f) == (size_t)pg.body_len;
}

bool write_ogg(const char *path, const float *l, const float *r, long frames) {
    std::string tmp = std::string(path) + ".tmp";
    FILE *f = fopen(tmp.c_str(), "wb");
    if (!f) return false;
    vorbis_info vi;
    vorbis_info_init(&vi);
    if (vorbis_encode_init_vbr(&vi, 2, 44100, VBR_QUALITY) != 0) { fclose(f); return false; }
    vorbis_comment vc;
    vorbis_comment_init(&vc);
    vorbis_comment_add_tag(&vc, "TITLE", "orbplume");
    vorbis_comment_add_tag(&vc, "ARTIST", "orbplume musicgen");
    vorbis_dsp_state vd;
    vorbis_block vb;
    vorbis_analysis_init(&vd, &vi);
    vorbis_block_init(&vd, &vb);
    ogg_stream_state os;
    ogg_stream_init(&os, OGG_SERIAL);
    ogg_packet header, header_comm, header_code;
    vorbis_analysis_headerout(&vd, &vc, &header, &header_comm, &header_code);
    ogg_stream_packetin(&os, &header);
    ogg_stream_packetin(&os, &header_comm);
    ogg_stream_packetin(&os, &header_code);
    ogg_page og;
    bool ok = true;
    while (ogg_stream_flush(&os, &og)) ok = ok && write_page(f, og);

    long done = 0;
    bool eos = false;
    while (!eos) {
        long n = frames - done < BLOCK ? frames - done : BLOCK;
        if (n > 0) {
            float **buf = vorbis_analysis_buffer(&vd, (int)n);
            for (long i = 0; i < n; i++) { buf[0][i] = l[done + i]; buf[1][i] = r[done + i]; }
            vorbis_analysis_wrote(&vd, (int)n);
            done += n;
        } else {
            vorbis_analysis_wrote(&vd, 0);
        }
        while (vorbis_analysis_blockout(&vd, &vb) == 1) {
            vorbis_analysis(&vb, nullptr);
            vorbis_bitrate_addblock(&vb);
            ogg_packet op;
            while (vorbis_bitrate_flushpacket(&vd, &op)) {
                ogg_stream_packetin(&os, &op);
                while (ogg_stream_pageout(&os, &og)) {
                    ok = ok && write_page(f, og);
                    if (ogg_page_eos(&og)) eos = true;
                }
            }
        }
        if (n <= 0 && !eos) {
            while (ogg_stream_flush(&os, &og)) ok = ok && write_page(f, og);
            eos = true;
        }
    }
    ogg_stream_clear(&os);
    vorbis_block_clear(&vb);
    vorbis_dsp_clear(&vd);
    vorbis_comment_clear(&vc);
    vorbis_info_clear(&vi);
    ok = fclose(f) == 0 && ok;
    if (ok) ok = rename(tmp.c_str(), path) == 0;
    else remove(tmp.c_str());
    return ok;
}
