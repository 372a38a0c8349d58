#include "platform/ffmpeg/stream_limits.h"

namespace orivane {

bool PlausibleSound(const SoundShape& sound) {
  return sound.rate >= kMinSoundRate && sound.rate <= kMaxSoundRate && sound.channels >= 1 &&
         sound.channels <= kMaxSoundChannels;
}

bool PlausiblePicture(const PictureShape& picture) {
  if (picture.width < 1 || picture.height < 1) return false;
  if (picture.width > kMaxPictureSide || picture.height > kMaxPictureSide) return false;
  return picture.width * picture.height <= kMaxPicturePixels;
}

}  // namespace orivane
