// Picture size rules and their order; see picture_load.h.
#include "shell/picture_load.h"

#include <algorithm>
#include <cctype>
#include <cstring>

uint64_t PictureRowBytes(uint32_t width, uint32_t bitsPerPixel)
{
    return (uint64_t{width} * bitsPerPixel + 31) / 32 * 4;
}

uint64_t PictureBytes(uint32_t width, uint32_t height, uint32_t bitsPerPixel)
{
    return PictureRowBytes(width, bitsPerPixel) * height;
}

uint64_t ReductionDivisor(uint64_t bytes)
{
    if (bytes <= kLargestPictureBytes) return 1;
    // bytes / k <= limit  <=>  k >= bytes / limit rounded up; then the next even number.
    uint64_t k = (bytes + kLargestPictureBytes - 1) / kLargestPictureBytes;
    return k + (k & 1);
}

PicturePlan PlanPicture(int width, int height, int bitsPerPixel, int fit, const PictureSize* size)
{
    PicturePlan plan;
    int w = width, h = height;
    if (!size) {
        const uint64_t k = ReductionDivisor(PictureBytes(static_cast<uint32_t>(width), static_cast<uint32_t>(height),
                                                         static_cast<uint32_t>(bitsPerPixel)));
        if (k > 1) {
            w = std::max(1, static_cast<int>(width / k));
            h = std::max(1, static_cast<int>(height / k));
            plan.reduced = {w, h};
        }
    } else if (fit == kFitStretch) {
        if (size->width > 0 && size->height > 0) plan.scaled = *size;
    } else if (fit == kFitTopLeft) {
        if (w > size->width || h > size->height) {
            plan.clipped = {size->width < 1 ? w : std::min(size->width, w), size->height < 1 ? h : std::min(size->height, h)};
        }
    } else if (fit == kFitKeepAspect) {
        if (size->width > 0 && size->height > 0) {
            const double across = static_cast<double>(w) / size->width, down = static_cast<double>(h) / size->height;
            if (across <= down) plan.scaled = {static_cast<int>(w / down), size->height};
            else plan.scaled = {size->width, static_cast<int>(h / across)};
            plan.scaled.width = std::max(plan.scaled.width, 1);
            plan.scaled.height = std::max(plan.scaled.height, 1);
        }
    }
    if (plan.scaled.width) plan.result = plan.scaled;
    else if (plan.clipped.width) plan.result = plan.clipped;
    else plan.result = {w, h};
    return plan;
}

bool LoadPicture(PictureDecoder& decoder, const std::string& file, int fit, const PictureSize* size,
                 uint64_t screenColours, PictureSize& result)
{
    int width = 0, height = 0, bits = 0;
    if (file.empty() || !decoder.Open(file, width, height, bits)) return false;
    // A picture without pixels is refused before anything is computed from it.
    if (width <= 0 || height <= 0 || bits <= 0) return false;
    if (uint64_t(width) * uint64_t(height) > kLargestPicturePixels) return false;
    const PicturePlan plan = PlanPicture(width, height, bits, fit, size);
    if (plan.reduced.width && !decoder.Scale(plan.reduced)) return false;
    if (plan.scaled.width && !decoder.Scale(plan.scaled)) return false;
    if (plan.clipped.width && !decoder.Clip(plan.clipped)) return false;
    if (!decoder.Finish(bits <= 8, bits >= 8 && screenColours <= 256)) return false;
    result = plan.result;
    return true;
}

bool HostPictureNameAllowed(const std::string& file)
{
    auto slash = [](char c) { return c == '\\' || c == '/'; };
    if (file.size() >= 2 && slash(file[0]) && slash(file[1])) return false;
    // The last part of the path, without its extension and trailing blanks or dots.
    const std::size_t start = file.find_last_of("\\/:") == std::string::npos ? 0 : file.find_last_of("\\/:") + 1;
    std::string base = file.substr(start);
    base = base.substr(0, base.find('.'));
    while (!base.empty() && (base.back() == ' ' || base.back() == '.')) base.pop_back();
    for (char& c : base) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    static const char* const kDevices[] = {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$", "CLOCK$"};
    for (const char* device : kDevices)
        if (base == device) return false;
    if (base.size() == 4 && (base.compare(0, 3, "COM") == 0 || base.compare(0, 3, "LPT") == 0) &&
        base[3] >= '0' && base[3] <= '9')
        return false;
    // A name ending in ':' after the drive (e.g. "COM1:") has an empty last part: no file.
    return !base.empty() || file.find('.', start) != std::string::npos;
}

std::string HostButtonTexts(const char* text)
{
    std::string texts = text ? text : "";
    const std::size_t end = texts.find(';');
    if (!HostPictureNameAllowed(texts.substr(0, end))) texts.erase(0, end == std::string::npos ? texts.size() : end);
    return texts;
}
