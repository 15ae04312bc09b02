#include "moltr/preview_command.h"

#include <windows.h>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <optional>
#include "moltr/command_line.h"
#include "moltr/job_devmode.h"
#include "moltr/named_printer.h"
#include "moltr/private_devmode.h"
#include "sim/bitmap_pictures.h"
#include "uiplugin/engine/page_preview.h"

namespace moltr::tool {

const char kPreviewUsage[] =
    "usage: moltr preview PRINTER [--set FIELD=VALUE ...] -o FILE.png [--size WxH]\n"
    "Draws the page preview of the document property sheet for the printer's default devmode,\n"
    "changed by each --set as moltr print does (public fields by their DEVMODEW names, private\n"
    "ones by their setting names: _NUP_PAGES, _BOOKLET, _WMK_ENABLED ...), into a control of\n"
    "W by H pixels (default 400x400, at most 4096 each), and writes it to FILE.png.\n"
    "Prints \"FILE: W x H\".\n";

namespace {

constexpr char kShortUsage[] =
    "usage: moltr preview PRINTER [--set FIELD=VALUE ...] -o FILE.png [--size WxH]";
constexpr long kMaxSide = 4096;
constexpr long kDefaultSide = 400;
// The caption's texts where no language resources are at hand.
constexpr WCHAR kSeparator[] = L" x ";
constexpr WCHAR kInches[] = L" in";
constexpr WCHAR kMillimetres[] = L" mm";

struct PreviewRequest {
    std::string printer;
    std::string output;
    std::vector<std::string> settings;
    LONG width = kDefaultSide;
    LONG height = kDefaultSide;
};

// "WxH" with both sides from 1 to kMaxSide.
bool ParseSize(const std::string& text, LONG& width, LONG& height) {
    char* end = nullptr;
    errno = 0;
    const long w = std::strtol(text.c_str(), &end, 10);
    if (end == text.c_str() || (*end != 'x' && *end != 'X')) {
        return false;
    }
    const char* rest = end + 1;
    const long h = std::strtol(rest, &end, 10);
    if (end == rest || *end != '\0' || errno != 0 || w < 1 || h < 1 || w > kMaxSide ||
        h > kMaxSide) {
        return false;
    }
    width = static_cast<LONG>(w);
    height = static_cast<LONG>(h);
    return true;
}

// Returns an error text, empty on success.
std::string ParseRequest(const std::vector<std::string>& args, PreviewRequest& request) {
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool hasValue = i + 1 < args.size();
        if (arg == "-o" && hasValue) {
            request.output = args[++i];
        } else if (arg == "--set" && hasValue) {
            request.settings.push_back(args[++i]);
        } else if (arg == "--size" && hasValue) {
            if (!ParseSize(args[++i], request.width, request.height)) {
                return "--size takes WxH, each from 1 to 4096: " + args[i];
            }
        } else if (request.printer.empty() && arg.rfind("-", 0) != 0) {
            request.printer = arg;
        } else {
            return kShortUsage;
        }
    }
    if (request.printer.empty()) {
        return "moltr preview needs a printer name";
    }
    return request.output.empty() ? "moltr preview needs -o FILE.png" : std::string();
}

// The preview's state from the devmode, read through the printer's document settings.
std::string StateOf(const NamedPrinter& printer, std::vector<BYTE>& devmode,
                    ui::PreviewState& state, ui::WatermarkRecord& watermark) {
    StoredStructure layout;
    DWORD size = 0;
    std::string error = PrivateDevModeLayout(printer, layout, size);
    common::IDrvSettings* settings =
        error.empty() ? printer.Settings(common::kModeDocument, error) : nullptr;
    if (settings == nullptr) {
        return error;
    }
    const std::optional<size_t> at = FindPrivateDevMode(devmode, size);
    ui::FillPreviewState(*reinterpret_cast<const DEVMODEW*>(devmode.data()), settings,
                         at ? devmode.data() + *at : nullptr, state, watermark);
    settings->Release();
    return {};
}

// Paints the preview into a 32-bit bitmap of the request's size; its PNG in `picture`.
std::string Paint(const PreviewRequest& request, const ui::PreviewState& state,
                  const ui::WatermarkRecord& watermark, std::vector<BYTE>& picture) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = request.width;
    info.bmiHeader.biHeight = -request.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    HDC dc = CreateCompatibleDC(nullptr);
    void* bits = nullptr;
    HBITMAP bitmap = dc ? CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0) : nullptr;
    if (bitmap) {
        HGDIOBJ previous = SelectObject(dc, bitmap);
        WCHAR caption[ui::kPreviewCaptionRoom];
        ui::PreviewCaption(state, kSeparator,
                           state.units == ui::kPreviewUnitMillimetres ? kMillimetres : kInches,
                           caption);
        ui::PaintPagePreview(dc, {0, 0, request.width, request.height}, state, watermark, caption);
        SelectObject(dc, previous);
        picture = sim::BitmapPicture(bitmap);
        DeleteObject(bitmap);
    }
    if (dc) {
        DeleteDC(dc);
    }
    return picture.empty() ? "the preview cannot be drawn" : std::string();
}

std::string Write(const std::string& file, const std::vector<BYTE>& picture) {
    std::ofstream out(file, std::ios::binary);
    out.write(reinterpret_cast<const char*>(picture.data()),
              static_cast<std::streamsize>(picture.size()));
    return out.flush() ? std::string() : "cannot write " + file;
}

} // namespace

int RunPreview(const std::vector<std::string>& args) {
    PreviewRequest request;
    std::string error = ParseRequest(args, request);
    NamedPrinter printer;
    if (error.empty()) {
        error = printer.Open(request.printer);
    }
    std::vector<BYTE> devmode;
    if (error.empty()) {
        error = ApplicationDevMode(printer, request.settings, devmode);
    }
    ui::PreviewState state;
    ui::WatermarkRecord watermark;
    if (error.empty()) {
        error = StateOf(printer, devmode, state, watermark);
    }
    std::vector<BYTE> picture;
    if (error.empty()) {
        error = Paint(request, state, watermark, picture);
    }
    if (error.empty()) {
        error = Write(request.output, picture);
    }
    if (!error.empty()) {
        return Fail(error);
    }
    std::printf("%s: %ld x %ld\n", request.output.c_str(), static_cast<long>(request.width),
                static_cast<long>(request.height));
    return 0;
}

} // namespace moltr::tool
