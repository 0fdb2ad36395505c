// The Windows window's parts that need no screen: the gauge's GDI picture
// against the pixels the Qt gauge is held to as well, and its pie and needle,
// command-line quoting and reading,
// the file dialogs' filter lists, message texts, when a box is left, and
// the captions' room in the window's layout, and the guide as rich text.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>

#include "streams/wide_names.h"
#include "support/gauge_reference.h"
#include "window_win32/caption_fit.h"
#include "window_win32/command_line.h"
#include "window_win32/gauge_win32.h"
#include "window_win32/guide_rtf.h"
#include "window_win32/several_files_dialog_win32.h"
#include "window_win32/win32_dialogs.h"
#include "window_win32/win32_text.h"

namespace pellimar {
namespace {

TEST(GdiGauge, BarsDrawTheSharedGeometrysPixels)
{
    for (const test::BarCase& c : test::BarCases()) {
        const GaugeLookCore look = test::LookOf(c);
        const std::vector<std::uint32_t> picture = ComposeGaugePixels(look, c.width, c.height, nullptr);
        ASSERT_EQ(picture, test::ReferenceBarPicture(look, c.width, c.height))
            << "kind " << int{c.kind} << " border " << int{c.border} << " size " << c.width << "x" << c.height
            << " at " << c.percent << "%";
    }
}

// The text inverts what lies under its glyphs: over the bar and over the
// empty part some pixels differ from the picture without text, and none
// outside the inner rectangle.
TEST(GdiGauge, PercentTextInvertsPixelsInsideTheFrameOnly)
{
    GaugeLookCore look = test::LookOf({gkHorizontalBar, bsSingle, 332, 17, 50});
    const std::vector<std::uint32_t> plain = ComposeGaugePixels(look, 332, 17, nullptr);
    look.ShowText = true;
    const std::vector<std::uint32_t> withText = ComposeGaugePixels(look, 332, 17, nullptr);
    int inverted = 0;
    for (int y = 0; y < 17; ++y) {
        for (int x = 0; x < 332; ++x) {
            const std::size_t i = static_cast<std::size_t>(y * 332 + x);
            if (plain[i] == withText[i])
                continue;
            ASSERT_TRUE(x >= 1 && x < 331 && y >= 1 && y < 16) << x << "," << y;
            ASSERT_EQ(withText[i], plain[i] ^ 0xFFFFFFu) << x << "," << y;
            ++inverted;
        }
    }
    EXPECT_GT(inverted, 10);
}

// The pie's wedge grows clockwise from twelve o'clock; the needle swings
// from flat left over straight up; around both lies the control's colour.
TEST(GdiGauge, PieAndNeedleShowThePercentageWhereTheSharedGeometryPutsIt)
{
    constexpr std::uint32_t kFore = 0xFF00FF, kBack = 0xFFFFFF, kAround = 0x00FF00;
    struct Case {
        TVantorGaugeKind kind;
        int height;
        std::int32_t percent;
        int x, y;
        std::uint32_t expected;
    };
    const Case cases[] = {
        {gkPie, 100, 0, 70, 30, kBack},     {gkPie, 100, 25, 70, 30, kFore},  {gkPie, 100, 25, 30, 30, kBack},
        {gkPie, 100, 25, 70, 70, kBack},    {gkPie, 100, 50, 70, 70, kFore},  {gkPie, 100, 50, 30, 70, kBack},
        {gkPie, 100, 100, 30, 30, kFore},   {gkPie, 100, 60, 2, 2, kAround},  {gkNeedle, 50, 0, 50, 25, kBack},
        {gkNeedle, 50, 50, 50, 25, kFore},  {gkNeedle, 50, 100, 50, 25, kBack}, {gkNeedle, 50, 50, 1, 1, kAround},
    };
    for (const Case& c : cases) {
        GaugeLookCore look;
        look.Kind = c.kind;
        look.ShowText = false;
        look.BorderStyle = bsNone;
        look.ForeColor = MakeRGB(255, 0, 255);
        look.BackColor = MakeRGB(255, 255, 255);
        look.Color = MakeRGB(0, 255, 0);
        look.Percent = c.percent;
        const std::vector<std::uint32_t> picture = ComposeGaugePixels(look, 100, c.height, nullptr);
        EXPECT_EQ(picture[static_cast<std::size_t>(c.y * 100 + c.x)], c.expected)
            << "kind " << int{c.kind} << " at " << c.percent << "%, pixel " << c.x << "," << c.y;
    }
}

TEST(CommandLine, QuotesSoThatTheSystemSplitsBackTheSameArguments)
{
    const std::vector<std::wstring> arguments = {
        L"C:\\Program Files\\Viewer\\view.exe", L"plain", L"", L"two words", L"say \"hi\"", L"ends\\",
        L"C:\\with blank\\", L"a\\\\\"b", L"tab\there", L"\u00e9t\u00e9 \u65e5\u672c.fff",
    };
    const std::wstring line = L"program.exe " + CommandLineOf(arguments);
    int count = 0;
    wchar_t** split = CommandLineToArgvW(line.c_str(), &count);
    ASSERT_NE(split, nullptr);
    ASSERT_EQ(count, static_cast<int>(arguments.size()) + 1);
    for (std::size_t i = 0; i < arguments.size(); ++i)
        EXPECT_EQ(std::wstring(split[i + 1]), arguments[i]) << i;
    LocalFree(split);
    EXPECT_EQ(QuotedArgument(L"plain"), L"plain");
}

// As Explorer starts the program for "Open with": the program's path, then
// the files, some quoted; a name from the working folder becomes a full path.
TEST(CommandLine, FilesAreTheArgumentsAfterTheProgramByTheirFullPaths)
{
    const std::wstring line = CommandLineOf({L"C:\\Program Files\\Pellimar\\pellimar.exe", L"C:\\my books\\b.fff",
                                             L"book.fff", L"\\\\server\\share\\\u00e9t\u00e9.fff"});
    const std::vector<std::string> expected = {
        "C:\\my books\\b.fff", NameOfPath(std::filesystem::current_path() / "book.fff"),
        "\\\\server\\share\\\xc3\xa9t\xc3\xa9.fff"};
    EXPECT_EQ(FilesOfCommandLine(line.c_str()), expected);
    EXPECT_TRUE(FilesOfCommandLine(L"pellimar.exe").empty());
}

TEST(FileDialogs, FilterListHoldsEachEntryAndEndsInTwoNulls)
{
    const std::wstring list = FilterList({{"Folio Flat Files (*.fff)", "*.fff"}, {"All Files (*.*)", "*.*"}});
    EXPECT_EQ(list, std::wstring(L"Folio Flat Files (*.fff)\0*.fff\0All Files (*.*)\0*.*\0\0", 52));
}

// Where the dialog starts in the folder last used, the name it still holds
// from another use is offered there by its last part only.
TEST(FileDialogs, OfferedNameKeepsOnlyTheLastPartWhenAFolderIsSet)
{
    EXPECT_EQ(OfferedName(L"C:\\texts\\book.fff", true), L"book.fff");
    EXPECT_EQ(OfferedName(L"C:/texts/book.fff", true), L"book.fff");
    EXPECT_EQ(OfferedName(L"book.fff", true), L"book.fff");
    EXPECT_EQ(OfferedName(L"C:\\texts\\book.fff", false), L"C:\\texts\\book.fff");
}

// Several files come back as their folder and then each name; one file
// comes back as its full path alone.
TEST(FileDialogs, SelectedFilesJoinEachNameToTheFolder)
{
    using Files = std::vector<std::wstring>;
    EXPECT_EQ(SelectedFiles(std::wstring(L"C:\\texts\0a.fff\0b.fff\0\0", 21)),
              (Files{L"C:\\texts\\a.fff", L"C:\\texts\\b.fff"}));
    EXPECT_EQ(SelectedFiles(std::wstring(L"C:\\\0a.fff\0b.fff\0\0", 16)), (Files{L"C:\\a.fff", L"C:\\b.fff"}));
    EXPECT_EQ(SelectedFiles(std::wstring(L"C:\\texts\\a.fff\0\0", 17)), Files{L"C:\\texts\\a.fff"});
    EXPECT_TRUE(SelectedFiles(std::wstring(4, L'\0')).empty());
}

// The model speaks UTF-8 to the window whatever the code page: a text
// beyond Latin-1 crosses the controls and comes back byte for byte.
TEST(MessageText, Utf8CrossesTheControlsUnchanged)
{
    EXPECT_EQ(WideLinesOfUtf8("one\rtwo\r\nthree\r"), L"one\r\ntwo\r\nthree\r\n");
    EXPECT_EQ(WideOfUtf8("caf\xc3\xa9 \xe2\x82\xac \xe6\x97\xa5"), L"caf\u00e9 \u20ac \u65e5");
    EXPECT_EQ(Utf8OfWide(L"caf\u00e9 \u20ac \u65e5"), "caf\xc3\xa9 \xe2\x82\xac \xe6\x97\xa5");
    // Bytes that are not UTF-8 show as a replacement mark, never as nothing.
    EXPECT_EQ(WideOfUtf8("caf\xe9"), L"caf\ufffd");
}

// Each caption in the window's own font, as the system sizes fonts for 100,
// 125 and 150 % scaling: a label too narrow breaks its text ("Remaining"
// without "Time:").
TEST(WindowLayout, EveryCaptionFitsItsControlAtEachScaling)
{
    HDC dc = CreateCompatibleDC(nullptr);
    ASSERT_NE(dc, nullptr);
    for (const unsigned dpi : {96u, 120u, 144u}) {
        for (const ControlPlace& place : MainWindowLayout()) {
            if (place.kind == ControlKind::Box || place.kind == ControlKind::Gauge)
                continue;
            HFONT font = MakeControlFont(place.kind, dpi);
            HGDIOBJ before = SelectObject(dc, font);
            const int needed = CaptionWidthNeeded(dc, place.kind, WideOfUtf8(place.text), dpi);
            SelectObject(dc, before);
            DeleteObject(font);
            EXPECT_LE(needed, Scaled(place.width, dpi)) << "\"" << place.text << "\" at " << dpi << " DPI";
        }
    }
    DeleteDC(dc);
}

TEST(GuideRtf, HeadingsListsCodeAndTablesAreSetApartAndEveryCharacterKept)
{
    const std::string rtf = RtfOfMarkdown("# Using\r\n\r\nSome `code` and **bold** {x}\\y.\n\n- one\n  more\n2. two\n\n"
                                          "```\n<RD>\n  two\n```\n\n| A | B |\n| --- | --- |\n| `a|b` | \xC3\xA9 "
                                          "\xE6\x97\xA5 \xF0\x9F\x98\x80 |\n");
    EXPECT_TRUE(rtf.starts_with("{\\rtf1"));
    for (const char* part : {"\\b\\fs32 Using\\b0", "Some {\\f1\\fs18 code} and {\\b bold} \\{x\\}\\\\y.\\par",
                             "\\u8226?\\tab one more\\par", "2.\\tab two\\par",
                             "\\f1\\fs18 <RD>\\line   two\\f0", "{\\b A}\\cell", "{\\f1\\fs18 a|b}\\cell",
                             "\\u233? \\u26085? \\u-10179?\\u-8704?\\cell"})
        EXPECT_NE(rtf.find(part), std::string::npos) << part << " in " << rtf;
    for (const char* markup : {"#", "`", "**", "---", "\r"})
        EXPECT_EQ(rtf.find(markup), std::string::npos) << markup;
}

}  // namespace
}  // namespace pellimar
