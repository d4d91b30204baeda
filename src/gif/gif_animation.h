#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace zentorix::gif {

// An animation is refused past these: a frame wider or higher than this many
// pixels, or more frames than this.
inline constexpr int kMaxSide = 4096;
inline constexpr long long kMaxFrames = 10000;

// A request past the limits, or a frame that does not fit the animation.
class GifError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Why an animation of that size and frame count is refused, or empty.
std::string LimitProblem(long long width, long long height, long long frames);

// An animated GIF built in memory, one frame at a time, and written whole. Each
// frame after the first stores only the rectangle that changed, over the frame
// before; the animation loops.
class Animation {
  public:
    // `palette`: at most 256 colours as 0xRRGGBB; `delayMs` between frames.
    // Throws GifError past the limits.
    Animation(int width, int height, std::vector<std::uint32_t> palette, int delayMs);
    ~Animation();
    Animation(const Animation&) = delete;
    Animation& operator=(const Animation&) = delete;

    int Width() const { return width_; }
    int Height() const { return height_; }
    long long Frames() const { return frames_; }

    // One frame of width x height palette indices, row by row. Throws GifError
    // past the frame limit or for an index outside the palette.
    void AddFrame(const std::vector<std::uint8_t>& pixels);

    // Writes the file whole (a hidden temporary renamed over it) or not at all.
    // Gives an empty text, or the reason it was not written.
    std::string Save(const std::filesystem::path& path);

  private:
    struct Encoder;
    int width_, height_, delayCs_;
    std::size_t colours_;
    long long frames_ = 0;
    std::vector<std::uint8_t> previous_;
    std::unique_ptr<Encoder> encoder_;
};

}  // namespace zentorix::gif
