#include "platform/ffmpeg/ffmpeg_movies.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libavutil/imgutils.h>
#include <libavutil/opt.h>
#include <libswresample/swresample.h>
#include <libswscale/swscale.h>
}

namespace orivane {
namespace {

// Frames the decoder keeps ready ahead of the engine.
constexpr size_t kQueuedFrames = 4;
// The sound service's PCM format.
constexpr int kOutRate = 44100;
constexpr int kOutChannels = 2;
// Pictures larger than this on a side are refused (a damaged header).
constexpr int kMaxSide = 8192;

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
struct ResampleCloser {
  void operator()(SwrContext* s) const { swr_free(&s); }
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

CodecPtr OpenDecoder(AVStream* stream) {
  const AVCodec* codec = avcodec_find_decoder(stream->codecpar->codec_id);
  if (!codec) return nullptr;
  CodecPtr ctx(avcodec_alloc_context3(codec));
  if (!ctx || avcodec_parameters_to_context(ctx.get(), stream->codecpar) < 0) return nullptr;
  ctx->thread_count = 1;
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

// The demuxer and decoders of one movie, used from one thread at a time.
class Decoder {
 public:
  // Opens the file at `path`, or (with `memory`) the bytes it reads.
  bool Open(const std::string& path, MemoryReader* memory, int width, int height, bool with_sound,
            std::string& why) {
    if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide) {
      why = "the movie's rectangle is empty";
      return false;
    }
    width_ = width;
    height_ = height;
    AVFormatContext* raw = avformat_alloc_context();
    if (!raw) return false;
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
    AVDictionary* options = nullptr;
    av_dict_set(&options, "protocol_whitelist", "file", 0);
    const int opened =
        avformat_open_input(&raw, memory ? nullptr : path.c_str(), nullptr, &options);
    av_dict_free(&options);
    if (opened < 0) {
      why = AvError(opened);
      return false;  // avformat_open_input freed `raw`
    }
    format_.reset(raw);
    format_->probesize = 1 << 20;
    if (int r = avformat_find_stream_info(format_.get(), nullptr); r < 0) {
      why = AvError(r);
      return false;
    }
    video_index_ = av_find_best_stream(format_.get(), AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
    if (video_index_ < 0) {
      why = "no video stream";
      return false;
    }
    video_ = OpenDecoder(format_->streams[video_index_]);
    if (!video_) {
      why = "no decoder for its video";
      return false;
    }
    if (with_sound) {
      audio_index_ =
          av_find_best_stream(format_.get(), AVMEDIA_TYPE_AUDIO, -1, video_index_, nullptr, 0);
      if (audio_index_ >= 0) sound_ = OpenDecoder(format_->streams[audio_index_]);
      if (!sound_) audio_index_ = -1;
    }
    packet_.reset(av_packet_alloc());
    frame_.reset(av_frame_alloc());
    return packet_ && frame_;
  }

  bool has_sound() const { return sound_ != nullptr; }

  // Decodes until the next video frame (converted into `out`, its moment in
  // `time_ms`); sound met on the way goes to `pcm`. False at the end.
  bool NextFrame(DisplaySurface& out, uint32_t& time_ms, std::vector<int16_t>* pcm) {
    for (;;) {
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
  }

  void Rewind() {
    av_seek_frame(format_.get(), video_index_, 0, AVSEEK_FLAG_BACKWARD);
    avcodec_flush_buffers(video_.get());
    if (sound_) avcodec_flush_buffers(sound_.get());
    draining_ = false;
    frames_ = 0;
  }

 private:
  // Reads one packet into its decoder; at the end of the file, starts
  // draining the video decoder. False when nothing more can be fed.
  bool Feed(std::vector<int16_t>* pcm) {
    if (draining_) return false;
    const int r = av_read_frame(format_.get(), packet_.get());
    if (r < 0) {
      draining_ = true;
      return avcodec_send_packet(video_.get(), nullptr) >= 0;
    }
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

  void DecodeSound(std::vector<int16_t>& pcm) {
    if (avcodec_send_packet(sound_.get(), packet_.get()) < 0) return;
    while (avcodec_receive_frame(sound_.get(), frame_.get()) == 0) {
      if (!resample_) {
        AVChannelLayout out_layout{};
        av_channel_layout_default(&out_layout, kOutChannels);
        SwrContext* s = nullptr;
        if (swr_alloc_set_opts2(&s, &out_layout, AV_SAMPLE_FMT_S16, kOutRate, &frame_->ch_layout,
                                static_cast<AVSampleFormat>(frame_->format), frame_->sample_rate, 0,
                                nullptr) < 0 ||
            swr_init(s) < 0) {
          swr_free(&s);
          sound_.reset();  // this sound cannot be converted; the picture goes on
          audio_index_ = -1;
          return;
        }
        resample_.reset(s);
      }
      const int room = swr_get_out_samples(resample_.get(), frame_->nb_samples);
      if (room > 0) {
        const size_t at = pcm.size();
        pcm.resize(at + static_cast<size_t>(room) * kOutChannels);
        auto* dst = reinterpret_cast<uint8_t*>(pcm.data() + at);
        const int made =
            swr_convert(resample_.get(), &dst, room,
                        const_cast<const uint8_t**>(frame_->extended_data), frame_->nb_samples);
        pcm.resize(at + static_cast<size_t>(std::max(made, 0)) * kOutChannels);
      }
      av_frame_unref(frame_.get());
    }
  }

  bool Convert(DisplaySurface& out) {
    const AVFrame& f = *frame_;
    if (f.width <= 0 || f.height <= 0 || f.format < 0) return false;
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

  std::unique_ptr<AVIOContext, IoCloser> io_;
  std::unique_ptr<AVFormatContext, FormatCloser> format_;
  CodecPtr video_;
  CodecPtr sound_;
  std::unique_ptr<AVPacket, PacketCloser> packet_;
  std::unique_ptr<AVFrame, FrameCloser> frame_;
  std::unique_ptr<SwsContext, ScaleCloser> scale_;
  std::unique_ptr<SwrContext, ResampleCloser> resample_;
  int video_index_ = -1;
  int audio_index_ = -1;
  int width_ = 0;
  int height_ = 0;
  int64_t frames_ = 0;
  bool draining_ = false;
};

struct QueuedFrame {
  DisplaySurface picture;
  uint32_t time_ms = 0;
  std::vector<int16_t> pcm;  // the sound decoded before this frame
};

// One playing movie: the decoder on its own thread, filling a bounded queue.
class FfmpegMovie final : public Movie {
 public:
  // `first` is the movie's first frame, already decoded when it was opened.
  FfmpegMovie(std::unique_ptr<Decoder> decoder, QueuedFrame first, AudioService& audio,
              AudioLevel level)
      : decoder_(std::move(decoder)), audio_(audio) {
    if (decoder_->has_sound()) sound_open_ = audio_.StartPcmStream(level);
    queue_.push_back(std::move(first));
    Start();
  }
  ~FfmpegMovie() override {
    Stop();
    if (sound_open_) audio_.StopPcmStream();
  }

  MovieTake TakeFrame(DisplaySurface& frame, uint32_t& time_ms, uint32_t wait_ms) override {
    std::unique_lock lock(mutex_);
    changed_.wait_for(lock, std::chrono::milliseconds(wait_ms),
                      [&] { return !queue_.empty() || ended_; });
    if (queue_.empty()) return ended_ ? MovieTake::kEnded : MovieTake::kNotYet;
    QueuedFrame next = std::move(queue_.front());
    queue_.pop_front();
    lock.unlock();
    changed_.notify_all();
    if (sound_open_ && !next.pcm.empty())
      audio_.QueuePcm(next.pcm.data(), next.pcm.size() / kOutChannels);
    std::swap(frame, next.picture);
    time_ms = next.time_ms;
    return MovieTake::kFrame;
  }

  void Rewind() override {
    Stop();
    decoder_->Rewind();
    queue_.clear();
    Start();
  }

  void SetLevel(AudioLevel level) override {
    if (sound_open_) audio_.SetPcmStreamLevel(level);
  }

 private:
  void Start() {
    std::lock_guard lock(mutex_);
    stop_ = false;
    ended_ = false;
    thread_ = std::thread([this] { Run(); });
  }
  void Stop() {
    {
      std::lock_guard lock(mutex_);
      stop_ = true;
    }
    changed_.notify_all();
    if (thread_.joinable()) thread_.join();
  }

  void Run() {
    for (;;) {
      QueuedFrame f;
      const bool got = decoder_->NextFrame(f.picture, f.time_ms, sound_open_ ? &f.pcm : nullptr);
      std::unique_lock lock(mutex_);
      if (!got) {
        ended_ = true;
        changed_.notify_all();
        return;
      }
      changed_.wait(lock, [&] { return stop_ || queue_.size() < kQueuedFrames; });
      if (stop_) return;
      queue_.push_back(std::move(f));
      changed_.notify_all();
    }
  }

  std::unique_ptr<Decoder> decoder_;
  AudioService& audio_;
  bool sound_open_ = false;
  std::thread thread_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<QueuedFrame> queue_;
  bool stop_ = false;
  bool ended_ = false;
};

}  // namespace

std::unique_ptr<Movie> FfmpegMovies::Open(const std::string& path, int width, int height,
                                          AudioService& audio, AudioLevel level, std::string& why) {
  av_log_set_level(AV_LOG_QUIET);
  auto decoder = std::make_unique<Decoder>();
  if (!decoder->Open(path, nullptr, width, height, true, why)) return nullptr;
  // A file whose first picture does not decode is no movie to play: it is
  // refused here rather than shown as nothing.
  QueuedFrame first;
  if (!decoder->NextFrame(first.picture, first.time_ms, &first.pcm)) {
    why = "no picture of it could be decoded";
    return nullptr;
  }
  return std::make_unique<FfmpegMovie>(std::move(decoder), std::move(first), audio, level);
}

int DecodeMovieBytes(const std::string& bytes, int width, int height, int max_frames) {
  av_log_set_level(AV_LOG_QUIET);
  MemoryReader memory{&bytes};
  Decoder decoder;
  std::string why;
  if (!decoder.Open({}, &memory, width, height, true, why)) return -1;
  DisplaySurface frame;
  uint32_t time_ms = 0;
  std::vector<int16_t> pcm;
  int frames = 0;
  while (frames < max_frames && decoder.NextFrame(frame, time_ms, &pcm)) {
    ++frames;
    pcm.clear();
  }
  return frames;
}

}  // namespace orivane
