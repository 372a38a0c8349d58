#include "platform/ffmpeg/ffmpeg_movies.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/ffmpeg/sound_conversion.h"
#include "platform/ffmpeg/stream_limits.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libavutil/imgutils.h>
#include <libavutil/opt.h>
#include <libswscale/swscale.h>
}

namespace orivane {
namespace {

// Frames the decoder keeps ready ahead of the engine.
constexpr size_t kQueuedFrames = 4;
// How long closing a movie waits for its decoder thread to notice: one that
// is still busy in a library call after that is left to finish alone.
constexpr auto kStopWait = std::chrono::milliseconds(200);

struct FormatCloser {
  void operator()(AVFormatContext* f) const { avformat_close_input(&f); }
};
struct CodecCloser {
  void operator()(AVCodecContext* c) const { avcodec_free_context(&c); }
};
struct FrameCloser {
  void operator()(AVFrame* f) const { av_frame_free(&f); }
};
struct PacketCloser {
  void operator()(AVPacket* p) const { av_packet_free(&p); }
};
struct ScaleCloser {
  void operator()(SwsContext* s) const { sws_freeContext(s); }
};
struct IoCloser {
  void operator()(AVIOContext* io) const {
    if (!io) return;
    av_freep(&io->buffer);
    avio_context_free(&io);
  }
};

using CodecPtr = std::unique_ptr<AVCodecContext, CodecCloser>;

std::string AvError(int code) {
  char text[AV_ERROR_MAX_STRING_SIZE] = {};
  av_strerror(code, text, sizeof text);
  return text;
}

CodecPtr OpenDecoder(AVStream* stream, int64_t max_pixels) {
  const AVCodec* codec = avcodec_find_decoder(stream->codecpar->codec_id);
  if (!codec) return nullptr;
  CodecPtr ctx(avcodec_alloc_context3(codec));
  if (!ctx || avcodec_parameters_to_context(ctx.get(), stream->codecpar) < 0) return nullptr;
  ctx->thread_count = 1;
  ctx->max_pixels = max_pixels;
  if (avcodec_open2(ctx.get(), codec, nullptr) < 0) return nullptr;
  return ctx;
}

// Reads a movie from bytes in memory (the fuzzer and the benchmark).
struct MemoryReader {
  const std::string* bytes;
  size_t at = 0;
  static int Read(void* opaque, uint8_t* buf, int size) {
    auto* r = static_cast<MemoryReader*>(opaque);
    const size_t left = r->bytes->size() - r->at;
    if (left == 0) return AVERROR_EOF;
    const size_t n = std::min(left, static_cast<size_t>(size));
    std::memcpy(buf, r->bytes->data() + r->at, n);
    r->at += n;
    return static_cast<int>(n);
  }
  static int64_t Seek(void* opaque, int64_t offset, int whence) {
    auto* r = static_cast<MemoryReader*>(opaque);
    const int64_t size = static_cast<int64_t>(r->bytes->size());
    if (whence == AVSEEK_SIZE) return size;
    int64_t to = offset;
    if ((whence & 3) == SEEK_CUR) to += static_cast<int64_t>(r->at);
    if ((whence & 3) == SEEK_END) to += size;
    if (to < 0 || to > size) return -1;
    r->at = static_cast<size_t>(to);
    return to;
  }
};

// What opening a movie allows: the picture size asked for, whether its
// sound is wanted, and the bounds of its decoding.
struct DecoderOptions {
  int width = 0;
  int height = 0;
  bool with_sound = true;
  int64_t max_pixels = kMaxPicturePixels;  // of a picture the file holds
  int64_t probe_bytes = 1 << 20;           // read to find the streams
  int max_packets = -1;                    // read from the file; -1: no bound
};

// The demuxer and decoders of one movie, used from one thread at a time
// (Interrupt excepted).
class Decoder {
 public:
  // Opens the file at `path`, or (with `memory`) the bytes it reads.
  bool Open(const std::string& path, MemoryReader* memory, const DecoderOptions& options,
            std::string& why) {
    if (options.width <= 0 || options.height <= 0 || options.width > kMaxPictureSide ||
        options.height > kMaxPictureSide) {
      why = "the movie's rectangle is empty";
      return false;
    }
    width_ = options.width;
    height_ = options.height;
    packets_left_ = options.max_packets;
    AVFormatContext* raw = avformat_alloc_context();
    if (!raw) return false;
    // Every blocking read of the demuxer asks this first, so a movie that is
    // closed stops reading at once.
    raw->interrupt_callback.callback = &Decoder::Interrupted;
    raw->interrupt_callback.opaque = &interrupt_;
    if (memory) {
      constexpr int kIoBuffer = 4096;
      auto* buffer = static_cast<uint8_t*>(av_malloc(kIoBuffer));
      io_.reset(avio_alloc_context(buffer, kIoBuffer, 0, memory, &MemoryReader::Read, nullptr,
                                   &MemoryReader::Seek));
      if (!io_) {
        av_free(buffer);
        avformat_free_context(raw);
        return false;
      }
      raw->pb = io_.get();
    }
    // Only demuxers and protocols of plain files: no network, no playlists
    // that name other files.
    AVDictionary* format_options = nullptr;
    av_dict_set(&format_options, "protocol_whitelist", "file", 0);
    av_dict_set_int(&format_options, "probesize", options.probe_bytes, 0);
    const int opened =
        avformat_open_input(&raw, memory ? nullptr : path.c_str(), nullptr, &format_options);
    av_dict_free(&format_options);
    if (opened < 0) {
      why = AvError(opened);
      return false;  // avformat_open_input freed `raw`
    }
    format_.reset(raw);
    if (int r = FindStreamInfo(options.max_pixels); r < 0) {
      why = AvError(r);
      return false;
    }
    video_index_ = av_find_best_stream(format_.get(), AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
    if (video_index_ < 0) {
      why = "no video stream";
      return false;
    }
    const AVCodecParameters& picture = *format_->streams[video_index_]->codecpar;
    if (!PlausiblePicture({picture.width, picture.height}) ||
        int64_t{picture.width} * picture.height > options.max_pixels) {
      why = "its picture size " + std::to_string(picture.width) + "x" +
            std::to_string(picture.height) + " is out of bounds";
      return false;
    }
    video_ = OpenDecoder(format_->streams[video_index_], options.max_pixels);
    if (!video_) {
      why = "no decoder for its video";
      return false;
    }
    if (options.with_sound) {
      audio_index_ =
          av_find_best_stream(format_.get(), AVMEDIA_TYPE_AUDIO, -1, video_index_, nullptr, 0);
      // A sound stream whose shape is out of bounds is left out: the movie
      // plays silently.
      if (audio_index_ >= 0) {
        const AVCodecParameters& sound = *format_->streams[audio_index_]->codecpar;
        if (PlausibleSound({sound.sample_rate, sound.ch_layout.nb_channels}))
          sound_ = OpenDecoder(format_->streams[audio_index_], options.max_pixels);
      }
      if (!sound_) audio_index_ = -1;
    }
    packet_.reset(av_packet_alloc());
    frame_.reset(av_frame_alloc());
    return packet_ && frame_;
  }

  bool has_sound() const { return sound_ != nullptr; }

  // From any thread: the reading and decoding under way stop as soon as
  // they can, and NextFrame gives no more frames.
  void Interrupt() { interrupt_.store(true); }

  // Decodes until the next video frame (converted into `out`, its moment in
  // `time_ms`); sound met on the way goes to `pcm`. False at the end.
  bool NextFrame(DisplaySurface& out, uint32_t& time_ms, std::vector<int16_t>* pcm) {
    while (!interrupt_.load()) {
      const int got = avcodec_receive_frame(video_.get(), frame_.get());
      if (got == 0) {
        if (!Convert(out)) return false;
        time_ms = MomentOf(*frame_);
        av_frame_unref(frame_.get());
        return true;
      }
      if (got != AVERROR(EAGAIN)) return false;  // the end, or a broken stream
      if (!Feed(pcm)) return false;
    }
    return false;
  }

  void Rewind() {
    av_seek_frame(format_.get(), video_index_, 0, AVSEEK_FLAG_BACKWARD);
    avcodec_flush_buffers(video_.get());
    if (sound_) avcodec_flush_buffers(sound_.get());
    draining_ = false;
    frames_ = 0;
  }

 private:
  static int Interrupted(void* opaque) {
    return static_cast<const std::atomic<bool>*>(opaque)->load() ? 1 : 0;
  }

  // Finds the streams' parameters, which decodes a little of each: with
  // the bound on the size of a picture a decoder may make.
  int FindStreamInfo(int64_t max_pixels) {
    const unsigned streams = format_->nb_streams;
    std::vector<AVDictionary*> per_stream(streams, nullptr);
    for (AVDictionary*& d : per_stream) av_dict_set_int(&d, "max_pixels", max_pixels, 0);
    const int r = avformat_find_stream_info(format_.get(), streams ? per_stream.data() : nullptr);
    for (AVDictionary*& d : per_stream) av_dict_free(&d);
    return r;
  }

  // Reads one packet into its decoder; at the end of the file (or of the
  // packets allowed), starts draining the video decoder. False when nothing
  // more can be fed.
  bool Feed(std::vector<int16_t>* pcm) {
    if (draining_) return false;
    const int r = packets_left_ == 0 ? AVERROR_EOF : av_read_frame(format_.get(), packet_.get());
    if (r < 0) {
      draining_ = true;
      return avcodec_send_packet(video_.get(), nullptr) >= 0;
    }
    if (packets_left_ > 0) --packets_left_;
    if (packet_->stream_index == video_index_) {
      const int sent = avcodec_send_packet(video_.get(), packet_.get());
      av_packet_unref(packet_.get());
      // A packet the decoder refuses is skipped; the next may decode.
      return sent >= 0 || sent == AVERROR_INVALIDDATA || sent == AVERROR(EAGAIN);
    }
    if (packet_->stream_index == audio_index_ && pcm) DecodeSound(*pcm);
    av_packet_unref(packet_.get());
    return true;
  }

  // The first decoded sound frame sets up the conversion; a sound whose
  // frames leave the bounds, change shape on the way or cannot be converted
  // is dropped, and the picture goes on.
  void DecodeSound(std::vector<int16_t>& pcm) {
    if (avcodec_send_packet(sound_.get(), packet_.get()) < 0) return;
    while (avcodec_receive_frame(sound_.get(), frame_.get()) == 0) {
      const AVFrame& f = *frame_;
      const int64_t channels = f.ch_layout.nb_channels;
      if (!conversion_.Fits(f.sample_rate, channels, f.format) &&
          (conversion_.open() || !conversion_.Open(f.sample_rate, channels, f.format))) {
        av_frame_unref(frame_.get());
        DropSound();
        return;
      }
      conversion_.Convert(f.extended_data, f.nb_samples, pcm);
      av_frame_unref(frame_.get());
    }
  }

  void DropSound() {
    sound_.reset();
    audio_index_ = -1;
  }

  bool Convert(DisplaySurface& out) {
    const AVFrame& f = *frame_;
    if (!PlausiblePicture({f.width, f.height}) || f.format < 0) return false;
    scale_.reset(sws_getCachedContext(scale_.release(), f.width, f.height,
                                      static_cast<AVPixelFormat>(f.format), width_, height_,
                                      AV_PIX_FMT_BGR24, SWS_BILINEAR, nullptr, nullptr, nullptr));
    if (!scale_) return false;
    if (out.width != width_ || out.height != height_) out.Resize(width_, height_);
    // The engine's rows run bottom-up: start at the last row, step backwards.
    uint8_t* dst[4] = {out.pixels.data() + static_cast<size_t>(height_ - 1) * out.stride, nullptr,
                       nullptr, nullptr};
    int dst_stride[4] = {-out.stride, 0, 0, 0};
    return sws_scale(scale_.get(), f.data, f.linesize, 0, f.height, dst, dst_stride) == height_;
  }

  uint32_t MomentOf(const AVFrame& f) {
    const AVStream* s = format_->streams[video_index_];
    int64_t pts = f.best_effort_timestamp;
    uint32_t ms;
    if (pts != AV_NOPTS_VALUE && s->time_base.den > 0) {
      if (s->start_time != AV_NOPTS_VALUE) pts -= s->start_time;
      ms = static_cast<uint32_t>(
          std::clamp<int64_t>(av_rescale_q(pts, s->time_base, AVRational{1, 1000}), 0, INT32_MAX));
    } else {
      // No moments in the stream: count frames at its rate (25 when unknown).
      AVRational rate = s->avg_frame_rate.num > 0 && s->avg_frame_rate.den > 0 ? s->avg_frame_rate
                                                                               : AVRational{25, 1};
      ms = static_cast<uint32_t>(av_rescale_q(frames_, av_inv_q(rate), AVRational{1, 1000}));
    }
    ++frames_;
    return ms;
  }

  std::atomic<bool> interrupt_{false};
  std::unique_ptr<AVIOContext, IoCloser> io_;
  std::unique_ptr<AVFormatContext, FormatCloser> format_;
  CodecPtr video_;
  CodecPtr sound_;
  std::unique_ptr<AVPacket, PacketCloser> packet_;
  std::unique_ptr<AVFrame, FrameCloser> frame_;
  std::unique_ptr<SwsContext, ScaleCloser> scale_;
  SoundConversion conversion_;
  int video_index_ = -1;
  int audio_index_ = -1;
  int width_ = 0;
  int height_ = 0;
  int packets_left_ = -1;
  int64_t frames_ = 0;
  bool draining_ = false;
};

struct QueuedFrame {
  DisplaySurface picture;
  uint32_t time_ms = 0;
  std::vector<int16_t> pcm;  // the sound decoded before this frame
};

// What the decoder thread shares with its movie, kept alive by both: a
// movie closed while its thread is still inside a library call leaves the
// thread to finish alone, and the last of the two frees it.
struct Pipeline {
  std::unique_ptr<Decoder> decoder;
  bool with_sound = false;
  std::mutex mutex;
  std::condition_variable changed;
  std::deque<QueuedFrame> queue;
  bool stop = false;
  bool ended = false;     // the decoder has no more frames
  bool finished = false;  // the thread is done with the decoder
};

void DecodeAhead(const std::shared_ptr<Pipeline>& p) {
  for (;;) {
    QueuedFrame f;
    const bool got = p->decoder->NextFrame(f.picture, f.time_ms, p->with_sound ? &f.pcm : nullptr);
    std::unique_lock lock(p->mutex);
    if (!got) p->ended = true;
    if (got) p->changed.wait(lock, [&] { return p->stop || p->queue.size() < kQueuedFrames; });
    if (!got || p->stop) {
      p->finished = true;
      p->changed.notify_all();
      return;
    }
    p->queue.push_back(std::move(f));
    p->changed.notify_all();
  }
}

// One playing movie: the decoder on its own thread, filling a bounded queue.
class FfmpegMovie final : public Movie {
 public:
  // `first` is the movie's first frame, already decoded when it was opened.
  FfmpegMovie(std::unique_ptr<Decoder> decoder, QueuedFrame first, AudioService& audio,
              AudioLevel level)
      : pipeline_(std::make_shared<Pipeline>()), audio_(audio) {
    if (decoder->has_sound()) sound_open_ = audio_.StartPcmStream(level);
    pipeline_->decoder = std::move(decoder);
    pipeline_->with_sound = sound_open_;
    pipeline_->queue.push_back(std::move(first));
    Start();
  }
  ~FfmpegMovie() override {
    if (pipeline_->decoder) pipeline_->decoder->Interrupt();
    Stop();
    if (sound_open_) audio_.StopPcmStream();
  }

