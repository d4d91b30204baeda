#include "gif/gif_animation.h"

#include <gif_lib.h>

#include <algorithm>
#include <string_view>

#include "platform/durable_file.h"

namespace zentorix::gif {

namespace {

int WriteToBuffer(GifFileType* gif, const GifByteType* bytes, int length) {
    auto* out = static_cast<std::string*>(gif->UserData);
    out->append(reinterpret_cast<const char*>(bytes), static_cast<std::size_t>(length));
    return length;
}

std::string Failure(const char* what, int code) {
    const char* reason = GifErrorString(code);
    return std::string("GIF encoding failed (") + what +
           "): " + (reason ? reason : "unknown error");
}

}  // namespace

struct Animation::Encoder {
    std::string bytes;
    GifFileType* gif = nullptr;
    ~Encoder() {
        if (gif) {
            int error = 0;
            EGifCloseFile(gif, &error);
        }
    }
};

std::string LimitProblem(long long width, long long height, long long frames) {
    if (width < 1 || height < 1 || width > kMaxSide || height > kMaxSide)
        return "a frame of " + std::to_string(width) + " by " + std::to_string(height) +
               " pixels is past the limit: frames are 1 to " + std::to_string(kMaxSide) +
               " pixels each way (choose a smaller scale or area)";
    if (frames < 1 || frames > kMaxFrames)
        return std::to_string(frames) + " frames are past the limit: an animation holds 1 to " +
               std::to_string(kMaxFrames) + " frames (show fewer generations, or every N-th)";
    return {};
}

Animation::Animation(int width, int height, std::vector<std::uint32_t> palette, int delayMs)
    : width_(width),
      height_(height),
      delayCs_(std::clamp((delayMs + 5) / 10, 1, 65535)),
      colours_(palette.size()),
      encoder_(std::make_unique<Encoder>()) {
    if (const std::string problem = LimitProblem(width, height, 1); !problem.empty())
        throw GifError(problem);
    if (palette.empty() || palette.size() > 256)
        throw GifError("a GIF holds 1 to 256 colours, not " + std::to_string(palette.size()));
    int size = 2;
    while (size < static_cast<int>(palette.size()))
        size *= 2;
    std::vector<GifColorType> colours(static_cast<std::size_t>(size), GifColorType{0, 0, 0});
    for (std::size_t i = 0; i < palette.size(); ++i)
        colours[i] = {static_cast<GifByteType>(palette[i] >> 16),
                      static_cast<GifByteType>(palette[i] >> 8),
                      static_cast<GifByteType>(palette[i])};
    int error = 0;
    encoder_->gif = EGifOpen(&encoder_->bytes, WriteToBuffer, &error);
    if (!encoder_->gif)
        throw GifError(Failure("open", error));
    ColorMapObject* map = GifMakeMapObject(size, colours.data());
    if (!map)
        throw GifError("GIF encoding failed: out of memory");
    EGifSetGifVersion(encoder_->gif, true);
    const int put = EGifPutScreenDesc(encoder_->gif, width, height, 8, 0, map);
    GifFreeMapObject(map);
    if (put != GIF_OK)
        throw GifError(Failure("screen", encoder_->gif->Error));
    // Loop for ever.
    static const GifByteType kApplication[] = {'N', 'E', 'T', 'S', 'C', 'A',
                                               'P', 'E', '2', '.', '0'};
    static const GifByteType kLoop[] = {1, 0, 0};
    if (EGifPutExtensionLeader(encoder_->gif, APPLICATION_EXT_FUNC_CODE) != GIF_OK ||
        EGifPutExtensionBlock(encoder_->gif, sizeof kApplication, kApplication) != GIF_OK ||
        EGifPutExtensionBlock(encoder_->gif, sizeof kLoop, kLoop) != GIF_OK ||
        EGifPutExtensionTrailer(encoder_->gif) != GIF_OK)
        throw GifError(Failure("loop", encoder_->gif->Error));
}

Animation::~Animation() = default;

void Animation::AddFrame(const std::vector<std::uint8_t>& pixels) {
    if (!encoder_->gif)
        throw GifError("the animation was already written");
    if (frames_ >= kMaxFrames)
        throw GifError(LimitProblem(width_, height_, frames_ + 1));
    const std::size_t count = static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_);
    if (pixels.size() != count)
        throw GifError("a frame of the wrong size");
    for (const std::uint8_t p : pixels)
        if (p >= colours_)
            throw GifError("a pixel outside the palette");
    // The rectangle that changed; a frame like the one before keeps one pixel.
    int left = 0, top = 0, right = width_ - 1, bottom = height_ - 1;
    if (frames_ > 0) {
        left = width_;
        top = height_;
        right = bottom = -1;
        for (int y = 0; y < height_; ++y) {
            const std::uint8_t* now = pixels.data() + static_cast<std::size_t>(y) * width_;
            const std::uint8_t* was = previous_.data() + static_cast<std::size_t>(y) * width_;
            int first = 0;
            while (first < width_ && now[first] == was[first])
                ++first;
            if (first == width_)
                continue;
            int last = width_ - 1;
            while (now[last] == was[last])
                --last;
            left = std::min(left, first);
            right = std::max(right, last);
            top = std::min(top, y);
            bottom = y;
        }
        if (bottom < 0)
            left = right = top = bottom = 0;
    }
    GraphicsControlBlock control{};
    control.DisposalMode = DISPOSE_DO_NOT;
    control.UserInputFlag = false;
    control.DelayTime = delayCs_;
    control.TransparentColor = NO_TRANSPARENT_COLOR;
    GifByteType extension[4];
    const std::size_t length = EGifGCBToExtension(&control, extension);
    GifFileType* gif = encoder_->gif;
    if (EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, static_cast<int>(length), extension) !=
            GIF_OK ||
        EGifPutImageDesc(gif, left, top, right - left + 1, bottom - top + 1, false, nullptr) !=
            GIF_OK)
        throw GifError(Failure("frame", gif->Error));
    for (int y = top; y <= bottom; ++y) {
        auto* row =
            const_cast<GifPixelType*>(pixels.data() + static_cast<std::size_t>(y) * width_ + left);
        if (EGifPutLine(gif, row, right - left + 1) != GIF_OK)
            throw GifError(Failure("pixels", gif->Error));
    }
    previous_ = pixels;
    ++frames_;
}

std::string Animation::Save(const std::filesystem::path& path) {
    if (!encoder_->gif)
        return "the animation was already written";
    if (frames_ == 0)
        return "the animation has no frame";
    int error = 0;
    const int closed = EGifCloseFile(encoder_->gif, &error);
    encoder_->gif = nullptr;
    if (closed != GIF_OK)
        return Failure("close", error);
    return platform::ReplaceFileDurably(path, encoder_->bytes);
}

}  // namespace zentorix::gif
