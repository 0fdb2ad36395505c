// The gauge drawn with GDI. As in the Qt gauge, the kind is painted on a
// black work bitmap and XOR-ed onto a black picture, and the text is XOR-ed
// on afterwards from a third bitmap, white on black, so that it reads in
// inverted colours over the filled and the empty part alike. The bars' and
// the text's places, the pie's start and the needle's tip come from the
// shared geometry.
#include "window_win32/gauge_win32.h"

#include <memory>
#include <string>

#include "gauge/bar_geometry.h"
#include "gauge/gauge_math.h"

namespace pellimar {
namespace {

// The window's gauge: a navy bar, the classic active-caption colour, which
// the text inverts to a pale yellow, on the button face.
constexpr TColor kGaugeBarColor = MakeRGB(0, 0, 128);

COLORREF Resolve(TColor color)
{
    if ((color & kSystemColorFlag) != 0)
        return GetSysColor(static_cast<int>(color & 0xFF));
    return static_cast<COLORREF>(color);
}

void FillBox(HDC dc, const PixelRect& box, TColor color)
{
    if (box.right <= box.left || box.bottom <= box.top)
        return;
    const RECT rect{box.left, box.top, box.right, box.bottom};
    HBRUSH brush = CreateSolidBrush(Resolve(color));
    FillRect(dc, &rect, brush);
    DeleteObject(brush);
}

// A memory bitmap with its pixels at hand, black at first.
class PixelBitmap {
public:
    // A memory device of its own: no screen needed.
    PixelBitmap(int width, int height) : width_(width), height_(height), dc_(CreateCompatibleDC(nullptr))
    {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;  // top-down
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits_, nullptr, 0);
        old_ = SelectObject(dc_, bitmap_);
        Clear();
    }
    ~PixelBitmap()
    {
        SelectObject(dc_, old_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    PixelBitmap(const PixelBitmap&) = delete;
    PixelBitmap& operator=(const PixelBitmap&) = delete;

    int Width() const { return width_; }
    int Height() const { return height_; }
    HDC Dc() const { return dc_; }
    void Clear()
    {
        const RECT all{0, 0, width_, height_};
        FillRect(dc_, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    }
    const std::uint32_t* Pixels() const
    {
        GdiFlush();
        return static_cast<const std::uint32_t*>(bits_);
    }

private:
    int width_;
    int height_;
    HDC dc_;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ old_ = nullptr;
    void* bits_ = nullptr;
};

// A solid brush and a one-pixel pen selected into a device for as long as
// the object lives.
class PenAndBrush {
public:
    PenAndBrush(HDC dc, TColor pen, TColor brush)
        : dc_(dc), pen_(CreatePen(PS_SOLID, 1, Resolve(pen))), brush_(CreateSolidBrush(Resolve(brush))),
          oldPen_(SelectObject(dc, pen_)), oldBrush_(SelectObject(dc, brush_))
    {
    }
    ~PenAndBrush()
    {
        SelectObject(dc_, oldPen_);
        SelectObject(dc_, oldBrush_);
        DeleteObject(pen_);
        DeleteObject(brush_);
    }
    PenAndBrush(const PenAndBrush&) = delete;
    PenAndBrush& operator=(const PenAndBrush&) = delete;

private:
    HDC dc_;
    HPEN pen_;
    HBRUSH brush_;
    HGDIOBJ oldPen_;
    HGDIOBJ oldBrush_;
};

// GDI's own rules are the ones the pictures are defined by: boxes leave out
// their right and bottom edges, lines their end point, and pies run
// counter-clockwise from the start radial to the end radial.
void DrawLine(HDC dc, PixelPoint from, PixelPoint to)
{
    MoveToEx(dc, from.x, from.y, nullptr);
    LineTo(dc, to.x, to.y);
}

void PaintAsBar(HDC dc, const PixelRect& r, const GaugeLookCore& look)
{
    FillBox(dc, r, look.BackColor);
    if (const std::optional<PixelRect> fill = BarFill(look.Kind, r, look.Percent))
        FillBox(dc, *fill, look.ForeColor);
}

void PaintAsPie(HDC dc, const PixelRect& r, const GaugeLookCore& look)
{
    FillBox(dc, r, look.Color);
    if (r.right <= r.left || r.bottom <= r.top)
        return;
    {
        const PenAndBrush face(dc, look.ForeColor, look.BackColor);
        Ellipse(dc, r.left, r.top, r.right, r.bottom);
    }
    if (look.Percent <= 0)
        return;
    const int hw = r.right / 2;
    const int hh = r.bottom / 2;
    const PixelPoint start = PieStart(look.Percent, hw, hh);
    const PenAndBrush wedge(dc, look.ForeColor, look.ForeColor);
    Pie(dc, r.left, r.top, r.right, r.bottom, start.x, start.y, hw, 0);
}

void PaintAsNeedle(HDC dc, const PixelRect& r, int width, const GaugeLookCore& look)
{
    FillBox(dc, r, look.Color);
    if (r.right <= r.left || r.bottom <= r.top)
        return;
    const PenAndBrush dial(dc, look.ForeColor, look.BackColor);
    // The upper half of an ellipse twice as tall as r: the dial's face.
    const int pivotY = r.bottom - 1;
    Pie(dc, r.left, r.top, r.right, 2 * r.bottom - 1, r.left + r.right, pivotY, r.left, pivotY);
    DrawLine(dc, {r.left, r.bottom}, {r.left + r.right, r.bottom});
    if (look.Percent <= 0)
        return;
    // The pivot is centred on the whole control, frame included.
    const int cx = width / 2;
    DrawLine(dc, {cx, pivotY}, NeedleTip(look.Percent, cx, pivotY));
}

void PaintKind(HDC dc, const PixelRect& r, int width, const GaugeLookCore& look)
{
    switch (look.Kind) {
    case gkText: FillBox(dc, r, look.BackColor); break;
    case gkHorizontalBar:
    case gkVerticalBar: PaintAsBar(dc, r, look); break;
    case gkPie: PaintAsPie(dc, r, look); break;
    case gkNeedle: PaintAsNeedle(dc, r, width, look); break;
    }
}

// The percentage's text, drawn without antialiasing so that every pixel of
// the mask is black or white and the text inverts pixels rather than
// tinting them.
HFONT SharpFontLike(HFONT font)
{
    LOGFONTW face{};
    if (font == nullptr || GetObjectW(font, sizeof face, &face) == 0)
        GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof face, &face);
    face.lfQuality = NONANTIALIASED_QUALITY;
    return CreateFontIndirectW(&face);
}

void DrawTextMask(HDC dc, const PixelRect& r, std::int32_t percent, HFONT sharp)
{
    HGDIOBJ old = SelectObject(dc, sharp);
    const std::wstring text = std::to_wstring(percent) + L"%";
    const int length = static_cast<int>(text.size());
    SIZE extent{};
    GetTextExtentPoint32W(dc, text.c_str(), length, &extent);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    const PixelPoint origin = TextOrigin(r, extent.cx, metrics.tmHeight);
    SetTextColor(dc, RGB(255, 255, 255));
    SetBkMode(dc, TRANSPARENT);
    const RECT clip{r.left, r.top, r.right, r.bottom};
    ExtTextOutW(dc, origin.x, origin.y, ETO_CLIPPED, &clip, text.c_str(), static_cast<UINT>(length), nullptr);
    SelectObject(dc, old);
}

void XorOnto(HDC target, HDC source, int width, int height)
{
    BitBlt(target, 0, 0, width, height, source, 0, 0, SRCINVERT);
}

// The three bitmaps a picture is composed in, and the text's font, kept from
// one picture to the next: a run repaints the gauge at every percent, and
// making them anew each time cost more than the drawing.
class GaugeCanvas {
public:
    GaugeCanvas(int width, int height, HFONT font)
        : picture_(width, height), work_(width, height), mask_(width, height), font_(font),
          sharp_(SharpFontLike(font))
    {
    }
    ~GaugeCanvas() { DeleteObject(sharp_); }
    GaugeCanvas(const GaugeCanvas&) = delete;
    GaugeCanvas& operator=(const GaugeCanvas&) = delete;

    bool Fits(int width, int height, HFONT font) const
    {
        return picture_.Width() == width && picture_.Height() == height && font_ == font;
    }

    // The picture is left in Picture().
    void Compose(const GaugeLookCore& look)
    {
        const int width = picture_.Width();
        const int height = picture_.Height();
        const PixelRect r = InnerRect(look.BorderStyle, width, height);
        picture_.Clear();
        work_.Clear();
        PaintKind(work_.Dc(), r, width, look);
        XorOnto(picture_.Dc(), work_.Dc(), width, height);
        if (look.ShowText) {
            mask_.Clear();
            DrawTextMask(mask_.Dc(), r, look.Percent, sharp_);
            XorOnto(picture_.Dc(), mask_.Dc(), width, height);
        }
    }

    const PixelBitmap& Picture() const { return picture_; }

private:
    PixelBitmap picture_;
    PixelBitmap work_;
    PixelBitmap mask_;
    HFONT font_;
    HFONT sharp_;
};

struct GaugeState {
    std::int32_t percent = 0;
    HFONT font = nullptr;
    std::unique_ptr<GaugeCanvas> canvas;
};

GaugeLookCore WindowGaugeLook(std::int32_t percent)
{
    GaugeLookCore look;
    look.Color = clBtnFace;
    look.ForeColor = kGaugeBarColor;
    look.Percent = percent;
    return look;
}

GaugeState* StateOf(HWND gauge)
{
    return reinterpret_cast<GaugeState*>(GetWindowLongPtrW(gauge, GWLP_USERDATA));
}

void Paint(HWND gauge)
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(gauge, &paint);
    RECT client;
    GetClientRect(gauge, &client);
    GaugeState* state = StateOf(gauge);
    if (state != nullptr && client.right > 0 && client.bottom > 0) {
        if (!state->canvas || !state->canvas->Fits(client.right, client.bottom, state->font))
            state->canvas = std::make_unique<GaugeCanvas>(client.right, client.bottom, state->font);
        state->canvas->Compose(WindowGaugeLook(state->percent));
        BitBlt(dc, 0, 0, client.right, client.bottom, state->canvas->Picture().Dc(), 0, 0, SRCCOPY);
    }
    EndPaint(gauge, &paint);
}

LRESULT CALLBACK GaugeProc(HWND gauge, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_NCCREATE: SetWindowLongPtrW(gauge, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(new GaugeState)); break;
    case WM_NCDESTROY: delete StateOf(gauge); SetWindowLongPtrW(gauge, GWLP_USERDATA, 0); break;
    case WM_SETFONT:
        if (GaugeState* state = StateOf(gauge))
            state->font = reinterpret_cast<HFONT>(wParam);
        return 0;
    case WM_ERASEBKGND: return 1;  // the picture covers every pixel
    case WM_PAINT: Paint(gauge); return 0;
    default: break;
    }
    return DefWindowProcW(gauge, message, wParam, lParam);
}

}  // namespace

bool RegisterGaugeClass(HINSTANCE instance)
{
    WNDCLASSEXW gaugeClass{};
    gaugeClass.cbSize = sizeof gaugeClass;
    gaugeClass.lpfnWndProc = GaugeProc;
    gaugeClass.hInstance = instance;
    gaugeClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    gaugeClass.lpszClassName = kGaugeClass;
    return RegisterClassExW(&gaugeClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

void SetGaugePercent(HWND gauge, std::int32_t percent)
{
    GaugeState* state = StateOf(gauge);
    if (state == nullptr || state->percent == percent)
        return;
    state->percent = percent;
    InvalidateRect(gauge, nullptr, FALSE);
    UpdateWindow(gauge);
}

std::vector<std::uint32_t> ComposeGaugePixels(const GaugeLookCore& look, int width, int height, HFONT font)
{
    if (width <= 0 || height <= 0)
        return {};
    GaugeCanvas canvas(width, height, font);
    canvas.Compose(look);
    const std::uint32_t* bits = canvas.Picture().Pixels();
    std::vector<std::uint32_t> pixels(bits, bits + static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    for (std::uint32_t& pixel : pixels)
        pixel &= 0x00FFFFFFu;
    return pixels;
}

}  // namespace pellimar
