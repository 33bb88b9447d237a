// The plug-in window's painting read back pixel by pixel from a DIB section: the gradient's
// bands, the title over its shadow, the picture at each position code, tiled and stretched and
// through its palette, and the locate panel's frame. Fonts differ between machines, so no
// whole image is compared.
#include "support/bitmap_file.h"
#include "ui/win32/plugin_window_painting.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <climits>
#include <memory>

namespace kestrel::ui::win32 {
namespace {

// A 32-bit top-down DIB section selected into a memory device context.
class Canvas {
  public:
    Canvas(int width, int height) : width_(width), height_(height) {
        BITMAPINFO info{};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        dc_ = CreateCompatibleDC(nullptr);
        bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_),
                                   nullptr, 0);
        old_ = SelectObject(dc_, bitmap_);
        fill(Colour{1, 2, 3});
    }
    ~Canvas() {
        SelectObject(dc_, old_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    HDC dc() const { return dc_; }
    Size size() const { return Size{width_, height_}; }
    void fill(Colour colour) {
        const RECT all{0, 0, width_, height_};
        const HBRUSH brush = CreateSolidBrush(RGB(colour.red, colour.green, colour.blue));
        FillRect(dc_, &all, brush);
        DeleteObject(brush);
    }
    Colour at(int x, int y) const {
        GdiFlush();
        const uint32_t pixel = bits_[size_t(y) * size_t(width_) + size_t(x)];
        return Colour{uint8_t(pixel >> 16), uint8_t(pixel >> 8), uint8_t(pixel)};
    }
    // The smallest rectangle holding every pixel of colour (empty when there is none).
    RECT extentOf(Colour colour) const {
        RECT box{INT_MAX, INT_MAX, INT_MIN, INT_MIN};
        for (int y = 0; y < height_; ++y)
            for (int x = 0; x < width_; ++x)
                if (at(x, y) == colour)
                    box = RECT{std::min<LONG>(box.left, x), std::min<LONG>(box.top, y),
                               std::max<LONG>(box.right, x + 1), std::max<LONG>(box.bottom, y + 1)};
        return box;
    }

  private:
    int width_, height_;
    HDC dc_;
    HBITMAP bitmap_;
    HGDIOBJ old_;
    uint32_t* bits_ = nullptr;
};

constexpr Colour kRed{255, 0, 0};
constexpr Colour kGreen{0, 255, 0};
constexpr Colour kBlue{0, 0, 255};
constexpr Colour kBlack{0, 0, 0};
constexpr Colour kWhite{255, 255, 255};

// 10 x 6, red with a green top-left pixel: where the green pixels land shows every copy.
std::unique_ptr<WindowPicture> marked() {
    return test::picture(24, 10, 6, {},
                         [](int x, int y) { return x == 0 && y == 0 ? 0x00FF00 : 0xFF0000; });
}

TEST(PluginWindowPainting, BackgroundIsBandsOfEightPixelsOrFlat) {
    Canvas canvas(30, 400);
    paintBackdrop(canvas.dc(), canvas.size(), {kBlue, kBlack});
    EXPECT_EQ(canvas.at(0, 0), kBlue);
    EXPECT_EQ(canvas.at(29, 7), kBlue);
    EXPECT_EQ(canvas.at(15, 8), (Colour{0, 0, 250})); // 50 steps of 5
    EXPECT_EQ(canvas.at(15, 399), (Colour{0, 0, 10}));

    Canvas low(30, 7); // no whole band: the top colour
    paintBackdrop(low.dc(), low.size(), {kRed, kBlack});
    EXPECT_EQ(low.at(29, 6), kRed);
    paintBackdrop(canvas.dc(), canvas.size(), {kGreen, kGreen});
    EXPECT_EQ(canvas.at(15, 399), kGreen);
}

TEST(PluginWindowPainting, PictureGoesWhereItsPositionCodeSays) {
    const auto mark = marked();
    ASSERT_TRUE(mark);
    // In a 100 x 80 window the room beside the picture is 90 x 74.
    const struct {
        int32_t code;
        POINT at;
    } cases[] = {{0, {45, 37}}, {1, {0, 0}},   {2, {45, 0}}, {3, {90, 0}}, {4, {90, 37}},
                 {5, {90, 74}}, {6, {45, 74}}, {7, {0, 74}}, {8, {0, 37}}, {42, {45, 37}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.code);
        Canvas canvas(100, 80);
        paintBackdrop(canvas.dc(), canvas.size(), {kBlue, kBlue, mark.get(), c.code});
        const RECT green = canvas.extentOf(kGreen);
        EXPECT_EQ(green.left, c.at.x);
        EXPECT_EQ(green.top, c.at.y);
        EXPECT_EQ(canvas.extentOf(kRed).right, c.at.x + 10);
        EXPECT_EQ(canvas.at(c.at.x == 0 ? 99 : 0, c.at.y == 0 ? 79 : 0), kBlue); // the gradient
    }

    // TILE repeats it from the top left over the whole window.
    Canvas tiled(35, 20);
    paintBackdrop(tiled.dc(), tiled.size(), {kBlue, kBlue, mark.get(), 9});
    for (const POINT copy : {POINT{0, 0}, POINT{10, 6}, POINT{30, 18}})
        EXPECT_EQ(tiled.at(copy.x, copy.y), kGreen);
    EXPECT_EQ(tiled.at(9, 5), kRed);
    EXPECT_EQ(tiled.at(34, 19), kRed);

    // FULLSCREEN stretches it over the window.
    Canvas stretched(100, 60);
    paintBackdrop(stretched.dc(), stretched.size(), {kBlue, kBlue, mark.get(), 10});
    const RECT green = stretched.extentOf(kGreen);
    EXPECT_EQ(green.left, 0);
    EXPECT_EQ(green.top, 0);
    EXPECT_EQ(green.right, 10);
    EXPECT_EQ(green.bottom, 10);
    EXPECT_EQ(stretched.at(99, 59), kRed);
}

TEST(PluginWindowPainting, PicturesOfEveryDepthShowTheirColoursAndALargeOneItsMiddle) {
    // 8 bits with 256 colours goes through its palette; the rest through their tables.
    std::vector<Colour> many(256, kBlack);
    many[200] = Colour{12, 34, 56};
    const struct {
        int bits;
        std::vector<Colour> table;
        uint32_t value;
        Colour shown;
    } cases[] = {{1, {kBlack, kWhite}, 1, kWhite},
                 {4, std::vector<Colour>(16, kGreen), 9, kGreen},
                 {8, many, 200, Colour{12, 34, 56}},
                 {24, {}, 0x804020, Colour{0x80, 0x40, 0x20}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bits);
        const auto shown = test::picture(c.bits, 3, 2, c.table, [&](int, int) { return c.value; });
        ASSERT_TRUE(shown);
        Canvas canvas(3, 2);
        paintBackdrop(canvas.dc(), canvas.size(), {kBlue, kBlue, shown.get(), 1});
        EXPECT_EQ(canvas.at(2, 1), c.shown);
    }

    // A 40 x 41 picture in a 10 x 6 window shows its columns 15 to 24 and rows 17 to 22.
    const auto large = test::picture(24, 40, 41, {}, [](int x, int y) {
        return x == 15 && y == 17 ? 0x00FF00 : x == 24 && y == 22 ? 0x0000FF : 0xFF0000;
    });
    Canvas canvas(10, 6);
    paintBackdrop(canvas.dc(), canvas.size(), {kBlack, kBlack, large.get(), 3});
    EXPECT_EQ(canvas.at(0, 0), kGreen);
    EXPECT_EQ(canvas.at(9, 5), kBlue);
}

TEST(PluginWindowPainting, TitleStandsOnAShadowThreePixelsDownAndRight) {
    Canvas canvas(300, 80);
    canvas.fill(kWhite);
    const Colour titleColour{128, 128, 255};
    paintTitle(canvas.dc(), "IH", TitleStyle{"Arial", 40, true}, titleColour, 800);
    const RECT title = canvas.extentOf(titleColour);
    const RECT shadow = canvas.extentOf(kBlack);
    ASSERT_GT(title.right, title.left);
    EXPECT_EQ(shadow.right, title.right + 3);
    EXPECT_EQ(shadow.bottom, title.bottom + 3);
    EXPECT_GE(title.left, 20);

    // A size of 0 picks one that fits the plug-in area less 20 pixels.
    canvas.fill(kWhite);
    paintTitle(canvas.dc(), "A rather long title for the area", TitleStyle{}, titleColour, 200);
    EXPECT_LE(canvas.extentOf(titleColour).right, 200);
}

TEST(PluginWindowPainting, LocatePanelIsFramedAndUnderlined) {
    Canvas canvas(400, 200); // panel 92..308 x 80..120, shadow 86..314 x 76..124
    canvas.fill(kBlue);
    paintLocatePanel(canvas.dc(), canvas.size(), 800, "MS Sans Serif", "");
    EXPECT_EQ(canvas.at(86, 76), kBlack);                // the shadow's frame
    EXPECT_EQ(canvas.at(88, 100), (Colour{63, 63, 63})); // the shadow
    EXPECT_EQ(canvas.at(92, 100), kBlack);               // the panel's frame
    EXPECT_EQ(canvas.at(95, 85), kWhite);                // the panel
    EXPECT_EQ(canvas.at(150, 120), kBlack);              // the line along its bottom
    EXPECT_EQ(canvas.at(308, 100), kBlack);              // and up its right edge
    EXPECT_EQ(canvas.at(85, 100), kBlue);
}

} // namespace
} // namespace kestrel::ui::win32