  MovieTake TakeFrame(DisplaySurface& frame, uint32_t& time_ms, uint32_t wait_ms) override {
    Pipeline& p = *pipeline_;
    std::unique_lock lock(p.mutex);
    p.changed.wait_for(lock, std::chrono::milliseconds(wait_ms),
                       [&] { return !p.queue.empty() || p.ended; });
    if (p.queue.empty()) return p.ended ? MovieTake::kEnded : MovieTake::kNotYet;
    QueuedFrame next = std::move(p.queue.front());
    p.queue.pop_front();
    lock.unlock();
    p.changed.notify_all();
    if (sound_open_ && !next.pcm.empty())
      audio_.QueuePcm(next.pcm.data(), next.pcm.size() / kMixerChannels);
    std::swap(frame, next.picture);
    time_ms = next.time_ms;
    return MovieTake::kFrame;
  }

  // Comes after the last frame, when the thread has ended. Should the
  // thread still be busy, the movie cannot start again and ends here.
  void Rewind() override {
    if (!Stop()) {
      pipeline_->decoder->Interrupt();
      auto ended = std::make_shared<Pipeline>();
      ended->ended = ended->finished = true;
      pipeline_ = std::move(ended);
      return;
    }
    pipeline_->decoder->Rewind();
    pipeline_->queue.clear();
    Start();
  }

  void SetLevel(AudioLevel level) override {
    if (sound_open_) audio_.SetPcmStreamLevel(level);
  }

 private:
  void Start() {
    {
      std::lock_guard lock(pipeline_->mutex);
      pipeline_->stop = pipeline_->ended = pipeline_->finished = false;
    }
    thread_ = std::thread([p = pipeline_] { DecodeAhead(p); });
  }

  // Asks the thread to stop and waits a little for it. True when it has
  // stopped; false when it was still busy and is left to finish alone
  // (whoever closes the run is not held up by a decoder).
  bool Stop() {
    Pipeline& p = *pipeline_;
    std::unique_lock lock(p.mutex);
    p.stop = true;
    p.changed.notify_all();
    if (!thread_.joinable()) return true;
    const bool stopped = p.changed.wait_for(lock, kStopWait, [&] { return p.finished; });
    lock.unlock();
    if (stopped) {
      thread_.join();
    } else {
      thread_.detach();
    }
    return stopped;
  }

  std::shared_ptr<Pipeline> pipeline_;
  AudioService& audio_;
  bool sound_open_ = false;
  std::thread thread_;
};

}  // namespace

std::unique_ptr<Movie> FfmpegMovies::Open(const std::string& path, int width, int height,
                                          AudioService& audio, AudioLevel level, std::string& why) {
  av_log_set_level(AV_LOG_QUIET);
  auto decoder = std::make_unique<Decoder>();
  DecoderOptions options;
  options.width = width;
  options.height = height;
  if (!decoder->Open(path, nullptr, options, why)) return nullptr;
  // A file whose first picture does not decode is no movie to play: it is
  // refused here rather than shown as nothing.
  QueuedFrame first;
  if (!decoder->NextFrame(first.picture, first.time_ms, &first.pcm)) {
    why = "no picture of it could be decoded";
    return nullptr;
  }
  return std::make_unique<FfmpegMovie>(std::move(decoder), std::move(first), audio, level);
}

int DecodeMovieBytes(const std::string& bytes, int width, int height,
                     const MovieDecodeLimits& limits) {
  av_log_set_level(AV_LOG_QUIET);
  MemoryReader memory{&bytes};
  Decoder decoder;
  DecoderOptions options;
  options.width = width;
  options.height = height;
  options.max_pixels = limits.max_pixels;
  options.probe_bytes = limits.probe_bytes;
  options.max_packets = limits.max_packets;
  std::string why;
  if (!decoder.Open({}, &memory, options, why)) return -1;
  DisplaySurface frame;
  uint32_t time_ms = 0;
  std::vector<int16_t> pcm;
  int frames = 0;
  while (frames < limits.max_frames && decoder.NextFrame(frame, time_ms, &pcm)) {
    ++frames;
    pcm.clear();
  }
  return frames;
}

}  // namespace orivane
